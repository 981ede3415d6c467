#pragma once

#include <QString>
#include <QStringView>

namespace tq {

// The run-length text code of the sample lines that the detector sends as ASCII.

// The two hexadecimal digits that a one-byte character stands for ("!" "00", double quote
// "FF", "#" "D1", "$" "01", "%" "02", "&" "03", "'" "FE"); empty for any other character.
QString RunLengthByteCode(QChar ch);

// The hexadecimal digits that a coded line expands to: byte characters (codes 32-47),
// half-byte pairs (48-63) and repeat counts (64-127, one or two characters) for the next
// group of four digits. Other characters are ignored; an unfinished group is dropped.
QString DecodeRunLength(QStringView text);

// The value of one sample given as four hexadecimal digits: "FEFE" -118, "FFFF" -101,
// otherwise the digits as a signed 16-bit number over 10^decimals, or -101 for a slot that
// holds no gas. Throws TqError(Overflow) when the result does not fit a Single.
float HexSampleValue(QStringView digits, bool slotHasGas, qint16 decimals);

} // namespace tq
