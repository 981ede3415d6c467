#include "app/command_switches.h"

#include <gtest/gtest.h>

namespace tq {
namespace {

struct SwitchCase {
    const char *name;
    QStringList arguments;
    bool debug;
    bool powerEvents;
};

class CommandSwitchesTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(CommandSwitchesTest, SwitchesAreFoundAsTextInAnyCase) {
    const CommandSwitches s = ReadCommandSwitches(GetParam().arguments);
    EXPECT_EQ(s.DebugMode, GetParam().debug);
    EXPECT_EQ(s.ShowPowerEvents, GetParam().powerEvents);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CommandSwitchesTest,
    ::testing::Values(SwitchCase{"None", {}, false, false},
                      SwitchCase{"Debug", {"-DEBUG"}, true, false},
                      SwitchCase{"LowerCase", {"-debug"}, true, false},
                      SwitchCase{"Glued", {"xx-DeBuGyy"}, true, false},
                      SwitchCase{"SlashIsNotASwitch", {"/DEBUG"}, false, false},
                      SwitchCase{"Both", {"-6200", "-debug"}, true, true},
                      SwitchCase{"BothOtherOrder", {"-DEBUG", "-6200"}, true, true},
                      SwitchCase{"PowerEventsGlued", {"a-6200b"}, false, true}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace tq
