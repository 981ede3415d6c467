// A detector found again: the program, started headless on the symbolic link that the
// detector simulator makes, meets the simulator killed (the converter pulled out) and another
// one started on the same link a second later (plugged back in), and serves the detector
// again without a restart and without a message box.
#include "link/simulator.h"
#include "program_process.h"

#include <ostream>

namespace tq {
namespace {

const QString kConnectReply = QStringLiteral("R : [STX]0001RC,R,TQ-6200");
const QString kAutoStart = QStringLiteral("---Start Automatic Download---");
const QString kAutoEnd = QStringLiteral("---Automatic Mode Camplate Finished---");

struct ReplugCase {
    const char *name;
    bool automatic; // "Automatic Download"
};

void PrintTo(const ReplugCase &c, std::ostream *os) {
    *os << c.name;
}

class ReplugTest : public test::ProgramProcessTest,
                   public ::testing::WithParamInterface<ReplugCase> {
protected:
    QString link() const { return path(QStringLiteral("ttyTQ6200")); }
    QString serialLog() const {
        return QString::fromUtf8(test::readFile(path(QStringLiteral("work/SerialLog.log"))));
    }
    // Its last lines, to show where a run stopped.
    QString serialLogEnd() const { return serialLog().right(3000); }
    // Waits up to `timeoutMs` for the serial log to hold `text` `count` times.
    bool waitForLogged(const QString &text, int count, int timeoutMs) const {
        return waitFor([&] { return serialLog().count(text) >= count; }, timeoutMs);
    }
    std::unique_ptr<test::Simulator> plugIn(const QString &image) const {
        // A converter stays when the program closes its port (after switching the
        // detector off); only pulling it out ends it.
        QStringList options{QStringLiteral("--link"), link(), QStringLiteral("--persist")};
        if (!image.isEmpty())
            options << QStringLiteral("--image") << image;
        return std::make_unique<test::Simulator>(options);
    }
};

TEST_P(ReplugTest, TheDetectorIsServedAgainAfterAReplug) {
    const ReplugCase &c = GetParam();
    const QString image =
        c.automatic ? test::BuildImage(test::CombinedFixtures({QStringLiteral("interval_basic"),
                                                               QStringLiteral("alarm_basic"),
                                                               QStringLiteral("events_basic")}))
                    : QString();
    test::writeFile(path(QStringLiteral("work/TQ6200.ini")),
                    QByteArray("Serial Log File\tON\r\nAuto Load Mode\t") +
                        (c.automatic ? "True" : "False") + "\tFalse\r\n");
    auto first = plugIn(image);
    ASSERT_FALSE(first->device().isEmpty());
    QProcessEnvironment env;
    env.insert(QStringLiteral("TQ6200_SERIAL_PORT"), link());
    start(QStringLiteral("messages.log"), env);

    // Served the first time: connected, and with the automatic mode dumped and switched off.
    ASSERT_TRUE(waitForLogged(kConnectReply, 1, 30000)) << "never connected";
    if (c.automatic) {
        ASSERT_TRUE(waitForLogged(kAutoEnd, 1, 60000)) << "the first automatic run never ended";
    }

    // Pulled out: the device node goes, and the device with it. (A terminal's link left
    // dangling could meet another test's terminal of the same number.)
    ASSERT_TRUE(QFile::remove(link()));
    first->kill();
    QThread::msleep(1000);
    auto second = plugIn(image);
    ASSERT_FALSE(second->device().isEmpty());

    // Under load, starting the simulator again alone can take seconds.
    EXPECT_TRUE(
        waitFor([&] { return second->commands().contains(QStringLiteral("RC,R,")); }, 30000))
        << "the detector plugged back in was never polled\n"
        << serialLogEnd().toStdString();
    EXPECT_TRUE(waitForLogged(kConnectReply, 2, 30000)) << "never connected again\n"
                                                        << serialLogEnd().toStdString();
    if (c.automatic) {
        EXPECT_TRUE(waitFor(
            [&] { return second->state().value(QStringLiteral("powered_off")).toBool(); }, 60000))
            << "the detector plugged back in was not dumped and switched off\n"
            << serialLogEnd().toStdString();
        EXPECT_TRUE(waitForLogged(kAutoEnd, 2, 30000)) << serialLogEnd().toStdString();
        EXPECT_EQ(serialLog().count(kAutoStart), 2);
        EXPECT_GT(second->state().value(QStringLiteral("blocks_sent")).toInt(), 0)
            << "nothing was dumped the second time";
    }
    EXPECT_TRUE(messages(QStringLiteral("messages.log")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Modes, ReplugTest,
                         ::testing::Values(ReplugCase{"WithoutAutomaticMode", false},
                                           ReplugCase{"WithAutomaticMode", true}),
                         [](const ::testing::TestParamInfo<ReplugCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace tq
