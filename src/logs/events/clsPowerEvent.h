#pragma once

#include "core/date.h"
#include "logs/events/event_log_base.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace tq {

// One power event: the detector's counter, the time, and whether it was switched on.
struct PowerEventEntry {
    qint32 LogCnt = 0;
    Date Dates = Date::emptyLogDate();
    bool Flags = false;
};

// The power events of one 256-byte block of the area 0x00000..0x0FFFF (no signature, no
// header: one record filling the block), stored under the connected instrument's "Power
// Events" head (Log_Head Types 7) with one Power_Event row per entry.
class clsPowerEvent : public EventLogBase {
public:
    clsPowerEvent();

    // Back to a new object's values, Error False (Key, LogNo, Instrument, gas slot 1 and
    // entry 1024 kept).
    void ClearDatas();

    // Entry fields at index 0..1023; any other index reads 0, False or the date value 0
    // and ignores a let.
    qint32 LogCnt(qint32 index) const;
    void setLogCnt(qint32 index, qint32 value);
    bool Flags(qint32 index) const;
    void setFlags(qint32 index, bool value);
    Date Dates(qint32 index) const;
    void setDates(qint32 index, const Date &value);
    // 1024 for 1024 or more; a negative count is kept as it is.
    void setDataCount(qint16 count) { setBoundedDataCount(count); }

    // Appends the block's record: counter (bytes 0-1, big-endian), time (bytes 2-7),
    // power on when byte 8 is 1. TqError(SubscriptOutOfRange) when the entry count is
    // outside 0..1024 or the block is shorter than a record.
    bool SetData(const QByteArray &vData);

    // Text record line "FD" (cleaned; length checked by the collection): appends an entry
    // with the line's date and time and power on for "1111" at characters 17-20. An
    // impossible date or time sets Error, dates the entry 0 and writes "<<< improper date
    // in SetDataF0() >>> " and the line to the serial log. With TestFlag nothing is
    // checked or stored. Always taken.
    bool SetDataF0(const QString &vData, bool TestFlag);

    // Stores the entries under the instrument's power-event head (made on first use,
    // re-dated on every later store), in one transaction, skipping entries whose time is
    // already stored under that head. Does nothing without entries. Failures throw
    // TqError (also for a log without an instrument) and store nothing of this log.
    void Update();
    // Clears the object (SeqNo kept) and fills the header and gas slot 0 from the
    // Log_Head row SeqNo. False when there is no database file or no such row.
    bool ReLoad();

    // Entry index (0 to 1024); std::out_of_range beyond.
    const PowerEventEntry &entry(qint32 index) const;

private:
    static bool reachable(qint32 index) { return index >= 0 && index < kReachableEntries; }
    PowerEventEntry &nextEntry();

    // The entries are held only as far as they have been written (a block holds one record;
    // an import makes hundreds of these objects); an entry beyond them reads as cleared.
    const PowerEventEntry &entryAt(qint32 index) const;
    PowerEventEntry &writableEntry(qint32 index);
    std::vector<PowerEventEntry> m_entries;
};

} // namespace tq
