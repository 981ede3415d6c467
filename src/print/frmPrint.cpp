#include "print/frmPrint.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "graph/uclVtmGraph.h"
#include "logs/trend/clsAlarm.h"
#include "print/export/log_checks.h"
#include "print/painter_surface.h"
#include "print/printer_system.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace tq {

namespace {

const QString kTitle = QStringLiteral("TQ-6200 Data Logger");

// Asks for the PDF file; empty when the person cancelled or kept an existing file. A folder
// cannot be one: it fails before the overwrite question.
QString choosePdfFile() {
    const QString proposed = LastPdfFile().isEmpty()
                                 ? QDir(Globals().AppFolder).filePath(QStringLiteral("Sample.pdf"))
                                 : LastPdfFile();
    const QString file =
        CurrentDialogs().SaveFileName({LoadMessage(5161), proposed, QStringLiteral("PDF (*.pdf)")});
    if (file.isEmpty())
        return {};
    if (QFileInfo(file).isDir())
        throw TqError(ErrorKind::File, QStringLiteral("%1: %2").arg(
                                           file, QString::fromLocal8Bit(std::strerror(EISDIR))));
    if (QFileInfo::exists(file) && !OverwriteConfirmed())
        return {};
    return file;
}

// Where a cell's text starts, counted from its column's left edge.
double cellOffset(qint16 code, const QString &text, double width, double textWidth) {
    const auto numeric = [&] { return ParseNumber(text).has_value(); };
    switch (code) {
    case 1:
        return (width - textWidth) / 2;
    case 2:
        return width - textWidth - 0.2 * width;
    case 3:
        return cellOffset(numeric() ? 2 : 1, text, width, textWidth);
    case 4:
        return numeric() || text.contains(QLatin1String("---"))
                   ? cellOffset(1, text, width, textWidth)
                   : 0;
    default:
        return 0;
    }
}

} // namespace

QString PrintKindText(qint32 dataType, bool sampledAsInterval) {
    switch (dataType) {
    case 1:
        return QStringLiteral("  (Interval Trend)");
    case 2:
        return sampledAsInterval ? QStringLiteral("  (Interval Trend)")
                                 : QStringLiteral("  (Alarm Trend)");
    case 3:
        return QStringLiteral("  (Calibration History)");
    case 4:
        return QStringLiteral("  (Last Calibration)");
    case 5:
        return QStringLiteral("  (Alarm Event)");
    case 6:
        return QStringLiteral("  (Trouble Event)");
    case 7:
        return QStringLiteral("  (Power Event)");
    case 9:
        return QStringLiteral("  (Bar Hole)");
    case 10:
        return QStringLiteral("  (Bump Test)");
    case 11:
        return QStringLiteral("  (Snap Shot)");
    case 12:
        return QStringLiteral("  (Sensor History)");
    default:
        return {};
    }
}

frmPrint::frmPrint() : m_graph(std::make_unique<uclVtmGraph>()) {}

frmPrint::~frmPrint() = default;

PrintOutcome frmPrint::GoPrinter(const PrintRequest &request) {
    setRequest(request);
    const QStringList printers = PrinterList();
    // The printer current before the job: the last entry of its name.
    const qsizetype saved = printers.lastIndexOf(CurrentPrinter());
    const auto restorePrinter = [&] {
        if (saved >= 0)
            SetCurrentPrinter(printers[saved]);
    };
    const QString document = (kTitle + PrintKindText(m_request.DataType, false)).simplified();
    std::unique_ptr<PrintSurface> target;
    try {
        RequireWritableLog(m_request.DataType, m_request.IntervalData, m_request.AlarmData,
                           m_request.SnapData);
        if (m_request.PrintType && (m_request.DataType == 1 || m_request.DataType == 2))
            SetPrintGraph();
        const int chosen = CurrentPrinterSystem().ChoosePrinter(printers, int(saved));
        if (chosen < 0 || chosen >= printers.size())
            return PrintOutcome::NoPrinter;
        SetCurrentPrinter(printers[chosen]);
        QString pdfFile;
        if (chosen == printers.size() - 1) {
            pdfFile = choosePdfFile();
            if (pdfFile.isEmpty()) {
                restorePrinter();
                return PrintOutcome::NoPrinter;
            }
            target = OpenPdfFile(pdfFile, document);
        } else {
            target = CurrentPrinterSystem().OpenPrinter(printers[chosen], document);
        }
        PrintPages(*target);
        target->EndDoc();
        if (!pdfFile.isEmpty())
            SetLastPdfFile(pdfFile);
    } catch (const std::exception &error) {
        if (target)
            target->Abort();
        restorePrinter();
        ShowMessage(
            {30102, LoadMessage(30102, {ErrorText(error)}), LoadMessage(5161), BoxIcon::Critical});
        return PrintOutcome::Failed;
    }
    restorePrinter();
    return PrintOutcome::Printed;
}

