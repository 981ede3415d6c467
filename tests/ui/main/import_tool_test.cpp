#include "download_test_support.h"

#include "core/messages.h"
#include "ui/main/database_lock.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

namespace tq {
namespace {

QStringList linesOf(const QString &complete, const QString &failed = {}) {
    QStringList lines;
    const QStringList names{"interval trend", "snapshots",      "alarm trend",
                            "alarm events",   "trouble events", "calibration histories",
                            "power events"};
    for (const QString &name : names) {
        QString result = QStringLiteral("no data");
        if (complete.split(',').contains(name))
            result = QStringLiteral("complete");
        if (failed.split(',').contains(name))
            result = QStringLiteral("failed");
        lines << name + QStringLiteral(": ") + result;
    }
    return lines;
}

// Row counts of the log tables of the program folder `folder` and its trend files with
// their sizes, as one text.
QString storedIn(const QString &folder) {
    const QDir root(folder);
    QString text =
        test::Sqlite(root.filePath(QStringLiteral("TQ6200.mdb")),
                     QStringLiteral("Select Types, Count(*) From Log_Head Group By Types;"
                                    "Select Count(*) From Interval_Event;"
                                    "Select Count(*) From Alarm_Event;"
                                    "Select Count(*) From Trouble_Event;"
                                    "Select Count(*) From Power_Event;"
                                    "Select Count(*) From SnapShot;"
                                    "Select Count(*) From cHistory;"));
    QDirIterator files(root.filePath(QStringLiteral("Data")), QDir::Files,
                       QDirIterator::Subdirectories);
    QStringList trendFiles;
    while (files.hasNext()) {
        const QFileInfo file(files.next());
        trendFiles
            << QStringLiteral("%1 %2").arg(root.relativeFilePath(file.filePath())).arg(file.size());
    }
    trendFiles.sort();
    return text + QLatin1Char('\n') + trendFiles.join(QLatin1Char('\n'));
}

// tq6200-import run out of process in a program folder of its own.
class ImportToolTest : public test::TempFolderTest {
protected:
    QString database() const { return path(QStringLiteral("TQ6200.mdb")); }
    void image(const QString &fixture, const QString &name = QStringLiteral("TQ6200.DAT")) {
        test::CopyFixtureImage(fixture, path(name));
    }
    // Row counts of the log tables and the trend files, as one text.
    QString stored() const { return storedIn(dir.path()); }
};

TEST_F(ImportToolTest, ErasedImageIsNoDataEverywhere) {
    image(QStringLiteral("erased"));
    const test::ToolRun run = test::RunImportTool(dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(run.lines, linesOf({}));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("Data"))).isDir());
    EXPECT_EQ(test::Sqlite(database(), QStringLiteral("Select Count(*) From Log_Head")), "0");
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("TQ6200.LCK"))));
}

TEST_F(ImportToolTest, TrendImageMakesDatabaseAndTrendFilesAndASecondRunAddsNothing) {
    image(QStringLiteral("interval_basic"), QStringLiteral("trend.bin"));
    const test::ToolRun run = test::RunImportTool(dir.path(), {QStringLiteral("trend.bin")});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(run.lines, linesOf(QStringLiteral("interval trend")));
    EXPECT_EQ(test::Sqlite(database(),
                           QStringLiteral("Select Count(*) From Log_Head Where Types In (1, 9)")),
              "3");
    const QFileInfo trendFile(path(QStringLiteral("Data/21/03/iv05140709_X1.Dat")));
    ASSERT_TRUE(trendFile.exists());
    EXPECT_GT(trendFile.size(), 0);
    EXPECT_EQ(trendFile.size() % 12, 0);

    const QString first = stored();
    const test::ToolRun again = test::RunImportTool(dir.path(), {QStringLiteral("trend.bin")});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.lines, run.lines);
    EXPECT_EQ(stored(), first);
}

TEST_F(ImportToolTest, EventImageStoresEveryBlockFamilyOnce) {
    image(QStringLiteral("events_basic"));
    const test::ToolRun run = test::RunImportTool(dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(run.lines, linesOf(QStringLiteral("snapshots,alarm events,trouble events,"
                                                "calibration histories,power events")));
    EXPECT_EQ(test::Sqlite(database(), QStringLiteral("Select Group_Concat(Types) From "
                                                      "(Select Distinct Types From Log_Head "
                                                      "Where Types In (3, 5, 6, 7, 11) "
                                                      "Order By Types)")),
              "3,5,6,7,11");
    const QString first = stored();
    EXPECT_EQ(test::RunImportTool(dir.path()).exitCode, 0);
    EXPECT_EQ(stored(), first);
}

TEST_F(ImportToolTest, FailedFamiliesExitOneAndTheOthersStillRun) {
    image(QStringLiteral("corrupt_gas_slot"));
    const test::ToolRun run = test::RunImportTool(dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.lines, linesOf({}, QStringLiteral("interval trend,alarm trend")));
}

TEST_F(ImportToolTest, DataLocationComesFromTheSettingsFileWhichStaysAsItWas) {
    QDir().mkdir(path(QStringLiteral("shared")));
    const QByteArray settings = "; settings\r\nDataLocation\t" + path("shared").toUtf8() + "\r\n";
    test::writeFile(path(QStringLiteral("TQ6200.ini")), settings);
    image(QStringLiteral("erased"));
    const test::ToolRun run = test::RunImportTool(dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("shared/TQ6200.mdb"))));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("shared/Data"))).isDir());
    EXPECT_FALSE(QFileInfo::exists(database()));
    EXPECT_EQ(test::readFile(path(QStringLiteral("TQ6200.ini"))), settings);
}

