#pragma once

#include "print/print_surface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QIODevice>
#include <QPagedPaintDevice>
#include <QPainter>

#include <memory>

namespace tq {

// The page printers' printer on a paged device (a printer, a PDF writer): the painter works
// in twips of the printable area. The text goes in the font face asked for with a CJK face
// behind it, so Japanese texts find their glyphs.
class PainterSurface : public PrintSurface {
public:
    ~PainterSurface() override;

    double TextWidth(const QString &text) const override;
    double TextHeight(const QString &text) const override;
    void DrawGraph(uclVtmGraph &graph) override;
    // Ends the document; throws TqError(File) with the reason when the device refused it.
    void EndDoc() override;
    void Abort() override;

protected:
    // Begins the document on `device`, which writes into `output` when that is given (the
    // output then goes after the device). Throws TqError(File) when it cannot start.
    PainterSurface(std::unique_ptr<QPagedPaintDevice> device, std::unique_ptr<QIODevice> output,
                   const QString &name);
    // Why the device refused a page or the document, for the failure's message.
    virtual QString failure() = 0;
    bool painting() const { return m_painter.isActive(); }
    void endPainting() { m_painter.end(); }

    void fontChanged() override;
    void drawText(double x, double y, const QString &text, double scaleX) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void newPage() override;

private:
    void applyScale();
    void usePen(const QPen &pen);

    std::unique_ptr<QIODevice> m_output;
    std::unique_ptr<QPagedPaintDevice> m_device;
    QPainter m_painter;
    QFont m_font;
    std::unique_ptr<QFontMetricsF> m_metrics;
};

// A printer of the system list, by its device name.
std::unique_ptr<PrintSurface> OpenSystemPrinter(const QString &name, const QString &document);

// An A4 PDF file: written under a temporary name beside the target and renamed over it
// when the document has ended, so an abandoned document leaves the old file as it was. A
// failing write names the system's reason ("No space left on device").
std::unique_ptr<PrintSurface> OpenPdfFile(const QString &target, const QString &document);

} // namespace tq
