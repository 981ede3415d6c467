#pragma once

#include <QString>

namespace tq {

// The serial communication log SerialLog.log in the program folder.
QString SerialLogPath();

// Appends one line: the time "hh:nn:ss", a blank, the text and CR LF. The log is a
// diagnostic aid written from inside receive events and timer ticks, so a failure to write
// it is swallowed: false, and the caller's work goes on.
bool SetSerialLog(const QString &text);

} // namespace tq
