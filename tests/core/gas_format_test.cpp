#include "core/errors.h"
#include "core/gas_format.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

// A number text written with "." in the test, shown with the system's separator.
QString num(const char *text) {
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

template <typename F> void expectOverflow(F &&call) {
    try {
        call();
        FAIL() << "expected an overflow";
    } catch (const TqError &e) {
        EXPECT_EQ(e.kind(), ErrorKind::Overflow);
    }
}

struct CodeCase {
    float value;
    const char *valueWord;
    qint16 kind;
    const char *statusWord; // nullptr where the value is no reading code
};

// Every reading code with both of its words, and the raw values the formatter knows.
const std::vector<CodeCase> kCodeCases = {
    {-101, "-----", 9, ""},
    {-102, "NORMAL", 1, "NORMAL"},
    {-103, "WARNING", 1, "WARNING"},
    {-104, "ALARM", 1, "ALARM"},
    {-105, "STEL", 1, "STEL"},
    {-106, "TWA", 1, "TWA"},
    {-107, "OVER", 1, "OVER"},
    {-118, "-----", 9, "*****"},
    {-121, "*****", 9, "NODATA"},
    {-130, "Fail(Air)", 2, "Fail(Air)"},
    {-131, "Fail(Span)", 2, "Fail(Span)"},
    {-132, "Fail(Sen.)", 2, "Fail(Sens.)"},
    {-133, "Fail(Com.)", 2, "Fail(Com.)"},
    {-134, "Fail(Ram)", 2, "Fail(Ram)"},
    {-135, "Fail(Rom)", 2, "Fail(Rom)"},
    {-136, "Fail(Ext.)", 2, "Fail(Ext.)"},
    {-137, "Fail(Fol.)", 2, "Fail(Fol.)"},
    {-150, "Fail(ALK.)", 3, "Fail(ALK.)"},
    {-151, "Fail(Li-ion)", 3, "Fail(Li-ion)"},
    {-152, "Fail(FLOW)", 3, "Fail(FLOW)"},
    {-153, "Fail(RAM)", 3, "Fail(RAM)"},
    {-154, "Fail(ROM)", 3, "Fail(ROM)"},
    {-155, "Fail(FRAM)", 3, "Fail(FRAM)"},
    {-156, "Fail(FLA.)", 3, "Fail(FLA.)"},
    {-157, "Fail(CLO.)", 3, "Fail(CLO.)"},
    {-158, "NORMAL", 3, "NORMAL"},
    {-159, "Fail(BIAS)", 3, "Fail(BIAS)"},
    {-170, "CAL ON", 4, "CALON"},
    {-171, "CAL OFF", 4, "CALOFF"},
    {-172, "CLEAR", 4, "CLR"},
    {-173, "LEL", 4, "LEL"},
    {-174, "ppm", 4, "ppm"},
    {-175, "vol", 4, "vol"},
    {-176, "ELE ON", 4, "EL. ON"},
    {-177, "ELE OFF", 4, "EL.OFF"},
    {-178, "CAT ON", 4, "CATON"},
    {-179, "CAT OFF", 4, "CATOFF"},
    {-180, "AIR", 4, "AIR"},
    {-193, "-WARNING", 1, "-WARNING"},
    {-194, "-ALARM", 1, "-ALARM"},
    {-195, "-STEL", 1, "-STEL"},
    {-196, "-TWA", 1, "-TWA"},
    {-197, "-OVER", 1, "-OVER"},
    {65535, "-----", 9, nullptr},
    {65287, "-----", 9, nullptr},
    {56797, "*****", 9, nullptr},
};

TEST(GasFormat, EveryReadingCodeHasItsWords) {
    for (const CodeCase &c : kCodeCases) {
        SCOPED_TRACE(c.value);
        FormatGasValue(1.0f, 0); // a number in between resets the kind
        EXPECT_EQ(FormatGasValue(c.value, 2), QString::fromLatin1(c.valueWord));
        EXPECT_EQ(LastValueKind(), c.kind);
        if (c.statusWord) {
            EXPECT_EQ(StatusCodeText(static_cast<qint32>(c.value)),
                      QString::fromLatin1(c.statusWord));
        }
    }
}

TEST(GasFormat, StatusCodeTextOfOtherNumbersIsEmpty) {
    for (qint32 code : {-120, -100, -198, 0, 5, 65535})
        EXPECT_EQ(StatusCodeText(code), QString()) << code;
}

struct NumberCase {
    float value;
    qint16 decimals;
    const char *text; // with "." for the system's separator
};

TEST(GasFormat, FormatsNumbers) {
    const std::vector<NumberCase> cases = {
        {0, 2, "0.00"},          {12.345f, 7, "12"},       {12.345f, -1, "12"},
        {12.345f, 3, "12.345"},  {12.345f, 1, "12.3"},     {2.675f, 2, "2.68"},
        {0.5f, 0, "1"},          {2.5f, 0, "3"},           {-2.5f, 0, "-3"},
        {-1.25f, 1, "-1.3"},     {-0.001f, 2, "0.00"},     {99.95f, 1, "100.0"},
        {1234567, 0, "1234567"}, {0.0005f, 3, "0.001"},    {-101.5f, 1, "-101.5"},
        {-100, 0, "-100"},       {-102.25f, 2, "-102.25"},
    };
    for (const NumberCase &c : cases) {
        FormatGasValue(-101, 0);
        EXPECT_EQ(FormatGasValue(c.value, c.decimals), num(c.text))
            << c.value << " with " << c.decimals;
        EXPECT_EQ(LastValueKind(), ValueKind::Number);
    }
}

// Export files pass their own decimal mark, whatever the locale's.
TEST(GasFormat, AGivenDecimalMarkReplacesTheSystems) {
    const QString comma = QStringLiteral(",");
    EXPECT_EQ(FormatNumber(2.675, QStringLiteral("#0.00"), comma), QStringLiteral("2,68"));
    EXPECT_EQ(FormatNumber(5.0f, QStringLiteral("#0.0"), comma), QStringLiteral("5,0"));
    EXPECT_EQ(FormatGasValue(12.5f, 1, QStringLiteral(".")), QStringLiteral("12.5"));
    EXPECT_EQ(FormatGasValue(-104, 1, comma), QStringLiteral("ALARM"));
    EXPECT_EQ(MakeGasTitle(QStringLiteral("O2"), QStringLiteral("vol%"), 25, 1, comma),
              QStringLiteral("O2(25,0vol%)"));
}

TEST(GasFormat, FormatNumberPatterns) {
    EXPECT_EQ(FormatNumber(5.0f, QStringLiteral("##0.0")), num("5.0"));
    EXPECT_EQ(FormatNumber(0.4f, QStringLiteral("#")), QString());
    EXPECT_EQ(FormatNumber(7.0f, QStringLiteral("000")), QStringLiteral("007"));
    EXPECT_EQ(FormatNumber(2.675, QStringLiteral("#0.00")), num("2.68"));
    EXPECT_EQ(FormatNumber(1e20, QStringLiteral("#0")), QStringLiteral("100000000000000000000"));
    // The empty pattern gives the general number form.
    EXPECT_EQ(FormatNumber(500.0f, QString()), QStringLiteral("500"));
    EXPECT_EQ(FormatNumber(0.25f, QString()), num("0.25"));
    EXPECT_EQ(FormatNumber(12345678.0f, QString()), num("1.234568E+07"));
}

TEST(GasFormat, StatusNumberToCode) {
    const std::vector<std::pair<const char *, qint16>> cases = {
        {"0", -102},   {"5", -107},   {"6", -193},   {"10", -197}, {"11", -101}, {"15", -101},
        {"16", -130},  {"18", -132},  {"23", -137},  {"24", -101}, {"32", -150}, {"41", -159},
        {"42", -101},  {"48", -170},  {"58", -180},  {"59", -101}, {"-1", -101}, {"255", -101},
        {" 2 ", -104}, {"2.5", -104}, {"1.5", -104}, {"abc", 0},   {"", 0},      {"32767", -101},
    };
    for (const auto &[text, code] : cases)
        EXPECT_EQ(StatusNumberToCode(QString::fromLatin1(text)), code) << text;
    expectOverflow([] { StatusNumberToCode(QStringLiteral("32768")); });
}

TEST(GasFormat, AlarmBitsToCode) {
    const std::vector<std::pair<qint16, qint16>> cases = {
        {0x0A, -105}, {0x04, -101}, {255, -101},  {0x00, -101}, {0x18, -105},
        {0x10, -106}, {0x90, -106}, {0x82, -107}, {0x03, -104}, {0x01, -103},
        {0x64, -101}, {0x7F, -105}, {0xFE, -105},
    };
    for (const auto &[flags, code] : cases)
        EXPECT_EQ(AlarmBitsToCode(flags), code) << flags;
}

TEST(GasFormat, ParseGasValue) {
    const std::vector<std::pair<QString, float>> cases = {
        {" ove", -107},  {"Fail", 0},    {"3.5", 3.5f}, {num("3.25"), 3.25f}, {"-3", -3},
        {" 12 ", 12},    {"WARN", -103}, {"alr", -104}, {"ALARM", -101},      {"STEL", -105},
        {"twa ", -106},  {"MAX", 0},     {"min", 0},    {"NORMAL", -102},     {"", -101},
        {"*****", -101}, {"OV", -101},
    };
    for (const auto &[text, value] : cases)
        EXPECT_EQ(ParseGasValue(text), value) << text.toStdString();
    expectOverflow([] { ParseGasValue(QStringLiteral("1e39")); });
}

TEST(GasFormat, ParseNumberRefusesOtherTexts) {
    EXPECT_EQ(ParseNumber(QStringLiteral(" 1e3 ")), 1000.0);
    for (const char *text : {"", " ", "abc", "inf", "nan", "1.2.3", "3 4"})
        EXPECT_FALSE(ParseNumber(QString::fromLatin1(text))) << text;
}

TEST(GasFormat, CheckOverRange) {
    const std::vector<std::tuple<QString, float, QString>> cases = {
        {"100", 100, "100"},
        {num("100.5"), 100, "OVER"},
        {"-1", 100, "OVER"},
        {"0", 100, "0"},
        {"---", 100, "---"},
        {"ALARM", 100, "ALARM"},
        {num("0.7"), 0.7f, num("0.7")},
        {"12", -101, "-----"},
        {"OVER", -101, "-----"},
        {"", -101, "-----"},
    };
    for (const auto &[text, fullScale, result] : cases)
        EXPECT_EQ(CheckOverRange(text, fullScale), result)
            << text.toStdString() << " / " << fullScale;
}

TEST(GasFormat, GetUnitSuffix) {
    struct Case {
        qint16 range;
        float ratio, reading, limit;
        const char *alternative, *unit, *suffix;
    };
    const std::vector<Case> cases = {
        {-173, 1, 0, 0, "", "x", " %LEL"},   {-174, 0.5f, 0, 0, "", "x", " ppm"},
        {-175, 2, 0, 0, "", "x", " vol%"},   {-172, 2, 0, 0, "alt", "x", ""},
        {-173, 0, 5, 1, "", "ppm", " ppm"},  {-173, -1, 5, 1, "vol%", "ppm", " vol%"},
        {0, 0, 1, 1, "vol%", "ppm", " ppm"}, {0, 0, 1, 1, "", "", " "},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GetUnitSuffix(c.range, c.ratio, c.reading, c.limit,
                                QString::fromLatin1(c.alternative), QString::fromLatin1(c.unit)),
                  QString::fromLatin1(c.suffix))
            << c.range << " " << c.ratio;
}

TEST(GasFormat, MakeGasTitle) {
    EXPECT_EQ(MakeGasTitle("CH4", "%LEL", 100, 0), QStringLiteral("CH4(100%LEL)"));
    EXPECT_EQ(MakeGasTitle(" CO", "ppm", 500, 1), num(" CO(500.0ppm)"));
    EXPECT_EQ(MakeGasTitle("CO", "ppm", -1, 2), QStringLiteral("CO(ppm)"));
    EXPECT_EQ(MakeGasTitle("CO", "ppm", 12.5f, 12), num("CO(12.5ppm)"));
    for (const char *name : {"", "   "})
        EXPECT_EQ(MakeGasTitle(name, "ppm", 100, 1), QStringLiteral("----(---)"));
}

TEST(GasFormat, DecimalFormat) {
    EXPECT_EQ(DecimalFormat(0), QStringLiteral("#0"));
    EXPECT_EQ(DecimalFormat(1), QStringLiteral("#0.0"));
    EXPECT_EQ(DecimalFormat(3), QStringLiteral("#0.000"));
    EXPECT_EQ(DecimalFormat(9), QStringLiteral("#0.000000000"));
    EXPECT_EQ(DecimalFormat(10), QString());
    EXPECT_EQ(DecimalFormat(-1), QString());
}

TEST(GasFormat, FormatValue5) {
    // Always ".": the fields go to the detector whatever the system's separator.
    EXPECT_EQ(FormatValue5(3, 1), QStringLiteral("  3.0"));
    EXPECT_EQ(FormatValue5(0.125f, 2), QStringLiteral(" 0.13"));
    EXPECT_EQ(FormatValue5(123456, 0), QStringLiteral("23456"));
    EXPECT_EQ(FormatValue5(0, 0), QStringLiteral("    0"));
    EXPECT_EQ(FormatValue5(12.5f, 7), QStringLiteral("   13"));
    EXPECT_EQ(FormatValue5(-0.5f, 1), QStringLiteral("*****"));
    EXPECT_EQ(FormatValue5(-101, 1), QStringLiteral("*****"));
}

TEST(GasFormat, CountDecimals) {
    EXPECT_EQ(CountDecimals(QStringLiteral("12.345")), 3);
    EXPECT_EQ(CountDecimals(QStringLiteral("100")), 0);
    EXPECT_EQ(CountDecimals(QStringLiteral("1.2.3")), 3);
    EXPECT_EQ(CountDecimals(QStringLiteral("5.")), 0);
    EXPECT_EQ(CountDecimals(QString()), 0);
}

TEST(GasFormat, DecodeRawCount) {
    EXPECT_EQ(DecodeRawCount(0), 0.0f);
    EXPECT_EQ(DecodeRawCount(53248), 53248.0f);
    EXPECT_EQ(DecodeRawCount(53249), 50100.0f);
    EXPECT_EQ(DecodeRawCount(65535), 1278700.0f);
}

TEST(GasFormat, GetIntervalIndex) {
    const std::vector<std::pair<qint16, qint16>> cases = {
        {10, 0}, {20, 1}, {30, 2}, {60, 3}, {180, 4}, {300, 5}, {600, 6}, {45, 5}, {0, 5},
    };
    for (const auto &[seconds, index] : cases)
        EXPECT_EQ(GetIntervalIndex(seconds), index) << seconds;
}

TEST(GasFormat, RoundToStep) {
    EXPECT_EQ(RoundToStep(2.5f, 1), 2.0f);
    EXPECT_EQ(RoundToStep(3.5f, 1), 4.0f);
    EXPECT_EQ(RoundToStep(-1, 1), 0.0f);
    EXPECT_EQ(RoundToStep(5, 0), 0.0f);
    EXPECT_EQ(RoundToStep(7, 2), 8.0f);
    EXPECT_FLOAT_EQ(RoundToStep(0.26f, 0.05f), 0.25f);
    EXPECT_EQ(RoundToStep(32767, 1), 32767.0f);
    expectOverflow([] { RoundToStep(99999, 1); });
}

TEST(GasFormat, RoundToWholeRangeEnds) {
    EXPECT_EQ(RoundToWhole<qint16>(-32768.5), -32768);
    EXPECT_EQ(RoundToWhole<qint16>(0.5), 0);
    expectOverflow([] { RoundToWhole<qint16>(32767.5); });
    expectOverflow([] { RoundToWhole<qint64>(9.3e18); });
}

} // namespace
} // namespace tq
