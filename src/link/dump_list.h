#pragma once

#include "core/date.h"

#include <QString>

namespace tq {

// The printable dump list of the detector's memory (DumpEF.dat): 16 bytes a line.

// 16 bytes given as 32 hex digits: each byte as two upper-case hex digits and a blank, one
// more blank after the eighth, two blanks, then the bytes as characters (32 to 126 as
// themselves, any other as "."). 67 characters.
QString HexDumpLine(const QString &hexDigits);

// One line of a page: the address as six hex digits, a blank and HexDumpLine.
QString DumpListLine(qint32 address, const QString &hexDigits);

// The heading and the dash line above the 16 lines of a page.
QString DumpPageHeading();
QString DumpPageRule();

// The first lines of the file, written at `when` ("General Date").
QString DumpListHeader(const QString &when);

// Hours, minutes and seconds of an elapsed time, "HH:NN:SS".
QString ElapsedText(qint64 seconds);
// The time from start to now.
QString ElapsedText(const Date &start, const Date &now);

} // namespace tq
