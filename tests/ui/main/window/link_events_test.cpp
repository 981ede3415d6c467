// The main window's reactions to what the link control reports, on a link without a
// detector whose state the tests set.
#include "core/messages.h"
#include "link/fake_ports.h"
#include "link/link_probe.h"
#include "main_window_fixture.h"
#include "ui/main/window/status_lamp.h"
#include "ui/main/window/window_colours.h"

namespace tq {
namespace {

using test::logLines;
using test::MainWindowTest;

class LinkEventsTest : public MainWindowTest {
protected:
    // A loaded window whose link runs on fake ports, its timer stopped so the tests alone
    // decide what the link reports.
    frmMain &loadOnFakeLink() {
        auto link = std::make_unique<uclPvif>(std::make_unique<test::FakeSerialPort>(),
                                              std::make_unique<test::FakeInfraredPort>());
        window = std::make_unique<frmMain>(std::move(link));
        EXPECT_EQ(window->Form_Load(), frmMain::LoadResult::Loaded);
        window->show();
        settle();
        link_().setTimerEnabled(false);
        return *window;
    }
    uclPvif &link_() { return window->uclPV7130(); }
    void setConnected(bool connected) {
        uclPvifProbe::context(link_()).LinkState =
            connected ? LinkStateCode::Connected : LinkStateCode::Polling;
    }
    // Enabled state of the six download commands.
    std::vector<bool> downloadCommands() const {
        std::vector<bool> enabled;
        for (const QPushButton *button : window->downloadPage().cmdDown)
            enabled.push_back(button->isEnabled());
        return enabled;
    }
    const MainWindowControls &c() const { return window->controls(); }
    DownloadPage &page() const { return window->downloadPage(); }
};

TEST_F(LinkEventsTest, AConnectionWithTheAutomaticModeOffEnablesTheFirstCommands) {
    loadOnFakeLink();
    setConnected(true);
    emit link_().OnConnect();
    EXPECT_EQ(downloadCommands(), (std::vector<bool>{true, true, false, false, true, false}));
    EXPECT_TRUE(c().cmdOption[0]->isEnabled());
    EXPECT_TRUE(c().cmdOption[1]->isEnabled());
    EXPECT_EQ(page().shpStatus[0]->colors().fill, kLampOnColors.fill);
    EXPECT_EQ(page().shpStatus[1]->colors().fill, kLampOnColors.fill);
    EXPECT_EQ(page().shpStatus[1]->colors().border, kLampOnColors.border);
    const std::vector<std::pair<QString, QColor>> expected{{LoadMessage(5432), kLogBlue}};
    EXPECT_EQ(logLines(page().rtbLog), expected);
}

TEST_F(LinkEventsTest, AConnectEventWithoutAConnectionChangesNothing) {
    loadOnFakeLink();
    setConnected(false);
    emit link_().OnConnect();
    EXPECT_EQ(downloadCommands(), std::vector<bool>(6, false));
    EXPECT_FALSE(c().cmdOption[0]->isEnabled());
    EXPECT_EQ(page().shpStatus[1]->colors().fill, kLampOffColors.fill);
    EXPECT_TRUE(page().rtbLog->toPlainText().isEmpty());
}

TEST_F(LinkEventsTest, ALostLineDisablesTheDownloadCommandsAndUpdateButNotTheClock) {
    loadOnFakeLink();
    setConnected(true);
    emit link_().OnConnect();
    for (QPushButton *button : page().cmdDown)
        button->setEnabled(true);
    setConnected(false);
    emit link_().Disconnected();
    EXPECT_EQ(downloadCommands(), std::vector<bool>(6, false));
    EXPECT_FALSE(c().cmdOption[0]->isEnabled());
    EXPECT_TRUE(c().cmdOption[1]->isEnabled());
    EXPECT_EQ(page().shpStatus[0]->colors().fill, kLampOnColors.fill);
    EXPECT_EQ(page().shpStatus[1]->colors().fill, kLampOffColors.fill);
    // Nothing goes into the log for it.
    EXPECT_EQ(logLines(page().rtbLog).size(), 1u);
}

// A lost line leaves the automatic-mode boxes working: each click still asks and changes the
// setting, so the mode can be switched without a restart.
TEST_F(LinkEventsTest, AfterALostLineTheAutomaticModeBoxesStillChangeTheSettings) {
    writeSettings("Auto Load Mode\tTrue\tFalse\r\n");
    loadOnFakeLink();
    emit link_().Disconnected();
    EXPECT_TRUE(window->downloadPage().AcceptAutoLoadClicks());
    page().chkAutoLoad[1]->click();
    EXPECT_TRUE(Globals().AutoRemoveData);
    page().chkAutoLoad[0]->click();
    EXPECT_EQ(dialogs.ids(), (QList<int>{5333, 5305}));
    EXPECT_FALSE(Globals().AutoLoadMode);
    EXPECT_FALSE(Globals().AutoRemoveData);
    EXPECT_FALSE(page().chkAutoLoad[0]->isChecked());
    EXPECT_FALSE(page().chkAutoLoad[1]->isChecked());
    EXPECT_FALSE(page().chkAutoLoad[1]->isEnabled());
}

TEST_F(LinkEventsTest, ConnectRetriesAndTheLinksTextsGoIntoTheLog) {
    loadOnFakeLink();
    emit link_().ConnectRetry(3);
    const QString text = QStringLiteral("  text as sent  ");
    emit link_().InstMessage(text);
    emit link_().InterMessage(text);
    emit link_().AlarmMessage(text);
    const QColor linkBlue{0, 0, 192};
    const std::vector<std::pair<QString, QColor>> expected{
        {LoadMessage(5412, {QStringLiteral("3")}), kLogGreen},
        {text, linkBlue},
        {text, linkBlue},
        {text, linkBlue}};
    EXPECT_EQ(logLines(page().rtbLog), expected);
}

// Counts every painting in the program while it lives.
class PaintCounter : public QObject {
public:
    PaintCounter() { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

TEST_F(LinkEventsTest, DumpProgressShowsInAnOpenProgressWindowOnly) {
    loadOnFakeLink();
    emit link_().DumpMessage(QStringLiteral("Block 1"));
    EXPECT_EQ(window->Upload().Form(), nullptr);
    window->Upload().Show();
    const QString progress = QStringLiteral(" Block 12 / 1024 ");
    emit link_().DumpMessage(progress);
    EXPECT_EQ(window->Upload().Form()->lblUpload()->text(), progress);
}

// The link asks for the next block right after reporting one: the window paints nothing
// on the spot, and the latest progress is what stays on the screen.
TEST_F(LinkEventsTest, DumpProgressNeverPaintsBetweenBlocksAndEndsOnTheLatest) {
    loadOnFakeLink();
    window->Upload().Show();
    settle();
    const PaintCounter painted;
    for (int block = 0; block < 100; ++block)
        emit link_().DumpMessage(QStringLiteral("Get FLASH Image %1").arg(block));
    EXPECT_EQ(painted.paints, 0);
    settle(300);
    EXPECT_EQ(window->Upload().Form()->lblUpload()->text(), QStringLiteral("Get FLASH Image 99"));
}

struct IrdaCase {
    qint16 error;
    bool shown;
};

class IrdaErrorTest : public LinkEventsTest, public ::testing::WithParamInterface<IrdaCase> {};

TEST_P(IrdaErrorTest, OnlyAnUnusablePortIsReported) {
    loadOnFakeLink();
    emit link_().IrDAError(GetParam().error);
    if (!GetParam().shown) {
        EXPECT_TRUE(page().rtbLog->toPlainText().isEmpty());
        EXPECT_TRUE(dialogs.shown.isEmpty());
        EXPECT_EQ(page().shpStatus[0]->colors().fill, kLampOnColors.fill);
        return;
    }
    const std::vector<std::pair<QString, QColor>> expected{{LoadMessage(5371), kLogRed}};
    EXPECT_EQ(logLines(page().rtbLog), expected);
    EXPECT_EQ(page().shpStatus[0]->colors().fill, kLampErrorColors.fill);
    EXPECT_EQ(page().shpStatus[0]->colors().border, kLampErrorColors.border);
    EXPECT_EQ(page().shpStatus[1]->colors().fill, kLampOffColors.fill);
    ASSERT_EQ(dialogs.ids(), QList<int>{5371});
    EXPECT_EQ(dialogs.shown[0].title, LoadMessage(5372));
    EXPECT_EQ(dialogs.shown[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(dialogs.shown[0].icon, BoxIcon::None);
}

INSTANTIATE_TEST_SUITE_P(Errors, IrdaErrorTest,
                         ::testing::Values(IrdaCase{10060, true}, IrdaCase{10048, true},
                                           IrdaCase{10061, false}, IrdaCase{0, false}));

// Dialogs whose box is still open when the next socket error arrives, as the link's
// timer keeps running while a box waits.
class ReenteringDialogs : public test::ScriptedDialogs {
public:
    std::function<void()> whileOpen;
    BoxAnswer ShowMessage(const MessageBoxRequest &request) override {
        const BoxAnswer answer = ScriptedDialogs::ShowMessage(request);
        if (whileOpen)
            std::exchange(whileOpen, nullptr)();
        return answer;
    }
};

TEST_F(LinkEventsTest, ABurstOfSocketErrorsShowsOneBox) {
    ReenteringDialogs burst;
    loadOnFakeLink();
    burst.whileOpen = [this] {
        for (int i = 0; i < 3; ++i)
            emit link_().IrDAError(10060);
    };
    emit link_().IrDAError(10060);
    EXPECT_EQ(burst.ids(), QList<int>{5371});
    EXPECT_EQ(logLines(page().rtbLog).size(), 4u);
    // Once closed, the next error is shown again.
    emit link_().IrDAError(10048);
    EXPECT_EQ(burst.ids(), (QList<int>{5371, 5371}));
}

TEST_F(LinkEventsTest, CancelInTheProgressWindowStopsTheLinksExchange) {
    loadOnFakeLink();
    Globals().SerialLogOn = true;
    window->Upload().Show();
    window->Upload().Form()->cmdUpload()->click();
    EXPECT_TRUE(link_().Cancel());
    EXPECT_TRUE(test::readFile(path(QStringLiteral("SerialLog.log"))).contains("= User Cancel ="));
}

TEST_F(LinkEventsTest, ClosingStopsTheLinkAndReleasesTheLock) {
    loadOnFakeLink();
    link_().setTimerEnabled(true);
    const QString lockFile = Globals().DatabasePath.chopped(4) + QStringLiteral(".LCK");
    ASSERT_TRUE(QFileInfo::exists(lockFile));
    window->close();
    EXPECT_FALSE(link_().TimerEnabled());
    EXPECT_FALSE(QFileInfo::exists(lockFile));
    EXPECT_TRUE(QFileInfo::exists(Globals().DatabasePath));
}

} // namespace
} // namespace tq
