#include "core/instrument/clsInstrument.h"

#include "core/errors.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace tq {
namespace {

using Option = clsInstrument::Option;
using TextOption = clsInstrument::TextOption;
using GasFlag = clsInstrument::GasFlag;
using GasValue = clsInstrument::GasValue;
using GasInteger = clsInstrument::GasInteger;

const QString kDashes16(16, u'-');
const QString kDashes20(20, u'-');

template <typename E> std::vector<E> allOf(int count) {
    std::vector<E> all;
    for (int i = 0; i < count; ++i) {
        all.push_back(E(i));
    }
    return all;
}

const std::vector<Option> kAllOptions = allOf<Option>(clsInstrument::kOptionCount);
const std::vector<TextOption> kAllTexts = allOf<TextOption>(clsInstrument::kTextCount);
const std::vector<GasFlag> kAllGasFlags = allOf<GasFlag>(clsInstrument::kGasFlagCount);
const std::vector<GasValue> kAllGasValues = allOf<GasValue>(clsInstrument::kGasValueCount);
const std::vector<GasInteger> kAllGasIntegers = allOf<GasInteger>(clsInstrument::kGasIntegerCount);

// The one option that SetChangeFlags and ClearDatas leave alone (FlowLevel is separate).
bool coveredBySetChangeFlags(Option which) {
    return which != Option::pressOffset;
}

// Every flag that SetChangeFlags sets, with a readable name for failure messages.
std::vector<std::pair<QString, bool>> coveredFlags(const clsInstrument &ins) {
    std::vector<std::pair<QString, bool>> flags;
    for (Option o : kAllOptions) {
        if (coveredBySetChangeFlags(o)) {
            flags.emplace_back(QStringLiteral("option %1").arg(int(o)), ins.changeFlag(o));
        }
    }
    for (TextOption t : kAllTexts) {
        flags.emplace_back(QStringLiteral("text %1").arg(int(t)), ins.changeFlag(t));
    }
    for (GasFlag g : kAllGasFlags) {
        flags.emplace_back(QStringLiteral("gas flag %1").arg(int(g)), ins.gasChangeFlag(g, 0));
    }
    for (qint16 n = 0; n < clsInstrument::kStationCount; ++n) {
        flags.emplace_back(QStringLiteral("station %1").arg(n), ins.Change_StationList(n));
    }
    return flags;
}

void expectCoveredFlags(const clsInstrument &ins, bool expected) {
    for (const auto &[name, raised] : coveredFlags(ins)) {
        EXPECT_EQ(raised, expected) << name.toStdString();
    }
}

// --- Setters and their change flags ---------------------------------------------------

TEST(clsInstrumentFlags, EveryOptionSetterRaisesItsOwnFlag) {
    for (Option o : kAllOptions) {
        SCOPED_TRACE(int(o));
        clsInstrument ins;
        ins.setOption(o, 321);
        EXPECT_EQ(ins.option(o), 321);
        for (Option other : kAllOptions) {
            EXPECT_EQ(ins.changeFlag(other), other == o) << int(other);
        }
    }
}

TEST(clsInstrumentFlags, SameValueRaisesTheFlagAgainExceptForIntervals) {
    for (Option o : kAllOptions) {
        SCOPED_TRACE(int(o));
        clsInstrument ins;
        ins.setOption(o, 7);
        ins.setChangeFlag(o, false);
        ins.setOption(o, 7);
        EXPECT_EQ(ins.changeFlag(o), o != Option::Intervals);
    }
}

TEST(clsInstrumentFlags, IntervalsRaisesOnlyOnAChange) {
    clsInstrument ins;
    ins.setIntervals(0); // the value it already has
    EXPECT_FALSE(ins.Change_Interval());
    ins.setIntervals(60);
    EXPECT_TRUE(ins.Change_Interval());
    ins.setChange_Interval(false);
    ins.setIntervals(60);
    EXPECT_FALSE(ins.Change_Interval());
    EXPECT_EQ(ins.Intervals(), 60);
}

TEST(clsInstrumentFlags, NamedAccessorsReachTheirTableEntries) {
    clsInstrument ins;
    ins.setAlarmMode(0); // the value it already has still raises the flag
    EXPECT_TRUE(ins.Change_AlarmMode());
    EXPECT_TRUE(ins.changeFlag(Option::AlarmMode));

    ins.setCalLimit(30);
    EXPECT_EQ(ins.option(Option::CalLimit), 30);
    EXPECT_TRUE(ins.Change_CalLimit());

    ins.setHcMode(2);
    EXPECT_EQ(ins.option(Option::HcMode), 2);
    EXPECT_TRUE(ins.Change_HCMode());

    ins.setOption(Option::pressOffset, -3);
    EXPECT_EQ(ins.pressOffset(), -3);
    EXPECT_TRUE(ins.Change_pressOffset());

    ins.setUserPassword2(QStringLiteral("1234"));
    EXPECT_EQ(ins.text(TextOption::UserPassword2), QStringLiteral("1234"));
    EXPECT_TRUE(ins.Change_UserPassword2());

    ins.setWarning(0, 20.5f);
    EXPECT_EQ(ins.gasValue(GasValue::Warning, 0), 20.5f);
    EXPECT_TRUE(ins.Change_Warn(0));
    EXPECT_TRUE(ins.gasChangeFlag(GasFlag::Warn, 0));

    ins.setChange_Warn(0, false);
    EXPECT_FALSE(ins.Change_Warn(0));
}

TEST(clsInstrumentFlags, EveryTextSetterRaisesItsOwnFlag) {
    for (TextOption t : kAllTexts) {
        SCOPED_TRACE(int(t));
        clsInstrument ins;
        ins.setText(t, QStringLiteral("A1"));
        EXPECT_EQ(ins.text(t), QStringLiteral("A1"));
        for (TextOption other : kAllTexts) {
            EXPECT_EQ(ins.changeFlag(other), other == t) << int(other);
        }
        ins.setChangeFlag(t, false);
        ins.setText(t, QStringLiteral("A1"));
        EXPECT_TRUE(ins.changeFlag(t));
    }
}

TEST(clsInstrumentFlags, GasSettersRaiseTheirSlotZeroFlag) {
    struct Case {
        const char *name;
        std::function<void(clsInstrument &)> set;
        GasFlag flag;
    };
    const std::vector<Case> cases = {
        {"GasEnabled", [](clsInstrument &i) { i.setGasEnabled(0, true); }, GasFlag::GasEnable},
        {"GasPoint", [](clsInstrument &i) { i.setGasPoint(0, 1); }, GasFlag::GasPoint},
        {"Warning", [](clsInstrument &i) { i.setWarning(0, 1); }, GasFlag::Warn},
        {"Alarm", [](clsInstrument &i) { i.setAlarm(0, 1); }, GasFlag::Alarm},
        {"Stel", [](clsInstrument &i) { i.setStel(0, 1); }, GasFlag::Stel},
        {"Twa", [](clsInstrument &i) { i.setTwa(0, 1); }, GasFlag::Twa},
        {"AutoCalib", [](clsInstrument &i) { i.setAutoCalib(0, 1); }, GasFlag::AutoCal},
        {"Zero", [](clsInstrument &i) { i.setZero(0, 1); }, GasFlag::Zero},
        {"OverScale", [](clsInstrument &i) { i.setOverScale(0, 1); }, GasFlag::OverScale},
        {"Ratio", [](clsInstrument &i) { i.setRatio(0, 1); }, GasFlag::Ratio},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clsInstrument ins;
        c.set(ins);
        for (GasFlag other : kAllGasFlags) {
            EXPECT_EQ(ins.gasChangeFlag(other, 0), other == c.flag) << int(other);
        }
    }
}

TEST(clsInstrumentFlags, MembersWithoutAFlagRaiseNone) {
    clsInstrument ins;
    ins.setGasName(0, QStringLiteral("CH4"));
    ins.setGasUnit(0, QStringLiteral("%LEL"));
    ins.setGasDesit(0, 0.5f);
    ins.setGasFullScale(0, 100);
    ins.setCalibDate(0, Date(45000));
    ins.setCalibBefore(0, 1);
    ins.setCalibAfter(0, 2);
    ins.setLogMax(0, 3);
    ins.setSUM(QStringLiteral("ABCD"));
    ins.setRomNumber(1234);
    ins.setSysDate(Date(45000.5));
    ins.setAnalogValue(3, 9);
    ins.setFlowValue(128);
    expectCoveredFlags(ins, false);
    EXPECT_FALSE(ins.Change_FlowLevel());
    EXPECT_FALSE(ins.Change_pressOffset());
}

TEST(clsInstrumentFlags, FlowLevelSetterRaisesItsFlag) {
    clsInstrument ins;
    ins.setFlowLevel(70000);
    EXPECT_EQ(ins.FlowLevel(), 70000);
    EXPECT_TRUE(ins.Change_FlowLevel());
}

// --- Identifiers ------------------------------------------------------------------------

TEST(clsInstrumentIdentifiers, BlankIdentifiersReadAsDashes) {
    struct Case {
        TextOption member;
        QString given;
        QString reads;
    };
    const std::vector<Case> cases = {
        {TextOption::UserID, QStringLiteral("  ab "), QStringLiteral("ab")},
        {TextOption::UserID, QString(), kDashes16},
        {TextOption::UserID, QStringLiteral("   "), kDashes16},
        {TextOption::StationID, QStringLiteral(" "), kDashes16},
        {TextOption::SerialNo, QString(), kDashes20},
        {TextOption::DummySerial, QStringLiteral("  "), kDashes20},
        {TextOption::DummySerial, QStringLiteral(" S-1 "), QStringLiteral("S-1")},
        // Other texts are stored as given.
        {TextOption::SpecNo, QStringLiteral(" x "), QStringLiteral(" x ")},
        {TextOption::SpecType, QString(), QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.member));
        clsInstrument ins;
        ins.setText(c.member, c.given);
        EXPECT_EQ(ins.text(c.member), c.reads);
    }
}

