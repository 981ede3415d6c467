#pragma once

#include <QString>
#include <QVariant>

namespace tq {

class Database;
class FlexGrid;

// The newest records of a stored log in the summary grid, for the stored-log letters "Q"
// sensor change, "P" power events, "W" trouble events, "V" alarm events, "H" calibration
// history and "b" bump test: a heading row, at most the 8 (10 for "H" and "b") newest
// records and, beyond 10 records, a closing row with their total. `seqNo` is the log's
// Log_head key as the key gave it. Failures of the database pass to the caller as TqError.
void FillRecordList(FlexGrid &grid, Database &db, const QVariant &seqNo, const QString &letter);

// True for the letters FillRecordList shows.
bool IsRecordListLetter(const QString &letter);

} // namespace tq
