#include "logs/trend/alarm_area.h"

#include "core/errors.h"

#include <algorithm>

namespace tq {

namespace {

constexpr const FlashArea &kRing = FlashAreas::AlarmTrend;

// The start of the ring sector that holds offset, offsets outside the ring taken to its
// nearest end.
qint32 sectorStart(qint32 offset) {
    const qint32 inside = std::clamp(offset, kRing.first, kRing.last);
    return inside - (inside - kRing.first) % kAlarmSectorSize;
}

// Sectors from first up to last (both included) in ring order, without wrapping.
void appendRun(QList<qint32> &sectors, qint32 first, qint32 last) {
    for (qint32 pos = first; pos <= last; pos += kAlarmSectorSize)
        sectors.append(pos);
}

} // namespace

QList<qint32> AlarmRingSectors(const RingBounds &bounds) {
    if (bounds.start < 0 || bounds.state == 0)
        return {};
    const qint32 start = sectorStart(bounds.start);
    const qint32 end = sectorStart(bounds.end);
    QList<qint32> sectors;
    if (bounds.state == 3) {
        // Through the ring's last sector, then on from its first, never reaching the
        // sectors already visited.
        appendRun(sectors, start, kRing.lastUnit());
        appendRun(sectors, kRing.first, std::min(end, start - kAlarmSectorSize));
    } else {
        // The sector at the end offset is read too; a start beyond the end reads the start.
        appendRun(sectors, start, std::max(start, end));
    }
    return sectors;
}

qint32 AlarmSampleSector(qint32 blockNumber) {
    const qint64 offset = qint64(kRing.first) + qint64(blockNumber) * kAlarmSectorSize;
    if (blockNumber < 0 || offset > kRing.lastUnit())
        throw TqError(
            ErrorKind::SubscriptOutOfRange,
            QStringLiteral("Block number %1 lies outside the alarm-trend area").arg(blockNumber));
    return static_cast<qint32>(offset);
}

} // namespace tq
