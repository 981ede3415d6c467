#pragma once

#include "print/print_surface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <memory>

class QPrinter;

namespace tq {

// The page printers' printer on a QPrinter: the painter works in twips of the printable
// area. The text goes in the font face asked for with a CJK face behind it, so Japanese
// texts find their glyphs.
class PainterSurface : public PrintSurface {
public:
    // Begins the document on the printer, portrait; throws TqError when it cannot start.
    explicit PainterSurface(std::unique_ptr<QPrinter> printer);
    ~PainterSurface() override;

    double TextWidth(const QString &text) const override;
    double TextHeight(const QString &text) const override;
    void DrawGraph(uclVtmGraph &graph) override;
    // Ends the document; throws TqError when the printer or the file refused it.
    void EndDoc() override;
    void Abort() override;

protected:
    void fontChanged() override;
    void drawText(double x, double y, const QString &text, double scaleX) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void newPage() override;

private:
    void applyScale();
    void usePen(const QPen &pen);

    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    QFont m_font;
    std::unique_ptr<QFontMetricsF> m_metrics;
};

// A printer of the system list, by its device name.
std::unique_ptr<PrintSurface> OpenSystemPrinter(const QString &name, const QString &document);

// An A4 PDF file: written under a temporary name beside the target and renamed over it
// when the document has ended, so an abandoned document leaves the old file as it was.
std::unique_ptr<PrintSurface> OpenPdfFile(const QString &target, const QString &document);

} // namespace tq
