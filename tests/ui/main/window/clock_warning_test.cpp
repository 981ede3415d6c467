// The warning that the detector's clock is more than a day off the PC's.
#include "main_window_fixture.h"

#include "core/messages.h"
#include "ui/main/window/download_support.h"
#include "ui/main/window/window_colours.h"

namespace tq {
namespace {

struct ClockCase {
    double offsetDays;
    bool warned;
};

const ClockCase kClockCases[] = {
    {0.0, false},   {1.0, false},    {-1.0, false}, {0.999, false},
    {1.0001, true}, {-1.0001, true}, {30.0, true},  {-400.0, true},
};

TEST(ClockWarning, OnlyMoreThanOneDayEitherWayWarns) {
    for (const ClockCase &c : kClockCases)
        EXPECT_EQ(ClockWarningDue(Date(c.offsetDays)), c.warned) << c.offsetDays;
}

class ClockWarningWindowTest : public test::MainWindowTest {};

// Every command ends with the clock check, also the hidden one that does nothing else.
TEST_F(ClockWarningWindowTest, ACommandEndsWithTheWarningInRed) {
    load();
    for (const ClockCase &c : kClockCases) {
        window->LinkInstrument().setSysDateOffset(Date(c.offsetDays));
        window->downloadPage().rtbLog->clear();
        window->downloadCommands().cmdDown_Click(5);
        const std::vector<std::pair<QString, QColor>> warning{{LoadMessage(5591), kLogRed}};
        EXPECT_EQ(test::logLines(window->downloadPage().rtbLog),
                  c.warned ? warning : decltype(warning){})
            << c.offsetDays;
    }
}

} // namespace
} // namespace tq