TEST(clsInstrumentIdentifiers, NamedIdentifierSetters) {
    clsInstrument ins;
    ins.setUserID(QStringLiteral("  ab "));
    EXPECT_EQ(ins.UserID(), QStringLiteral("ab"));
    ins.setUserID(QString());
    EXPECT_EQ(ins.UserID(), kDashes16);
    ins.setSerialNo(QString());
    EXPECT_EQ(ins.SerialNo(), kDashes20);
    EXPECT_TRUE(ins.Change_UserID());
    EXPECT_TRUE(ins.Change_SerialNo());
}

// --- Index rules ------------------------------------------------------------------------

TEST(clsInstrumentIndex, SlotZeroMembersIgnoreOtherSlots) {
    clsInstrument ins;
    ins.setGasName(1, QStringLiteral("X"));
    EXPECT_EQ(ins.GasName(1), QString());
    EXPECT_EQ(ins.GasName(0), QString());
    ins.setGasEnabled(1, true);
    EXPECT_FALSE(ins.GasEnabled(1));
    ins.setCalibDate(1, Date(45000));
    EXPECT_EQ(ins.CalibDate(1), Date(0.0));
    EXPECT_EQ(ins.CalibDate(0), Date::noDate());
    EXPECT_EQ(ins.CalibDate(-1), Date(0.0));

    for (GasValue v : {GasValue::GasDesit, GasValue::GasFullScale, GasValue::AutoCalib,
                       GasValue::CalibBefore, GasValue::CalibAfter, GasValue::Ratio,
                       GasValue::LogMax, GasValue::LogMin, GasValue::LogAvr}) {
        SCOPED_TRACE(int(v));
        const float before = ins.gasValue(v, 0);
        ins.setGasValue(v, 1, 42);
        EXPECT_EQ(ins.gasValue(v, 1), 0.0f);
        EXPECT_EQ(ins.gasValue(v, 0), before);
    }
    for (GasInteger v : kAllGasIntegers) {
        SCOPED_TRACE(int(v));
        ins.setGasInteger(v, 2, 1);
        EXPECT_EQ(ins.gasInteger(v, 2), 0);
    }
    for (GasFlag f : kAllGasFlags) {
        ins.setGasChangeFlag(f, 1, true);
        EXPECT_FALSE(ins.gasChangeFlag(f, 1));
    }
    expectCoveredFlags(ins, false);
}

