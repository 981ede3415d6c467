#pragma once

#include "core/date.h"

#include <QString>

namespace tq {

// The kind of identifier handed to BlankToDashes.
enum class IdFieldKind : qint32 {
    User = 0,
    Station = 1,
    Serial = 2,
    DummySerial = 3, // the second serial number of the instrument model
    Folder = 4,      // a folder code of the log tree; any kind above 3 gets "*"
};

// The text without leading and trailing blanks; a blank text becomes 16 "-" for a user or
// station, 20 "-" for a serial number and "*" for any other kind.
QString BlankToDashes(const QString &text, IdFieldKind kind);

// Key filter of the serial-number, station-ID and user-ID boxes: letters, digits, blank,
// "*", "-" and Backspace (8).
bool IsIdKeyChar(int keyCode);
// Key filter of a station-name cell: letters, digits, blank, "-", "_", "/" and Backspace.
bool IsStationKeyChar(int keyCode);
// True when every character is an ASCII letter, a digit, blank, "-", "_" or "/".
bool IsValidIdText(const QString &text);
// True when every character is "0".."9" (also for an empty text).
bool IsAllDigits(const QString &text);

// The number before the first blank of a tree key ("25 K" gives 25); 0 for an empty text.
// Throws TqError(TypeMismatch) when there is no blank or no number before it.
qint64 LeadingNumber(const QString &text);
// The text without its last two characters; empty when shorter than three.
QString DropLastTwo(const QString &text);
// The last blank-separated word of the text.
QString AfterLastBlank(const QString &text);

// An event's time as "mm/dd hh:nn:ss" with the system's separators; "-----" for the
// reading code -118 and "*****" for the empty log date.
QString FormatEventTime(float value, const Date &time);
// The export text's name for the same formatting.
inline QString FormatEventTime2(float value, const Date &time) {
    return FormatEventTime(value, time);
}

// The locale information types that the program asks for.
inline constexpr qint32 LocaleCalendarType = 0x1009;
inline constexpr qint32 LocaleShortDate = 0x1F;

// A value of the user's locale in the Windows text form: the calendar type ("1"
// Gregorian) and the short date pattern; an empty text for any other type.
QString GetUserLocaleInfo(qint32 type);

quint16 MakeLangID(quint8 primary, quint8 sub);
quint32 MakeLCID(quint16 languageId);

} // namespace tq
