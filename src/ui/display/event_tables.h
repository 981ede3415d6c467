#pragma once

#include <QtGlobal>

namespace tq {

class Database;
class FlexGrid;

// The record table of a stored alarm-event (LogType 5), trouble-event (6) or power-event (7)
// log: a heading row and every event of the log, newest first, numbered from 1. A log whose
// head row is gone shows the heading row alone. Keys are 64-bit, so logs of any SeqNo list
// their rows. Failures of the database pass to the caller as TqError.
void FillEventTable(FlexGrid &table, Database &db, qint64 seqNo, int logType);

// The record table of a stored sensor-change log (LogType 12), newest first, and the summary
// grid from its head row: serial number, user and download time. Without a head row the
// summary holds its heading row only and the table lists nothing.
void FillSensorChangeTable(FlexGrid &table, FlexGrid &summary, Database &db, qint64 seqNo);

} // namespace tq
