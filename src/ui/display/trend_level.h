#pragma once

#include <QString>

namespace tq {

class Database;

// The sample at the alarm moment of a stored alarm trend: record 361 of its trend file
// (720 samples from 360 intervals before the alarm to 359 after it). -101 when there is no
// reading: no head row of that SeqNo, no trend file or folder, or a file too short to hold
// record 361 whole. A failure of the database passes to the caller as TqError.
float CheckTrendLevels(Database &db, qint64 seqNo);

// The record of the alarm moment.
inline constexpr qint64 kAlarmMomentRecord = 361;

} // namespace tq
