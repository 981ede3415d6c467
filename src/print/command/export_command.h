#pragma once

#include "print/export/export_text.h"

#include <QString>

#include <functional>

namespace tq {

class uclVtmGraph;

// The window that runs an export, as the command needs it: the log on view and how it is
// shown. The Data View page and the data view window each describe themselves this way.
struct ExportSource {
    qint32 logType = 0;
    qint64 seqNo = 0; // the Log_Head key of the log (event lists read their rows by it)
    ExportLogs logs;  // the loaded log objects
    // The Graph option is on. A bar-hole trend is still exported as a table.
    bool graphView = false;
    // The graph on view: its picture is saved in graph mode; after the command it is
    // redrawn and takes the focus when it is visible. May be nullptr.
    uclVtmGraph *graph = nullptr;
    bool debugMode = false;
};

// What the calling window does while a table file is being written. The main window shows
// the hourglass, sets WorkState 8 (writing an export file) and shows its progress window;
// the data view window does nothing. Once started, `ended` runs on every path, before any
// failure box.
struct ExportHooks {
    std::function<void()> started;
    std::function<void()> ended;
};

enum class ExportOutcome {
    Cancelled, // the Save As dialog was cancelled
    Declined,  // "No" to the overwrite question
    Written,
    Failed, // message 30101 was shown
};

// The Export command of a window that shows a stored log. The window keeps one for its
// lifetime: it remembers the last exported file and the dialog's last filter entry.
//
// A log that cannot be written whole (RequireWritableLog: its trend file missing or
// damaged, a code that does not fit its field) fails at once with 30101, asking for no
// file. Otherwise the command proposes a name from the last export, asks for the file with the
// view's filter (entry 1 preselected) and, for an existing file, whether to overwrite it (5307
// titled 5308). A table is written line by line (a tab separator for entry 2, a comma
// otherwise; entry 4 puts units in a column of their own), the graph as a 24-bit bitmap.
// Either goes into a temporary file that replaces the old file only when complete, so a
// failure keeps the old file; a failure shows 30101 with the file and the reason. While a
// table is written the command lets the event loop run, without user input, at most every
// 50 ms.
class ExportCommand {
public:
    explicit ExportCommand(ExportHooks hooks = {}) : m_hooks(std::move(hooks)) {}

    ExportOutcome Run(const ExportSource &source);

    // The full name of the file that the last successful export wrote; empty before.
    const QString &LastExportFile() const { return m_lastExportFile; }
    // The 1-based filter entry chosen in the last Save As dialog.
    qint32 FilterIndex() const { return m_filterIndex; }

private:
    void writeTable(const ExportSource &source, const QString &path);

    ExportHooks m_hooks;
    QString m_lastExportFile;
    qint32 m_filterIndex = 1;
};

} // namespace tq
