#pragma once

#include "core/date.h"
#include "core/log_schema.h"
#include "logs/events/event_log_base.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace tq {

// One alarm or trouble event: gas number (15: the detector body), time, status code.
struct GasEventEntry {
    qint16 GasNo = 0;
    Date Dates;
    qint16 Events = 0;
};

// What sets the alarm-event and trouble-event logs apart.
struct GasEventKind {
    LogType type;
    QString headName;    // Log_Head Names of the event head
    QString detailTable; // one row per entry
    QString namePrefix;  // Names of a log built from text lines
    bool trouble;        // gas 15 is the body; entries under a new head skip the duplicate test
};

// An alarm-event or trouble-event log: one 256-byte block of the flash image, a header
// followed by 2-byte records (gas number + 0x70, status number) that share its date.
class GasEventLog : public EventLogBase {
public:
    // Back to a new object's values (Key, Error, LogNo, Instrument, gas slot 1 and entry
    // 1024 kept). Alarm logs keep the entry times, trouble logs set them to now and keep
    // the gas numbers.
    void ClearDatas();

    // Entry fields at index 0..1023; any other index reads now (Dates) or 0 and ignores
    // a let.
    Date Dates(qint32 index) const;
    void setDates(qint32 index, const Date &value);
    qint16 Events(qint32 index) const;
    void setEvents(qint32 index, qint16 value);
    qint16 GasNo(qint32 index) const;
    void setGasNo(qint32 index, qint16 value);

    // Decodes the block header at st (the shared log header layout, range items taken as
    // they are, no name) and leaves st after LunchBreak. TqError for a gas block of slot
    // 2 or more or a header past the block, with the fields before it kept.
    bool SetHeader(const QByteArray &vData, qint32 &st);
    // Appends the record at st with the header's date and moves st past it.
    // TqError(SubscriptOutOfRange) when all 1025 entries are filled or the record lies
    // past the block.
    bool SetData(const QByteArray &vData, qint32 &st);

    // Stores the entries under the instrument's event head of this kind (made on first
    // use, re-dated on every later store), in one transaction, skipping entries already
    // stored (same head, gas number, time and status). An entry of a gas number the log
    // has no heading for is stored with the empty heading. Does nothing without entries.
    // Failures throw TqError and store nothing of this log.
    void Update();
    // Clears the object (SeqNo kept) and fills the header and gas slot 0 from the
    // Log_Head row SeqNo; the entries are not loaded. False when there is no database
    // file or no such row.
    bool ReLoad();

    // Entry index (0 to 1024); std::out_of_range beyond.
    const GasEventEntry &entry(qint32 index) const;

    // Text record lines, the line cleaned of control characters and its record code and
    // length checked by the collection; each returns whether the line was taken. With
    // TestFlag nothing is stored but Error.
    // Date line: the log's date and time, Names (prefix + "ddhhmmss") and FolderID; an
    // impossible date or time sets Error and the line is still taken.
    bool dateLine(const QString &vData, bool TestFlag);
    // Event line: entry 0 becomes the gas of the code's digit (from 1) and the status;
    // digit 0 is refused.
    bool eventLine(const QString &vData, bool TestFlag);
    // The fourth and fifth gas: a log holds gas slots 0 and 1 only, so a line that names
    // either is refused (never an error); one that names neither stores nothing.
    bool gasLine(const QString &vData, bool TestFlag);
    // Serial number and entry count (bounded to 1024); refused when the count is no number.
    bool serialLine(const QString &vData, bool TestFlag);

protected:
    explicit GasEventLog(const GasEventKind &kind);

    static bool reachable(qint32 index) { return index >= 0 && index < kReachableEntries; }

private:
    // The entries are held only as far as they have been written: a block fills a few dozen
    // of the 1,025, and an import makes hundreds of these objects. An entry beyond them
    // reads as what clearing leaves in a reachable entry (m_cleared), or as never written.
    const GasEventEntry &entryAt(qint32 index) const;
    GasEventEntry &writableEntry(qint32 index);

    QString gasHeading(qint16 gasNo) const;

    const GasEventKind &m_kind;
    std::vector<GasEventEntry> m_entries;
    GasEventEntry m_cleared;
};

} // namespace tq
