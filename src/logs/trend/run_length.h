#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace tq {

// The run-length text code of the sample lines that the detector sends as ASCII.

// The two hexadecimal digits that a one-byte character stands for ("!" "00", double quote
// "FF", "#" "D1", "$" "01", "%" "02", "&" "03", "'" "FE"); empty for any other character.
QString RunLengthByteCode(QChar ch);

// One group of four hexadecimal digits of a coded line and how often it repeats (0 to
// 4095).
struct RunLengthGroup {
    QString digits;
    qint32 count = 1;
};

// The groups of a coded line, unexpanded: byte characters (codes 32-47), half-byte pairs
// (48-63) and repeat counts (64-127, one or two characters) for the next group of four
// digits. Other characters are ignored; an unfinished group is dropped. A short line can
// stand for millions of samples, so callers count (RunLengthSampleCount) before they
// expand.
QList<RunLengthGroup> RunLengthGroups(QStringView text);

// The number of four-digit samples the groups expand to.
qint64 RunLengthSampleCount(const QList<RunLengthGroup> &groups);

// The groups of a coded sample line whose samples, numbered on from counter, all fit a
// table of capacity samples. A line that would run past it is refused whole, before
// anything is expanded: throws TqError(Overflow).
QList<RunLengthGroup> SampleGroupsWithin(QStringView text, qint64 counter, qint64 capacity);

// Check mode: whether the samples of a coded line alone fit a table of capacity samples.
bool SampleLineFits(QStringView text, qint64 capacity);

// The hexadecimal digits that a coded line expands to (the groups, each repeated).
QString DecodeRunLength(QStringView text);

// The value of one sample given as four hexadecimal digits: "FEFE" -118, "FFFF" -101,
// otherwise the digits as a signed 16-bit number over 10^decimals, or -101 for a slot that
// holds no gas. Throws TqError(Overflow) when the result does not fit a Single.
float HexSampleValue(QStringView digits, bool slotHasGas, qint16 decimals);

} // namespace tq
