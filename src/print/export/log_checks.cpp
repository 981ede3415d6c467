#include "print/export/log_checks.h"

#include "core/errors.h"
#include "core/messages.h"
#include "logs/events/clsSnapShot.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/clsInterval.h"
#include "logs/trend/log_items.h"
#include "print/export/export_cells.h"

namespace tq {

void RequireSoundTrendFile(const TrendFileCheck &check) {
    if (const int message = TrendFileFaultMessage(check))
        throw TqError(ErrorKind::File, LoadMessage(message, {check.path}));
}

qint16 IntervalEventCode(const clsInterval &log, qint32 index) {
    const float stored = log.GasEvent(0, index).toFloat();
    const std::optional<qint16> code = FittingCode(stored);
    if (!code)
        throw TqError(ErrorKind::TypeMismatch,
                      LoadMessage(30105, {ExportDate(log.EventDateTimes(index)),
                                          QString::number(stored, 'g', 9)}));
    return *code;
}

qint16 SnapshotAlarmFlags(const clsSnapShot &log) {
    const float stored = log.GasEvent(0, 0);
    const std::optional<qint16> flags = FittingCode(stored);
    if (!flags)
        throw TqError(ErrorKind::TypeMismatch,
                      LoadMessage(30106, {QString::number(stored, 'g', 9)}));
    return *flags;
}

void RequireWritableLog(qint32 logType, const clsInterval *interval, const clsAlarm *alarm,
                        const clsSnapShot *snapshot) {
    switch (logType) {
    case 1:
        if (interval) {
            RequireSoundTrendFile(interval->trendFileCheck());
            for (qint32 e = 0; e < interval->EventCount(); ++e)
                IntervalEventCode(*interval, e);
        }
        break;
    case 9: // a bar-hole trend lists no events
        if (interval)
            RequireSoundTrendFile(interval->trendFileCheck());
        break;
    case 2:
        if (alarm)
            RequireSoundTrendFile(alarm->trendFileCheck());
        break;
    case 11:
        if (snapshot)
            SnapshotAlarmFlags(*snapshot);
        break;
    default:
        break;
    }
}

} // namespace tq
