#pragma once

#include <QtGlobal>

namespace tq {

class clsAlarm;
class clsInterval;
class clsSnapShot;
struct TrendFileCheck;

// What the exports and printouts read of a loaded log, read so that what is not there ends
// them instead of being written as a value the log does not hold. Each throws TqError;
// nothing is then written.

// Its trend file was missing (30005) or damaged (30006) when the log was loaded:
// TqError(File) with that message.
void RequireSoundTrendFile(const TrendFileCheck &check);
// The code of event `index` of an interval trend; one that does not fit its 16 bits throws
// TqError(TypeMismatch) with message 30105.
qint16 IntervalEventCode(const clsInterval &log, qint32 index);
// The alarm status flags of a snapshot; ones that do not fit their 16 bits throw
// TqError(TypeMismatch) with message 30106.
qint16 SnapshotAlarmFlags(const clsSnapShot &log);

// Everything above for the loaded log of `logType` (the object of its kind; others are not
// read): a trend's file, an interval trend's event codes (a bar-hole trend lists none), a
// snapshot's flags.
void RequireWritableLog(qint32 logType, const clsInterval *interval, const clsAlarm *alarm,
                        const clsSnapShot *snapshot);

} // namespace tq