TEST(clsInstrumentIndex, AlarmLevelsHaveTwoSlots) {
    for (GasValue v : {GasValue::Warning, GasValue::Alarm, GasValue::Stel, GasValue::Twa}) {
        SCOPED_TRACE(int(v));
        clsInstrument ins;
        ins.setGasValue(v, 1, 5);
        EXPECT_EQ(ins.gasValue(v, 1), 5.0f);
        EXPECT_EQ(ins.gasValue(v, 0), -101.0f);
        // Slot 1 has no flags.
        expectCoveredFlags(ins, false);
        for (qint16 bad : {qint16(2), qint16(-1)}) {
            try {
                ins.setGasValue(v, bad, 9);
                ADD_FAILURE() << "set slot " << bad;
            } catch (const TqError &e) {
                EXPECT_EQ(e.kind(), ErrorKind::SubscriptOutOfRange);
            }
            EXPECT_THROW(ins.gasValue(v, bad), TqError);
        }
        expectCoveredFlags(ins, false);
    }
}

TEST(clsInstrumentIndex, WarningEdgeCases) {
    clsInstrument ins;
    ins.setWarning(1, 5);
    EXPECT_EQ(ins.Warning(1), 5.0f);
    EXPECT_FALSE(ins.Change_Warn(1));
    EXPECT_FALSE(ins.Change_Warn(0));
    EXPECT_THROW(ins.setWarning(2, 5), TqError);
    EXPECT_THROW(ins.Warning(2), TqError);
}

