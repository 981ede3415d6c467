#pragma once

#include "core/date.h"

#include <QString>

namespace tq {

// The serial communication log SerialLog.log in the program folder appFolder.
QString SerialLogPath(const QString &appFolder);

// Appends one line to the serial log of appFolder: the time "hh:nn:ss", a blank, the text
// and CR LF. The log is a diagnostic aid written from inside receive events and timer
// ticks, so a failure to write it is swallowed: false, and the caller's work goes on.
bool SetSerialLog(const QString &appFolder, const QString &text);

// While one lives, the serial log of appFolder stays open and its lines are not flushed one by one:
// a flash dump writes a line or two per block. The hold's end writes them through, and
// FlushSerialLog does so at once (after a failure), so a crash loses at most the lines of
// the dump under way. Holds may nest; the outermost one counts.
class SerialLogHold {
public:
    explicit SerialLogHold(const QString &appFolder);
    ~SerialLogHold();
    SerialLogHold(const SerialLogHold &) = delete;
    SerialLogHold &operator=(const SerialLogHold &) = delete;
};
void FlushSerialLog();

// A serial-log line of message `id` with the date `now` ("General Date") as its first
// parameter.
QString DatedLogLine(int id, const Date &now);
// The same with the time since `start` ("hh:nn:ss") as its second parameter.
QString TimedLogLine(int id, const Date &start, const Date &now);

} // namespace tq
