#include "core/gas_format.h"

#include <QLocale>

#include <array>

namespace tq {

namespace {

namespace RC = ReadingCode;
namespace VK = ValueKind;

constexpr qint16 kNoStatusNumber = -1;

// One reading code: its display word, the kind of that word, its event-list word and
// the detector status number that decodes to it.
struct ReadingCodeInfo {
    qint16 code;
    const char *valueWord;
    qint16 kind;
    const char *statusWord;
    qint16 statusNumber;
};

constexpr auto kReadingCodes = std::to_array<ReadingCodeInfo>({
    {RC::NoValue, "-----", VK::NoValue, "", kNoStatusNumber},
    {RC::Normal, "NORMAL", VK::AlarmWord, "NORMAL", 0},
    {RC::Warning, "WARNING", VK::AlarmWord, "WARNING", 1},
    {RC::Alarm, "ALARM", VK::AlarmWord, "ALARM", 2},
    {RC::Stel, "STEL", VK::AlarmWord, "STEL", 3},
    {RC::Twa, "TWA", VK::AlarmWord, "TWA", 4},
    {RC::Over, "OVER", VK::AlarmWord, "OVER", 5},
    {RC::RawFeFe, "-----", VK::NoValue, "*****", kNoStatusNumber},
    {RC::RawDdDd, "*****", VK::NoValue, "NODATA", kNoStatusNumber},
    {RC::FailAir, "Fail(Air)", VK::SensorFailure, "Fail(Air)", 0x10},
    {RC::FailSpan, "Fail(Span)", VK::SensorFailure, "Fail(Span)", 0x11},
    {RC::FailSensor, "Fail(Sen.)", VK::SensorFailure, "Fail(Sens.)", 0x12},
    {RC::FailCom, "Fail(Com.)", VK::SensorFailure, "Fail(Com.)", 0x13},
    {RC::FailRam, "Fail(Ram)", VK::SensorFailure, "Fail(Ram)", 0x14},
    {RC::FailRom, "Fail(Rom)", VK::SensorFailure, "Fail(Rom)", 0x15},
    {RC::FailExt, "Fail(Ext.)", VK::SensorFailure, "Fail(Ext.)", 0x16},
    {RC::FailFol, "Fail(Fol.)", VK::SensorFailure, "Fail(Fol.)", 0x17},
    {RC::FailAlkaline, "Fail(ALK.)", VK::UnitFailure, "Fail(ALK.)", 0x20},
    {RC::FailLiIon, "Fail(Li-ion)", VK::UnitFailure, "Fail(Li-ion)", 0x21},
    {RC::FailFlow, "Fail(FLOW)", VK::UnitFailure, "Fail(FLOW)", 0x22},
    {RC::FailUnitRam, "Fail(RAM)", VK::UnitFailure, "Fail(RAM)", 0x23},
    {RC::FailUnitRom, "Fail(ROM)", VK::UnitFailure, "Fail(ROM)", 0x24},
    {RC::FailFram, "Fail(FRAM)", VK::UnitFailure, "Fail(FRAM)", 0x25},
    {RC::FailFlash, "Fail(FLA.)", VK::UnitFailure, "Fail(FLA.)", 0x26},
    {RC::FailClock, "Fail(CLO.)", VK::UnitFailure, "Fail(CLO.)", 0x27},
    {RC::UnitNormal, "NORMAL", VK::UnitFailure, "NORMAL", 0x28},
    {RC::FailBias, "Fail(BIAS)", VK::UnitFailure, "Fail(BIAS)", 0x29},
    {RC::CalOn, "CAL ON", VK::EventWord, "CALON", 0x30},
    {RC::CalOff, "CAL OFF", VK::EventWord, "CALOFF", 0x31},
    {RC::Clear, "CLEAR", VK::EventWord, "CLR", 0x32},
    {RC::Lel, "LEL", VK::EventWord, "LEL", 0x33},
    {RC::Ppm, "ppm", VK::EventWord, "ppm", 0x34},
    {RC::Vol, "vol", VK::EventWord, "vol", 0x35},
    {RC::EleOn, "ELE ON", VK::EventWord, "EL. ON", 0x36},
    {RC::EleOff, "ELE OFF", VK::EventWord, "EL.OFF", 0x37},
    {RC::CatOn, "CAT ON", VK::EventWord, "CATON", 0x38},
    {RC::CatOff, "CAT OFF", VK::EventWord, "CATOFF", 0x39},
    {RC::Air, "AIR", VK::EventWord, "AIR", 0x3A},
    {RC::WarningOff, "-WARNING", VK::AlarmWord, "-WARNING", 6},
    {RC::AlarmOff, "-ALARM", VK::AlarmWord, "-ALARM", 7},
    {RC::StelOff, "-STEL", VK::AlarmWord, "-STEL", 8},
    {RC::TwaOff, "-TWA", VK::AlarmWord, "-TWA", 9},
    {RC::OverOff, "-OVER", VK::AlarmWord, "-OVER", 10},
});

// Raw 16-bit values that reach the formatter undecoded, and the code each stands for.
struct RawValue {
    float raw;
    qint16 code;
};
constexpr auto kRawValues = std::to_array<RawValue>({
    {65535.0f, RC::NoValue},
    {65287.0f, RC::NoValue},
    {56797.0f, RC::RawDdDd},
});

const ReadingCodeInfo *findCode(double code) {
    for (const ReadingCodeInfo &info : kReadingCodes) {
        if (code == info.code)
            return &info;
    }
    return nullptr;
}

const ReadingCodeInfo *findValueCode(float value) {
    for (const RawValue &raw : kRawValues) {
        if (value == raw.raw)
            return findCode(raw.code);
    }
    return findCode(value);
}

qint16 g_lastValueKind = VK::Number;

// The pattern of FormatGasValue for its decimals.
QString valuePattern(qint16 decimals) {
    return decimals >= 0 && decimals <= 3 ? DecimalFormat(decimals) : DecimalFormat(0);
}

float toSingle(double value) {
    if (std::fabs(value) > std::numeric_limits<float>::max())
        throw TqError(ErrorKind::Overflow,
                      QStringLiteral("Number %1 does not fit a single").arg(value));
    return static_cast<float>(value);
}

// Adds one unit in the last place of a string of decimal digits; true when it grew by a
// leading "1".
bool incrementDigits(QString &digits) {
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != QLatin1Char('9')) {
            digits[i] = QChar(digits[i].unicode() + 1);
            return false;
        }
        digits[i] = QLatin1Char('0');
    }
    digits.prepend(QLatin1Char('1'));
    return true;
}

