#pragma once

#include "core/date.h"
#include "link/clsInstrument.h"
#include "logs/trend/log_header.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <array>
#include <memory>

namespace tq {

class Database;

// The reading of a snapshot, per gas slot.
struct SnapReading {
    std::array<float, kLogGasSlots> Value{};
    std::array<float, kLogGasSlots> Status{};
};

// One snapshot: a momentary reading recorded by the detector, with the log header of that
// moment. The detector keeps one per 256-byte block of its snapshot area.
class clsSnapShot {
public:
    static constexpr qint32 kReadings = 2;

    clsSnapShot();

    // Back to the values of a fresh object (LogNo, BaseDate, Instrument, gas slot 1 and
    // the readings are kept).
    void ClearDatas();

    // The header by LogHeaderItem code: a snapshot has no Dcount (Null), and Last, the
    // time the block was decoded, is read-only.
    QVariant GasBaseInfo(qint32 type) const;
    void setGasBaseInfo(qint32 type, const QVariant &value);
    // Gas slot 0 by GasInfoItem code; any other slot reads Empty and ignores a let.
    QVariant GasListInfo(qint32 gasNo, qint32 type) const;
    void setGasListInfo(qint32 gasNo, qint32 type, const QVariant &value);

    // Status of a gas slot in a reading and the value of a gas slot in reading 0. Slots and
    // readings 0 and 1 only, else TqError(SubscriptOutOfRange); a let of a value that is
    // no number throws TqError(TypeMismatch).
    float GasEvent(qint32 gasNo, qint32 reading) const;
    void setGasEvent(qint32 gasNo, qint32 reading, const QVariant &value);
    float GasValue(qint32 gasNo) const;
    void setGasValue(qint32 gasNo, const QVariant &value);

    std::shared_ptr<clsInstrument> Instrument() const { return m_instrument; }
    void setInstrument(std::shared_ptr<clsInstrument> instrument) {
        m_instrument = std::move(instrument);
    }
    bool Duplicate() const { return m_duplicate; }
    void setDuplicate(bool value) { m_duplicate = value; }
    bool Error() const { return m_error; }
    void setError(bool value) { m_error = value; }
    QString Key() const { return m_key; }
    void setKey(const QString &key) { m_key = key; }
    qint64 SeqNo() const { return m_seqNo; }
    void setSeqNo(qint64 seqNo) { m_seqNo = seqNo; }
    Date BaseDate() const { return m_baseDate; }
    void setBaseDate(const Date &date) { m_baseDate = date; }

    // Stores the snapshot: one Log_Head row (Types 11) and one SnapShot row, in one
    // transaction. A snapshot already stored (same time, user, station and serial number)
    // and one whose Error is set store nothing. Throws TqError when the database cannot be
    // opened or written, or when no Instrument is set; nothing is left half-stored.
    void Update();
    // Clears the object (keeping SeqNo, Key, Instrument, Error and Duplicate) and fills it
    // from the Log_Head row SeqNo and its SnapShot row. False, with the object left
    // cleared, when there is no database file or no head row of that key. Database
    // failures throw TqError.
    bool ReLoad();

    // Decodes the block header at st (the block's first byte) and leaves st after
    // LunchBreak. A gas block for slot 2 or higher and a header that runs past vData throw
    // TqError(SubscriptOutOfRange).
    bool SetHeader(const QByteArray &vData, qint32 &st);
    // Decodes the 17-byte snapshot record at st into reading 0 of gas slot 0 and leaves st
    // after it; Tfno is not used. Without gas information for slot 0 a numeric value has
    // no scale and is kept as "no value" (-101).
    bool SetData(const QByteArray &vData, qint32 &st, qint16 Tfno);

    const LogHeader &header() const { return m_header; }
    const GasInfo &gas(qint32 slot) const { return m_gas.at(slot); }

private:
    bool LogHeadExists(Database &db) const;
    void WriteDatabase();

    QString m_key;
    qint64 m_seqNo = 0;
    Date m_baseDate;
    QString m_databasePath;
    std::shared_ptr<clsInstrument> m_instrument;
    bool m_duplicate = false;
    bool m_error = false;
    LogHeader m_header;
    GasSlots m_gas;
    std::array<SnapReading, kReadings> m_readings{};
};

} // namespace tq
