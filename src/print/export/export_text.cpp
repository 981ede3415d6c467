#include "print/export/export_text.h"

#include "print/export/export_sink.h"
#include "print/export/log_checks.h"
#include "print/export/record_export.h"
#include "print/export/trend_export.h"

namespace tq {

namespace {

// Interval and bar-hole trends are written line by line as they are built and end with
// their own last line; every other text ends with one more line end.
bool EndsWithItsLastLine(qint32 logType) {
    return logType == 1 || logType == 9;
}

} // namespace

void WriteExportText(const ExportRequest &request, ExportSink &sink) {
    RequireWritableLog(request.logType, request.logs.interval, request.logs.alarm,
                       request.logs.snapshot);
    switch (request.logType) {
    case 1:
    case 9:
        WriteIntervalText(request, sink);
        break;
    case 2:
        WriteAlarmText(request, sink);
        break;
    case 11:
        WriteSnapshotText(request, sink);
        break;
    case 3:
    case 10:
        WriteHistoryText(request, sink);
        break;
    case 5:
    case 6:
    case 7:
    case 12:
        WriteEventText(request, sink);
        break;
    default:
        break;
    }
}

QString MakeExportText(const ExportRequest &request) {
    StringSink sink;
    WriteExportText(request, sink);
    return sink.text();
}

void WriteExportFile(const ExportRequest &request, ExportSink &sink) {
    WriteExportText(request, sink);
    if (!EndsWithItsLastLine(request.logType))
        sink.writeLine(QString());
}

} // namespace tq
