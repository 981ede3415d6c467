// Termination signals end the program the way Exit does: settings written, lock released,
// exit status 0, no question asked; a download running then is cancelled and the detector
// is neither cleared nor sent anything more.
#include "link/simulator.h"
#include "program_process.h"

#include <QJsonArray>

#include <csignal>

namespace tq {
namespace {

// Generous: the program closes after at most one two-second wait of the automatic mode.
constexpr int kExitMs = 60000;

class TerminationSignalTest : public test::ProgramProcessTest {
protected:
    static void send(QProcess *program, int signalNumber) {
        ASSERT_EQ(::kill(pid_t(program->processId()), signalNumber), 0);
    }
    // Waits for the end; true when the program ended by itself with status 0.
    static bool endedCleanly(QProcess *program) {
        if (!program->waitForFinished(kExitMs))
            return false;
        return program->exitStatus() == QProcess::NormalExit && program->exitCode() == 0;
    }
    QString settings() const {
        return QString::fromUtf8(test::readFile(path(QStringLiteral("work/TQ6200.ini"))));
    }
    bool lockReleased() const {
        return !QFileInfo::exists(path(QStringLiteral("work/TQ6200.LCK")));
    }
};

TEST_F(TerminationSignalTest, EachSignalWhileIdleClosesAsExitDoes) {
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        QFile::remove(path(QStringLiteral("work/TQ6200.ini")));
        QProcess *program = start(QStringLiteral("messages.log"));
        ASSERT_TRUE(waitForLock());
        send(program, signalNumber);
        EXPECT_TRUE(endedCleanly(program)) << program->exitCode();
        EXPECT_TRUE(settings().contains(QStringLiteral("Execute Count")));
        EXPECT_TRUE(lockReleased());
        // No "End ?" question.
        EXPECT_EQ(messages(QStringLiteral("messages.log")), QString());
    }
}

TEST_F(TerminationSignalTest, SignalDuringADownloadCancelsItAndLeavesTheDetectorAlone) {
    const QString image = test::BuildImage(
        test::CombinedFixtures({QStringLiteral("interval_basic"), QStringLiteral("alarm_basic"),
                                QStringLiteral("events_basic")}));
    // Slowed to half a second per flash block; its log shows the blocks asked for.
    const QString simulatorLog = path(QStringLiteral("simulator.log"));
    test::Simulator simulator({QStringLiteral("--image"), image, QStringLiteral("--baud"),
                               QStringLiteral("9600"), QStringLiteral("--log"), simulatorLog});
    ASSERT_FALSE(simulator.device().isEmpty());
    test::writeFile(path(QStringLiteral("work/TQ6200.ini")),
                    "Serial Log File\tON\r\nAuto Load Mode\tTrue\tTrue\r\n");
    QProcessEnvironment env;
    env.insert(QStringLiteral("TQ6200_SERIAL_PORT"), simulator.device());
    QProcess *program = start(QStringLiteral("messages.log"), env);

    ASSERT_TRUE(waitFor(
        [&] {
            return QFileInfo::exists(simulatorLog) &&
                   test::readFile(simulatorLog).contains("EP,R,");
        },
        kExitMs))
        << "the flash download did not start";
    send(program, SIGTERM);
    EXPECT_TRUE(endedCleanly(program));

    const QString database = path(QStringLiteral("work/TQ6200.mdb"));
    EXPECT_EQ(test::Sqlite(database, QStringLiteral("PRAGMA integrity_check")),
              QStringLiteral("ok"));
    EXPECT_EQ(test::LogsWithoutDetails(database), QString());
    QStringList events;
    for (const QJsonValue &event : simulator.state().value(QStringLiteral("events")).toArray())
        events << event.toString();
    EXPECT_FALSE(events.contains(QStringLiteral("data clear"))) << events.join(", ").toStdString();
    EXPECT_FALSE(events.contains(QStringLiteral("power off"))) << events.join(", ").toStdString();
    EXPECT_TRUE(settings().contains(QStringLiteral("Execute Count"))); // written anew
    EXPECT_TRUE(lockReleased());
    EXPECT_EQ(messages(QStringLiteral("messages.log")), QString());
}

} // namespace
} // namespace tq
