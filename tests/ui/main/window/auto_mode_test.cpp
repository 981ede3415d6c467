// The automatic mode against the detector simulator: a detector that connects is read,
// downloaded, cleared only when everything arrived, and switched off.
#include "download_fixture.h"

#include "core/program_state.h"

namespace tq {
namespace {

using test::DownloadWindowTest;

struct AutoCase {
    const char *name;
    bool autoRemove;
    bool familyFails; // the interval and alarm trends hold a log that does not decode
    bool cleared;
};

class AutoModeTest : public DownloadWindowTest {
protected:
    // Runs the automatic mode to its end. While the image downloads the link reports the
    // connection once more, as a nested wait can make it do.
    void runAutoMode(const AutoCase &c) {
        const QString image =
            c.familyFails
                ? test::BuildImage(test::CombinedFixtures({"corrupt_gas_slot", "events_basic"}))
                : test::FullImage();
        start({{}, image, true, c.autoRemove});
        QObject::connect(&window->uclPV7130(), &uclPvif::DumpMessage, window.get(), [this] {
            if (!m_reconnected && window->uclPV7130().Connected()) {
                m_reconnected = true;
                emit window->uclPV7130().OnConnect();
            }
        });
        ASSERT_TRUE(waitFor([this] { return screenHasText(5410) || screenHasText(5411); }, 60000));
        EXPECT_TRUE(m_reconnected);
        m_lines = screenLines();
        window.reset();
        sim->finish();
    }

    bool m_reconnected = false;
    std::vector<std::pair<QString, QColor>> m_lines; // the communication log at the end
};

TEST_F(AutoModeTest, ClearsOnlyWhatArrivedWholeAndAlwaysSwitchesOff) {
    const AutoCase cases[] = {
        {"with data removal", true, false, true},
        {"without data removal", false, false, false},
        {"a family that does not decode", true, true, false},
    };
    for (const AutoCase &c : cases) {
        SCOPED_TRACE(c.name);
        m_reconnected = false;
        ASSERT_NO_FATAL_FAILURE(runAutoMode(c));
        const QStringList sent = sim->commands();
        // One run, whatever the second connection report.
        EXPECT_EQ(sent.count(QStringLiteral("RO,W,")), 1);
        EXPECT_EQ(sent.count(QStringLiteral("XC,W,")), c.cleared ? 1 : 0);
        if (c.cleared) {
            EXPECT_LT(sent.indexOf(QStringLiteral("XC,W,")), sent.indexOf(QStringLiteral("RO,W,")));
        }
        EXPECT_TRUE(sim->state().value(QStringLiteral("powered_off")).toBool());
        // The power-off's reset emptied the log: the closing line is the only one, and a run
        // that did not get everything ends in red, whatever reply had arrived.
        const std::vector<std::pair<QString, QColor>> closing{
            c.familyFails ? std::pair{LoadMessage(5411).trimmed(), kLogRed}
                          : std::pair{LoadMessage(5410).trimmed(), kLogAutoEnd}};
        EXPECT_EQ(m_lines, closing);
        EXPECT_EQ(serialLogCount(5501), 1);
        EXPECT_EQ(serialLog().contains(LoadMessage(5557)), c.cleared);
        EXPECT_EQ(errorLogs().isEmpty(), !c.familyFails);
        EXPECT_EQ(serialLogCount(5510), c.familyFails ? 0 : 1);
        EXPECT_EQ(serialLogCount(5511), c.familyFails ? 1 : 0);
        // The families that decode are stored all the same.
        EXPECT_EQ(storedTypes(), c.familyFails ? "1|1\n2|1\n3|1\n5|2\n6|1\n7|1\n11|2\n12|1"
                                               : "1|2\n2|3\n3|1\n5|2\n6|1\n7|1\n9|1\n11|2\n12|1");
        EXPECT_EQ(Globals().WorkState, 0);
        sim.reset();
        QFile::remove(Globals().DatabasePath);
        QFile::remove(path(QStringLiteral("SerialLog.log")));
        QDir(path(QStringLiteral("ErrorLogs"))).removeRecursively();
    }
}

} // namespace
} // namespace tq
