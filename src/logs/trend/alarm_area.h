#pragma once

#include "logs/trend/flash_image.h"

#include <QList>
#include <QtGlobal>

namespace tq {

// The alarm-trend ring holds one log per 12 KB sector: the header at byte 0 and the 720
// samples around the alarm point, 16 bytes each, from byte 384 of the sector that the
// header's block number names.
inline constexpr qint32 kAlarmSectorSize = 0x3000;
inline constexpr qint32 kAlarmSamples = 720;
inline constexpr qint32 kAlarmSamplesBefore = 360; // samples before the alarm point
inline constexpr qint32 kAlarmFirstSample = 384;
inline constexpr qint32 kAlarmSampleSize = 16;

// The header sectors that a walk of the ring visits, oldest log first: from the start to
// the end offset, and in state 3 from the start through the ring's last sector and on from
// its first sector to the end offset. Every offset is the start of a sector inside the
// area (a start found inside a sector counts from that sector's start). Empty for an empty
// ring and for one without a start.
QList<qint32> AlarmRingSectors(const RingBounds &bounds);

// The image offset of the sample sector that a header's block number names. Throws
// TqError(SubscriptOutOfRange) when that sector does not lie inside the ring, so that a
// damaged header is refused instead of having its samples read from another area.
qint32 AlarmSampleSector(qint32 blockNumber);

} // namespace tq
