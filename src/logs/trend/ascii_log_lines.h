#pragma once

#include "core/date.h"
#include "core/errors.h"
#include "core/flash_layout.h"

#include <QString>
#include <QTime>

#include <optional>

namespace tq {

// Helpers of the decoders that take trend logs as ASCII record lines. Positions count from
// 1 in a line whose leading "/" has been removed.

// The line with only the characters of codes 32 to 127 kept.
QString KeepPrintable(const QString &text);

// The characters at positions from..to; shorter (or empty) where the line ends before.
QString LineField(const QString &line, qsizetype from, qsizetype to);

// Whether the text reads as a number (surrounding blanks allowed).
bool IsNumericText(const QString &text);

// A received line as the decoders see it.
struct FramedLine {
    QString key;   // the log key, two characters
    QString type;  // the record type, two characters
    QString line;  // the line without its "/", or the continuation line as received
    bool compress; // a continuation line of run-length coded samples
};

// A record line ("/" first) carries its key and type at positions 1-4; any other line
// continues the previous record and gets the previous key and type.
FramedLine FrameRecordLine(const QString &cleaned, const QString &previousKey,
                           const QString &previousType);

// The fields of a log-start record ("AD", "BD"): year, month and day at positions 5-10,
// hour, minute and second at 11-16, the interval in seconds at 17-20. Each is nullopt when
// it does not read as a valid date, time of day or number.
struct LogStartFields {
    std::optional<Date> date; // the day, year 2000 + the two digits
    std::optional<QTime> time;
    std::optional<qint32> interval;
};
LogStartFields ParseLogStart(const QString &line);

// The check of a record that carries two gas slots the program does not keep ("AC",
// "BC"): part 1 passes when positions 5-7 are "***" or blank or 47-51 and 52-56 are
// numbers, part 2 when 57-60 are "****" or blank or 61-65 and 66-70 are numbers. A line
// shorter than 69 characters fails. In test mode both parts must pass, otherwise one.
bool CheckTwoSlotRecord(const QString &line, bool testFlag);

// The most samples the area of a family in a real flash image holds: the interval-trend
// ring, 64 KB of four-byte records each a run of up to 255 samples; the alarm-trend ring,
// ten logs of 720 samples.
inline constexpr qint64 kIntervalAreaSamples =
    qint64(FlashAreas::IntervalTrend.last + 1 - FlashAreas::IntervalTrend.first) / 4 * 255;
inline constexpr qint64 kAlarmAreaSamples =
    qint64(FlashAreas::AlarmTrend.last + 1 - FlashAreas::AlarmTrend.first) /
    FlashAreas::AlarmTrend.unit * 720;

// The samples of all the sample lines one collection decodes, together. Each log is
// bounded by its own sample table, but a new log starts at every new key, so a few bytes
// a log could still make any number of samples: the input as a whole holds no more than
// the family's area of a real flash image.
class InputSampleBound {
public:
    explicit InputSampleBound(qint64 capacity) : m_capacity(capacity) {}
    // Counts `samples` more, before they are expanded; throws TqError(Overflow), counting
    // none, when they would take the input past the capacity.
    void take(qint64 samples);

private:
    qint64 m_capacity;
    qint64 m_taken = 0;
};

// Appends one line ending in CR LF to SerialLog.log in the program folder appFolder. The
// log is a diagnostic aid: a log that cannot be written is passed over.
void WriteSerialLog(const QString &appFolder, const QString &text);

// The serial-log line of a failure caught by a sample or event decoder:
// "<<< error catch in <routine>() >>> " followed by the error number, ":" and its text.
QString ErrorCatchLine(const QString &routine, const TqError &error);

} // namespace tq