QString formatWithPattern(double value, int significant, const QString &pattern,
                          const QString &point) {
    if (pattern.isEmpty() || !std::isfinite(value)) {
        QString text = QString::number(value, 'g', significant).toUpper();
        return text.replace(QLatin1Char('.'), point);
    }
    const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
    const int decimals = dot < 0 ? 0 : static_cast<int>(pattern.size() - dot - 1);
    const int minIntegerDigits =
        static_cast<int>((dot < 0 ? pattern : pattern.left(dot)).count(QLatin1Char('0')));

    // The value's significant digits and the power of ten of the first one.
    const QString scientific = QString::number(std::fabs(value), 'e', significant - 1);
    const qsizetype e = scientific.indexOf(QLatin1Char('e'));
    QString digits = scientific.left(e).remove(QLatin1Char('.'));
    int integerDigits = scientific.mid(e + 1).toInt() + 1;
    if (integerDigits < 1) {
        digits.prepend(QString(1 - integerDigits, QLatin1Char('0')));
        integerDigits = 1;
    }

    const int kept = integerDigits + decimals;
    if (digits.size() > kept) {
        const bool roundUp = digits[kept] >= QLatin1Char('5');
        digits.truncate(kept);
        if (roundUp && incrementDigits(digits))
            ++integerDigits;
    } else {
        digits.append(QString(kept - digits.size(), QLatin1Char('0')));
    }

    QString integerPart = digits.left(integerDigits);
    while (!integerPart.isEmpty() && integerPart[0] == QLatin1Char('0'))
        integerPart.remove(0, 1);
    if (integerPart.size() < minIntegerDigits)
        integerPart.prepend(QString(minIntegerDigits - integerPart.size(), QLatin1Char('0')));

    // A value that rounds to zero shows no minus sign.
    const bool allZero = digits.count(QLatin1Char('0')) == digits.size();
    QString text = value < 0 && !allZero ? QStringLiteral("-") : QString();
    text += integerPart;
    if (decimals > 0)
        text += point + digits.mid(integerDigits);
    return text;
}

} // namespace

QString SystemDecimalMark() {
    return QLocale::system().decimalPoint();
}

QString FormatNumber(float value, const QString &pattern, const QString &mark) {
    return formatWithPattern(value, 7, pattern, mark);
}

QString FormatNumber(double value, const QString &pattern, const QString &mark) {
    return formatWithPattern(value, 15, pattern, mark);
}

std::optional<double> ParseNumber(const QString &text) {
    const QString trimmed = text.trimmed();
    for (QLocale locale : {QLocale::system(), QLocale::c()}) {
        locale.setNumberOptions(QLocale::RejectGroupSeparator);
        bool ok = false;
        const double value = locale.toDouble(trimmed, &ok);
        if (ok && std::isfinite(value))
            return value;
    }
    return std::nullopt;
}

QString FormatGasValue(float value, qint16 decimals, const QString &mark) {
    if (const ReadingCodeInfo *info = findValueCode(value)) {
        g_lastValueKind = info->kind;
        return QString::fromLatin1(info->valueWord);
    }
    g_lastValueKind = VK::Number;
    return FormatNumber(value, valuePattern(decimals), mark);
}

qint16 LastValueKind() {
    return g_lastValueKind;
}

QString StatusCodeText(qint32 code) {
    const ReadingCodeInfo *info = findCode(code);
    return info ? QString::fromLatin1(info->statusWord) : QString();
}

