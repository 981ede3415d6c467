#pragma once

#include <QString>

namespace tq {

class ExportSink;
class clsAlarm;
class clsHistory;
class clsInterval;
class clsSnapShot;

// The log objects loaded for the Data View page; a missing one stands for an empty log.
// The interval log is not const: its merge cursor walks its samples and events.
struct ExportLogs {
    clsInterval *interval = nullptr;
    const clsAlarm *alarm = nullptr;
    const clsSnapShot *snapshot = nullptr;
    const clsHistory *history = nullptr;
};

// What one export text is made of.
struct ExportRequest {
    qint32 logType = 0;
    qint64 seqNo = 0; // the Log_Head key of the event logs, read from the database
    ExportLogs logs;
    QString separator = QStringLiteral(",");
    qint32 filterIndex = 1; // 1-based entry of the Save As dialog; 4 puts units in a column
    bool debugMode = false;
};

// Writes the export text of the log into the sink, line by line. A type without a text
// writes nothing. A log that cannot be written whole (RequireWritableLog), a stored value
// that is not there or does not fit its field, and failures of the sink or of the database
// throw TqError.
void WriteExportText(const ExportRequest &request, ExportSink &sink);
// The same text as one string, every line ended by CR LF.
QString MakeExportText(const ExportRequest &request);
// The whole export file: the text, and for every type but the interval and bar-hole
// trends one more CR LF (a type without a text gives a file of one CR LF).
void WriteExportFile(const ExportRequest &request, ExportSink &sink);

} // namespace tq
