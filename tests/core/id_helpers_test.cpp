#include "core/errors.h"
#include "core/id_helpers.h"

#include <QLocale>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

TEST(IdHelpers, BlankToDashes) {
    const QString dashes16(16, QLatin1Char('-'));
    const QString dashes20(20, QLatin1Char('-'));
    const std::vector<std::tuple<QString, IdFieldKind, QString>> cases = {
        {"   ", IdFieldKind::User, dashes16},  {"   ", IdFieldKind::Station, dashes16},
        {"", IdFieldKind::Serial, dashes20},   {"", IdFieldKind::DummySerial, dashes20},
        {"", IdFieldKind::Folder, "*"},        {"", static_cast<IdFieldKind>(-1), "*"},
        {"  AB  ", IdFieldKind::Serial, "AB"}, {" A B ", IdFieldKind::User, "A B"},
    };
    for (const auto &[text, kind, result] : cases)
        EXPECT_EQ(BlankToDashes(text, kind), result)
            << '"' << text.toStdString() << "\" kind " << static_cast<int>(kind);
}

// Expected answers of both key filters for the characters they tell apart and a few
// neighbours of their ranges.
struct KeyCase {
    int code;
    bool idBox;
    bool stationCell;
};

TEST(IdHelpers, KeyFilters) {
    const std::vector<KeyCase> cases = {
        {8, true, true},      {13, false, false},     {32, true, true},    {42, true, false},
        {45, true, true},     {47, false, true},      {95, false, true},   {48, true, true},
        {57, true, true},     {47 - 1, false, false}, {58, false, false},  {64, false, false},
        {65, true, true},     {90, true, true},       {91, false, false},  {96, false, false},
        {97, true, true},     {122, true, true},      {123, false, false}, {0, false, false},
        {0xE9, false, false}, {-1, false, false},
    };
    for (const KeyCase &c : cases) {
        EXPECT_EQ(IsIdKeyChar(c.code), c.idBox) << c.code;
        EXPECT_EQ(IsStationKeyChar(c.code), c.stationCell) << c.code;
    }
}

TEST(IdHelpers, IsValidIdText) {
    EXPECT_TRUE(IsValidIdText(QString()));
    EXPECT_TRUE(IsValidIdText(QStringLiteral("Tank-7_A/b 09")));
    for (const QString &text : {QStringLiteral("A*"), QStringLiteral("a.b"),
                                QStringLiteral("Caf\u00e9"), QStringLiteral("x\ty")})
        EXPECT_FALSE(IsValidIdText(text)) << text.toStdString();
}

TEST(IdHelpers, IsAllDigits) {
    EXPECT_TRUE(IsAllDigits(QString()));
    EXPECT_TRUE(IsAllDigits(QStringLiteral("0123456789")));
    for (const char *text : {"12a", " 1", "-1", "1.0", "/", ":"})
        EXPECT_FALSE(IsAllDigits(QString::fromLatin1(text))) << text;
    EXPECT_FALSE(IsAllDigits(QStringLiteral("\u0661"))); // Arabic-Indic one
}

TEST(IdHelpers, LeadingNumber) {
    EXPECT_EQ(LeadingNumber(QString()), 0);
    EXPECT_EQ(LeadingNumber(QStringLiteral("25 K")), 25);
    EXPECT_EQ(LeadingNumber(QStringLiteral("4000000000 K")), 4000000000LL);
    for (const char *text : {"25K", " 25 K", "A K", "#"}) {
        try {
            LeadingNumber(QString::fromLatin1(text));
            ADD_FAILURE() << "no failure for " << text;
        } catch (const TqError &e) {
            EXPECT_EQ(e.kind(), ErrorKind::TypeMismatch) << text;
        }
    }
}

TEST(IdHelpers, DropLastTwo) {
    EXPECT_EQ(DropLastTwo(QStringLiteral("AB")), QString());
    EXPECT_EQ(DropLastTwo(QString()), QString());
    EXPECT_EQ(DropLastTwo(QStringLiteral("1 K")), QStringLiteral("1"));
    EXPECT_EQ(DropLastTwo(QStringLiteral("SN123 S")), QStringLiteral("SN123"));
}

TEST(IdHelpers, AfterLastBlank) {
    EXPECT_EQ(AfterLastBlank(QStringLiteral("one two three")), QStringLiteral("three"));
    EXPECT_EQ(AfterLastBlank(QStringLiteral("one two three  ")), QStringLiteral("three"));
    EXPECT_EQ(AfterLastBlank(QStringLiteral("25 K")), QStringLiteral("K"));
    EXPECT_EQ(AfterLastBlank(QStringLiteral("word")), QStringLiteral("word"));
    EXPECT_EQ(AfterLastBlank(QStringLiteral("word ")), QString());
}

TEST(IdHelpers, FormatEventTime) {
    const Date time = Date::fromParts(2024, 3, 7, 14, 5, 9);
    EXPECT_EQ(FormatEventTime(-118, time), QStringLiteral("-----"));
    EXPECT_EQ(FormatEventTime(-118, Date::emptyLogDate()), QStringLiteral("-----"));
    EXPECT_EQ(FormatEventTime(5, Date::emptyLogDate()), QStringLiteral("*****"));
    // The separators are the system's; in the C and English locales "/" and ":".
    const QString text = FormatEventTime(5, time);
    EXPECT_EQ(text.size(), 14);
    EXPECT_EQ(QString(text).remove(QRegularExpression(QStringLiteral("[^0-9 ]"))),
              QStringLiteral("0307 140509"));
    if (QLocale::system().dateFormat(QLocale::ShortFormat).contains(QLatin1Char('/')) &&
        QLocale::system().timeFormat(QLocale::ShortFormat).contains(QLatin1Char(':'))) {
        EXPECT_EQ(text, QStringLiteral("03/07 14:05:09"));
    }
    EXPECT_EQ(FormatEventTime2(5, time), text);
    // Just after the empty date is an ordinary time.
    EXPECT_NE(FormatEventTime(5, Date::emptyLogDate().addSeconds(1)), QStringLiteral("*****"));
}

TEST(IdHelpers, GetUserLocaleInfo) {
    EXPECT_EQ(GetUserLocaleInfo(LocaleCalendarType), QStringLiteral("1"));
    EXPECT_EQ(GetUserLocaleInfo(LocaleShortDate),
              QLocale::system().dateFormat(QLocale::ShortFormat));
    EXPECT_FALSE(GetUserLocaleInfo(LocaleShortDate).isEmpty());
    EXPECT_EQ(GetUserLocaleInfo(0x7FFF), QString());
}

TEST(IdHelpers, LanguageAndLocaleIds) {
    EXPECT_EQ(MakeLangID(0, 1), 0x0400);
    EXPECT_EQ(MakeLCID(MakeLangID(0, 1)), 0x0400u);
    EXPECT_EQ(MakeLangID(0x11, 0x01), 0x0411); // Japanese
    EXPECT_EQ(MakeLangID(0x09, 0x01), 0x0409); // English (United States)
}

} // namespace
} // namespace tq
