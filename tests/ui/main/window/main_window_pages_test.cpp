#include "core/messages.h"
#include "core/settings_file.h"
#include "main_window_fixture.h"
#include "ui/browser/DataPage.h"
#include "ui/main/window/status_lamp.h"
#include "ui/main/window/window_colours.h"

#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>

namespace tq {
namespace {

using test::logLines;
using test::MainWindowTest;

TEST_F(MainWindowTest, CommunicationLogIsReadOnlyAndAlwaysAppendsAtItsEnd) {
    load();
    CommLog *log = window->downloadPage().rtbLog;
    EXPECT_TRUE(log->isReadOnly());
    window->AddCommLogLine(QStringLiteral("first"), kLogRed);
    window->AddCommLogLine(QStringLiteral("second"), kLogGreen);
    // The user selects part of the first line, then the caret stands at its start.
    QTextCursor selection(log->document());
    selection.setPosition(1);
    selection.setPosition(4, QTextCursor::KeepAnchor);
    log->setTextCursor(selection);
    window->AddCommLogLine(QStringLiteral("third"), kLogBlue);
    const std::vector<std::pair<QString, QColor>> expected{{QStringLiteral("first"), kLogRed},
                                                           {QStringLiteral("second"), kLogGreen},
                                                           {QStringLiteral("third"), kLogBlue}};
    EXPECT_EQ(logLines(log), expected);
    EXPECT_EQ(log->textCursor().position(), log->document()->characterCount() - 1);
}

TEST_F(MainWindowTest, ProgramDefaultsGiveTheWindowItsStartState) {
    load();
    const auto &c = window->controls();
    const DownloadPage &page = window->downloadPage();
    window->AddCommLogLine(QStringLiteral("old"), kLogRed);
    window->dataPage().setLogTreeStale(false);
    window->InitSettings();
    EXPECT_TRUE(page.rtbLog->toPlainText().isEmpty());
    EXPECT_TRUE(window->dataPage().LogTreeStale());
    EXPECT_FALSE(c.cmdOption[0]->isEnabled());
    EXPECT_TRUE(control<QRadioButton>("optHistory_0")->isChecked());
    EXPECT_EQ(page.shpStatus[0]->colors().fill, kLampOnColors.fill);
    EXPECT_EQ(page.shpStatus[1]->colors().border, kLampOffColors.border);
    for (QWidget *hidden :
         {static_cast<QWidget *>(page.shpStatus[2]), static_cast<QWidget *>(page.shpStatus[3]),
          static_cast<QWidget *>(page.lblStatus[8]), static_cast<QWidget *>(page.lblStatus[9])})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    EXPECT_EQ(Globals().SqlDateFormat, QStringLiteral("MM/dd/yyyy hh:mm:ss"));
}

TEST_F(MainWindowTest, MenuButtonsShowTheirPagesAndNeverTheDataView) {
    load();
    const auto &pages = window->controls().fraMenu;
    const std::array<int, 5> shownFrame{0, 1, 2, 4, 5};
    for (int button = 0; button < 5; ++button) {
        pages[3]->setVisible(true);
        window->cmdInst_Click(button);
        for (int frame = 0; frame < 6; ++frame)
            EXPECT_EQ(!pages[std::size_t(frame)]->isHidden(),
                      frame == shownFrame[std::size_t(button)])
                << "button " << button << " frame " << frame;
    }
    EXPECT_TRUE(window->controls().cmdInst[2]->isEnabled());
    EXPECT_FALSE(window->dataPage().LogTreeStale()); // the Data page rebuilt the tree
    window->cmdInst_Click(-1);
    window->cmdInst_Click(6);
    EXPECT_FALSE(pages[5]->isHidden());
    // Exit answered No leaves the page as it was.
    dialogs.answers = {BoxAnswer::No};
    window->cmdInst_Click(5);
    EXPECT_FALSE(pages[5]->isHidden());
}

TEST_F(MainWindowTest, DownloadPageShowsTheIdentityOnlyOfADetectorThatWasRead) {
    writeSettings("Factory Record Suffix\t_A1\r\n");
    load();
    const auto &c = window->controls();
    const DownloadPage &page = window->downloadPage();
    clsInstrument &detector = window->LinkInstrument();
    detector.setSerialNo(QStringLiteral("SN0001"));
    window->ShowLinkStatus();
    EXPECT_TRUE(page.lblStatus[5]->text().isEmpty());
    detector.setCommFlags(true);
    window->ShowLinkStatus();
    EXPECT_EQ(page.lblStatus[5]->text(), detector.SerialNo());
    EXPECT_EQ(page.lblStatus[6]->text(), detector.StationID());
    EXPECT_EQ(page.txtSuffix->text(), QStringLiteral("_A1"));
    EXPECT_FALSE(c.fraMenu[0]->isHidden());
}

// The automatic-mode boxes and the settings they stand for.
struct AutoLoadCase {
    const char *name;
    bool mode; // before the click
    bool removal;
    int box; // the box clicked
    BoxAnswer answer;
    int question; // the box asked, 0 for none
    bool modeAfter;
    bool removalAfter;
};

class AutoLoadTest : public MainWindowTest, public ::testing::WithParamInterface<AutoLoadCase> {};

TEST_P(AutoLoadTest, BoxesAndSettingsAlwaysAgree) {
    const AutoLoadCase &c = GetParam();
    writeSettings(QByteArray("Auto Load Mode\t") + (c.mode ? "True" : "False") + "\t" +
                  (c.removal ? "True" : "False") + "\r\n");
    load();
    const auto &boxes = window->downloadPage().chkAutoLoad;
    EXPECT_EQ(boxes[1]->isEnabled(), c.mode);
    dialogs.answers = {c.answer};
    boxes[std::size_t(c.box)]->click();
    EXPECT_EQ(dialogs.ids(), c.question ? QList<int>{c.question} : QList<int>{});
    if (c.question) {
        EXPECT_EQ(dialogs.shown[0].title, LoadMessage(c.question + 1));
    }
    EXPECT_EQ(Globals().AutoLoadMode, c.modeAfter);
    EXPECT_EQ(Globals().AutoRemoveData, c.removalAfter);
    EXPECT_EQ(boxes[0]->isChecked(), c.modeAfter);
    EXPECT_EQ(boxes[1]->isChecked(), c.removalAfter);
    EXPECT_EQ(boxes[1]->isEnabled(), c.modeAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, AutoLoadTest,
    ::testing::Values(
        AutoLoadCase{"TickModeYes", false, false, 0, BoxAnswer::Yes, 5303, true, false},
        AutoLoadCase{"TickModeNo", false, false, 0, BoxAnswer::No, 5303, false, false},
        AutoLoadCase{"TickModeNoKeepsStoredRemoval", false, true, 0, BoxAnswer::No, 5303, false,
                     true},
        AutoLoadCase{"UntickModeYesClearsRemoval", true, true, 0, BoxAnswer::Yes, 5305, false,
                     false},
        AutoLoadCase{"UntickModeNo", true, true, 0, BoxAnswer::No, 5305, true, true},
        AutoLoadCase{"TickRemovalYes", true, false, 1, BoxAnswer::Yes, 5333, true, true},
        AutoLoadCase{"TickRemovalNo", true, false, 1, BoxAnswer::No, 5333, true, false},
        AutoLoadCase{"UntickRemoval", true, true, 1, BoxAnswer::Yes, 0, true, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, AClickThatIsNotTakenPutsTheBoxBack) {
    writeSettings("Auto Load Mode\tTrue\tFalse\r\n");
    load();
    window->downloadPage().setAcceptAutoLoadClicks(false);
    const auto &boxes = window->downloadPage().chkAutoLoad;
    boxes[0]->click();
    boxes[1]->click();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(boxes[0]->isChecked());
    EXPECT_FALSE(boxes[1]->isChecked());
    EXPECT_TRUE(Globals().AutoLoadMode);
    EXPECT_FALSE(Globals().AutoRemoveData);
}

} // namespace
} // namespace tq

namespace tq {
namespace {

TEST_F(MainWindowTest, AfterAPowerOffTheWindowStartsAgainFromTheSettingsFile) {
    writeSettings("Auto Load Mode\tTrue\tFalse\r\n");
    load();
    window->cmdInst_Click(4);
    window->AddCommLogLine(QStringLiteral("download lines"), kLogGreen);
    window->LinkInstrument().setCommFlags(true);
    QStringList lines;
    QObject::connect(window.get(), &frmMain::serialLogLine,
                     [&lines](const QString &line) { lines.append(line); });
    window->ResetAfterPowerOff();
    EXPECT_TRUE(window->downloadPage().rtbLog->toPlainText().isEmpty());
    EXPECT_FALSE(window->LinkInstrument().CommFlags());
    EXPECT_TRUE(QFileInfo::exists(SettingsFilePath()));
    EXPECT_TRUE(Globals().AutoLoadMode);
    EXPECT_FALSE(window->controls().fraMenu[0]->isHidden());
    EXPECT_TRUE(window->controls().fraMenu[5]->isHidden());
    EXPECT_EQ(lines, QStringList{LoadMessage(5541, {dialogs.now.generalDate()})});
    EXPECT_TRUE(window->downloadPage().chkAutoLoad[1]->isEnabled());
}

} // namespace
} // namespace tq
