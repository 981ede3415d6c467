#pragma once

#include "core/date.h"
#include "core/log_schema.h"
#include "logs/events/event_log_base.h"
#include "logs/trend/log_header.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

namespace tq {

class Database;

// The kind of records a history holds; stored and looked up with any kind but 0 and 1
// counting as a sensor change.
enum class HistoryKind : qint16 { Calibration = 0, BumpTest = 1, SensorChange = 2 };

// One gas slot's cell of a history entry.
struct HistoryEntry {
    qint64 SeqNo = -1; // key of the stored row it was reloaded from
    float Before = 0;
    float After = 0;
    QString GasName;
    qint16 Judge = 0; // bump test: 1 failed, 2 passed; sensor change: the changed slot
    QString Model;
    QString SerialNo;
};

// One block of the detector's history area: its log header and gas information and a
// table of dated entries of one kind, calibrations, bump tests or sensor changes. The
// header's Sampling holds the HistoryKind.
class clsHistory : public HeadedLogBase {
public:
    static constexpr qint32 kEntries = 301; // entries 0..300
    // Entries the text record lines may fill (one fewer than the table holds).
    static constexpr qint32 kLineEntries = 300;

    clsHistory();

    // Back to the values of a fresh object: header, gas slot 0, slot 0's cells and the
    // entry counts (Key, SeqNo, LogNo and gas slot 1 are kept; Instrument is released).
    void ClearDatas();

    // Entries that ReLoad read back (at most kEntries).
    qint32 DataCount() const { return m_dataCount; }
    // Entries that the decoder or the text record lines filled.
    qint32 Dcount() const { return m_dcount; }
    void setDcount(qint32 count) { m_dcount = count; }

    // The entry table: index 0..300, gas slot 0..1; anything else throws
    // TqError(SubscriptOutOfRange). The Judge let rounds to a whole number (halves to
    // even), TqError(Overflow) outside 16 bits.
    Date Dates(qint32 index) const;
    void setDates(qint32 index, const Date &date);
    float Before(qint32 gasNo, qint32 index) const;
    void setBefore(qint32 gasNo, qint32 index, float value);
    float After(qint32 gasNo, qint32 index) const;
    void setAfter(qint32 gasNo, qint32 index, float value);
    float Judge(qint32 gasNo, qint32 index) const;
    void setJudge(qint32 gasNo, qint32 index, float value);
    QString GasName(qint32 gasNo, qint32 index) const;
    void setGasName(qint32 gasNo, qint32 index, const QString &name);
    // The whole cell, for storing and the views.
    const HistoryEntry &entry(qint32 gasNo, qint32 index) const;

    HistoryKind kind() const;

    // Adds or completes the last entry of that date from a text record line: the readings
    // and gas name of slot gasNo. False, with nothing stored, when the slot is not 0 or 1,
    // or when a new entry is needed and the lines have filled kLineEntries. po (the
    // decimals) is not used.
    bool AddHistory(qint32 gasNo, const Date &dates, float before, float after, const QString &no,
                    qint32 po);

    // Stores the history under the one head row of its instrument identity and kind: the
    // head is replaced by this object's header, and each entry the head does not hold yet
    // becomes a detail row; all in one transaction. Throws TqError when the database cannot
    // be opened or written or no Instrument is set; nothing is left half-stored.
    void HistoryUpdate();
    // Clears the object (keeping Key, SeqNo, Instrument and Error) and fills it from the
    // Log_Head row SeqNo and its detail rows, newest first. A history with more rows than
    // the table holds keeps the newest kEntries; DataCount says how many it holds. False,
    // with the object left cleared, when there is no database file or no such head row.
    bool ReLoad();

    // Decodes the block header at st and leaves st after LunchBreak; throws
    // TqError(SubscriptOutOfRange) for a gas slot above 1 or a header past vData.
    bool SetHeader(const QByteArray &vData, qint32 &st);
    // Decodes the one record at st and moves st past it (5, 6 or 21 bytes by its kind).
    // Throws TqError(SubscriptOutOfRange) for a calibration or bump-test slot other than
    // 0 or 1, a full entry table, or a record that runs past vData.
    bool SetData(const QByteArray &vData, qint32 &st);

    // Appends the text as one line to the serial log, without a time; TqError(File).
    void SetSerialLog(const QString &text) const;

private:
    // The cells of one gas slot: those written so far, the rest reading as blank. Most
    // blocks fill one entry of the 301, so the table grows only as far as it is written.
    struct CellColumn {
        std::vector<HistoryEntry> written;
        HistoryEntry blank;
    };

    // Header, gas slot 0, slot 0's cells and the entry counts back to a fresh object's.
    void clearEntries();
    void checkCell(qint32 gasNo, qint32 index) const;
    HistoryEntry &cell(qint32 gasNo, qint32 index);
    void decodeSensorChange(const QByteArray &vData, qint32 st, qint32 slot);
    void decodeReadings(const QByteArray &vData, qint32 st, qint32 slot, HistoryKind kind);
    void storeEntries(Database &db, qint64 head, const EventIdentity &id) const;
    // The detail rows of the Log_Head row head, newest first, up to the table's size.
    void readEntries(Database &db, const DbRow &head);

    qint32 m_dataCount = 0;
    std::array<CellColumn, kLogGasSlots> m_cells{};
    std::array<Date, kEntries> m_dates{};
    qint32 m_dcount = 0;
};

// What a history kind is stored as.
struct HistoryStore {
    LogType type;
    QString names;
    QString table;
};
const HistoryStore &HistoryStoreOf(HistoryKind kind);

} // namespace tq
