#include "ui/instrument/rules/calibration_due.h"

#include "core/messages.h"

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

// A fixed "now" with a time of day, so halves of days fall on the clock.
const Date kNow = Date::fromParts(2024, 6, 15, 12, 0, 0);
constexpr qint16 kLimit = 90;

// A calibration date whose due date (after kLimit days) lies `daysAhead` from kNow.
Date dueIn(double daysAhead) {
    return kNow.addSeconds(qint64((daysAhead - kLimit) * 86400.0));
}

QString remaining(int days) {
    return LoadMessage(5638, {days});
}

TEST(CalibrationDue, RulesSideBySide) {
    struct Case {
        const char *what;
        Date calibDate;
        qint16 limitDays;
        bool enabled;
        qint16 remainingDays;
        CalDueState state;
        CalDueColor color;
        QString dueText; // empty: "Now"
    };
    const Date future = kNow.addSeconds(3600);
    const std::vector<Case> cases = {
        {"due exactly now", dueIn(0), 7, true, 0, CalDueState::DueSoon, CalDueColor::Orange,
         remaining(0)},
        {"due exactly now, no window", dueIn(0), 0, true, 0, CalDueState::InTime, CalDueColor::None,
         remaining(0)},
        {"due in under half a day", dueIn(0.4), 0, true, 0, CalDueState::InTime, CalDueColor::None,
         remaining(0)},
        {"2.5 days round to 2", dueIn(2.5), 0, true, 2, CalDueState::InTime, CalDueColor::None,
         remaining(2)},
        {"3.5 days round to 4", dueIn(3.5), 0, true, 4, CalDueState::InTime, CalDueColor::None,
         remaining(4)},
        {"29.6 days is 30, not soon", dueIn(29.6), 30, true, 30, CalDueState::InTime,
         CalDueColor::None, remaining(30)},
        {"29.4 days is 29, soon", dueIn(29.4), 30, true, 29, CalDueState::DueSoon,
         CalDueColor::Orange, remaining(29)},
        {"4.5 days left of 90, window 7", dueIn(4.5), 7, true, 4, CalDueState::DueSoon,
         CalDueColor::Orange, remaining(4)},
        {"a second overdue",
         dueIn(-1.0 / 86400),
         7,
         true,
         0,
         CalDueState::Overdue,
         CalDueColor::Red,
         {}},
        {"calibrated 91 days ago",
         dueIn(-1),
         7,
         true,
         -1,
         CalDueState::Overdue,
         CalDueColor::Red,
         {}},
        {"no window: overdue still red",
         dueIn(-1),
         0,
         true,
         -1,
         CalDueState::Overdue,
         CalDueColor::Red,
         {}},
        {"disabled gas: no colour, same text",
         dueIn(-1),
         7,
         false,
         -1,
         CalDueState::Overdue,
         CalDueColor::None,
         {}},
        {"dated an hour ahead", future, 7, true, 90, CalDueState::InTime, CalDueColor::Red, {}},
        {"dated ahead, limit under window",
         future,
         100,
         true,
         90,
         CalDueState::DueSoon,
         CalDueColor::Red,
         {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(RemainingDays(c.calibDate, kLimit, kNow), c.remainingDays) << c.what;
        EXPECT_EQ(GetCalDueState(c.calibDate, kLimit, c.limitDays, kNow), c.state) << c.what;
        EXPECT_EQ(GetCalDueColor(c.calibDate, kLimit, c.enabled, c.limitDays, kNow), c.color)
            << c.what;
        const QString text = c.dueText.isEmpty() ? LoadMessage(5637) : c.dueText;
        EXPECT_EQ(FormatCalDue(c.calibDate, kLimit, kNow), text) << c.what;
    }
}

TEST(CalibrationDue, DatesBefore2000CountAsNone) {
    for (const Date date :
         {Date::noDate(), Date::fromParts(1999, 12, 31, 23, 59, 59), Date::emptyLogDate()}) {
        EXPECT_EQ(FormatValidDate(date), QString());
        EXPECT_EQ(FormatCalDue(date, kLimit, kNow), QString());
        EXPECT_EQ(GetCalDueColor(date, kLimit, true, 30, kNow), CalDueColor::None);
    }
    const Date first = Date::fromParts(2000, 1, 1);
    EXPECT_TRUE(IsUsableDate(first));
    EXPECT_EQ(FormatValidDate(first), first.generalDate());
}

TEST(CalibrationDue, MidnightDateHasNoTimePart) {
    const Date midnight = Date::fromParts(2024, 3, 1);
    const Date afternoon = Date::fromParts(2024, 3, 1, 14, 5, 9);
    EXPECT_EQ(FormatValidDate(afternoon), afternoon.generalDate());
    // The date alone at midnight: the afternoon's text is the same date and a time.
    EXPECT_TRUE(FormatValidDate(afternoon).startsWith(FormatValidDate(midnight) + ' '));
}

} // namespace
} // namespace tq
