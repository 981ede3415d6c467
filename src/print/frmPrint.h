#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <memory>

namespace tq {

class FlexGrid;
class PrintSurface;
class clsAlarm;
class clsInterval;
class clsSnapShot;
class uclVtmGraph;

// What one printout is of. A caller fills what its kind needs; the rest keeps these
// defaults, so nothing of an earlier job reaches the next one.
struct PrintRequest {
    // A LogType code of the log, or kLastCalibration for the Last Calibration list.
    qint32 DataType = 0;
    // True prints the trend graph (kinds 1 and 2), false the tables.
    bool PrintType = false;
    // The printed interval-trend graph carries the log's event marks, as the page's graph
    // shows them with "Event" ticked.
    bool EventMarks = false;
    // Log_Head key of the histories and event logs, which are read from the database.
    qint64 SeqNo = 0;
    // The loaded trend or snapshot of kinds 1 and 9, 2 and 11.
    const clsInterval *IntervalData = nullptr;
    const clsAlarm *AlarmData = nullptr;
    const clsSnapShot *SnapData = nullptr;
    // The calling page's record table: the Data View page's or the data view window's for
    // kinds 1, 2 and 11, the Last Calibration page's list for kind 4.
    const FlexGrid *frmObj = nullptr;
};

// How a print job ended.
enum class PrintOutcome {
    Printed,   // the document went to the printer or its file
    NoPrinter, // no printer, or no PDF file, was chosen: nothing printed, nothing said
    Failed,    // an error abandoned the document; message 30102 told it
};

// The print window: never shown, it runs one print job per request. It asks for a printer
// (the list of the current PrinterSystem), prints the page title and the pages of the
// request's kind, ends the document and makes the printer that was current before the
// job current again. The page printers are public for the tests, which print on a
// recording surface.
class frmPrint {
public:
    static constexpr qint32 kLastCalibration = 4;
    static constexpr int kColumns = 11;

    frmPrint();
    ~frmPrint();
    frmPrint(const frmPrint &) = delete;
    frmPrint &operator=(const frmPrint &) = delete;

    // Runs the job for the request and returns when it is over. A log that cannot be
    // printed whole (RequireWritableLog: a missing or damaged trend file, a code that does
    // not fit its field) fails before the printer choice; any later failure, the graph's
    // fill included, abandons the document. Failures are told by message 30102.
    PrintOutcome GoPrinter(const PrintRequest &request);

    // --- Page printers, on the request set last.
    void setRequest(const PrintRequest &request) { m_request = request; }
    // The page title and what the request's kind prints below it (the document is
    // neither begun nor ended here). Throws on any failure.
    void PrintPages(PrintSurface &target);
    void PrintTitle(PrintSurface &target);
    // One row of up to 11 cells at the column positions ColumnX, each placed by its
    // ColumnAlign code (0 left, 1 centred, 2 ending at 80 % of the column, 3 numbers as
    // 2 and words as 1, 4 numbers and "---" as 1 and words as 0); the position then
    // moves one row (1.1 times the height of "W") down. Every text keeps a blank's width
    // clear of the next cell's column (empty cells lend their room) and stays on the page:
    // one too wide for its place starts at its column's edge and is narrowed to fit.
    // Never starts a page.
    void PrintRow(PrintSurface &target, const QStringList &cells);
    // Fills the print graph from the request's trend (kinds 1 and 2).
    void SetPrintGraph();
    void PrintGraph(PrintSurface &target);
    void PrintLogHeader(PrintSurface &target);
    void PrintDataTable(PrintSurface &target);
    void PrintCalHistory(PrintSurface &target);
    void PrintLastCal(PrintSurface &target);
    void PrintEventLog(PrintSurface &target);

    // Column edges in twips and alignment codes; they keep their values from row to row
    // and from job to job.
    std::array<double, kColumns> ColumnX{};
    std::array<qint16, kColumns> ColumnAlign{};

    uclVtmGraph &vtmPrint() { return *m_graph; }

private:
    // The page-break test after a row: true when a new page was begun (its title printed,
    // the print position at a tenth of the width).
    bool BreakPage(PrintSurface &target, bool moreRows);
    // A rule 30 twips below the print position across the whole width; the position
    // goes onto it.
    void Rule(PrintSurface &target, int penWidth = 1);
    void SetColumns(PrintSurface &target, std::initializer_list<double> fractions);
    void SetAlign(qint16 code);
    void PrintEmptyRow(PrintSurface &target) { PrintRow(target, {QString()}); }

    PrintRequest m_request;
    std::unique_ptr<uclVtmGraph> m_graph;
};

// The kind text after "TQ-6200 Data Logger" in the page title ("  (Alarm Trend)" ...);
// `sampledAsInterval`: an alarm trend recorded in interval sampling.
QString PrintKindText(qint32 dataType, bool sampledAsInterval);

} // namespace tq
