#pragma once

#include <QString>

namespace tq {

class Database;
class Date;

// The alarm trend (LogType 2) of instrument `serialNo`, other than log `seqNo`, whose time
// lies nearest to `eventDate` within the search window (TrendSearchBefore to
// TrendSearchAfter seconds around the event, both ends included) and less than
// kTrendSearchLimit seconds from it; the earlier of two at the same distance. -1 when there
// is none. The serial number and the bounds are bound values, so any serial text searches
// as written. A failure of the database passes to the caller as TqError.
qint64 FindAlarmTrendNear(Database &db, qint64 seqNo, const QString &serialNo,
                          const Date &eventDate);

inline constexpr qint64 kTrendSearchLimit = 600;

} // namespace tq
