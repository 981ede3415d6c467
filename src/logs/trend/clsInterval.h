#pragma once

#include "core/date.h"
#include "logs/trend/headed_log.h"
#include "logs/trend/trend_file.h"

#include <QByteArray>
#include <QVariant>

#include <array>
#include <vector>

namespace tq {

class Database;

// Gas slots of a sample entry and of an event entry.
inline constexpr qint32 kSampleSlots = 5;
inline constexpr qint32 kEventSlots = 2;

// One entry of the sample table.
struct TrendSample {
    qint32 number = 0;
    Date DateTimes;
    std::array<float, kSampleSlots> GasValue{};
    Date StartTime;
};

// One entry of the event table.
struct TrendEvent {
    qint32 number = 0;
    Date EventDateTimes;
    std::array<float, kEventSlots> GasEvent{};
    Date BaseDate;
};

// One interval trend (a bar-hole trend when Sampling is 1): header, gas record, samples and
// events. Decoded from the flash image (SetHeader, SetData, SetTrailer; the samples then
// wait in memory for Update to write the trend file), or reloaded from the database for
// display (ReLoad). Index errors outside the fixed tables throw
// TqError(SubscriptOutOfRange).
class clsInterval : public HeadedLog {
public:
    static constexpr qint32 kSampleEntries = 54001; // entries 0..54000
    static constexpr qint32 kEventEntries = 2049;   // entries 0..2048

    // Every header item answers; Last is the end date of the trend.
    clsInterval();

    // --- Object and accessors
    // Back to the values of a fresh log; LogNo, gas slot 1 and the table contents are kept
    // (only the counts are reset), the pending samples are dropped.
    void ClearDatas();

    bool Duplicate() const { return m_duplicate; }
    void setDuplicate(bool value) { m_duplicate = value; }
    Date BaseDate() const { return m_baseDate; }
    void setBaseDate(const Date &date) { m_baseDate = date; }

    qint32 EventCount() const { return m_eventCount; }
    void setEventCount(qint32 count) { m_eventCount = count; }
    qint32 DataCount() const { return m_dataCount; }
    void setDataCount(qint32 count); // only 0..53999 are taken
    qint32 ValueCount() const { return m_valueCount; }
    void setValueCount(qint32 count) { m_valueCount = count; }

    // Sample entry fields; outside 0..DataCount-1 the gets give the date value 0, Empty or
    // the date value 0 and the lets do nothing. GasValue throws for a slot outside 0..4.
    Date DateTimes(qint32 index) const;
    void setDateTimes(qint32 index, const Date &time);
    QVariant GasValue(qint32 gasNo, qint32 index) const;
    void setGasValue(qint32 gasNo, qint32 index, const QVariant &value);
    Date StartTime(qint32 index) const;
    void setStartTime(qint32 index, const Date &time);
    // Event entry fields; outside 0..EventCount-1 the gets give 0 or Empty and the lets do
    // nothing. GasEvent throws for a slot other than 0 or 1.
    Date EventDateTimes(qint32 index) const;
    void setEventDateTimes(qint32 index, const Date &time);
    QVariant GasEvent(qint32 gasNo, qint32 index) const;
    void setGasEvent(qint32 gasNo, qint32 index, const QVariant &value);

    // Merges an event code into the event table: events of different slots at one time
    // share an entry. Returns the entry used.
    qint16 AddEvents(qint32 gasNo, const Date &dates, qint32 eventNo, const Date &baseDate);
    // Merges a value into the sample table; returns the entry used.
    qint16 AddValue(qint32 gasNo, const Date &dates, float values);
    // Whether alarm code newEvent takes precedence over curEvent.
    static bool priorityEvent(qint32 newEvent, qint32 curEvent);

