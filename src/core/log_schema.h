#pragma once

#include <QString>
#include <QStringList>

namespace tq {

// The codes of Log_head.Types. Codes 4 and 8 are not used.
enum class LogType : int {
    IntervalTrend = 1,
    AlarmTrend = 2,
    CalibrationHistory = 3,
    AlarmEvents = 5,
    TroubleEvents = 6,
    PowerEvents = 7,
    BarHoleTrend = 9, // an interval trend in sampling mode
    BumpTest = 10,
    Snapshot = 11,
    SensorChange = 12,
};

// The twelve tables of the log database, in the order in which they are created.
const QStringList &LogTableNames();

// Creates the log database at path when no file of that name exists; an existing file is
// left as it is. The database is built under a temporary name beside it and moved into
// place only when every table exists, so a failure leaves no file behind. Failures throw
// TqError (File when the file cannot be made, Database when a table cannot be). An existing
// file gains the indexes it lacks (AddLogIndexes); one that cannot is left as it is.
void CreateLogDatabase(const QString &path);

// Adds the indexes that a database made by an earlier version lacks; one that has them
// all is left as it is. Throws TqError(Database) when the database cannot be read.
void AddLogIndexes(const QString &path);

// Waits, yielding to the event loop, until a file of path can be seen; throws
// TqError(File) when it has not appeared after timeoutMs.
void WaitForFile(const QString &path, int timeoutMs = 5000);

} // namespace tq
