// The dump file holds the last complete flash image: the program, started headless in the
// automatic mode, meets a detector whose flash blocks come short, tries the download
// twice, and leaves the dump file of the previous download as it was.
#include "link/simulator.h"
#include "program_process.h"

#include <QJsonArray>

namespace tq {
namespace {

class DumpFileTest : public test::ProgramProcessTest {};

TEST_F(DumpFileTest, AFailedDownloadKeepsTheLastCompleteImage) {
    const QString dumpFile = path(QStringLiteral("work/TQ6200.DAT"));
    QByteArray last(524288, char(0xFF));
    last.replace(0, 12, "last image\r\n");
    test::writeFile(dumpFile, last);
    // Block 0 is the fast download's first: each attempt ends at once, on a time-out.
    test::Simulator simulator({QStringLiteral("--short-block"), QStringLiteral("0")});
    ASSERT_FALSE(simulator.device().isEmpty());
    test::writeFile(path(QStringLiteral("work/TQ6200.ini")),
                    "Serial Log File\tON\r\nTimeout\t1\r\nAuto Load Mode\tTrue\tTrue\r\n");
    QProcessEnvironment env;
    env.insert(QStringLiteral("TQ6200_SERIAL_PORT"), simulator.device());
    start(QStringLiteral("messages.log"), env);

    // The serial log, with any part moved into ErrorLogs before it.
    const auto serialLog = [&] {
        QString text;
        const QDir errorLogs(path(QStringLiteral("work/ErrorLogs")));
        for (const QString &name : errorLogs.entryList(QDir::Files, QDir::Name))
            text += QString::fromUtf8(test::readFile(errorLogs.filePath(name)));
        return text + QString::fromUtf8(test::readFile(path(QStringLiteral("work/SerialLog.log"))));
    };
    ASSERT_TRUE(waitFor(
        [&] {
            return serialLog().contains(QStringLiteral("---Automatic Mode Failed Finished---"));
        },
        60000))
        << "the automatic mode did not end within a minute";
    // Two attempts, each ended by the short block.
    EXPECT_EQ(serialLog().count(QStringLiteral("= timeout =")), 2);
    EXPECT_TRUE(test::readFile(dumpFile) == last);
    EXPECT_FALSE(QFile::exists(dumpFile + QStringLiteral(".part")));
    // Nothing was imported, and the detector keeps its data.
    EXPECT_FALSE(simulator.state()
                     .value(QStringLiteral("events"))
                     .toArray()
                     .contains(QJsonValue(QStringLiteral("data clear"))));
    EXPECT_EQ(test::Sqlite(path(QStringLiteral("work/TQ6200.mdb")),
                           QStringLiteral("SELECT count(*) FROM Log_Head")),
              QStringLiteral("0"));
}

} // namespace
} // namespace tq