qint16 StatusNumberToCode(const QString &text) {
    const std::optional<double> number = ParseNumber(text);
    if (!number)
        return 0;
    const qint16 status = RoundToWhole<qint16>(*number);
    for (const ReadingCodeInfo &info : kReadingCodes) {
        if (info.statusNumber != kNoStatusNumber && info.statusNumber == status)
            return info.code;
    }
    return RC::NoValue;
}

qint16 AlarmBitsToCode(qint16 flags) {
    if (flags == 255)
        return RC::NoValue;
    struct Bit {
        qint16 mask;
        qint16 code;
    };
    // The first bit set in this order decides.
    static constexpr auto kBits = std::to_array<Bit>({
        {0x08, RC::Stel},
        {0x10, RC::Twa},
        {0x80, RC::Over},
        {0x02, RC::Alarm},
        {0x01, RC::Warning},
    });
    for (const Bit &bit : kBits) {
        if (flags & bit.mask)
            return bit.code;
    }
    return RC::NoValue;
}

float ParseGasValue(const QString &text) {
    if (const std::optional<double> number = ParseNumber(text))
        return toSingle(*number);
    struct Word {
        const char *prefix;
        qint16 code;
    };
    static constexpr auto kWords = std::to_array<Word>({
        {"OVE", RC::Over},
        {"FAI", 0},
        {"WAR", RC::Warning},
        {"ALR", RC::Alarm},
        {"STE", RC::Stel},
        {"TWA", RC::Twa},
        {"MAX", 0},
        {"MIN", 0},
        {"NOR", RC::Normal},
    });
    const QString prefix = text.trimmed().left(3).toUpper();
    for (const Word &word : kWords) {
        if (prefix == QLatin1String(word.prefix))
            return word.code;
    }
    return RC::NoValue;
}

QString CheckOverRange(const QString &text, float fullScale) {
    if (fullScale == RC::NoValue)
        return QStringLiteral("-----");
    const std::optional<double> number = ParseNumber(text);
    if (!number)
        return text;
    const float value = toSingle(*number);
    return value < 0 || value > fullScale ? QStringLiteral("OVER") : text;
}

QString GetUnitSuffix(qint16 rangeCode, float ratio, float reading, float limit,
                      const QString &alternative, const QString &unit) {
    if (ratio > 0) {
        switch (rangeCode) {
        case RC::Lel:
            return QStringLiteral(" %LEL");
        case RC::Ppm:
            return QStringLiteral(" ppm");
        case RC::Vol:
            return QStringLiteral(" vol%");
        default:
            return QString();
        }
    }
    const bool useAlternative = !alternative.isEmpty() && reading > limit;
    return QLatin1Char(' ') + (useAlternative ? alternative : unit);
}

QString MakeGasTitle(const QString &name, const QString &unit, float fullScale, qint16 decimals,
                     const QString &mark) {
    if (name.trimmed().isEmpty())
        return QStringLiteral("----(---)");
    const QString scale =
        fullScale == -1 ? QString() : FormatNumber(fullScale, DecimalFormat(decimals), mark);
    return name + QLatin1Char('(') + scale + unit + QLatin1Char(')');
}

QString DecimalFormat(qint16 decimals) {
    if (decimals == 0)
        return QStringLiteral("#0");
    if (decimals >= 1 && decimals <= 9)
        return QStringLiteral("#0.") + QString(decimals, QLatin1Char('0'));
    return QString();
}

QString FormatValue5(float value, qint16 decimals) {
    if (value < 0)
        return QStringLiteral("*****");
    // These fields go to the detector and into a CSV file, so the point is always ".".
    const QString text = formatWithPattern(value, 7, valuePattern(decimals), QStringLiteral("."));
    return (QStringLiteral("    ") + text).right(5);
}

qint16 CountDecimals(const QString &text) {
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    return dot < 0 ? 0 : RoundToWhole<qint16>(static_cast<double>(text.size() - dot - 1));
}

float DecodeRawCount(qint32 raw) {
    constexpr qint32 kExtendedFrom = 0xD000;
    return raw <= kExtendedFrom ? static_cast<float>(raw)
                                : static_cast<float>((qint64(raw) - kExtendedFrom) * 100 + 50000);
}

qint16 GetIntervalIndex(qint16 seconds) {
    static constexpr auto kIntervals = std::to_array<qint16>({10, 20, 30, 60, 180, 300, 600});
    constexpr qint16 kDefaultIndex = 5; // the place of 300 seconds
    for (qsizetype i = 0; i < static_cast<qsizetype>(kIntervals.size()); ++i) {
        if (kIntervals[i] == seconds)
            return static_cast<qint16>(i);
    }
    return kDefaultIndex;
}

float RoundToStep(float value, float step) {
    if (value < 0 || step == 0)
        return 0;
    const float steps = value / step;
    return static_cast<float>(RoundToWhole<qint16>(steps)) * step;
}

} // namespace tq
