// The Download page's commands, pressed against the detector simulator.
#include "download_fixture.h"

#include "core/program_state.h"

#include <QEvent>
#include <QRegularExpression>

namespace tq {
namespace {

using test::DownloadWindowTest;

using Commands = std::vector<bool>;
const Commands kNone{false, false, false, false, false, false};
const Commands kFirst{true, true, false, false, true, false};
const Commands kAll{true, true, true, true, true, true};

// Every family of the full image, by Types: interval trend, alarm trend, calibration
// history, alarm events, trouble events, power events, bar-hole trend, snapshot, sensor
// change.
const std::string kEveryType = "1|2\n2|3\n3|1\n5|2\n6|1\n7|1\n9|1\n11|2\n12|1";

// What the progress window showed each time it was painted.
class ProgressTexts : public QObject {
public:
    ProgressTexts() { qApp->installEventFilter(this); }
    ~ProgressTexts() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            if (const auto *form = qobject_cast<frmUpload *>(watched))
                texts << form->lblUpload()->text();
        return false;
    }
    QStringList texts;
};

class DownloadCommandsTest : public DownloadWindowTest {
protected:
    bool anyRedLine() const {
        for (const auto &[text, colour] : screenLines())
            if (colour == kLogRed)
                return true;
        return false;
    }
};

TEST_F(DownloadCommandsTest, CommandsFollowTheConnectionAndEachCommand) {
    start({});
    EXPECT_EQ(downloadCommands(), kNone);
    ASSERT_TRUE(waitFor([this] { return window->uclPV7130().Connected(); }));
    EXPECT_EQ(downloadCommands(), kFirst);
    // Download Logger Data and Clear Logger Data come only with a detector that was read.
    press(1);
    EXPECT_TRUE(screenHas(5415, kLogGreen));
    EXPECT_EQ(downloadCommands(), kAll);
    press(2);
    EXPECT_EQ(downloadCommands(), kAll);
    EXPECT_EQ(storedTypes(), kEveryType);
    press(3);
    EXPECT_TRUE(screenHas(5434, kLogGreen));
    EXPECT_TRUE(sim->commands().contains(QStringLiteral("XC,W,")));
    EXPECT_EQ(downloadCommands(), kAll);
    EXPECT_FALSE(anyRedLine());
    EXPECT_EQ(Globals().WorkState, 0);
    // After a power-off nothing is available until the next connection.
    press(4);
    EXPECT_TRUE(sim->state().value(QStringLiteral("powered_off")).toBool());
    EXPECT_EQ(downloadCommands(), kNone);
    EXPECT_TRUE(window->controls().cmdInst[5]->isEnabled());
}

TEST_F(DownloadCommandsTest, CompleteDownloadStoresEveryFamily) {
    connect();
    press(0);
    EXPECT_EQ(storedTypes(), kEveryType);
    EXPECT_TRUE(window->downloadCommands().LastDownloadImportedAll());
    for (int complete : {5415, 5420, 5469, 5425, 5449, 5454, 5459})
        EXPECT_TRUE(screenHas(complete, kLogGreen)) << complete;
    EXPECT_FALSE(anyRedLine());
    EXPECT_EQ(serialLogCount(5554), 1);
    EXPECT_EQ(serialLogCount(5555), 1);
    EXPECT_EQ(downloadCommands(), kAll);
    EXPECT_EQ(Globals().WorkState, 0);
    EXPECT_EQ(window->Upload().Form(), nullptr);
}

struct CancelCase {
    const char *name;
    // Presses Cancel in the progress window at the first sign of the step.
    std::function<void(uclPvif &, const std::function<void()> &)> hook;
    bool instrumentStep;
};

TEST_F(DownloadCommandsTest, CancelInTheProgressWindowEndsTheCompleteDownload) {
    const CancelCase cases[] = {
        {"during the instrument step",
         [](uclPvif &link, const std::function<void()> &cancel) {
             QObject::connect(&link, &uclPvif::StsTransmit, cancel);
         },
         true},
        {"during the logger step",
         [](uclPvif &link, const std::function<void()> &cancel) {
             QObject::connect(&link, &uclPvif::DumpMessage, [cancel](const QString &text) {
                 // The download clears the link's Cancel as it starts: a block is under way.
                 if (text.startsWith(QLatin1String("Get FLASH Image ")))
                     cancel();
             });
         },
         false},
    };
    for (const CancelCase &c : cases) {
        SCOPED_TRACE(c.name);
        connect();
        c.hook(window->uclPV7130(), [this] {
            if (frmUpload *form = window->Upload().Form(); form && !form->Canceled())
                form->cmdUpload()->click();
        });
        press(0);
        EXPECT_TRUE(window->Upload().Canceled());
        EXPECT_EQ(serialLogCount(5554), 1);
        EXPECT_EQ(serialLogCount(5555), 1);
        EXPECT_EQ(storedTypes(), std::string());
        EXPECT_FALSE(screenHasText(5466));
        EXPECT_EQ(screenHas(5462, kLogRed), c.instrumentStep);
        EXPECT_EQ(downloadCommands(), kFirst);
        EXPECT_EQ(Globals().WorkState, 0);
        EXPECT_EQ(window->Upload().Form(), nullptr);
        window.reset();
        sim->finish();
        EXPECT_EQ(sim->state().value(QStringLiteral("blocks_sent")).toInt() == 0, c.instrumentStep);
        sim.reset();
    }
}

// Frames and blocks the simulator answers before the first flash block of a complete
// download, read from the frame log of a complete download.
int answersBeforeTheDump(const QString &simulatorLog) {
    int answers = 0;
    for (const QString &line : QString::fromUtf8(test::readFile(simulatorLog)).split('\n')) {
        if (line.contains(QLatin1String(" TX block")))
            return answers;
        if (line.contains(QLatin1String(" TX ")))
            ++answers;
    }
    return -1;
}

struct RetryCase {
    const char *name;
    bool secondTimeout;
};

TEST_F(DownloadCommandsTest, ABlockTimeOutIsTriedOnceMore) {
    // A complete download that logs its frames tells when the first block is asked for.
    const QString frameLog = path(QStringLiteral("frames.log"));
    connect({{QStringLiteral("--log"), frameLog}});
    press(0);
    // A few blocks in, so that an extra poll or resent reply of a loaded machine still
    // leaves the fault on a block.
    const int faultyBlock = answersBeforeTheDump(frameLog) + 4;
    ASSERT_GT(faultyBlock, 4);
    window.reset();
    sim.reset();
    QFile::remove(Globals().DatabasePath);
    Globals() = ProgramState();

    const RetryCase cases[] = {{"one time-out", false}, {"two time-outs", true}};
    for (const RetryCase &c : cases) {
        SCOPED_TRACE(c.name);
        // A negative answer to one block leaves it short, so it times out once; a block that
        // is never answered times out on both attempts.
        const QStringList fault =
            c.secondTimeout ? QStringList{QStringLiteral("--drop-block"), QStringLiteral("0")}
                            : QStringList{QStringLiteral("--nak"), QString::number(faultyBlock)};
        connect({fault});
        ProgressTexts progress;
        press(0);
        EXPECT_TRUE(progress.texts.contains(QStringLiteral("One more time !")));
        EXPECT_EQ(serialLog().count(QStringLiteral("= timeout =")), c.secondTimeout ? 2 : 1);
        EXPECT_EQ(screenHas(5466, kLogRed), c.secondTimeout);
        EXPECT_EQ(storedTypes(), c.secondTimeout ? std::string() : kEveryType);
        EXPECT_EQ(downloadCommands(), c.secondTimeout ? kFirst : kAll);
        window.reset();
        sim.reset();
        QFile::remove(Globals().DatabasePath);
    }
}

struct QuestionCase {
    const char *name;
    int command;
    const char *detectorCommand; // what a Yes would have sent
};

// "No" sends nothing and leaves the commands and the log as they were; not even the clock
// warning is shown.
TEST_F(DownloadCommandsTest, NoToTheClearOrPowerOffQuestionSendsNothing) {
    connect();
    press(1);
    window->LinkInstrument().setSysDateOffset(Date(2.0));
    const QuestionCase cases[] = {{"clear", 3, "XC,W,"}, {"power off", 4, "RO,W,"}};
    for (const QuestionCase &c : cases) {
        SCOPED_TRACE(c.name);
        const auto linesBefore = screenLines();
        const QStringList sentBefore = sim->commands();
        dialogs.answers = {BoxAnswer::No};
        press(c.command);
        EXPECT_EQ(dialogs.shown.last().messageId, c.command == 3 ? 5343 : 5347);
        EXPECT_EQ(dialogs.shown.last().title, LoadMessage(c.command == 3 ? 5344 : 5348));
        settle(200);
        EXPECT_EQ(sim->commands(), sentBefore);
        EXPECT_FALSE(sim->commands().contains(QLatin1String(c.detectorCommand)));
        EXPECT_EQ(screenLines(), linesBefore);
        EXPECT_EQ(downloadCommands(), kAll);
    }
}

// The line is lost as the clear is sent: a failure after replies had arrived is still shown
// as a failure, and the commands stay off until the next connection.
TEST_F(DownloadCommandsTest, AClearThatLosesTheLineFailsInRedAndEnablesNothing) {
    // The connection poll is the only frame before the clear.
    connect({{QStringLiteral("--pull-cable-after"), QStringLiteral("1")}});
    ASSERT_TRUE(window->uclPV7130().ReplyReceived());
    window->downloadCommands().cmdDown_Click(3);
    EXPECT_TRUE(screenHas(5433, kLogGreen));
    EXPECT_TRUE(screenHas(5435, kLogRed));
    EXPECT_FALSE(screenHasText(5434));
    EXPECT_TRUE(serialLog().contains(LoadMessage(5559)));
    EXPECT_FALSE(window->uclPV7130().Connected());
    EXPECT_EQ(downloadCommands(), kNone);
    EXPECT_TRUE(window->downloadPage().chkAutoLoad[0]->isEnabled());
}

// A complete download that fails as the line drops: the automatic-mode boxes take clicks
// again at once, and the mode can be switched on for the next detector.
TEST_F(DownloadCommandsTest, AfterADownloadThatLostTheLineTheAutomaticModeCanBeSwitched) {
    connect({{QStringLiteral("--pull-cable-after"), QStringLiteral("1")}});
    press(0);
    ASSERT_TRUE(waitFor([this] { return !window->uclPV7130().Connected(); }));
    EXPECT_TRUE(screenHas(5416, kLogRed) || screenHas(5417, kLogRed));
    const DownloadPage &page = window->downloadPage();
    ASSERT_TRUE(page.chkAutoLoad[0]->isEnabled());
    page.chkAutoLoad[0]->click();
    EXPECT_EQ(dialogs.shown.last().messageId, 5303);
    EXPECT_TRUE(Globals().AutoLoadMode);
    EXPECT_TRUE(page.chkAutoLoad[0]->isChecked());
    EXPECT_TRUE(page.chkAutoLoad[1]->isEnabled());
    EXPECT_EQ(downloadCommands(), kNone);
}

// The pages are filled once the latest calibration has been read, so no reply of the
// detector arrives after they show the instrument.
TEST_F(DownloadCommandsTest, InstrumentPagesAreFilledAfterTheLastReply) {
    connect();
    QLabel *serialNumber = control<QLabel>("lblInst_3");
    int repliesAfterFilling = 0;
    QObject::connect(&window->uclPV7130(), &uclPvif::StsTransmit, window.get(), [&] {
        if (!serialNumber->text().isEmpty())
            ++repliesAfterFilling;
    });
    press(1);
    EXPECT_FALSE(serialNumber->text().isEmpty());
    EXPECT_EQ(repliesAfterFilling, 0);
    EXPECT_TRUE(sim->commands().contains(QStringLiteral("SO,R,")));
}

struct ProgressCase {
    int command;
    // The label at the first reply; 0 where the flash download has already written its
    // progress there.
    int label;
    bool cancelButton;
};

// Each command shows the progress window titled "Download", with the label and Cancel
// button of the busy state it stored.
TEST_F(DownloadCommandsTest, TheProgressWindowFollowsTheCommandsBusyState) {
    connect();
    press(1);
    const ProgressCase cases[] = {{1, 6004, false}, {0, 6004, true}, {2, 0, true}};
    for (const ProgressCase &c : cases) {
        SCOPED_TRACE(c.command);
        QString title;
        QString label;
        bool cancelButton = false;
        const QMetaObject::Connection seen =
            QObject::connect(&window->uclPV7130(), &uclPvif::StsTransmit, window.get(), [&] {
                const frmUpload *form = window->Upload().Form();
                if (!form || !title.isEmpty())
                    return;
                title = form->windowTitle();
                label = form->lblUpload()->text();
                cancelButton = form->cmdUpload()->isVisible();
            });
        press(c.command);
        QObject::disconnect(seen);
        EXPECT_EQ(title, LoadMessage(6056));
        if (c.label != 0) {
            EXPECT_EQ(label, LoadMessage(c.label));
        }
        EXPECT_EQ(cancelButton, c.cancelButton);
    }
}

} // namespace
} // namespace tq
