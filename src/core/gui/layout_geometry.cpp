#include "core/gui/layout_geometry.h"

#include "core/gui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace tq {

double L(const QWidget *w) {
    return PixelsToTwipsX(w->x());
}
double T(const QWidget *w) {
    return PixelsToTwipsY(w->y());
}
double W(const QWidget *w) {
    return PixelsToTwipsX(w->width());
}
double H(const QWidget *w) {
    return PixelsToTwipsY(w->height());
}
double R(const QWidget *w) {
    return L(w) + W(w);
}
double B(const QWidget *w) {
    return T(w) + H(w);
}

void place(QWidget *w, double left, double top, std::optional<double> width,
           std::optional<double> height) {
    const int pw = width ? std::max(TwipsToPixelsX(*width), 0) : w->width();
    const int ph = height ? std::max(TwipsToPixelsY(*height), 0) : w->height();
    w->setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), pw, ph);
}

void centre(QWidget *inner, const QWidget *outer, double raise) {
    place(inner, W(outer) / 2 - W(inner) / 2, H(outer) / 2 - H(inner) / 2 - raise);
}

void CentreOnScreen(QWidget &window) {
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        window.move(area.x() + (area.width() - window.width()) / 2,
                    area.y() + (area.height() - window.height()) / 2);
    }
}

} // namespace tq