TEST(clsInstrumentIndex, StationListHas256Names) {
    clsInstrument ins;
    ins.setStationList(256, QStringLiteral("Z"));
    ins.setStationList(-1, QStringLiteral("Z"));
    EXPECT_EQ(ins.StationList(256), QString());
    EXPECT_EQ(ins.StationList(-1), QString());
    ins.setChange_StationList(256, true);
    EXPECT_FALSE(ins.Change_StationList(256));
    expectCoveredFlags(ins, false);

    ins.setStationList(0, QStringLiteral("  A"));
    EXPECT_EQ(ins.StationList(0), QStringLiteral("  A"));
    EXPECT_TRUE(ins.Change_StationList(0));
    ins.setStationList(255, QStringLiteral("last"));
    EXPECT_EQ(ins.StationList(255), QStringLiteral("last"));
    EXPECT_TRUE(ins.Change_StationList(255));
    EXPECT_FALSE(ins.Change_StationList(1));
}

TEST(clsInstrumentIndex, LiveReadingsRejectIndexesOutOfRange) {
    clsInstrument ins;
    ins.setAnalogValue(8, -1);
    EXPECT_EQ(ins.AnalogValue(8), -1);
    ins.setLimitValue(1, 2.5f);
    EXPECT_EQ(ins.LimitValue(1), 2.5f);

    const std::vector<std::pair<const char *, std::function<void()>>> bad = {
        {"AnalogValue(9)", [&] { ins.AnalogValue(9); }},
        {"setAnalogValue(9)", [&] { ins.setAnalogValue(9, 1); }},
        {"AnalogValue(-1)", [&] { ins.AnalogValue(-1); }},
        {"LimitValue(2)", [&] { ins.LimitValue(2); }},
        {"setLimitValue(2)", [&] { ins.setLimitValue(2, 1); }},
        {"setLimitValue(-1)", [&] { ins.setLimitValue(-1, 1); }},
    };
    for (const auto &[name, call] : bad) {
        try {
            call();
            ADD_FAILURE() << name << " did not throw";
        } catch (const TqError &e) {
            EXPECT_EQ(e.kind(), ErrorKind::SubscriptOutOfRange) << name;
        }
    }
    EXPECT_EQ(ins.AnalogValue(8), -1);
    EXPECT_EQ(ins.LimitValue(1), 2.5f);
}

