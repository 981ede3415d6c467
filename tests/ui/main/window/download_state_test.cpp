// The download commands on their own, with hooks that stand for the page and the window,
// against the detector simulator: how a run ends decides what can be used next.
#include "core/log_schema.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "download_fixture.h"
#include "link/usb_port_finder.h"
#include "program_folder.h"
#include "ui/main/download_commands.h"

#include <QTest>

#include <map>

namespace tq {
namespace {

using Button = DownloadCommands::Button;
using State = DownloadCommands::State;

// What the commands did to the page and the window.
struct FakeWindow {
    std::map<Button, bool> enabled;
    bool boxesEnabled = true;
    std::vector<std::pair<QString, QColor>> lines;
    std::array<QColor, 4> lamps{};
    bool progressOpen = false;
    bool canceled = false;
    // Runs on every progress text the link reports during a flash download.
    std::function<void()> onProgress;

    bool has(int message) const {
        for (const auto &line : lines)
            if (line.first.trimmed() == LoadMessage(message).trimmed())
                return true;
        return false;
    }
    std::vector<bool> downloadButtons() const {
        std::vector<bool> out;
        for (Button b : {Button::Down0, Button::Down1, Button::Down2, Button::Down3, Button::Down4,
                         Button::Down5})
            out.push_back(enabled.count(b) != 0 && enabled.at(b));
        return out;
    }

    DownloadCommands::Hooks hooks() {
        return {
            [this](const QString &text, const QColor &color) { lines.emplace_back(text, color); },
            [this](int lamp, const LampColors &colors) { lamps[std::size_t(lamp)] = colors.fill; },
            [this](bool on) { boxesEnabled = on; },
            [this](Button b) { return enabled.count(b) != 0 && enabled.at(b); },
            [this](Button b, bool on) { enabled[b] = on; },
            [this](const QString &) {
                progressOpen = true;
                canceled = false;
            },
            [this](const QString &) {
                if (progressOpen && onProgress)
                    onProgress();
            },
            [](const QString &) {},
            [this] { progressOpen = false; },
            [this] { return canceled; },
            [] { return std::shared_ptr<void>(); },
            [] {},
            [] {},
            [] {},
            [] { return false; }};
    }
};

const std::vector<bool> kFirst{true, true, false, false, true, false};

class DownloadStateTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        Globals() = ProgramState();
        test::UseProgramFolder(dir.path());
        CreateLogDatabase(Globals().DatabasePath);
        Globals().CommDelay = 1;
    }
    void TearDown() override {
        commands.reset();
        link.reset();
        sim.reset();
        qunsetenv("TQ6200_SERIAL_PORT");
        Globals() = ProgramState();
    }

    // The commands on a link to a simulator with `options`, the connection served.
    void connectTo(const QStringList &options) {
        sim = std::make_unique<test::Simulator>(
            options + QStringList{QStringLiteral("--image"), test::FullImage()});
        ASSERT_FALSE(sim->device().isEmpty());
        qputenv("TQ6200_SERIAL_PORT", sim->device().toUtf8());
        const ConverterSearch search = FindUsbSerialPort(QString::fromLatin1(kConverterDeviceId));
        ASSERT_EQ(search, ConverterSearch::One);
        link = std::make_unique<uclPvif>();
        link->setLinkSettings({Globals().AppFolder, 2, 3, Globals().CommDelay});
        link->setSerialComm(true);
        link->setCommPort(ConverterPortNumber(search));
        link->setSettings(QString::fromLatin1(kConverterCommSettings));
        commands = std::make_unique<DownloadCommands>(*link, instrument, fake.hooks());
        commands->setDumpFile(path(QStringLiteral("TQ6200.DAT")));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                link->setPortOpen(true);
                return link->PortOpen();
            },
            5000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return fake.has(5432); }, 20000));
    }

    test::ScriptedDialogs dialogs;
    FakeWindow fake;
    clsInstrument instrument;
    std::unique_ptr<test::Simulator> sim;
    std::unique_ptr<uclPvif> link;
    std::unique_ptr<DownloadCommands> commands;
};

struct EndCase {
    const char *name;
    QStringList simulator;
    bool cancel; // Cancel pressed at the first block
    State end;
};

// A complete download that fails or is cancelled leaves nothing running: the buttons are
// back as they were, the boxes usable, and the next command runs.
TEST_F(DownloadStateTest, AFailedOrCancelledDownloadLeavesEveryCommandUsable) {
    const EndCase cases[] = {
        {"done", {}, false, State::Idle},
        {"two block time-outs",
         {QStringLiteral("--drop-block"), QStringLiteral("0")},
         false,
         State::Failed},
        {"cancelled", {}, true, State::Cancelled},
    };
    for (const EndCase &c : cases) {
        SCOPED_TRACE(c.name);
        fake = FakeWindow();
        ASSERT_NO_FATAL_FAILURE(connectTo(c.simulator));
        EXPECT_EQ(fake.downloadButtons(), kFirst);
        if (c.cancel)
            fake.onProgress = [this] {
                fake.canceled = true;
                commands->progressCancel();
            };
        bool runningSeen = false;
        QObject::connect(link.get(), &uclPvif::StsTransmit, commands.get(),
                         [&] { runningSeen = runningSeen || commands->Running(); });
        commands->cmdDown_Click(0);
        EXPECT_TRUE(runningSeen);
        EXPECT_EQ(commands->state(), c.end);
        EXPECT_FALSE(commands->Running());
        EXPECT_TRUE(fake.boxesEnabled);
        EXPECT_FALSE(fake.progressOpen);
        EXPECT_TRUE(fake.downloadButtons()[0]);
        EXPECT_TRUE(fake.downloadButtons()[1]);
        EXPECT_EQ(Globals().WorkState, 0);
        // The next command is taken.
        fake.onProgress = nullptr;
        fake.lines.clear();
        commands->cmdDown_Click(1);
        EXPECT_TRUE(fake.has(5415));
        EXPECT_EQ(commands->state(), State::Idle);
        commands.reset();
        link.reset();
        sim.reset();
    }
}

struct ReconnectCase {
    const char *name;
    bool lineLost; // the line drops before the detector answers again
    int served;    // connection lines written
};

// A detector that answers again while a run holds the link is served once the run has
// ended, but only when the line was lost meanwhile: a repeated report of the connection
// being served is not a new one.
TEST_F(DownloadStateTest, AConnectionDuringARunIsServedWhenItEnds) {
    const ReconnectCase cases[] = {{"line lost and back", true, 2}, {"repeated report", false, 1}};
    for (const ReconnectCase &c : cases) {
        SCOPED_TRACE(c.name);
        fake = FakeWindow();
        ASSERT_NO_FATAL_FAILURE(connectTo({}));
        fake.onProgress = [this, &c] {
            fake.onProgress = nullptr;
            if (c.lineLost)
                emit link->Disconnected();
            emit link->OnConnect();
        };
        commands->cmdDown_Click(1);
        commands->cmdDown_Click(2);
        EXPECT_EQ(commands->state(), State::Idle);
        QTest::qWait(50);
        int served = 0;
        for (const auto &line : fake.lines)
            served += line.first == LoadMessage(5432) ? 1 : 0;
        EXPECT_EQ(served, c.served);
        EXPECT_EQ(fake.lamps[1], kLampOnColors.fill);
        EXPECT_TRUE(fake.enabled[Button::Update]);
        commands.reset();
        link.reset();
        sim.reset();
    }
}

} // namespace
} // namespace tq
