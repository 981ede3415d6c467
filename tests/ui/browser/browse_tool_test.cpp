#include "core/messages.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

namespace tq {
namespace {

struct ToolRun {
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

// tq6200-browse and tq6200-import run out of process in a program folder of their own.
class BrowseToolTest : public test::TempFolderTest {
protected:
    ToolRun run(const char *tool, const QStringList &arguments) {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(tool)),
                      arguments);
        ToolRun result;
        if (!process.waitForFinished(60000))
            return result;
        result.exitCode = process.exitCode();
        result.lines = QString::fromUtf8(process.readAllStandardOutput())
                           .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        result.errors = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
};

TEST_F(BrowseToolTest, QuotesAndSlashesOfImportedIdentifiersBrowse) {
    ASSERT_TRUE(QFile::copy(test::BuildImage(QStringLiteral("ids_quote_slash")),
                            path(QStringLiteral("TQ6200.DAT"))));
    ASSERT_EQ(run("tq6200-import", {}).exitCode, 0);
    test::writeFile(path(QStringLiteral("TQ6200.ini")), "Data Select\tTRUE\tTRUE\tFALSE\r\n");

    const ToolRun tree = run("tq6200-browse", {QStringLiteral("tree")});
    EXPECT_EQ(tree.exitCode, 0) << tree.errors.toStdString();
    EXPECT_TRUE(tree.lines.contains(
        QStringLiteral("3\tSN'01/ATank 'A'/205/24 M\t05/24\tFolderID='05/24' And "
                       "StationID='Tank ''A''/2' And SerialNo='SN''01/A'")))
        << tree.lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(tree.lines.last(), QStringLiteral("buttons\t1\t1"));

    const ToolRun click =
        run("tq6200-browse", {QStringLiteral("click"), QStringLiteral("SN'01/ATank 'A'/205/24 A")});
    EXPECT_EQ(click.exitCode, 0) << click.errors.toStdString();
    ASSERT_GE(click.lines.size(), 3);
    EXPECT_EQ(click.lines[0], QStringLiteral("list\tName\tSerialNo\tStationID\tUserID\tDate/Time"));
    EXPECT_TRUE(click.lines[1].startsWith(QStringLiteral("row\t3 K\t")));
    EXPECT_TRUE(click.lines[1].contains(QStringLiteral("\tSN'01/A\tTank 'A'/2\tO'Brien\t")));
    EXPECT_TRUE(click.lines.contains(QStringLiteral("selection\t2\t3")));

    const ToolRun missing = run("tq6200-browse", {QStringLiteral("click"), QStringLiteral("x M")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(run("tq6200-browse", {QStringLiteral("nonsense")}).exitCode, 2);
}

TEST_F(BrowseToolTest, ViewShowsALogAndFindAlarmSearchesNearAnEvent) {
    ASSERT_TRUE(QFile::copy(test::BuildImage(QStringLiteral("data_view")),
                            path(QStringLiteral("TQ6200.DAT"))));
    ASSERT_EQ(run("tq6200-import", {}).exitCode, 0);

    // The interval trend of X1 is log 1; the alarm trends of X1 and Y2, both at 12:00:00,
    // are logs 4 and 5.
    const ToolRun view = run("tq6200-browse", {QStringLiteral("view"), QStringLiteral("1 G")});
    EXPECT_EQ(view.exitCode, 0) << view.errors.toStdString();
    ASSERT_FALSE(view.lines.isEmpty());
    EXPECT_EQ(view.lines[0], QStringLiteral("caption\t") + LoadMessage(5151) + QLatin1Char('(') +
                                 LoadMessage(5624) + QLatin1Char(')'));
    EXPECT_TRUE(view.lines.contains(QStringLiteral("selection\t1\t1")));
    // The summary, then the table with the events in their colours.
    EXPECT_TRUE(view.lines[1].startsWith(QStringLiteral("summary\t")));
    const auto rowEnding = [&](const QStringList &lines, const QString &end) {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const QString &l) { return l.endsWith(end); });
    };
    EXPECT_TRUE(rowEnding(view.lines, QStringLiteral("\tWARNING{#ff8000}")));
    EXPECT_TRUE(rowEnding(view.lines, QStringLiteral("\tALARM{#ff0000}")));

    const ToolRun marks = run(
        "tq6200-browse", {QStringLiteral("view"), QStringLiteral("1 G"), QStringLiteral("graph")});
    EXPECT_EQ(marks.exitCode, 0) << marks.errors.toStdString();
    EXPECT_TRUE(marks.lines.contains(QStringLiteral("mark\t0\t2024-05-06 12:00:05\tALARM")));
    EXPECT_TRUE(marks.lines.contains(QStringLiteral("zoom\t1")));
    EXPECT_TRUE(marks.lines.contains(QStringLiteral("point\t0\t2024-05-06 11:51:00\t1")));

    const ToolRun graph = run("tq6200-browse", {QStringLiteral("view"), QStringLiteral("4 K"),
                                                QStringLiteral("graph"), QStringLiteral("shot"),
                                                QStringLiteral("alarm.png")});
    EXPECT_EQ(graph.exitCode, 0) << graph.errors.toStdString();
    EXPECT_TRUE(graph.lines.contains(QStringLiteral("selection\t2\t4")));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("alarm.png"))));

    const auto find = [&](const char *serial, const char *time) {
        const ToolRun found =
            run("tq6200-browse", {QStringLiteral("find-alarm"), QStringLiteral("1"),
                                  QString::fromLatin1(serial), QString::fromLatin1(time)});
        EXPECT_EQ(found.exitCode, 0) << found.errors.toStdString();
        return found.lines.value(0);
    };
    EXPECT_EQ(find("X1", "2024-05-06 11:59:50"), QStringLiteral("4"));
    EXPECT_EQ(find("Y2", "2024-05-06 12:00:05"), QStringLiteral("5"));
    EXPECT_EQ(find("X1", "2024-05-06 12:12:00"), QStringLiteral("-1"));
    EXPECT_EQ(run("tq6200-browse", {QStringLiteral("find-alarm"), QStringLiteral("1"),
                                    QStringLiteral("X1"), QStringLiteral("soon")})
                  .exitCode,
              1);
}

} // namespace
} // namespace tq

