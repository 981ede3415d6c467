#include "download_test_support.h"

#include "core/messages.h"
#include "ui/main/database_lock.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSysInfo>

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

// tq6200-import run out of process in a program folder of its own.
class ImportToolTest : public test::TempFolderTest {
protected:
    QString database() const { return path(QStringLiteral("TQ6200.mdb")); }
    void image(const QString &fixture, const QString &name = QStringLiteral("TQ6200.DAT")) {
        test::CopyFixtureImage(fixture, path(name));
    }
    // Row counts of the log tables and the trend files, as one text.
    QString stored() const {
        QString text = test::Sqlite(
            database(), QStringLiteral("Select Types, Count(*) From Log_Head Group By Types;"
                                       "Select Count(*) From Interval_Event;"
                                       "Select Count(*) From Alarm_Event;"
                                       "Select Count(*) From Trouble_Event;"
                                       "Select Count(*) From Power_Event;"
                                       "Select Count(*) From SnapShot;"
                                       "Select Count(*) From cHistory;"));
        QDirIterator files(path(QStringLiteral("Data")), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QFileInfo file(files.next());
            text += QStringLiteral("\n%1 %2").arg(file.filePath()).arg(file.size());
        }
        return text;
    }
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
