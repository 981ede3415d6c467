#pragma once

#include <QList>

namespace tq {

class Database;
class DbRow;
class ExportSink;
struct ExportRequest;

// The stored rows of an event list (log types 5, 6 and 7 and the sensor history 12), as
// the export and the printout read them: the Log_Head row of the key (TqError(Database)
// when there is none) and the entry rows of the type's detail table, newest first,
// entries of one second in the order they were stored (none for any other type).
DbRow EventLogHead(Database &db, qint64 seqNo);
QList<DbRow> EventLogRows(Database &db, qint32 logType, qint64 relNo);

// The export texts of the dated record lists: the calibration history (log type 3) and the
// bump test (10) from the loaded history, the alarm, trouble and power events (5, 6, 7)
// and the sensor history (12) from the database, newest first.
void WriteHistoryText(const ExportRequest &request, ExportSink &sink);
void WriteEventText(const ExportRequest &request, ExportSink &sink);

} // namespace tq
