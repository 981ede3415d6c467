#include "core/messages.h"
#include "main_window_fixture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace tq {
namespace {

class CaptionsTest : public test::MainWindowTest {
protected:
    QString caption(const char *name) const {
        QWidget *w = control(name);
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            return button->text();
        if (auto *frame = qobject_cast<QGroupBox *>(w))
            return frame->title();
        if (auto *label = qobject_cast<QLabel *>(w))
            return label->text();
        return {};
    }
};

struct CaptionCase {
    const char *control;
    int message;
};

// A sample from every page and every kind of control, with the ids that are easy to mix
// up (the grouping boxes' order, the Return button, the Set page's Calibration frame).
constexpr CaptionCase kCaptions[] = {
    {"cmdInst_0", 5002},    {"cmdInst_3", 5009},       {"cmdInst_5", 5007},
    {"fraMenu_0", 5002},    {"fraDown_0", 5021},       {"lblStatus_0", 5022},
    {"lblStatus_1", 5023},  {"lblTitle_0", 5012},      {"lblStatus_4", 5028},
    {"lblStatus_11", 5048}, {"chkAutoLoad_1", 5034},   {"cmdDown_3", 5040},
    {"cmdDown_5", 5047},    {"fraMenu_1", 5051},       {"lblInst_8", 5060},
    {"chkLog_1", 5104},     {"chkLog_2", 5103},        {"cmdLogInst", 5025},
    {"fraMenu_3", 5151},    {"chkBrowse_6", 5155},     {"cmdBrowse_4", 9101},
    {"chkOutline", 5164},   {"fraMenu_4", 5254},       {"optHistory_2", 5253},
    {"cmdLastCal", 5161},   {"cmdOptionDisp_4", 5204}, {"cmdOptionDisp_5", 5226},
    {"lblOption_8", 5224},  {"cmdOption_3", 5221},     {"fraOption_2", 5216},
    {"cmdCal_2", 5220},
};

TEST_F(CaptionsTest, CaptionsComeFromTheActiveMessageTable) {
    load();
    for (const CaptionCase &c : kCaptions)
        EXPECT_EQ(caption(c.control), LoadMessage(c.message)) << c.control;
    EXPECT_EQ(caption("chkBrowse_0"), Globals().DefaultSettings.GasName(0));
    const QStringList headings = LoadMessage(5217).split(QLatin1Char('|'));
    auto *grid = control<FlexGrid>("vfgCal");
    for (int i = 0; i < headings.size(); ++i)
        EXPECT_EQ(grid->TextMatrix(0, i), headings[i]);
}

TEST_F(CaptionsTest, TitleEndsWithThePartNumberOfTheLanguage) {
    load();
    const QString part = test::japaneseLocale() ? QStringLiteral("07318") : QStringLiteral("07319");
    EXPECT_EQ(window->windowTitle(), LoadMessage(5001) + QStringLiteral(" [P.No.") + part + "]");
    if (!test::japaneseLocale()) {
        EXPECT_EQ(window->windowTitle(),
                  QStringLiteral("TQ-6200  - Data Logger Management Program [P.No.07319]"));
    }
}

TEST_F(CaptionsTest, DebugOnlyControlsKeepTheirDesignTexts) {
    load();
    EXPECT_EQ(caption("cmdInportDat"), QStringLiteral("LOCAL BIN.DAT IMPORT"));
    EXPECT_EQ(caption("chkRawData"), QStringLiteral("Export Raw Data"));
}

TEST_F(CaptionsTest, FontButtonShowsTheDisplayFont) {
    writeSettings("Font\t'DejaVu Sans'\t10.5\tFalse\tFalse\tFalse\r\n");
    load();
    EXPECT_EQ(caption("cmdOptionDisp_0"), QStringLiteral("DejaVu Sans(10.5)"));
}

} // namespace
} // namespace tq
