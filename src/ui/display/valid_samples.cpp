#include "ui/display/valid_samples.h"

#include "logs/trend/clsInterval.h"
#include "logs/trend/log_header.h"

namespace tq {

qint32 CountValidSamples(const clsInterval &log) {
    // The detector logs one gas, in slot 0.
    constexpr qint32 slot = 0;
    if (!log.GasListInfo(slot, static_cast<qint32>(GasInfoItem::Enable)).toBool())
        return 0;
    constexpr float overRange = -107;
    qint32 count = 0;
    for (qint32 i = 0; i < log.DataCount(); ++i) {
        const float value = log.GasValue(slot, i).toFloat();
        if (value >= 0 || value == overRange)
            ++count;
    }
    return count;
}

} // namespace tq