namespace tq {
namespace {

// The files under a folder, recursively.
int filesUnder(const QString &folder) {
    int count = 0;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();
         it.next())
        ++count;
    return count;
}

TEST_F(BrowseToolTest, DeleteAsksThePasswordThenDeletes) {
    ASSERT_TRUE(
        QFile::copy(test::BuildImage(test::CombinedFixtures({"interval_basic", "alarm_basic"})),
                    path(QStringLiteral("TQ6200.DAT"))));
    ASSERT_EQ(run("tq6200-import", {}).exitCode, 0);
    const QString database = path(QStringLiteral("TQ6200.mdb"));
    const QString data = path(QStringLiteral("Data"));
    // The program's default password of the language.
    const QString password =
        test::japaneseLocale() ? QStringLiteral("Pelut") : QStringLiteral("vog");

    QString trendFolder;
    for (const QString &line : run("tq6200-browse", {QStringLiteral("tree")}).lines)
        if (trendFolder.isEmpty() &&
            line.section(QLatin1Char('\t'), 1, 1).endsWith(QLatin1String(" I")))
            trendFolder = line.section(QLatin1Char('\t'), 1, 1);
    ASSERT_FALSE(trendFolder.isEmpty());
    QString log;
    for (const QString &line : run("tq6200-browse", {QStringLiteral("click"), trendFolder}).lines)
        if (log.isEmpty() && line.startsWith(QLatin1String("row\t")))
            log = line.section(QLatin1Char('\t'), 1, 1);
    ASSERT_TRUE(log.endsWith(QLatin1String(" G")));
    const QString seqNo = log.section(QLatin1Char(' '), 0, 0);
    const int trendFiles = filesUnder(data);
    ASSERT_GE(trendFiles, 2);

    const QString before = test::Sqlite(database, QStringLiteral(".dump"));
    const ToolRun refused = run("tq6200-browse", {QStringLiteral("delete"), log, password + ' '});
    EXPECT_EQ(refused.exitCode, 3) << refused.errors.toStdString();
    EXPECT_TRUE(("\n" + refused.errors).contains(QStringLiteral("\n7101\t")));
    EXPECT_EQ(test::Sqlite(database, QStringLiteral(".dump")), before);

    const ToolRun one = run("tq6200-browse", {QStringLiteral("delete"), log, password.toUpper()});
    EXPECT_EQ(one.exitCode, 0) << one.errors.toStdString();
    EXPECT_TRUE(("\n" + one.errors).contains(QStringLiteral("\n5327\t")));
    EXPECT_FALSE(one.lines.join('\n').contains(QStringLiteral("row\t") + log + '\t'));
    EXPECT_EQ(test::Sqlite(database,
                           QStringLiteral("Select Count(*) From Log_head Where SeqNo = ") + seqNo),
              QStringLiteral("0"));
    EXPECT_EQ(filesUnder(data), trendFiles - 1);

    const ToolRun all =
        run("tq6200-browse", {QStringLiteral("delete"), QStringLiteral("0 #"), password});
    EXPECT_EQ(all.exitCode, 0) << all.errors.toStdString();
    EXPECT_EQ(test::Sqlite(database, QStringLiteral("Select Count(*) From Log_head")),
              QStringLiteral("0"));
    EXPECT_EQ(filesUnder(data), 0);
    EXPECT_TRUE(QFileInfo(data).isDir());

    EXPECT_EQ(
        run("tq6200-browse", {QStringLiteral("delete"), QStringLiteral("x M"), password}).exitCode,
        1);
    EXPECT_EQ(run("tq6200-browse", {QStringLiteral("delete"), QStringLiteral("0 #")}).exitCode, 2);
}

} // namespace
} // namespace tq
