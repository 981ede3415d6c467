#pragma once

#include "core/errors.h"

#include <QString>

#include <cmath>
#include <limits>
#include <optional>

namespace tq {

// Negative gas values that stand for no value, unreadable data and the detector's alarm,
// failure and event states.
namespace ReadingCode {
inline constexpr qint16 NoValue = -101;
inline constexpr qint16 Normal = -102;
inline constexpr qint16 Warning = -103;
inline constexpr qint16 Alarm = -104;
inline constexpr qint16 Stel = -105;
inline constexpr qint16 Twa = -106;
inline constexpr qint16 Over = -107;
inline constexpr qint16 RawFeFe = -118; // the flash bytes FE FE where a value belongs
inline constexpr qint16 RawDdDd = -121; // the flash bytes DD DD where a value belongs
// Sensor failures.
inline constexpr qint16 FailAir = -130;
inline constexpr qint16 FailSpan = -131;
inline constexpr qint16 FailSensor = -132;
inline constexpr qint16 FailCom = -133;
inline constexpr qint16 FailRam = -134;
inline constexpr qint16 FailRom = -135;
inline constexpr qint16 FailExt = -136;
inline constexpr qint16 FailFol = -137;
// Instrument failures.
inline constexpr qint16 FailAlkaline = -150;
inline constexpr qint16 FailLiIon = -151;
inline constexpr qint16 FailFlow = -152;
inline constexpr qint16 FailUnitRam = -153;
inline constexpr qint16 FailUnitRom = -154;
inline constexpr qint16 FailFram = -155;
inline constexpr qint16 FailFlash = -156;
inline constexpr qint16 FailClock = -157;
inline constexpr qint16 UnitNormal = -158;
inline constexpr qint16 FailBias = -159;
// Events and units.
inline constexpr qint16 CalOn = -170;
inline constexpr qint16 CalOff = -171;
inline constexpr qint16 Clear = -172;
inline constexpr qint16 Lel = -173;
inline constexpr qint16 Ppm = -174;
inline constexpr qint16 Vol = -175;
inline constexpr qint16 EleOn = -176;
inline constexpr qint16 EleOff = -177;
inline constexpr qint16 CatOn = -178;
inline constexpr qint16 CatOff = -179;
inline constexpr qint16 Air = -180;
// Alarm states ending.
inline constexpr qint16 WarningOff = -193;
inline constexpr qint16 AlarmOff = -194;
inline constexpr qint16 StelOff = -195;
inline constexpr qint16 TwaOff = -196;
inline constexpr qint16 OverOff = -197;
} // namespace ReadingCode

// The system locale's decimal mark, the mark of screen and printed texts.
QString SystemDecimalMark();

// The kind of the text that FormatGasValue produced last.
namespace ValueKind {
inline constexpr qint16 Number = 0;
inline constexpr qint16 AlarmWord = 1;     // -102..-107, -193..-197
inline constexpr qint16 SensorFailure = 2; // -130..-137
inline constexpr qint16 UnitFailure = 3;   // -150..-159
inline constexpr qint16 EventWord = 4;     // -170..-180
inline constexpr qint16 NoValue = 9;       // "-----" or "*****"
} // namespace ValueKind

// Display text of a gas value: the word of a reading code (also of the raw values 65535,
// 65287 and 56797), or the number with 0 to 3 decimals (none for any other count).
// Records the kind of the text for LastValueKind(). `mark` is the decimal mark (export
// files always use ".", whatever the locale).
QString FormatGasValue(float value, qint16 decimals, const QString &mark = SystemDecimalMark());
qint16 LastValueKind();

// Short word of a reading code for event lists; empty for -101 and unknown codes.
QString StatusCodeText(qint32 code);
// Reading code of a detector status number given as decimal text; 0 for a text that is
// not a number, -101 for an unknown number. Throws TqError(Overflow) outside 16 bits.
qint16 StatusNumberToCode(const QString &text);
// Reading code of a snapshot's alarm flag byte.
qint16 AlarmBitsToCode(qint16 flags);
// A number text as its value; otherwise the reading code of a level word.
float ParseGasValue(const QString &text);
// "OVER" for a number outside 0..fullScale, "-----" for any text when the full scale is
// -101, otherwise the text unchanged.
QString CheckOverRange(const QString &text, float fullScale);
// Unit text to append to a formatted reading.
QString GetUnitSuffix(qint16 rangeCode, float ratio, float reading, float limit,
                      const QString &alternative, const QString &unit);
// Gas heading: name(full scale unit), "----(---)" for a blank name.
QString MakeGasTitle(const QString &name, const QString &unit, float fullScale, qint16 decimals,
                     const QString &mark = SystemDecimalMark());
// Number pattern for 0..9 decimals ("#0", "#0.0", ...); empty for any other count.
QString DecimalFormat(qint16 decimals);
// Five characters: the value formatted as by FormatGasValue but always with "." as the
// decimal point, right-aligned (cut on the left); "*****" when negative.
QString FormatValue5(float value, qint16 decimals);
// Characters after the first "." of the text.
qint16 CountDecimals(const QString &text);
// A log header's ratio count with its extended range above 0xD000.
float DecodeRawCount(qint32 raw);
// Position of a logging interval in the Set page's interval list.
qint16 GetIntervalIndex(qint16 seconds);
// The value rounded to a whole number of steps (halves to even); 0 for a negative value
// or a zero step. Throws TqError(Overflow) when the steps exceed 16 bits.
float RoundToStep(float value, float step);

// Formats a number with a pattern of '#' and '0' integer places, optionally "." and
// decimal places ("#0.00"): at least as many integer digits as the pattern has zeros,
// exactly as many decimals as places after the point, rounded half away from zero, the
// decimal mark `mark` (the system's unless given) and no grouping. An empty pattern gives
// the general number form. A single is taken at its 7 significant digits, a double at 15.
QString FormatNumber(float value, const QString &pattern,
                     const QString &mark = SystemDecimalMark());
QString FormatNumber(double value, const QString &pattern,
                     const QString &mark = SystemDecimalMark());

// A text that reads as a number in the system locale or in the C locale, ignoring
// surrounding blanks; group separators are refused. nullopt for any other text.
std::optional<double> ParseNumber(const QString &text);

// The value rounded to a whole number (halves to even) in T; throws TqError(Overflow)
// when it does not fit.
template <typename T> T RoundToWhole(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<T>::min()) &&
          rounded < static_cast<double>(std::numeric_limits<T>::max()) + 1.0))
        throw TqError(ErrorKind::Overflow,
                      QStringLiteral("Number %1 is out of range").arg(value, 0, 'g', 17));
    return static_cast<T>(rounded);
}

} // namespace tq
