#include "core/messages.h"
#include "core/program_state.h"

#include <gtest/gtest.h>

using tq::Globals;

namespace {

class ProgramStateTest : public ::testing::Test {
protected:
    void SetUp() override { Globals() = tq::ProgramState{}; }
};

TEST_F(ProgramStateTest, StartupValues) {
    tq::SetStartupValues("/tmp/app");
    const tq::ProgramState &g = Globals();
    EXPECT_EQ(g.AppFolder, "/tmp/app");
    EXPECT_EQ(g.DataLocation, "/tmp/app");
    EXPECT_EQ(g.FactAutoCal[0], -101);
    EXPECT_EQ(g.GraphColors[0], 65280);
    EXPECT_EQ(g.DisplayFont.Size, 9);
    EXPECT_EQ(g.CalibRange[0], 50);
    EXPECT_EQ(g.ProgramPassword, tq::JapaneseActive() ? "Pelut" : "vog");
    EXPECT_EQ(g.PrintWidths, (std::array<float, 2>{1, 1}));
    EXPECT_EQ(g.CalSpanOffWait, 45);
    EXPECT_EQ(g.CalSpanOnWait, 90);
    EXPECT_EQ(g.CalUnitOnWait, 45);
    EXPECT_TRUE(g.CompletelyView);
    EXPECT_FALSE(g.CompletelyRead);
    EXPECT_EQ(g.TrendSearchBefore, -30);
    EXPECT_EQ(g.TrendSearchAfter, 45);
    EXPECT_EQ(g.CommRetry, 3);
    EXPECT_EQ(g.CommTimeout, 3);
    EXPECT_EQ(g.CommDelay, 0);
    EXPECT_EQ(g.ExecuteCount, 0);
    EXPECT_EQ(tq::Date::fromParts(2024, 3, 7, 14, 5, 9).format(g.SqlDateFormat),
              "03/07/2024 14:05:09");
}

// Run again after a power-off, InitSettings keeps the running values it has no rule for.
TEST_F(ProgramStateTest, InitSettingsKeepsRunningValuesThatAreInRange) {
    tq::ProgramState &g = Globals();
    g.CalibRange[0] = 20;
    g.ProgramPassword = "mine";
    g.PrintWidths = {0.5f, 100};
    g.CalUnitOnWait = 7;
    g.CompletelyRead = true;
    tq::InitSettings();
    EXPECT_EQ(g.CalibRange[0], 20);
    EXPECT_EQ(g.ProgramPassword, "mine");
    EXPECT_EQ(g.PrintWidths, (std::array<float, 2>{1, 100}));
    EXPECT_EQ(g.CalUnitOnWait, 7);
    EXPECT_FALSE(g.CompletelyRead);
}

TEST_F(ProgramStateTest, BuiltInGasTable) {
    tq::SetBuiltInGasTable();
    const auto &entries = Globals().ChgGasTable[0];
    for (int i : {0, 1}) {
        const tq::SelectableGas &gas = entries[i];
        EXPECT_EQ(gas.Name, i == 0 ? "CH4" : "HC ");
        EXPECT_TRUE(gas.Enabled);
        EXPECT_FALSE(gas.Locked);
        EXPECT_EQ(gas.Unit, "%LEL");
        EXPECT_EQ(gas.Warning, 10);
        EXPECT_EQ(gas.Alarm, 50);
        EXPECT_EQ(gas.STEL, -1);
        EXPECT_EQ(gas.TWA, -1);
        EXPECT_EQ(gas.Digit, 1);
        EXPECT_EQ(gas.FullScale, 100);
        EXPECT_EQ(gas.AutoCal, 10);
        EXPECT_EQ(gas.Ratio, 0);
        EXPECT_EQ(gas.Zero, 0);
    }
    for (int i = 2; i < tq::kSelectableGasEntries; ++i) {
        EXPECT_FALSE(entries[i].Enabled);
        EXPECT_TRUE(entries[i].Name.isEmpty());
    }
}

} // namespace
