#include "ui/instrument/rules/alarm_checks.h"

#include "core/instrument/clsInstrument.h"

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

constexpr float kNotSet = -101.0f;

struct Gas {
    QString name = "CH4";
    float warning = 10;
    float alarm = 50;
    float fullScale = 100;
    qint16 alarmO2 = 0;
    float step = 1;
    qint16 decimals = 0;
};

clsInstrument instrumentWith(const Gas &gas) {
    clsInstrument i;
    i.setGasName(0, gas.name);
    i.setWarning(0, gas.warning);
    i.setAlarm(0, gas.alarm);
    i.setGasFullScale(0, gas.fullScale);
    i.setAlarmO2(gas.alarmO2);
    i.setGasDesit(0, gas.step);
    i.setGasPoint(0, gas.decimals);
    i.ClearChangeFlags();
    return i;
}

Gas named(const QString &name, float warning) {
    Gas g;
    g.name = name;
    g.warning = warning;
    return g;
}

TEST(AlarmChecks, AutoCalRangeFollowsTheWarningLevelOrTheSlotDefault) {
    struct Case {
        const char *what;
        Gas gas;
        qint16 slot;
        float value;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"cleared passes", named("CH4", 20), 0, kNotSet, true},
        {"cleared passes for oxygen", named("O2", 20), 0, kNotSet, true},
        {"no warning, CH4 below 10", named("CH4", kNotSet), 0, 5, false},
        {"no warning, O2 at or below 10", named("O2", kNotSet), 0, 5, true},
        {"warning reached exactly", named("CH4", 20), 0, 20, true},
        {"warning missed", named("CH4", 20), 0, 19.9f, false},
        {"OXY at its warning", named("OXY", 20), 0, 20, true},
        {"OXY above its warning", named("OXY", 20), 0, 20.1f, false},
        {"Oxy is not oxygen", named("Oxy", 20), 0, 20.1f, true},
        {"O2 with a blank is not oxygen", named("O2 ", 20), 0, 19, false},
        {"slot 1 default 19.5", named("CH4", kNotSet), 1, 19.5f, true},
        {"slot 1 below 19.5", named("CH4", kNotSet), 1, 19.4f, false},
    };
    for (const Case &c : cases) {
        clsInstrument i = instrumentWith(c.gas);
        i.setWarning(1, c.gas.warning);
        EXPECT_EQ(CheckAutoCalRange(i, c.slot, c.value), c.expected) << c.what;
    }
}

TEST(AlarmChecks, ValueRangesByColumn) {
    struct Case {
        const char *what;
        Gas gas;
        float value;
        int column;
        bool expected;
    };
    Gas noAlarm;
    noAlarm.alarm = kNotSet;
    Gas noWarning;
    noWarning.warning = kNotSet;
    Gas noScale;
    noScale.fullScale = -1;
    Gas oxygen{"O2", 19.5f, 18, 25, 1, 0.1f, 1};
    Gas oxygenHL = oxygen;
    oxygenHL.alarmO2 = 0;
    const std::vector<Case> cases = {
        {"warning 0 to alarm", Gas{}, 50, kWarningColumn, true},
        {"warning above alarm", Gas{}, 50.5f, kWarningColumn, false},
        {"warning below 0", Gas{}, -1, kWarningColumn, false},
        {"warning without alarm", noAlarm, 0, kWarningColumn, false},
        {"alarm from warning", Gas{}, 10, kAlarmColumn, true},
        {"alarm below warning", Gas{}, 9, kAlarmColumn, false},
        {"alarm to full scale", Gas{}, 100, kAlarmColumn, true},
        {"alarm above full scale", Gas{}, 101, kAlarmColumn, false},
        {"alarm without warning", noWarning, -50, kAlarmColumn, true},
        {"STEL to full scale", Gas{}, 100, kStelColumn, true},
        {"TWA below 0", Gas{}, -1, kTwaColumn, false},
        {"STEL without full scale", noScale, 0, kStelColumn, false},
        {"TWA without full scale", noScale, 0, kTwaColumn, false},
        {"column 5 is not a level", Gas{}, 10, kAutoCalColumn, false},
        {"column 0 is not a level", Gas{}, 10, 0, false},
        // Falling oxygen alarms: the warning lies between the alarm and full scale.
        {"O2 L-LL warning 19.5", oxygen, 19.5f, kWarningColumn, true},
        {"O2 L-LL warning below alarm", oxygen, 17, kWarningColumn, false},
        {"O2 L-LL warning above scale", oxygen, 26, kWarningColumn, false},
        {"O2 L-LL alarm 18", oxygen, 18, kAlarmColumn, true},
        {"O2 L-LL alarm above warning", oxygen, 20, kAlarmColumn, false},
        {"O2 L-LL alarm 0", oxygen, 0, kAlarmColumn, true},
        {"O2 H-L keeps rising ranges", oxygenHL, 19.5f, kWarningColumn, false},
    };
    for (const Case &c : cases) {
        const clsInstrument i = instrumentWith(c.gas);
        EXPECT_EQ(CheckAlarmValue(i, 0, c.value, c.column), c.expected) << c.what;
    }
}

