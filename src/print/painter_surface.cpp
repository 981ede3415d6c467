#include "print/painter_surface.h"

#include "core/errors.h"
#include "core/messages.h"
#include "core/safe_file.h"
#include "graph/graph_drawing.h"
#include "graph/uclVtmGraph.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryFile>

namespace tq {

namespace {

constexpr double kTwipsPerInch = 1440.0;
// The resolution and margins a high-resolution printer gives a PDF page.
constexpr int kPdfResolution = 1200;
constexpr double kPdfMarginPoints = 10;

// A printer of the system's list.
class SystemPrinterSurface : public PainterSurface {
public:
    SystemPrinterSurface(QPrinter *printer, const QString &name)
        : PainterSurface(std::unique_ptr<QPagedPaintDevice>(printer), nullptr, name),
          m_printer(printer) {}
    void EndDoc() override {
        PainterSurface::EndDoc();
        if (m_printer->printerState() == QPrinter::Error)
            throw TqError(ErrorKind::File, failure());
    }
    void Abort() override {
        if (painting())
            m_printer->abort();
        PainterSurface::Abort();
    }

protected:
    QString failure() override {
        return QStringLiteral("The printer %1 did not take the document")
            .arg(m_printer->printerName());
    }

private:
    QPrinter *m_printer;
};

// The PDF file: written into a temporary file beside the target, which becomes the target
// at the end.
class PdfFileSurface : public PainterSurface {
public:
    PdfFileSurface(QPdfWriter *writer, QTemporaryFile *file, QString target)
        : PainterSurface(std::unique_ptr<QPagedPaintDevice>(writer),
                         std::unique_ptr<QIODevice>(file), target),
          m_file(file), m_target(std::move(target)) {}
    ~PdfFileSurface() override {
        if (!m_done)
            Abort();
    }
    void EndDoc() override {
        PainterSurface::EndDoc();
        if (!m_file->flush() || m_file->error() != QFileDevice::NoError) {
            const QString reason = failure();
            Abort();
            throw TqError(ErrorKind::File, reason);
        }
        m_file->close();
        try {
            PlaceFinishedFile(m_file->fileName(), m_target);
        } catch (const TqError &error) {
            Abort();
            throw TqError(ErrorKind::File, QStringLiteral("%1: %2").arg(m_target, error.message()));
        }
        m_done = true;
    }
    void Abort() override {
        PainterSurface::Abort();
        // By name: QFile::remove() keeps a file whose last flush failed (a full disk).
        QFile::remove(m_file->fileName());
        m_done = true;
    }

protected:
    QString failure() override {
        return QStringLiteral("%1: %2").arg(m_target, FileFailure(*m_file));
    }

private:
    QTemporaryFile *m_file;
    QString m_target;
    bool m_done = false;
};

// Latin texts in a face whose line is about 1.16 em high, so the summary block of 20 rows
// ends above the graph at 40 % of the page even where the application's face is a CJK
// one (1.45 em); Japanese texts find their glyphs in the CJK face behind it.
QStringList printFamilies(const QString &face) {
    static const QString latin = QStringLiteral("DejaVu Sans");
    QStringList families;
    if (QFontDatabase::hasFamily(latin))
        families.append(latin);
    families << face << QStringLiteral("Noto Sans CJK JP");
    return families;
}

} // namespace

PainterSurface::PainterSurface(std::unique_ptr<QPagedPaintDevice> device,
                               std::unique_ptr<QIODevice> output, const QString &name)
    : PrintSurface(SurfaceSizeTwips(device.get()).width(), SurfaceSizeTwips(device.get()).height()),
      m_output(std::move(output)), m_device(std::move(device)) {
    if (!m_painter.begin(m_device.get()))
        throw TqError(ErrorKind::File, QStringLiteral("%1 could not be started").arg(name));
    applyScale();
    SetFont(QApplication::font().family(), 9, false);
}

PainterSurface::~PainterSurface() {
    if (m_painter.isActive())
        m_painter.end();
}

void PainterSurface::applyScale() {
    m_painter.resetTransform();
    m_painter.scale(m_device->logicalDpiX() / kTwipsPerInch,
                    m_device->logicalDpiY() / kTwipsPerInch);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void PainterSurface::fontChanged() {
    QFont font(FontName());
    font.setFamilies(printFamilies(FontName()));
    font.setPointSizeF(FontSize());
    font.setBold(FontBold());
    m_font = TwipsFont(font);
    m_metrics = std::make_unique<QFontMetricsF>(m_font, m_device.get());
    m_painter.setFont(m_font);
}

double PainterSurface::TextWidth(const QString &text) const {
    return m_metrics->horizontalAdvance(text);
}

double PainterSurface::TextHeight(const QString &) const {
    return m_metrics->height();
}

void PainterSurface::usePen(const QPen &pen) {
    // Every change of the painter's state is written into the page: only real ones.
    if (m_painter.pen() != pen)
        m_painter.setPen(pen);
}

void PainterSurface::drawText(double x, double y, const QString &text, double scaleX) {
    usePen(QPen(QColor::fromRgb(ForeColor())));
    const QPointF at(x, y + m_metrics->ascent());
    if (scaleX >= 1) {
        m_painter.drawText(at, text);
        return;
    }
    m_painter.save();
    m_painter.translate(at);
    m_painter.scale(scaleX, 1);
    m_painter.drawText(QPointF(0, 0), text);
    m_painter.restore();
}

void PainterSurface::drawLine(double x1, double y1, double x2, double y2) {
    QPen pen(QColor::fromRgb(ForeColor()));
    pen.setWidthF(PenTwips(DrawWidth()));
    pen.setCapStyle(Qt::FlatCap);
    usePen(pen);
    m_painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterSurface::newPage() {
    if (!m_device->newPage())
        throw TqError(ErrorKind::File, failure());
    applyScale();
    m_painter.setFont(m_font);
}

void PainterSurface::DrawGraph(uclVtmGraph &graph) {
    // The graph scales the painter to twips itself.
    m_painter.save();
    m_painter.resetTransform();
    graph.setDrawObj(&m_painter, true);
    graph.Refresh();
    graph.setDrawObj(nullptr, false);
    m_painter.restore();
}

void PainterSurface::EndDoc() {
    if (!m_painter.end())
        throw TqError(ErrorKind::File, failure());
}

void PainterSurface::Abort() {
    if (m_painter.isActive())
        m_painter.end();
}

std::unique_ptr<PrintSurface> OpenSystemPrinter(const QString &name, const QString &document) {
    auto *printer = new QPrinter(QPrinter::HighResolution);
    printer->setDocName(document);
    printer->setPrinterName(name);
    // The one page setting of the job: portrait. A printer that refuses it prints as it can.
    printer->setPageOrientation(QPageLayout::Portrait);
    return std::make_unique<SystemPrinterSurface>(printer, name);
}

std::unique_ptr<PrintSurface> OpenPdfFile(const QString &target, const QString &document) {
    const QFileInfo info(target);
    auto file = std::make_unique<QTemporaryFile>(info.absolutePath() + QStringLiteral("/.") +
                                                 info.fileName() + QStringLiteral(".XXXXXX"));
    file->setAutoRemove(false);
    if (!file->open())
        throw TqError(ErrorKind::File, QStringLiteral("%1: %2").arg(target, file->errorString()));
    auto writer = std::make_unique<QPdfWriter>(file.get());
    writer->setTitle(document);
    writer->setResolution(kPdfResolution);
    writer->setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kPdfMarginPoints, kPdfMarginPoints, kPdfMarginPoints, kPdfMarginPoints),
        QPageLayout::Point));
    const QString temporary = file->fileName();
    try {
        return std::make_unique<PdfFileSurface>(writer.release(), file.release(), target);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

} // namespace tq
