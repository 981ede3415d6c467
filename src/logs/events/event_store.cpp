#include "logs/events/event_store.h"
#include "logs/trend/log_head_row.h"

#include <QSet>
#include <QStringList>
#include <QVariantList>

namespace tq {

namespace {

QVariant date(const Date &value) {
    return QVariant::fromValue(value);
}

} // namespace

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
        db.execute(QStringLiteral("Update Log_Head Set Dates = ? Where SerialNo = ? And UserID = ? "
                                  "And StationID = ? And Types = ?"),
                   {date(now), id.serial, id.user, id.station, static_cast<int>(head.type)});
        return {*found, false};
    }

    const qint64 key = db.nextKey(QStringLiteral("Log_Head"));
    const LogHeader blank; // every header item 0
    const LogHeader &h = head.header ? *head.header : blank;
    const GasInfo &g = *head.gas;

    QStringList columns = {"SeqNo", "Names", "Dates"};
    QVariantList values = {key, head.name, date(now)};
    if (head.logNo) {
        columns << "LogNo";
        values << *head.logNo;
    }
    columns << QStringList{"UserID",      "StationID",   "SerialNo",    "Types",     "RomNum",
                           "Interval",    "Sampling",    "FolderID",    "Dcount",    "LunchBreak",
                           "LEL_lo",      "LEL_hi",      "ppm_lo",      "ppm_hi",    "vol_lo",
                           "vol_hi",      "Gas1Name",    "Gas1Full",    "Gas1Desit", "Gas1Enable",
                           "Gas1Point",   "Gas1Unit",    "Gas1Max",     "Gas1Avr",   "Gas1Min",
                           "Gas1MaxDate", "Gas1MinDate", "Gas1Warning", "Gas1Alarm", "Gas1Stel",
                           "Gas1Twa",     "Gas1Ratio"};
    values << QVariantList{id.user,
                           id.station,
                           id.serial,
                           static_cast<int>(head.type),
                           head.romNumber,
                           h.Interval,
                           h.Sampling,
                           QStringLiteral("-----"),
                           h.Dcount,
                           h.LunchBreak,
                           h.LEL_lo,
                           h.LEL_hi,
                           h.ppm_lo,
                           h.ppm_hi,
                           h.vol_lo,
                           h.vol_hi,
                           BlankWhenEmpty(g.Name),
                           g.Full,
                           g.Desit,
                           g.Enable,
                           g.Point,
                           BlankWhenEmpty(g.Unit),
                           g.Max,
                           g.Avr,
                           g.Min,
                           date(g.MaxDate),
                           date(g.MinDate),
                           g.Warning,
                           g.Alarm,
                           g.Stel,
                           g.Twa,
                           g.Ratio};
    InsertRows(db, QStringLiteral("Log_Head"), columns, {values});
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