TEST(AlarmChecks, AlarmOrder) {
    struct Case {
        const char *what;
        Gas gas;
        qint16 slot;
        bool expected;
    };
    auto levels = [](const QString &name, float w, float a, qint16 o2) {
        Gas g;
        g.name = name;
        g.warning = w;
        g.alarm = a;
        g.alarmO2 = o2;
        return g;
    };
    const std::vector<Case> cases = {
        {"equal", levels("CH4", 50, 50, 0), 0, true},
        {"warning unset", levels("CH4", kNotSet, 5, 0), 0, true},
        {"alarm unset", levels("CH4", 60, kNotSet, 0), 0, true},
        {"warning above alarm", levels("CH4", 60, 50, 0), 0, false},
        {"warning above alarm, L-LL, not oxygen", levels("CH4", 60, 50, 1), 0, false},
        {"O2 L-LL 19.5/18", levels("O2", 19.5f, 18, 1), 0, true},
        {"O2 L-LL 18/19.5", levels("O2", 18, 19.5f, 1), 0, false},
        {"OXY L-LL equal", levels("OXY", 18, 18, 1), 0, true},
        {"O2 H-L 19.5/18", levels("O2", 19.5f, 18, 0), 0, false},
        {"slot 1 L-LL falls for any gas", levels("CH4", 60, 50, 1), 1, true},
    };
    for (const Case &c : cases) {
        clsInstrument i = instrumentWith(c.gas);
        i.setWarning(1, c.gas.warning);
        i.setAlarm(1, c.gas.alarm);
        EXPECT_EQ(CheckAlarmOrder(i, c.slot), c.expected) << c.what;
    }
}

// Typed texts: the column, the text, whether the editor stays open, the stored value and
// the text the cell shows.
TEST(AlarmChecks, TypedValues) {
    struct Case {
        const char *what;
        Gas gas;
        int column;
        QString typed;
        bool cancel;
        float stored; // the column's value after the edit
        QString shown;
    };
    Gas tenths;
    tenths.step = 0.1f;
    tenths.decimals = 1;
    Gas noStep;
    noStep.step = 0;
    noStep.decimals = 1;
    Gas zeroDecimalsNoStep;
    zeroDecimalsNoStep.step = 0;
    Gas fine;
    fine.step = 0.001f;
    fine.decimals = 3;
    fine.fullScale = 1000;
    fine.alarm = 1000;
    Gas oxygen{"O2", 19.5f, 18, 25, 1, 0.1f, 1};
    const std::vector<Case> cases = {
        {"warning 25 under alarm 50", Gas{}, kWarningColumn, "25", false, 25, "25"},
        {"warning 60 above alarm", Gas{}, kWarningColumn, "60", true, 10, "60"},
        {"warning shown with decimals", tenths, kWarningColumn, "12", false, 12, "12.0"},
        {"warning rounded to the step", tenths, kWarningColumn, "12.34", false, 12.3f, "12.3"},
        {"negative refused", Gas{}, kWarningColumn, "-5", true, 10, "-5"},
        {"negative STEL refused", Gas{}, kStelColumn, "-5", true, kNotSet, "-5"},
        {"no step rounds to decimals", noStep, kWarningColumn, "12.34", false, 12.3f, "12.3"},
        {"no step, no decimals", zeroDecimalsNoStep, kWarningColumn, "12.5", false, 12, "12"},
        {"more than 32767 steps", fine, kAlarmColumn, "99", true, 1000, "99"},
        {"32767 steps pass", fine, kAlarmColumn, "32.767", false, 32.767f, "32.767"},
        {"blank STEL clears", Gas{}, kStelColumn, "  ", false, kNotSet, "-----"},
        {"blank warning refused", Gas{}, kWarningColumn, "", true, 10, "-----"},
        {"dashes clear TWA", Gas{}, kTwaColumn, "--", false, kNotSet, "-----"},
        {"dashes refused in alarm", Gas{}, kAlarmColumn, "--", true, 50, "--"},
        {"text refused", Gas{}, kStelColumn, "abc", true, kNotSet, "abc"},
        {"STEL at full scale", Gas{}, kStelColumn, "100", false, 100, "100"},
        {"STEL above full scale", Gas{}, kStelColumn, "101", true, kNotSet, "101"},
        {"auto cal under warning", Gas{}, kAutoCalColumn, "5", true, kNotSet, "5"},
        {"auto cal above full scale", Gas{}, kAutoCalColumn, "120", true, kNotSet, "120"},
        {"auto cal rounded", tenths, kAutoCalColumn, "12.34", false, 12.3f, "12.3"},
        {"auto cal cleared", Gas{}, kAutoCalColumn, "", false, kNotSet, "-----"},
        {"O2 L-LL warning 19.5", oxygen, kWarningColumn, "19.5", false, 19.5f, "19.5"},
        {"O2 L-LL alarm 18", oxygen, kAlarmColumn, "18", false, 18, "18.0"},
        {"O2 L-LL alarm 20 refused", oxygen, kAlarmColumn, "20", true, 18, "20"},
    };
    for (const Case &c : cases) {
        clsInstrument i = instrumentWith(c.gas);
        i.setStel(0, kNotSet);
        i.setTwa(0, kNotSet);
        i.setAutoCalib(0, kNotSet);
        i.ClearChangeFlags();
        const AlarmEdit edit = EditAlarmValue(i, 0, c.column, c.typed);
        EXPECT_EQ(edit.cancel, c.cancel) << c.what;
        EXPECT_EQ(edit.editText, c.shown) << c.what;
        const float values[] = {0, i.Warning(0), i.Alarm(0), i.Stel(0), i.Twa(0), i.AutoCalib(0)};
        EXPECT_FLOAT_EQ(values[c.column], c.stored) << c.what;
        if (c.cancel) {
            EXPECT_FALSE(i.Change_Warn(0) || i.Change_Alarm(0) || i.Change_Stel(0) ||
                         i.Change_Twa(0) || i.Change_AutoCal(0))
                << c.what << ": a refused text raises no flag";
        }
    }
}

