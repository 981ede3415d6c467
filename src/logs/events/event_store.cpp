#include "logs/events/event_store.h"

#include <QSet>
#include <QStringList>
#include <QVariantList>

namespace tq {

LogHeadItems EventHeadItems(const QString &name, const Date &dates, const EventIdentity &identity,
                            std::optional<qint32> logNo, qint32 sampling) {
    return {.names = name,
            .dates = dates,
            .last = std::nullopt,
            .logNo = logNo,
            .userId = identity.user,
            .stationId = identity.station,
            .serialNo = identity.serial,
            .folderId = QStringLiteral("-----"),
            .sampling = sampling};
}

std::optional<qint64> FindEventHead(Database &db, const EventIdentity &identity, LogType type) {
    const QVariant key =
        db.scalar(QStringLiteral("Select SeqNo From Log_Head Where SerialNo = ? And UserID = ? And "
                                 "StationID = ? And Types = ? Order By SeqNo"),
                  {identity.serial, identity.user, identity.station, static_cast<int>(type)});
    if (!key.isValid())
        return std::nullopt;
    return key.toLongLong();
}

StoredHead StoreEventHead(Database &db, const EventHead &head) {
    const Date now = Date::now();
    const EventIdentity &id = head.identity;
    if (const std::optional<qint64> found = FindEventHead(db, id, head.type)) {
        // A head already dated now is not written again: the logs of one import share it,
        // and a store that adds no row then writes nothing at all.
        db.execute(QStringLiteral("Update Log_Head Set Dates = ? Where SerialNo = ? And UserID = ? "
                                  "And StationID = ? And Types = ? And Dates Is Not ?"),
                   {DateParam(now), id.serial, id.user, id.station, static_cast<int>(head.type),
                    DateParam(now)});
        return {*found, false};
    }

    const qint64 key = db.nextKey(QStringLiteral("Log_Head"));
    const LogHeader blank; // every header item 0
    const LogHeader &h = head.header ? *head.header : blank;
    InsertLogHead(db, key, EventHeadItems(head.name, now, id, head.logNo, h.Sampling), h, *head.gas,
                  head.type, head.romNumber);
    return {key, true};
}

void ForEachDetailRowAt(Database &db, const QString &table, const QString &columns, qint64 head,
                        const QList<Date> &times,
                        const std::function<void(const Date &, const DbRow &)> &found) {
    const QString sql =
        QStringLiteral("Select %1 From %2 Where RelNo = ? And Dates = ?").arg(columns, table);
    QSet<qint64> asked;
    for (const Date &time : times) {
        if (asked.contains(time.totalSeconds()))
            continue;
        asked.insert(time.totalSeconds());
        for (const DbRow &row : db.query(sql, {head, QVariant::fromValue(time)}))
            found(time, row);
    }
}

void InsertRows(Database &db, const QString &table, const QStringList &columns,
                const QList<QVariantList> &rows) {
    // Well below SQLite's limit of bound values in one statement.
    constexpr qsizetype kRowsPerStatement = 100;
    const QString oneRow = QStringLiteral("(") + QStringList(columns.size(), "?").join(',') + ')';
    for (qsizetype first = 0; first < rows.size(); first += kRowsPerStatement) {
        const qsizetype count = qMin(kRowsPerStatement, rows.size() - first);
        QVariantList values;
        for (qsizetype i = first; i < first + count; ++i)
            values += rows[i];
        db.execute(QStringLiteral("Insert Into %1 (%2) Values %3")
                       .arg(table, columns.join(','), QStringList(count, oneRow).join(',')),
                   values);
    }
}

} // namespace tq