void frmPrint::PrintPages(PrintSurface &target) {
    PrintTitle(target);
    const qint32 kind = m_request.DataType;
    if (m_request.PrintType) {
        if (kind == 1 || kind == 2)
            PrintLogHeader(target);
        PrintGraph(target);
        return;
    }
    switch (kind) {
    case 11:
    case 1:
    case 2:
        PrintLogHeader(target);
        PrintDataTable(target);
        break;
    case 9:
        PrintLogHeader(target);
        break;
    case 3:
    case 10:
        PrintCalHistory(target);
        break;
    case kLastCalibration:
        PrintLastCal(target);
        break;
    default:
        PrintEventLog(target);
        break;
    }
}

void frmPrint::PrintTitle(PrintSurface &target) {
    const double width = target.ScaleWidth();
    target.SetForeColor(0);
    target.SetFont(QApplication::font().family(), 12, true);
    target.CurrentX = 0.02 * width + 10;
    target.CurrentY = 0.02 * target.ScaleHeight() + 10;
    const double top = target.CurrentY;
    const bool sampledAsInterval =
        m_request.AlarmData && m_request.AlarmData->header().SampledAsInterval();
    target.Print(kTitle + PrintKindText(m_request.DataType, sampledAsInterval));
    target.SetFontSize(9);
    const QString now = Now().generalDate();
    target.CurrentX = width - target.TextWidth(now) - 300;
    target.CurrentY = top;
    target.PrintLine(now);
    target.SetFontBold(false);
}

void frmPrint::PrintRow(PrintSurface &target, const QStringList &cells) {
    if (cells.size() > kColumns)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("A printed row holds at most %1 cells").arg(kColumns));
    const double rowHeight = double(float(1.1 * target.TextHeight(QStringLiteral("W"))));
    // The least room between one cell's text and the next one's, so they never read as one.
    const double gap = target.TextWidth(QStringLiteral(" "));
    const double y = target.CurrentY;
    for (int i = 0; i < cells.size(); ++i) {
        const qint16 code = ColumnAlign[std::size_t(i)];
        const double edge = ColumnX[std::size_t(i)];
        double x = edge;
        if (code >= 1 && code <= 4) {
            if (i + 1 >= kColumns)
                throw TqError(ErrorKind::SubscriptOutOfRange,
                              QStringLiteral("The last printed column can only start at its edge"));
            const double width = ColumnX[std::size_t(i) + 1] - x;
            x += cellOffset(code, cells[i], width, target.TextWidth(cells[i]));
        }
        if (cells[i].isEmpty())
            continue;
        // The cell's room runs over empty neighbours to the column of the next text, a gap
        // short of it, or to the page's edge. A text wider than its place is moved back
        // to its column's edge, then narrowed: centred dates and event words, or two date
        // columns side by side, never run into each other.
        qsizetype next = i + 1;
        while (next < cells.size() && cells[next].isEmpty())
            ++next;
        const double end = next < cells.size()
                               ? std::min(ColumnX[std::size_t(next)], target.ScaleWidth()) - gap
                               : target.ScaleWidth();
        const double width = target.TextWidth(cells[i]);
        x = std::max(std::min(x, end - width), edge);
        target.CurrentX = x;
        target.CurrentY = y;
        target.Print(cells[i], std::max(end - x, 1.0));
    }
    target.CurrentY = y + rowHeight;
}

void frmPrint::Rule(PrintSurface &target, int penWidth) {
    const double y = target.CurrentY + 30;
    target.SetDrawWidth(penWidth);
    target.CurrentX = 0;
    target.Line(0, y, target.ScaleWidth(), y);
    target.SetDrawWidth(1);
}

bool frmPrint::BreakPage(PrintSurface &target, bool moreRows) {
    if (!moreRows || !(target.CurrentY > 0.95 * target.ScaleHeight()))
        return false;
    target.NewPage();
    PrintTitle(target);
    target.CurrentY = 0.1 * target.ScaleWidth();
    return true;
}

void frmPrint::SetColumns(PrintSurface &target, std::initializer_list<double> fractions) {
    std::size_t i = 0;
    for (double fraction : fractions)
        ColumnX[i++] = fraction * target.ScaleWidth();
}

void frmPrint::SetAlign(qint16 code) {
    ColumnAlign.fill(code);
}

} // namespace tq