// Each refused text carries its reason, and the range it is told with is the one the
// column judges by.
TEST(AlarmChecks, RefusalsSayWhy) {
    struct Case {
        const char *what;
        Gas gas;
        int column;
        QString typed;
        AlarmRefusal refusal;
        ValueRange range; // of the column, for the message
    };
    Gas fine;
    fine.step = 0.001f;
    fine.fullScale = 1000;
    fine.alarm = 1000;
    Gas noAlarm;
    noAlarm.alarm = kNotSet;
    Gas oxygen{"O2", 19.5f, 18, 25, 1, 0.1f, 1};
    const std::vector<Case> cases = {
        {"accepted", Gas{}, kWarningColumn, "25", AlarmRefusal::None, {0, 50}},
        {"warning above alarm", Gas{}, kWarningColumn, "60", AlarmRefusal::OutOfRange, {0, 50}},
        {"alarm above full scale", Gas{}, kAlarmColumn, "150", AlarmRefusal::OutOfRange, {10, 100}},
        {"negative STEL", Gas{}, kStelColumn, "-5", AlarmRefusal::OutOfRange, {0, 100}},
        {"auto cal under warning", Gas{}, kAutoCalColumn, "5", AlarmRefusal::OutOfRange, {10, 100}},
        {"O2 auto cal above warning",
         oxygen,
         kAutoCalColumn,
         "20",
         AlarmRefusal::OutOfRange,
         {0, 19.5f}},
        {"warning while no alarm is set",
         noAlarm,
         kWarningColumn,
         "5",
         AlarmRefusal::OutOfRange,
         {0, kNotSet}},
        {"blank alarm", Gas{}, kAlarmColumn, " ", AlarmRefusal::Blank, {10, 100}},
        {"text", Gas{}, kTwaColumn, "abc", AlarmRefusal::NotANumber, {0, 100}},
        {"more steps than 16 bits", fine, kAlarmColumn, "99", AlarmRefusal::TooFine, {10, 1000}},
        {"far above the range", fine, kAlarmColumn, "5000", AlarmRefusal::OutOfRange, {10, 1000}},
    };
    for (const Case &c : cases) {
        clsInstrument i = instrumentWith(c.gas);
        const ValueRange range = AcceptedRange(i, 0, c.column);
        EXPECT_FLOAT_EQ(range.low, c.range.low) << c.what;
        EXPECT_FLOAT_EQ(range.high, c.range.high) << c.what;
        const AlarmEdit edit = EditAlarmValue(i, 0, c.column, c.typed);
        EXPECT_EQ(edit.refusal, c.refusal) << c.what;
        EXPECT_EQ(edit.cancel, c.refusal != AlarmRefusal::None) << c.what;
    }
}

} // namespace
} // namespace tq
