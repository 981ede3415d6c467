#pragma once

#include "core/date.h"

#include <QString>

#include <optional>

namespace tq {

// Fields of the text record lines. Positions are 0-based indexes into the line; a field
// that runs past the line's end is read as far as the line goes.

// The text without its characters outside the codes 32..126.
QString StripControlChars(const QString &text);

// The two-character number at index, or nullopt when it is no whole number.
std::optional<int> LineNumber(const QString &line, qint32 index, qint32 length = 2);

// The day of year (2000 + two digits), month and day at index..index + 5; nullopt when
// they form no date.
std::optional<Date> LineDay(const QString &line, qint32 index);

// The seconds of the time of day at index..index + 5 (hour, minute, second); nullopt when
// they form no time.
std::optional<qint64> LineTimeOfDay(const QString &line, qint32 index);

// Appends the line and CR LF to SerialLog.log in the program folder appFolder, without a
// time. Throws TqError(File) when the log cannot be written.
void AppendPlainSerialLogLine(const QString &appFolder, const QString &line);

} // namespace tq