// --- SetChangeFlags / ClearChangeFlags --------------------------------------------------

TEST(clsInstrumentChangeFlags, SetAndClearLeaveFlowLevelAndPressOffsetAlone) {
    for (bool flowAndPressure : {false, true}) {
        SCOPED_TRACE(flowAndPressure);
        clsInstrument ins;
        ins.setChange_FlowLevel(flowAndPressure);
        ins.setChange_pressOffset(flowAndPressure);

        ins.SetChangeFlags(true);
        expectCoveredFlags(ins, true);
        EXPECT_EQ(ins.Change_FlowLevel(), flowAndPressure);
        EXPECT_EQ(ins.Change_pressOffset(), flowAndPressure);
        EXPECT_FALSE(ins.Change_Warn(1)); // slot 1 has no flags

        ins.ClearChangeFlags();
        expectCoveredFlags(ins, false);
        EXPECT_EQ(ins.Change_FlowLevel(), flowAndPressure);
        EXPECT_EQ(ins.Change_pressOffset(), flowAndPressure);
    }
}

// --- ClearDatas -------------------------------------------------------------------------

// Gives every member a value other than its default and raises every flag.
void dirty(clsInstrument &ins) {
    for (Option o : kAllOptions) {
        ins.setOption(o, 77);
    }
    for (TextOption t : kAllTexts) {
        ins.setText(t, QStringLiteral("OLD"));
    }
    for (GasValue v : kAllGasValues) {
        ins.setGasValue(v, 0, 55);
    }
    for (GasInteger v : kAllGasIntegers) {
        ins.setGasInteger(v, 0, 3);
    }
    for (qint16 n = 0; n < clsInstrument::kStationCount; ++n) {
        ins.setStationList(n, QStringLiteral("st"));
    }
    ins.setGasName(0, QStringLiteral("CH4"));
    ins.setGasUnit(0, QStringLiteral("%LEL"));
    ins.setGasEnabled(0, true);
    ins.setCalibDate(0, Date(45000));
    ins.setKey(QStringLiteral("k"));
    ins.setMessageString(QStringLiteral("m"));
    ins.setCommFlags(true);
    ins.setRomNumber(4711);
    ins.setSUM(QStringLiteral("BEEF"));
    ins.setSysDate(Date(45000.25));
    ins.setSysDateOffset(Date(0.5));
    ins.SetChangeFlags(true);
}

struct DefaultsFixture : ::testing::TestWithParam<bool> {
    // A fresh object, or one that held another detector's values before ClearDatas.
    clsInstrument make() const {
        clsInstrument ins;
        if (GetParam()) {
            dirty(ins);
            ins.ClearDatas();
        }
        return ins;
    }
};

TEST_P(DefaultsFixture, OptionsHaveTheirDefaults) {
    const std::vector<std::pair<Option, qint16>> expected = {
        {Option::Intervals, 0},     {Option::AlarmMode, 0},       {Option::DispCalLimit, 0},
        {Option::CalLimit, 1},      {Option::CalCheck, 0},        {Option::Confermation, 0},
        {Option::LogOverWrite, 0},  {Option::LcdBackLight, 0},    {Option::autoBackLight, 1},
        {Option::AlarmOnOff, 1},    {Option::StelTwaOnOff, 1},    {Option::BumpTime, 2},
        {Option::BumpThreshold, 1}, {Option::BumpFailCalTime, 0}, {Option::BumpFailAfter, 1},
        {Option::LcBhMode, 0},      {Option::BhTime, 0},          {Option::LcBuzzer, 0},
        {Option::HcMode, 0},        {Option::AlarmO2, 1},         {Option::AutoZero, 0},
        {Option::DemandZero, 0},    {Option::UseUserPassword, 0},
    };
    const clsInstrument ins = make();
    for (const auto &[option, value] : expected) {
        EXPECT_EQ(ins.option(option), value) << int(option);
    }
}