    // Time-ordered walk over samples (n > 0: sample n - 1) and events (-n: event n - 1);
    // 0 when both are used up. Setting it moves both cursors.
    qint32 getOrder();
    void setGetOrder(qint32 dat) { m_sampleCursor = m_eventCursor = dat; }
    // The first entry from strDim on that lies after dates (the last of equal times);
    // -1 when there is none.
    qint32 SerchDatas(const Date &dates, qint32 strDim) const;
    qint32 SerchEvent(const Date &dates, qint32 strDim) const;
    // The next item after dates, an event winning a tie; 0 when none.
    qint32 SerchValue(const Date &dates) const;

    // --- Flash-image decoding
    // Decodes the header at st of vData (leaving st after it) and makes the trend folders.
    // Throws on a damaged header.
    bool SetHeader(const QByteArray &vData, qint32 &st);
    // Decodes the 4-byte data record at st and advances st by 4. False when the record
    // could not be decoded (it is skipped). Samples of gas slot 0 go to the pending trend
    // file; the trend file holds slot 0 only, so samples of other slots are counted but
    // not written.
    bool SetData(const QByteArray &vData, qint32 &st);
    // Decodes the trailer at st (statistics and end date) and leaves st after its end
    // entry. Always False; throws on a damaged trailer.
    bool SetTrailer(const QByteArray &vData, qint32 &st);

    // --- Storing and reloading
    // Stores the log: one Log_Head row and its Interval_Event rows in one transaction, and
    // the trend file moved into place. A duplicate, a log whose Error is set and a
    // sampling-mode log without a numeric statistic store nothing. Failures throw TqError
    // and leave nothing behind.
    void Update();
    // Fills the object from the Log_Head row SeqNo, its trend file and its events (each
    // table up to its capacity), then writes the raw export when the store's ExportRawData
    // is on. condensedView is the viewer's wish to keep only the points where the value
    // changes; a log with more records than the sample table holds sets it, right after its
    // head row is read, so the viewer keeps it also when the reload fails later. Nothing is
    // read without a database file. A trend file that is missing reads as no samples, a
    // damaged one up to its first damaged record; trendFileCheck() tells which. Other
    // failures throw TqError.
    void ReLoad(bool &condensedView);
    // What the last ReLoad found of the trend file.
    const TrendFileCheck &trendFileCheck() const { return m_trendFileCheck; }

    // --- Direct access for the readers, stores and displays
    const TrendFileWriter &pendingSamples() const { return m_trendFile; }
    TrendFileWriter &pendingSamples() { return m_trendFile; }

private:
    TrendSample &sampleEntry(qint32 index);
    TrendEvent &eventEntry(qint32 index);
    // An entry for reading; one never written reads as a fresh entry.
    const TrendSample &sampleAt(qint32 index) const;
    const TrendEvent &eventAt(qint32 index) const;
    bool validSample(qint32 index) const { return index >= 0 && index < m_dataCount; }
    bool validEvent(qint32 index) const { return index >= 0 && index < m_eventCount; }
    void decodeRecord(const QByteArray &vData, qint32 at);
    float slotValue(const QByteArray &vData, qint32 at, qint32 slot) const;

    bool CheckDuplicate(Database &db) const;
    void WriteDatabase();
    void insertHead(Database &db, qint64 key);
    void readHeadRow(Database &db);
    void readSamples(bool condensed);
    qint32 readEvents(Database &db); // the number of event rows read
    void writeRawExport(qint32 eventsRead) const;

    Date m_baseDate;
    qint32 m_dataCount = 0;
    qint32 m_valueCount = 0;
    qint32 m_eventCount = 0;
    qint32 m_sampleCursor = 0;
    qint32 m_eventCursor = 0;
    std::array<qint32, kSampleSlots> m_sampleCounters{};
    bool m_duplicate = false;
    // The fixed tables grow on first use up to their capacity, so a decoded log does not
    // carry 2 MB of empty sample entries.
    std::vector<TrendSample> m_samples;
    std::vector<TrendEvent> m_events;
    TrendFileWriter m_trendFile;
    TrendFileCheck m_trendFileCheck;
};

} // namespace tq
