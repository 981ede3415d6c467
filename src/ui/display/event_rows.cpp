#include "ui/display/event_rows.h"

#include "core/gas_format.h"
#include "logs/trend/clsInterval.h"
#include "logs/trend/log_header.h"

namespace tq {

std::optional<Date> ListedEventTime(const clsInterval &log, const QString &dateText,
                                    const QString &eventText) {
    const auto decimals =
        qint16(log.GasListInfo(0, static_cast<qint32>(GasInfoItem::Point)).toInt());
    for (qint32 n = 0; n < log.EventCount(); ++n) {
        const Date time = log.EventDateTimes(n);
        if (time.generalDate() == dateText &&
            FormatGasValue(log.GasEvent(0, n).toFloat(), decimals) == eventText)
            return time;
    }
    return std::nullopt;
}

} // namespace tq
