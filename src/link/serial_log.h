#pragma once

#include "core/date.h"

#include <QString>

namespace tq {

// The serial communication log SerialLog.log in the program folder.
QString SerialLogPath();

// Appends one line: the time "hh:nn:ss", a blank, the text and CR LF. The log is a
// diagnostic aid written from inside receive events and timer ticks, so a failure to write
// it is swallowed: false, and the caller's work goes on.
bool SetSerialLog(const QString &text);

// A serial-log line of message `id` with the date `now` ("General Date") as its first
// parameter.
QString DatedLogLine(int id, const Date &now);
// The same with the time since `start` ("hh:nn:ss") as its second parameter.
QString TimedLogLine(int id, const Date &start, const Date &now);

} // namespace tq
