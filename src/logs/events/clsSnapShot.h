#pragma once

#include "core/date.h"
#include "logs/events/event_log_base.h"

#include <QByteArray>
#include <QVariant>

#include <array>

namespace tq {

// The reading of a snapshot, per gas slot.
struct SnapReading {
    std::array<float, kLogGasSlots> Value{};
    std::array<float, kLogGasSlots> Status{};
};

// One snapshot: a momentary reading recorded by the detector, with the log header of that
// moment. The detector keeps one per 256-byte block of its snapshot area.
class clsSnapShot : public HeadedLogBase {
public:
    static constexpr qint32 kReadings = 2;

    // A snapshot has no Dcount: GasBaseInfo of Dcount reads Null and ignores a let. Last,
    // the time the block was decoded, is read-only.
    clsSnapShot();

    // Back to the values of a fresh object (LogNo, BaseDate, Instrument, gas slot 1 and
    // the readings are kept).
    void ClearDatas();

    // Status of a gas slot in a reading and the value of a gas slot in reading 0. Slots and
    // readings 0 and 1 only, else TqError(SubscriptOutOfRange); a let of a value that is
    // no number throws TqError(TypeMismatch).
    float GasEvent(qint32 gasNo, qint32 reading) const;
    void setGasEvent(qint32 gasNo, qint32 reading, const QVariant &value);
    float GasValue(qint32 gasNo) const;
    void setGasValue(qint32 gasNo, const QVariant &value);

    bool Duplicate() const { return m_duplicate; }
    void setDuplicate(bool value) { m_duplicate = value; }
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

private:
    bool LogHeadExists(Database &db) const;
    void WriteDatabase();
    // Reading 0 from the first SnapShot row of the head SeqNo.
    void readReading(Database &db);

    Date m_baseDate;
    bool m_duplicate = false;
    std::array<SnapReading, kReadings> m_readings{};
};

} // namespace tq