TEST_P(DefaultsFixture, TextsAndIdentityHaveTheirDefaults) {
    const clsInstrument ins = make();
    EXPECT_EQ(ins.UserID(), kDashes16);
    EXPECT_EQ(ins.StationID(), kDashes16);
    EXPECT_EQ(ins.SerialNo(), kDashes20);
    EXPECT_EQ(ins.DummySerial(), kDashes20);
    EXPECT_EQ(ins.SpecNo(), QString());
    EXPECT_EQ(ins.SpecType(), QStringLiteral("0"));
    EXPECT_EQ(ins.UserPassword2(), QStringLiteral("9047"));
    EXPECT_EQ(ins.SUM(), QString());
    EXPECT_EQ(ins.RomNumber(), 0);
    EXPECT_EQ(ins.Key(), QString());
    EXPECT_EQ(ins.MessageString(), QString());
    EXPECT_FALSE(ins.CommFlags());
    EXPECT_EQ(ins.SysDate().days(), 0.0);
    EXPECT_EQ(ins.SysDateOffset().days(), 0.0);
    for (qint16 n = 0; n < clsInstrument::kStationCount; ++n) {
        EXPECT_EQ(ins.StationList(n), kDashes16) << n;
    }
}

TEST_P(DefaultsFixture, GasSlotZeroHoldsNoGas) {
    const clsInstrument ins = make();
    EXPECT_EQ(ins.GasName(0), QString());
    EXPECT_EQ(ins.GasUnit(0), QString());
    EXPECT_FALSE(ins.GasEnabled(0));
    EXPECT_EQ(ins.GasPoint(0), -101);
    EXPECT_EQ(ins.GasFullScale(0), -101.0f);
    EXPECT_EQ(ins.GasDesit(0), 0.0f);
    for (GasValue v :
         {GasValue::Warning, GasValue::Alarm, GasValue::Stel, GasValue::Twa, GasValue::AutoCalib,
          GasValue::CalibBefore, GasValue::CalibAfter, GasValue::Ratio}) {
        EXPECT_EQ(ins.gasValue(v, 0), -101.0f) << int(v);
    }
    EXPECT_EQ(ins.CalibDate(0).days(), -101.0);
    EXPECT_EQ(ins.CalibDate(0).toSqlText(), QStringLiteral("1899-09-20 00:00:00"));
    EXPECT_EQ(ins.Zero(0), 0);
    EXPECT_EQ(ins.OverScale(0), 0);
}

TEST_P(DefaultsFixture, EveryFlagIsDown) {
    const clsInstrument ins = make();
    expectCoveredFlags(ins, false);
    // The no-gas step raised these through the setters; the final clear drops them.
    EXPECT_FALSE(ins.Change_GasPoint(0));
    EXPECT_FALSE(ins.Change_GasEnable(0));
}

INSTANTIATE_TEST_SUITE_P(FreshAndCleared, DefaultsFixture, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "Cleared" : "Fresh"; });

TEST(clsInstrumentClearDatas, DropsThePreviousDetectorsFirmwareAndSpecification) {
    clsInstrument ins;
    ins.setSUM(QStringLiteral("1A2B"));
    ins.setSpecNo(QStringLiteral("BS-9"));
    ins.setConfermation(600);
    ins.ClearDatas();
    EXPECT_EQ(ins.SUM(), QString());
    EXPECT_EQ(ins.SpecNo(), QString());
    EXPECT_EQ(ins.Confermation(), 0);
    EXPECT_FALSE(ins.Change_SpecNo());
    EXPECT_FALSE(ins.Change_Confermation());
}

