#pragma once

#include "core/date.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

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

// The stored values of an entry as the export and the printout write them. A value that is
// not there or does not fit its field throws TqError(TypeMismatch) naming its column: never
// a word or number the log does not hold.
QString EntryEventWord(const DbRow &row); // StatusCodeText of Alarm_Type
QString EntryPowerWord(const DbRow &row); // "ON" or "OFF" by Power_Type
// MakeGasTitle of a row's Gas1Name, Gas1Unit, Gas1Full and Gas1Point (the full scale and
// decimals only of a gas that has a name).
QString EntryGasTitle(const DbRow &row, const QString &mark);
// A stored date; nullopt for Null, which is written as an empty cell.
std::optional<Date> StoredDate(const DbRow &row, const QString &column);
// The cells of entry n (numbered from 1) as `cells` makes them; its failure is told as one
// of that entry (message 30104, TqError(TypeMismatch)).
QStringList EntryCells(qint64 n, const std::function<QStringList()> &cells);

// The export texts of the dated record lists: the calibration history (log type 3) and the
// bump test (10) from the loaded history, the alarm, trouble and power events (5, 6, 7)
// and the sensor history (12) from the database, newest first.
void WriteHistoryText(const ExportRequest &request, ExportSink &sink);
void WriteEventText(const ExportRequest &request, ExportSink &sink);

} // namespace tq
