#pragma once

#include "core/date.h"
#include "core/errors.h"
#include "logs/trend/headed_log.h"

#include <QString>
#include <QVariant>

namespace tq {

// A value the log does not hold, as the printouts write it.
inline const QString kNoValue = QStringLiteral("-----");

// Items of a log object as the printouts read them.
inline QVariant HeadItem(const HeadedLog &log, LogHeaderItem item) {
    return log.GasBaseInfo(qint32(item));
}
inline QString HeadText(const HeadedLog &log, LogHeaderItem item) {
    return HeadItem(log, item).toString();
}
inline Date HeadDate(const HeadedLog &log, LogHeaderItem item) {
    return HeadItem(log, item).value<Date>();
}
inline QVariant GasItem(const HeadedLog &log, GasInfoItem item) {
    return log.GasListInfo(0, qint32(item));
}

// The log object a request carries for its kind; a request without one cannot print.
template <typename Log> const Log &RequiredLog(const Log *log) {
    if (!log)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("The print request carries no log"));
    return *log;
}

} // namespace tq