TEST(clsInstrumentClearDatas, LeavesWhatItDoesNotOwnAlone) {
    clsInstrument ins;
    ins.setFlowLevel(500);
    ins.setpressOffset(-7);
    ins.setFlowValue(128);
    ins.setFailLine(QStringLiteral("HC,R"));
    ins.setImportFlag(true);
    ins.setAnalogValue(2, 99);
    ins.setAdrealValue(1.5f);
    ins.setLimitValue(1, 3.25f);
    ins.setLogMax(0, 10);
    ins.setLogMin(0, 1);
    ins.setLogAvr(0, 5);
    ins.setLogMaxDate(0, Date(45001));
    ins.setLogMinDate(0, Date(45002));
    ins.setWarning(1, 11);
    ins.setAlarm(1, 22);
    ins.setStel(1, 33);
    ins.setTwa(1, 44);

    ins.ClearDatas();

    EXPECT_EQ(ins.FlowLevel(), 500);
    EXPECT_TRUE(ins.Change_FlowLevel());
    EXPECT_EQ(ins.pressOffset(), -7);
    EXPECT_TRUE(ins.Change_pressOffset());
    EXPECT_EQ(ins.FlowValue(), 128);
    EXPECT_EQ(ins.FailLine(), QStringLiteral("HC,R"));
    EXPECT_TRUE(ins.ImportFlag());
    EXPECT_EQ(ins.AnalogValue(2), 99);
    EXPECT_EQ(ins.AdrealValue(), 1.5f);
    EXPECT_EQ(ins.LimitValue(1), 3.25f);
    EXPECT_EQ(ins.LogMax(0), 10.0f);
    EXPECT_EQ(ins.LogMin(0), 1.0f);
    EXPECT_EQ(ins.LogAvr(0), 5.0f);
    EXPECT_EQ(ins.LogMaxDate(0), Date(45001));
    EXPECT_EQ(ins.LogMinDate(0), Date(45002));
    EXPECT_EQ(ins.Warning(1), 11.0f);
    EXPECT_EQ(ins.Alarm(1), 22.0f);
    EXPECT_EQ(ins.Stel(1), 33.0f);
    EXPECT_EQ(ins.Twa(1), 44.0f);
}

// --- Copies -----------------------------------------------------------------------------

TEST(clsInstrumentCopy, CopiesAreIndependent) {
    clsInstrument original;
    original.setUserID(QStringLiteral("alice"));
    original.setStationList(10, QStringLiteral("Tank 10"));
    original.setWarning(0, 10);
    original.ClearChangeFlags();

    clsInstrument working = original;
    working.setUserID(QStringLiteral("bob"));
    working.setStationList(10, QStringLiteral("Pit"));
    working.setWarning(0, 20);
    working.setCalLimit(90);

    EXPECT_EQ(original.UserID(), QStringLiteral("alice"));
    EXPECT_EQ(original.StationList(10), QStringLiteral("Tank 10"));
    EXPECT_EQ(original.Warning(0), 10.0f);
    EXPECT_EQ(original.CalLimit(), 1);
    expectCoveredFlags(original, false);

    clsInstrument assigned;
    assigned = working;
    EXPECT_EQ(assigned.UserID(), QStringLiteral("bob"));
    EXPECT_EQ(assigned.StationList(10), QStringLiteral("Pit"));
    EXPECT_EQ(assigned.Warning(0), 20.0f);
    EXPECT_TRUE(assigned.Change_UserID());
    EXPECT_TRUE(assigned.Change_StationList(10));
    EXPECT_TRUE(assigned.Change_Warn(0));
    EXPECT_TRUE(assigned.Change_CalLimit());
}

} // namespace
} // namespace tq
