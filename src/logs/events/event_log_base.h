#pragma once

#include "core/date.h"
#include "link/clsInstrument.h"
#include "logs/events/event_store.h"
#include "logs/trend/log_header.h"

#include <QString>
#include <QVariant>

#include <memory>

namespace tq {

// What the event and history logs share: the collection key, the Log_Head key, the error
// flag, the instrument, the log header with gas slots 0 and 1 and the database the log is
// stored in. None of them has a Last item.
class HeadedLogBase {
public:
    QString Key() const { return m_key; }
    void setKey(const QString &key) { m_key = key; }
    qint64 SeqNo() const { return m_seqNo; }
    void setSeqNo(qint64 seqNo) { m_seqNo = seqNo; }
    bool Error() const { return m_error; }
    void setError(bool value) { m_error = value; }
    std::shared_ptr<clsInstrument> Instrument() const { return m_instrument; }
    void setInstrument(std::shared_ptr<clsInstrument> instrument) {
        m_instrument = std::move(instrument);
    }

    // A header item by LogHeaderItem code: Null for Last and any unknown code, whose
    // lets do nothing. Conversion failures of a let throw TqError.
    QVariant GasBaseInfo(qint32 type) const;
    void setGasBaseInfo(qint32 type, const QVariant &value);
    // An item of gas slot 0 by GasInfoItem code; Empty for any other slot (its let does
    // nothing), Null for an unknown code.
    QVariant GasListInfo(qint32 gasNo, qint32 type) const;
    void setGasListInfo(qint32 gasNo, qint32 type, const QVariant &value);

    const LogHeader &header() const { return m_header; }
    const GasInfo &gas(qint32 slot) const { return m_gas.at(slot); }
    QString databasePath() const { return m_databasePath; }

protected:
    HeadedLogBase() = default;
    ~HeadedLogBase() = default;

    // The identity of the decoded header.
    EventIdentity headerIdentity() const;

    QString m_key;
    qint64 m_seqNo = 0;
    QString m_databasePath;
    std::shared_ptr<clsInstrument> m_instrument;
    bool m_error = false;
    LogHeader m_header;
    GasSlots m_gas;
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
    EventLogBase() = default;
    ~EventLogBase() = default;

    // Header, gas slot 0, SeqNo and count back to a new object's values; takes the
    // program's current DatabasePath. Key, LogNo, Instrument and gas slot 1 are kept.
    void clearHeader();
    // Fills the header and gas slot 0 from the listed columns (ReadHeadColumns) of the
    // Log_Head row SeqNo. False, with nothing read, when there is no database file or no
    // such row.
    bool reloadHead(const QStringList &columns);
    // A DataCount let: 1024 for 1024 or more, a negative value as it is.
    void setBoundedDataCount(qint16 count);

    // The identity of the instrument (TqError MissingResource without an instrument).
    EventIdentity instrumentIdentity() const;

    qint32 m_dataCount = 0;
};

} // namespace tq
