#include "core/date.h"
#include "core/date_pattern.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

using tq::Date;

namespace {

TEST(Date, DayCountsAndCalendar) {
    struct Case {
        double days;
        QString text;
    };
    const Case cases[] = {
        {0.0, "1899-12-30 00:00:00"},     {2.0, "1900-01-01 00:00:00"},
        {-101.0, "1899-09-20 00:00:00"},  {-1.25, "1899-12-29 06:00:00"},
        {45358.5, "2024-03-07 12:00:00"}, {1.0 - 0.2 / 86400, "1899-12-31 00:00:00"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Date(c.days).toSqlText(), c.text) << c.days;
        const auto back = Date::fromSqlText(c.text);
        ASSERT_TRUE(back) << c.text.toStdString();
        EXPECT_EQ(*back, Date(c.days)) << c.days;
    }
    EXPECT_EQ(Date::noDate().toSqlText(), "1899-09-20 00:00:00");
    EXPECT_EQ(Date::emptyLogDate().days(), 2.0);
}

TEST(Date, FromPartsRefusesImpossibleDates) {
    EXPECT_TRUE(Date::tryFromParts(2024, 2, 29, 23, 59, 59));
    for (auto bad : {std::array{2023, 2, 29, 0, 0, 0}, std::array{2024, 13, 1, 0, 0, 0},
                     std::array{2024, 1, 1, 24, 0, 0}, std::array{2024, 1, 1, 0, 60, 0},
                     std::array{2024, 1, 1, 0, 0, 60}, std::array{2024, 0, 1, 0, 0, 0}})
        EXPECT_FALSE(Date::tryFromParts(bad[0], bad[1], bad[2], bad[3], bad[4], bad[5]));
    EXPECT_EQ(Date::fromParts(2024, 2, 30), Date::noDate());
    EXPECT_FALSE(Date::fromSqlText("not a date"));
}

TEST(Date, SecondsArithmeticCrossesDaysBothSidesOfTheEpoch) {
    const Date d = Date::fromParts(2024, 12, 31, 23, 59, 30);
    EXPECT_EQ(d.addSeconds(45).toSqlText(), "2025-01-01 00:00:15");
    EXPECT_EQ(Date(0.0).addSeconds(-1).toSqlText(), "1899-12-29 23:59:59");
    EXPECT_EQ(Date(0.0).addSeconds(-1).addSeconds(1), Date(0.0));
    EXPECT_EQ(d.totalSeconds() - Date::fromParts(2024, 12, 31).totalSeconds(), 86370);
}

// Day counts a damaged file can hold read as the nearest end of the calendar (NaN as the
// day 0): no field, text, sum or comparison of them overflows.
TEST(Date, CountsBeyondTheCalendarReadAsItsEnds) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double days;
        bool valid;
        const char *text;
    };
    const Case cases[] = {
        {nan, false, "1899-12-30 00:00:00"},
        {inf, false, "10000-01-01 00:00:00"},
        {-inf, false, "0001-01-01 00:00:00"},
        {1e300, false, "10000-01-01 00:00:00"},
        {-1e15, false, "0001-01-01 00:00:00"},
        {Date::kFirstDay, true, "0001-01-01 00:00:00"},
        {Date::kEndDay - 1.0 / 86400, true, "9999-12-31 23:59:59"},
        {Date::kEndDay, false, "10000-01-01 00:00:00"},
    };
    for (const Case &c : cases) {
        const Date d(c.days);
        EXPECT_EQ(d.isValid(), c.valid) << c.days;
        EXPECT_EQ(d.toSqlText(), QLatin1String(c.text)) << c.days;
        EXPECT_EQ(d.totalSeconds(), d.roundedToSecond().totalSeconds()) << c.days;
    }
    // Sums stop at the calendar's ends, however far they go.
    const Date last(Date::kEndDay);
    EXPECT_EQ(last.addSeconds(std::numeric_limits<qint64>::max()), last);
    EXPECT_EQ(Date(-inf).addSeconds(std::numeric_limits<qint64>::min()), Date(Date::kFirstDay));
    EXPECT_LT(Date(-inf), Date(0.0));
    EXPECT_LT(Date(0.0), Date(inf));
}

