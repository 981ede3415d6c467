// Deletions through tq6200-browse killed with SIGKILL at moments spread across their run, then
// the program folder opened again (tq6200-browse tree, whose start-up takes the database
// lock); deleting every log through a linked Data folder; a database that another program
// holds while a deletion waits.

#include "core/database.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "logs/trend/trend_file.h"
#include "report_tool_fixture.h"
#include "stored_logs_at_size.h"
#include "ui/browser/deletion_recovery.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace tq {
namespace {

// 1,500 trend logs in six month folders, 1,200 of them of SN1, with their samples, events and
// trend files, and 300 alarm-event logs of SN1.
constexpr test::StoredLogsAtSize kSize{.trendLogs = 1500,
                                       .folders = 6,
                                       .firstSerialLogs = 1200,
                                       .intervalSamples = 20,
                                       .alarmSamples = 40,
                                       .eventLogs = 300};

// Each row of a table: its key column and the text of all its columns.
std::vector<std::pair<qint64, QString>> rowsOf(Database &db, const QString &table,
                                               const QString &key) {
    QStringList columns;
    for (const DbRow &column : db.query(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
        columns << QStringLiteral("quote(%1)").arg(column.text(QStringLiteral("name")));
    std::vector<std::pair<qint64, QString>> rows;
    for (const DbRow &row :
         db.query(QStringLiteral("Select %1 As k, %2 As v From %3 Order By SeqNo")
                      .arg(key, columns.join(QStringLiteral(" || '|' || ")), table)))
        rows.emplace_back(row.integer(QStringLiteral("k")),
                          table + QLatin1Char(' ') + row.text(QStringLiteral("v")));
    return rows;
}

// What a program folder holds: every stored log as text (its head row, its detail rows, its
// trend file's bytes), the detail rows of no stored log, the files under Data and the trend
// files of the stored logs (relative to Data).
struct Contents {
    std::map<qint64, QString> logs;
    QStringList orphans;
    QStringList files;
    QStringList trendFiles;
};

Contents contentsOf(const QString &folder) {
    Contents contents;
    const QString data = folder + QStringLiteral("/Data");
    Database db(folder + QStringLiteral("/TQ6200.mdb"));
    for (const auto &[seqNo, text] : rowsOf(db, QStringLiteral("Log_head"), "SeqNo"))
        contents.logs[seqNo] = text + QLatin1Char('\n');
    for (const DbRow &row :
         db.query(QStringLiteral("Select SeqNo, FolderID, Names From Log_head Where Types In (%1)")
                      .arg(TrendLogTypesSql()))) {
        const QString file = TrendFilePath(data, row.text(QStringLiteral("FolderID")),
                                           row.text(QStringLiteral("Names")));
        contents.trendFiles << QDir(data).relativeFilePath(file);
        contents.logs[row.integer(QStringLiteral("SeqNo"))] +=
            QStringLiteral("trend file ") + (QFileInfo::exists(file)
                                                 ? QString::fromLatin1(test::readFile(file))
                                                 : QStringLiteral("missing"));
    }
    for (const QString &table : LogTableNames()) {
        if (table == QLatin1String("Log_head") || table == QLatin1String("cLatestHist"))
            continue;
        for (const auto &[relNo, text] : rowsOf(db, table, QStringLiteral("RelNo"))) {
            const auto log = contents.logs.find(relNo);
            if (log == contents.logs.end())
                contents.orphans << text;
            else
                log->second += text + QLatin1Char('\n');
        }
    }
    for (QDirIterator it(data, QDir::Files | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        contents.files << QDir(data).relativeFilePath(it.next());
    return contents;
}

// What a deletion may have set aside anywhere in the folder: its journal, "*.deleting".
QStringList setAside(const QString &folder) {
    QStringList found;
    for (QDirIterator it(folder,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        it.next();
        if (it.fileName().contains(QLatin1String(".deleting")) ||
            it.fileName() == QLatin1String("TQ6200.DEL"))
            found << it.filePath();
    }
    return found;
}

class DeletionProcessTest : public test::ReportToolFixture {
protected:
    void SetUp() override { makeFolder(); }

    // The program folder afresh: the stored logs, the tree grouped by serial number alone.
    void makeFolder() {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        test::MakeStoredLogs(dir.path(), kSize);
        test::writeFile(path(QStringLiteral("TQ6200.ini")), "Data Select\tTRUE\tFALSE\tFALSE\r\n");
    }
    // tq6200-browse deleting key with the program's English password, running.
    std::unique_ptr<QProcess> startDeleting(const QString &key) {
        auto process = std::make_unique<QProcess>();
        process->setWorkingDirectory(dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
        environment.remove(QStringLiteral("LANGUAGE"));
        process->setProcessEnvironment(environment);
        process->start(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tq6200-browse")),
            {QStringLiteral("delete"), key, QStringLiteral("vog")});
        EXPECT_TRUE(process->waitForStarted(10000));
        return process;
    }
    // The SeqNos of the logs of serial number serial; every log for an empty one.
    std::set<qint64> logsOf(const QString &serial) {
        std::set<qint64> logs;
        Database db(path(QStringLiteral("TQ6200.mdb")));
        for (const DbRow &row :
             db.query(QStringLiteral("Select SeqNo From Log_head Where SerialNo = ? Or ? = ''"),
                      {serial, serial}))
            logs.insert(row.integer(QStringLiteral("SeqNo")));
        return logs;
    }
    // Once the folder was opened again: the database is sound, the logs the deletion named
    // are all whole or all gone (one transaction), every other log is whole, no detail row
    // or trend file is left of a log that is gone, and nothing is set aside.
    void expectWholeOrGone(const Contents &before, const std::set<qint64> &named) {
        EXPECT_EQ(test::Sqlite(path(QStringLiteral("TQ6200.mdb")),
                               QStringLiteral("PRAGMA integrity_check")),
                  QStringLiteral("ok"));
        const Contents after = contentsOf(dir.path());
        std::size_t namedLeft = 0;
        QStringList lost;    // gone, though the deletion did not name them
        QStringList changed; // whose rows or trend file are not as they were
        for (const auto &[seqNo, text] : before.logs) {
            const auto kept = after.logs.find(seqNo);
            if (kept == after.logs.end()) {
                if (!named.count(seqNo))
                    lost << QString::number(seqNo);
                continue;
            }
            if (kept->second != text)
                changed << QString::number(seqNo);
            namedLeft += named.count(seqNo);
        }
        EXPECT_TRUE(lost.isEmpty()) << lost.join(' ').toStdString();
        EXPECT_TRUE(changed.isEmpty())
            << changed.size() << " logs changed: " << changed.mid(0, 10).join(' ').toStdString();
        EXPECT_TRUE(namedLeft == 0 || namedLeft == named.size())
            << namedLeft << " of " << named.size() << " left";
        EXPECT_EQ(after.logs.size(), before.logs.size() - named.size() + namedLeft);
        EXPECT_TRUE(after.orphans.isEmpty()) << after.orphans.first().toStdString();
        // A stored log's missing trend file shows as a change above.
        QStringList extra = after.files;
        for (const QString &file : after.trendFiles)
            extra.removeOne(file);
        EXPECT_TRUE(extra.isEmpty())
            << extra.size() << " files of no stored log: " << extra.first().toStdString();
        const QStringList aside = setAside(dir.path());
        EXPECT_TRUE(aside.isEmpty()) << aside.join(' ').toStdString();
        EXPECT_TRUE(QFileInfo(path(QStringLiteral("Data"))).isDir());
    }
};

// Deletions killed at moments spread across an unkilled run's deletion (from the moment its
// journal appears to the moment it goes, and beyond), and one before it began; after each,
// the folder opened again holds every log whole or gone.
TEST_F(DeletionProcessTest, AKilledDeletionLeavesEveryLogWholeOrGone) {
    const QString journal = path(QStringLiteral("TQ6200.DEL"));
    for (const QString key : {"SN1 S", "0 #"}) {
        SCOPED_TRACE(key.toStdString());
        makeFolder();
        const std::set<qint64> named = logsOf(key == QLatin1String("0 #") ? QString() : "SN1");
        // The unkilled run: when its deletion begins and how long it keeps its journal.
        QElapsedTimer clock;
        clock.start();
        const auto unkilled = startDeleting(key);
        qint64 begun = -1;
        qint64 ended = -1;
        while (!unkilled->waitForFinished(1)) {
            const bool journaled = QFileInfo::exists(journal);
            if (begun < 0 && journaled)
                begun = clock.elapsed();
            if (begun >= 0 && ended < 0 && !journaled)
                ended = clock.elapsed();
        }
        ASSERT_EQ(unkilled->exitCode(), 0) << unkilled->readAllStandardError().toStdString();
        ASSERT_GE(begun, 0) << "the deletion wrote no journal";
        const qint64 length = (ended < 0 ? clock.elapsed() : ended) - begun;
        const std::set<qint64> left = logsOf({});
        EXPECT_TRUE(std::none_of(named.begin(), named.end(),
                                 [&](qint64 seqNo) { return left.count(seqNo) > 0; }));

        int interrupted = 0; // kills that left a journal behind
        // Negative: a fraction of the time before the deletion began.
        for (const double fraction : {-0.5, 0.0, 0.15, 0.3, 0.45, 0.6, 0.8, 1.0, 1.5}) {
            SCOPED_TRACE(fraction);
            makeFolder();
            const Contents before = contentsOf(dir.path());
            const auto process = startDeleting(key);
            clock.restart();
            if (fraction < 0) {
                process->waitForFinished(int(-fraction * double(begun)));
            } else {
                while (!QFileInfo::exists(journal) && !process->waitForFinished(1)) {
                }
                process->waitForFinished(int(fraction * double(length)));
            }
            process->kill();
            process->waitForFinished(10000);
            interrupted += QFileInfo::exists(journal);
            const test::ToolRun opened = run("tq6200-browse", {QStringLiteral("tree")});
            EXPECT_EQ(opened.exitCode, 0) << opened.errors.toStdString();
            expectWholeOrGone(before, named);
        }
        EXPECT_GT(interrupted, 0) << "no kill came while the deletion ran";
    }
}

// Deleting every log when Data is a link: the link stays, the folder it stands for is
// emptied, and a file beside that folder stays.
TEST_F(DeletionProcessTest, EveryLogThroughALinkedDataFolder) {
    const QString target = path(QStringLiteral("elsewhere/Data"));
    QDir().mkpath(path(QStringLiteral("elsewhere")));
    ASSERT_TRUE(QDir().rename(path(QStringLiteral("Data")), target));
    ASSERT_TRUE(QFile::link(target, path(QStringLiteral("Data"))));
    test::writeFile(path(QStringLiteral("elsewhere/keep.Dat")), "keep");

    const test::ToolRun deleted = run(
        "tq6200-browse", {QStringLiteral("delete"), QStringLiteral("0 #"), QStringLiteral("vog")});
    EXPECT_EQ(deleted.exitCode, 0) << deleted.errors.toStdString();
    EXPECT_TRUE(contentsOf(dir.path()).logs.empty());
    EXPECT_EQ(QFileInfo(path(QStringLiteral("Data"))).symLinkTarget(), target);
    EXPECT_TRUE(QDir(target).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                                     QDir::NoDotAndDotDot));
    EXPECT_EQ(test::readFile(path(QStringLiteral("elsewhere/keep.Dat"))), "keep");
    EXPECT_TRUE(setAside(dir.path()).isEmpty());
}

// Another program holds the database's write lock while a deletion of SN1 is asked for: held
// for about a second after the question was answered, the deletion waits and deletes; held
// past the busy timeout, it deletes nothing and says the database is in use, in words.
TEST_F(DeletionProcessTest, ADeletionWaitsForABusyDatabaseThenSaysItIsInUse) {
    const auto deleteWhileHeld = [&](bool releaseSoon) {
        Database other(path(QStringLiteral("TQ6200.mdb")));
        auto holding = std::make_unique<Transaction>(other, Transaction::Lock::Immediate);
        const auto process = startDeleting(QStringLiteral("SN1 S"));
        // The folder's question comes right before the deletion.
        process->setReadChannel(QProcess::StandardError);
        QByteArray errors;
        while (!errors.startsWith("5339\t") && !errors.contains("\n5339\t") &&
               process->waitForReadyRead(30000))
            errors += process->readAllStandardError();
        if (releaseSoon) {
            QThread::msleep(1000);
            holding.reset();
        }
        process->waitForFinished(30000);
        holding.reset();
        return std::make_pair(process->exitCode(),
                              QString::fromUtf8(errors + process->readAllStandardError()));
    };

    const Contents before = contentsOf(dir.path());
    const std::set<qint64> sn1 = logsOf(QStringLiteral("SN1"));
    const auto [failed, told] = deleteWhileHeld(false);
    EXPECT_EQ(failed, 1);
    QString box = LoadMessage(30011, {LoadMessage(30013)});
    box.replace(QStringLiteral("\r\n"), QStringLiteral("~c"));
    EXPECT_TRUE(told.contains(QStringLiteral("\n30011\t") + box + QLatin1Char('\n')))
        << told.toStdString();
    EXPECT_FALSE(told.contains(QStringLiteral("Delete From"), Qt::CaseInsensitive));
    expectWholeOrGone(before, {});

    const auto [deleted, errors] = deleteWhileHeld(true);
    EXPECT_EQ(deleted, 0) << errors.toStdString();
    EXPECT_TRUE(logsOf(QStringLiteral("SN1")).empty());
    expectWholeOrGone(before, sn1);
}

} // namespace
} // namespace tq
