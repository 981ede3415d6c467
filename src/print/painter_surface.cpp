#include "print/painter_surface.h"

#include "core/errors.h"
#include "core/messages.h"
#include "graph/graph_drawing.h"
#include "graph/uclVtmGraph.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPrinter>
#include <QTemporaryFile>

#include <cstdio>

namespace tq {

namespace {

constexpr double kTwipsPerInch = 1440.0;

std::unique_ptr<QPrinter> portraitPrinter(QPrinter *printer, const QString &document) {
    std::unique_ptr<QPrinter> owned(printer);
    owned->setDocName(document);
    // The one page setting of the job: portrait. A printer that refuses it prints as it can.
    owned->setPageOrientation(QPageLayout::Portrait);
    return owned;
}

// The PDF file: the temporary file beside the target becomes the target at the end.
class PdfFileSurface : public PainterSurface {
public:
    PdfFileSurface(std::unique_ptr<QPrinter> printer, QString temporary, QString target)
        : PainterSurface(std::move(printer)), m_temporary(std::move(temporary)),
          m_target(std::move(target)) {}
    ~PdfFileSurface() override {
        if (!m_done)
            Abort();
    }
    void EndDoc() override {
        PainterSurface::EndDoc();
        // The temporary file is the owner's alone; the document gets the permissions of the
        // file it replaces, or those of an ordinary new file.
        QFile::setPermissions(m_temporary, QFileInfo::exists(m_target)
                                               ? QFile::permissions(m_target)
                                               : QFile::ReadOwner | QFile::WriteOwner |
                                                     QFile::ReadUser | QFile::WriteUser |
                                                     QFile::ReadGroup | QFile::ReadOther);
        // rename() replaces the target in one step: never a moment without either file.
        if (std::rename(QFile::encodeName(m_temporary).constData(),
                        QFile::encodeName(m_target).constData()) != 0) {
            Abort();
            throw TqError(ErrorKind::File, QStringLiteral("%1 could not be written").arg(m_target));
        }
        m_done = true;
    }
    void Abort() override {
        PainterSurface::Abort();
        QFile::remove(m_temporary);
        m_done = true;
    }

private:
    QString m_temporary;
    QString m_target;
    bool m_done = false;
};

QString reserveTemporary(const QString &target) {
    const QFileInfo info(target);
    QTemporaryFile file(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                        QStringLiteral(".XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open())
        throw TqError(ErrorKind::File,
                      QStringLiteral("%1 could not be written: %2")
                          .arg(QDir::toNativeSeparators(target), file.errorString()));
    return file.fileName();
}

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

PainterSurface::PainterSurface(std::unique_ptr<QPrinter> printer)
    : PrintSurface(SurfaceSizeTwips(printer.get()).width(),
                   SurfaceSizeTwips(printer.get()).height()),
      m_printer(std::move(printer)) {
    if (!m_painter.begin(m_printer.get()))
        throw TqError(ErrorKind::File,
                      QStringLiteral("The printer %1 could not be started")
                          .arg(m_printer->printerName().isEmpty() ? m_printer->outputFileName()
                                                                  : m_printer->printerName()));
    applyScale();
    SetFont(QApplication::font().family(), 9, false);
}

PainterSurface::~PainterSurface() {
    if (m_painter.isActive())
        m_painter.end();
}

void PainterSurface::applyScale() {
    m_painter.resetTransform();
    m_painter.scale(m_printer->logicalDpiX() / kTwipsPerInch,
                    m_printer->logicalDpiY() / kTwipsPerInch);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void PainterSurface::fontChanged() {
    QFont font(FontName());
    font.setFamilies(printFamilies(FontName()));
    font.setPointSizeF(FontSize());
    font.setBold(FontBold());
    m_font = TwipsFont(font);
    m_metrics = std::make_unique<QFontMetricsF>(m_font, m_printer.get());
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
    if (!m_printer->newPage())
        throw TqError(ErrorKind::File, QStringLiteral("The printer refused a new page"));
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
    const bool ended = m_painter.end();
    if (!ended || m_printer->printerState() == QPrinter::Error)
        throw TqError(ErrorKind::File, QStringLiteral("The printer did not take the document"));
}

void PainterSurface::Abort() {
    if (m_painter.isActive()) {
        if (m_printer->outputFileName().isEmpty())
            m_printer->abort();
        m_painter.end();
    }
}

std::unique_ptr<PrintSurface> OpenSystemPrinter(const QString &name, const QString &document) {
    auto printer = portraitPrinter(new QPrinter(QPrinter::HighResolution), document);
    printer->setPrinterName(name);
    return std::make_unique<PainterSurface>(std::move(printer));
}

std::unique_ptr<PrintSurface> OpenPdfFile(const QString &target, const QString &document) {
    const QString temporary = reserveTemporary(target);
    auto printer = portraitPrinter(new QPrinter(QPrinter::HighResolution), document);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setOutputFileName(temporary);
    try {
        return std::make_unique<PdfFileSurface>(std::move(printer), temporary, target);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

} // namespace tq
