#pragma once

#include "core/database.h"
#include "core/log_schema.h"
#include "logs/trend/log_head_row.h"
#include "logs/trend/log_header.h"

#include <QString>

#include <functional>
#include <optional>

namespace tq {

// The detector identity an event head is stored under, in BlankToDashes form.
struct EventIdentity {
    QString user;
    QString station;
    QString serial;
};

// What a new event head row holds. header nullptr: the header items are written as 0
// (power events, whose blocks carry no header).
struct EventHead {
    LogType type;
    QString name;
    EventIdentity identity;
    std::optional<qint32> logNo; // written only when set
    qint32 romNumber = 0;
    const LogHeader *header = nullptr;
    const GasInfo *gas = nullptr;
};

// The items of an event or history head: filed under the identity in folder "-----",
// dated, without an end date.
LogHeadItems EventHeadItems(const QString &name, const Date &dates, const EventIdentity &identity,
                            std::optional<qint32> logNo, qint32 sampling);

// The SeqNo of the event head of that identity and kind; nullopt when there is none.
std::optional<qint64> FindEventHead(Database &db, const EventIdentity &identity, LogType type);

struct StoredHead {
    qint64 key = 0;
    bool created = false;
};

// Re-dates the instrument's event head of the kind to now, or inserts it when there is
// none yet. Every value is bound; the caller holds the transaction.
StoredHead StoreEventHead(Database &db, const EventHead &head);

// Calls found(time, row) for each row (the listed columns) of a detail table under head
// whose Dates is one of times; each distinct time is asked once.
void ForEachDetailRowAt(Database &db, const QString &table, const QString &columns, qint64 head,
                        const QList<Date> &times,
                        const std::function<void(const Date &, const DbRow &)> &found);

// Inserts rows (each holding one value per column) into table, many rows per statement.
void InsertRows(Database &db, const QString &table, const QStringList &columns,
                const QList<QVariantList> &rows);

} // namespace tq