TEST_F(ImportToolTest, SignalStopsTheRunAndTheNextRunCompletesIt) {
    const QString everything = test::BuildImage(
        test::CombinedFixtures({QStringLiteral("interval_basic"), QStringLiteral("alarm_basic"),
                                QStringLiteral("events_basic")}));
    QTemporaryDir reference;
    ASSERT_TRUE(QFile::copy(everything, reference.filePath(QStringLiteral("TQ6200.DAT"))));
    ASSERT_EQ(test::RunImportTool(reference.path()).exitCode, 0);

    // The database exists, and another connection holds it in exclusive mode: the run
    // cannot open it, and so cannot begin, until the signal has been sent. (Stops between
    // two logs of a family are the pipeline tests'.)
    image(QStringLiteral("erased"), QStringLiteral("erased.bin"));
    ASSERT_EQ(test::RunImportTool(dir.path(), {QStringLiteral("erased.bin")}).exitCode, 0);
    ASSERT_TRUE(QFile::copy(everything, path(QStringLiteral("TQ6200.DAT"))));
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "holder");
        holder.setDatabaseName(database());
        ASSERT_TRUE(holder.open());
        for (const char *sql :
             {"PRAGMA locking_mode=EXCLUSIVE", "BEGIN EXCLUSIVE", "Select Count(*) From Log_Head"})
            ASSERT_EQ(holder.exec(QString::fromLatin1(sql)).lastError().type(), QSqlError::NoError)
                << sql;

        QProcess tool;
        tool.setWorkingDirectory(dir.path());
        tool.start(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tq6200-import")),
            {});
        ASSERT_TRUE(tool.waitForStarted(10000));
        // The tool takes the program's lock just before it imports.
        QElapsedTimer clock;
        clock.start();
        while (!QFileInfo::exists(path(QStringLiteral("TQ6200.LCK"))) &&
               tool.state() == QProcess::Running && clock.elapsed() < 60000)
            QThread::msleep(20);
        ASSERT_EQ(::kill(pid_t(tool.processId()), SIGINT), 0);
        holder.exec(QStringLiteral("ROLLBACK"));
        holder.close();

        ASSERT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(tool.exitCode(), 1);
        const QString errors = QString::fromUtf8(tool.readAllStandardError());
        EXPECT_TRUE(errors.contains(QStringLiteral("stopped by a signal after 0 of 7 imports")))
            << errors.toStdString();
        EXPECT_EQ(QString::fromUtf8(tool.readAllStandardOutput()), QString());
        EXPECT_EQ(test::Sqlite(database(), QStringLiteral("PRAGMA integrity_check")), "ok");
        EXPECT_EQ(test::LogsWithoutDetails(database()), QString());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));

    const test::ToolRun again = test::RunImportTool(dir.path());
    EXPECT_EQ(again.exitCode, 0) << again.errors.toStdString();
    EXPECT_EQ(stored(), storedIn(reference.path()));
}

struct NoStartCase {
    const char *name;
    const char *fixture;      // the image TQ6200.DAT, or nullptr for none
    const char *dataLocation; // a settings-file DataLocation below the folder, or nullptr
    bool lockHeld;            // another copy holds the database
    QStringList arguments;
    friend void PrintTo(const NoStartCase &c, std::ostream *os) { *os << c.name; }
};

class ToolNoStartTest : public ImportToolTest, public ::testing::WithParamInterface<NoStartCase> {};

TEST_P(ToolNoStartTest, ExitsTwoAndStoresNothing) {
    const NoStartCase &c = GetParam();
    if (c.fixture)
        image(QString::fromUtf8(c.fixture));
    if (c.dataLocation)
        test::writeFile(path(QStringLiteral("TQ6200.ini")),
                        "DataLocation\t" + path(c.dataLocation).toUtf8() + "\r\n");
    test::UserName user("someone");
    DatabaseLock other;
    if (c.lockHeld) {
        ASSERT_EQ(other.Take(path(QStringLiteral("TQ6200.LCK"))), DatabaseLock::State::Locked);
    }
    const test::ToolRun run = test::RunImportTool(dir.path(), c.arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.lines.isEmpty());
    EXPECT_FALSE(run.errors.isEmpty());
    if (c.lockHeld) {
        EXPECT_TRUE(run.errors.contains(
            LoadMessage(300, {QSysInfo::machineHostName(), QStringLiteral("someone")})))
            << run.errors.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(database()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolNoStartTest,
    ::testing::Values(NoStartCase{"MissingImage", nullptr, nullptr, false, {}},
                      NoStartCase{"MissingNamedImage", "erased", nullptr, false, {"other.DAT"}},
                      NoStartCase{"ShortImage", "short_file", nullptr, false, {}},
                      NoStartCase{"LockHeld", "erased", nullptr, true, {}},
                      NoStartCase{"NoDataLocation", "erased", "gone", false, {}},
                      NoStartCase{"TwoImages", "erased", nullptr, false, {"a", "b"}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace tq
