#include "ui/display/trend_search.h"

#include "core/database.h"
#include "core/date.h"
#include "core/program_state.h"

#include <cstdlib>

namespace tq {

qint64 FindAlarmTrendNear(Database &db, qint64 seqNo, const QString &serialNo,
                          const Date &eventDate) {
    constexpr int alarmTrend = 2;
    const Date from = eventDate.addSeconds(Globals().TrendSearchBefore);
    const Date to = eventDate.addSeconds(Globals().TrendSearchAfter);
    const QList<DbRow> rows = db.query(
        QStringLiteral("Select SeqNo, Dates From Log_head Where Types = ? And SerialNo = ? "
                       "And SeqNo <> ? And Dates >= ? And Dates <= ? Order By Dates, SeqNo"),
        {alarmTrend, serialNo, seqNo, DateParam(from), DateParam(to)});
    qint64 found = -1;
    qint64 best = kTrendSearchLimit;
    for (const DbRow &row : rows) {
        const qint64 distance =
            std::llabs(row.date(QStringLiteral("Dates")).totalSeconds() - eventDate.totalSeconds());
        // Strictly nearer only: of two at one distance the earlier stays.
        if (distance < best) {
            best = distance;
            found = row.value(QStringLiteral("SeqNo")).toLongLong();
        }
    }
    return found;
}

} // namespace tq
