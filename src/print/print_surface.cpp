#include "print/print_surface.h"

namespace tq {

void PrintSurface::SetFont(const QString &name, double points, bool bold) {
    m_fontName = name;
    m_fontSize = points;
    m_fontBold = bold;
    fontChanged();
}

void PrintSurface::Print(const QString &text, double fitWidth) {
    const double width = TextWidth(text);
    const double scaleX = fitWidth > 0 && width > fitWidth ? fitWidth / width : 1.0;
    drawText(CurrentX, CurrentY, text, scaleX);
    CurrentX += width * scaleX;
}

void PrintSurface::PrintLine(const QString &text) {
    Print(text);
    CurrentX = 0;
    CurrentY += TextHeight(text);
}

void PrintSurface::Line(double x1, double y1, double x2, double y2) {
    drawLine(x1, y1, x2, y2);
    CurrentX = x2;
    CurrentY = y2;
}

void PrintSurface::NewPage() {
    newPage();
    CurrentX = 0;
    CurrentY = 0;
}

} // namespace tq
