#pragma once

#include "core/date.h"
#include "logs/trend/headed_log.h"
#include "logs/trend/trend_file.h"

#include <QByteArray>
#include <QString>

#include <array>

namespace tq {

// One entry of an alarm trend's sample table.
struct AlarmSample {
    qint32 number = 0;
    Date time;
    std::array<float, kLogGasSlots> value{};
};

// One alarm trend: the 720 readings around an alarm, 360 before the alarm point, the one
// at it and 359 after. A log decoded from the flash image keeps its header and gas record;
// its samples are in its trend file only. ReLoad fills the sample table from that file.
class clsAlarm : public HeadedLog {
public:
    static constexpr qint32 kSampleEntries = 721; // entries 0..720
    static constexpr qint16 kMaxDataCount = 720;  // entries the accessors reach

    // An alarm trend has no end date: GasBaseInfo of Last reads Null and ignores a let.
    clsAlarm();

    // Back to the values of a fresh object: LogNo, gas slot 1 and the sample times are
    // kept, the decoded samples dropped.
    void ClearDatas();

    // Time and slot-0 value of sample entry index 0..719; the date value 0 and 0 outside it
    // (value also for any gas slot but 0). The lets ignore an index outside 0..719.
    Date DateTimes(qint32 index) const;
    void setDateTimes(qint32 index, const Date &time);
    float value(qint32 gasNo, qint32 index) const;
    void setValue(qint32 gasNo, qint32 index, float value);

    // Valid entries of the sample table; a let of 720 or more stores 720.
    qint16 DataCount() const { return m_dataCount; }
    void setDataCount(qint16 count);

    bool Duplicate() const { return m_duplicate; }
    void setDuplicate(bool value) { m_duplicate = value; }

    // Stores the log: one Log_Head row (Types 2) and an Alarm_Data row per sample entry,
    // in one transaction, and writes the decoded samples as the log's trend file. A log
    // already stored (same alarm time, user, station and serial number) and one whose
    // Error is set store nothing. When a stored log already carries this log's name, the
    // name gets a "_2", "_3" ... suffix so that neither trend file is lost. Failures throw
    // TqError and leave neither rows nor file.
    void Update();
    // Fills the header, gas slot 0 and the sample table from the Log_Head row SeqNo and
    // the first 720 records of its trend file; writes the raw CSV export when ExportRawData
    // is on. Nothing happens without a database file. A trend file that is missing reads as
    // no samples, a damaged one up to its first damaged record; trendFileCheck() tells
    // which. Other failures throw TqError.
    void ReLoad();
    // What the last ReLoad found of the trend file.
    const TrendFileCheck &trendFileCheck() const { return m_trendFileCheck; }

    // Decodes the block header at st of vData and leaves st after it.
    bool SetHeader(const QByteArray &vData, qint32 &st);
    // Decodes the 16-byte sample record at st, Apnt samples from the alarm point, into the
    // next record of the log's samples; leaves st after the record.
    bool SetData(const QByteArray &vData, qint32 &st, qint16 Apnt);

    // --- ASCII record lines. With TestFlag a decoder only checks its line: it stores
    // nothing, writes no serial-log line and sets only Error (of a log start).
    // Log start "BD": alarm time at positions 5-16 and interval at 17-20; an impossible one
    // sets Error and is written to the serial log. Names the log and checks whether it is
    // stored already (Duplicate). Always True.
    bool SetDataBD(const QString &vData, bool TestFlag);
    // Serial number (5-16) and sampling digit (23) "BB": True when 18-21 are numeric;
    // throws TqError(TypeMismatch) when the sampling character is not a digit.
    bool SetDataBB(const QString &vData, bool TestFlag);
    // Samples "B1".."B6" of gas slot digit - 1: a record line names the slot, continuation
    // lines (compress) carry the run-length coded samples around the alarm point. A line
    // whose samples would run past the sample table is refused whole, before it is
    // expanded: False in test mode. Failures, that refusal among them, are caught: written
    // to the serial log, Error set. True outside test mode.
    bool SetDataB0(const QString &vData, bool TestFlag, bool compress);
    // Records of gas slots the program does not keep: only checked.
    bool SetDataBC(const QString &vData, bool TestFlag);
    bool SetData96(const QString &vData, bool TestFlag);
    // Sample entry "XX": True when positions 11-14 hold a number up to 720; entry number - 1
    // then gets its time and no values.
    bool SetDataXX(const QString &vData, bool TestFlag);

    // Direct access for the decoders and the displays.
    const TrendFileWriter &pendingSamples() const { return m_trendFile; }

private:
    bool CheckDuplicate() const;
    void WriteDatabase();
    void readSamples();
    void writeRawExport() const;

    qint16 m_dataCount = 0;
    bool m_duplicate = false;
    QString m_lastRecordType;
    std::array<qint16, kLogGasSlots> m_sampleCounters{};
    std::array<AlarmSample, kSampleEntries> m_samples{};
    TrendFileWriter m_trendFile; // samples decoded for the trend file, written by Update
    TrendFileCheck m_trendFileCheck;
};

} // namespace tq