TEST(Date, ComparesBySecond) {
    const Date a = Date::fromParts(2024, 3, 7, 14, 5, 9);
    EXPECT_EQ(a, Date(a.days() + 0.3 / 86400));
    EXPECT_LT(a, a.addSeconds(1));
    EXPECT_EQ(a.roundedToSecond().toSqlText(), "2024-03-07 14:05:09");
}

TEST(Date, GeneralDateLeavesOutMidnight) {
    const QString midnight = Date::fromParts(2024, 3, 7).generalDate();
    const QString later = Date::fromParts(2024, 3, 7, 14, 5, 9).generalDate();
    EXPECT_TRUE(midnight.contains("2024"));
    EXPECT_FALSE(midnight.contains("00"));
    EXPECT_TRUE(later.startsWith(midnight + " "));
    EXPECT_TRUE(later.contains("05")) << later.toStdString();
    EXPECT_TRUE(later.contains("09")) << later.toStdString();
}

// A detector's clock knows no time zone: its times are written as they are, also those that
// the computer's own zone skips when the clocks go forward.
TEST(Date, TimesTheLocalZoneSkipsAreKept) {
    if (!QFileInfo::exists(QStringLiteral("/usr/share/zoneinfo/Europe/Berlin")))
        GTEST_SKIP() << "no time zone data";
    const char *previous = std::getenv("TZ");
    const std::string saved = previous ? previous : "";
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    const Date skipped = Date::fromDateTime(QDate(2024, 3, 31), QTime(2, 30, 15));
    const QString sql = skipped.toSqlText();
    const QString shortTime = skipped.format(QStringLiteral("hh:mm"));
    if (previous)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    EXPECT_EQ(sql, QStringLiteral("2024-03-31 02:30:15"));
    EXPECT_EQ(shortTime, QStringLiteral("02:30"));
}

} // namespace

// The compiled general date patterns write what QLocale writes for the same pattern, for the
// short date and long time forms of the locales the program meets and the pattern letters
// those forms use; a pattern with a letter it does not know is left to QLocale.
TEST(DatePattern, WritesWhatQLocaleWrites) {
    const QStringList patterns = {
        "M/d/yyyy",    "dd/MM/yyyy",
        "yyyy/MM/dd",  "d. M. yyyy",
        "dd.MM.yy",    "yyyy-MM-dd",
        "d MMM yyyy",  "dddd, d MMMM yyyy",
        "ddd dd",      "h:mm:ss AP",
        "hh:mm:ss ap", "HH:mm:ss",
        "H時mm分ss秒", "h 'h' mm 'o''clock' ''",
        "A h:mm",      "a hh:mm",
    };
    const QList<QLocale> locales = {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                    QLocale(QLocale::Japanese, QLocale::Japan),
                                    QLocale(QLocale::German, QLocale::Germany)};
    const QList<QDateTime> moments = {
        {QDate(2024, 3, 7), QTime(0, 5, 9)},     {QDate(1999, 12, 31), QTime(12, 0, 0)},
        {QDate(2015, 6, 23), QTime(23, 59, 59)}, {QDate(2001, 1, 1), QTime(9, 30, 0)},
        {QDate(1900, 1, 1), QTime(13, 1, 2)},
    };
    for (const QLocale &locale : locales) {
        for (const QString &pattern : patterns) {
            const auto compiled = tq::DatePattern::compile(pattern, locale);
            ASSERT_TRUE(compiled) << pattern.toStdString();
            for (const QDateTime &m : moments) {
                QString text;
                compiled->append(text, m.date(), m.time());
                EXPECT_EQ(text, locale.toString(m, pattern))
                    << pattern.toStdString() << " " << locale.name().toStdString();
            }
        }
    }
    for (const char *unknown : {"yyy", "hh:mm:ss t", "zzz", "aP"})
        EXPECT_FALSE(tq::DatePattern::compile(QString::fromUtf8(unknown), QLocale::c())) << unknown;
}
