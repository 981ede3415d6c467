#pragma once

#include "core/database.h"
#include "logs/events/event_store.h"
#include "logs/trend/headed_log.h"

#include <QStringList>

#include <functional>

namespace tq {

// What the logs of the detector's event, snapshot and history areas add: their identity
// as an event head stores it and the reloading of their Log_Head row.
class HeadedLogBase : public HeadedLog {
protected:
    using HeadedLog::HeadedLog;
    ~HeadedLogBase() = default;

    // The identity of the decoded header.
    EventIdentity headerIdentity() const;
    // Fills the header and gas slot 0 from the listed columns (ReadHeadColumns) of the
    // Log_Head row SeqNo, then hands the open database and that row to details when given.
    // False, with nothing read, when there is no database file or no such row.
    bool reloadHead(const QStringList &columns,
                    const std::function<void(Database &, const DbRow &)> &details = {});
};

// What the alarm-, trouble- and power-event logs share beyond that: the entry count.
class EventLogBase : public HeadedLogBase {
public:
    // Entries 0..1024; the per-entry accessors reach 0..1023 only.
    static constexpr qint32 kEntryCount = 1025;
    static constexpr qint32 kReachableEntries = 1024;

    // The number of filled entries, counted from entry 0.
    qint16 DataCount() const { return static_cast<qint16>(m_dataCount); }

protected:
    // None of them has a Last item.
    EventLogBase() : HeadedLogBase(LogHeaderItem::Last) {}
    ~EventLogBase() = default;

    // Header, gas slot 0, SeqNo and count back to a new object's values. Key, LogNo,
    // Instrument, the store and gas slot 1 are kept.
    void clearLog();
    // The entry to fill next, DataCount; TqError(SubscriptOutOfRange), naming the log, when
    // the count lies outside the entry table.
    qint32 nextEntryIndex(const QString &logName) const;
    // A DataCount let: 1024 for 1024 or more, a negative value as it is.
    void setBoundedDataCount(qint16 count);

    // The identity of the instrument (TqError MissingResource without an instrument).
    EventIdentity instrumentIdentity() const;

    qint32 m_dataCount = 0;
};

} // namespace tq
