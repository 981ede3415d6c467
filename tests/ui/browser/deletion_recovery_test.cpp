#include "core/log_schema.h"
#include "deletion_fixture.h"
#include "ui/browser/deletion_journal.h"
#include "ui/browser/deletion_recovery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tq {
namespace {

// What an interrupted deletion leaves, as the next opening of the program folder finds it.
class DeletionRecoveryTest : public test::DeletionTest {
protected:
    QString journal() const { return path(QStringLiteral("TQ6200.DEL")); }
    QString data(const QString &file) const { return dataFolder() + QLatin1Char('/') + file; }
    void writeJournal(bool wholeFolder, const QStringList &files = {}) {
        WriteDeletionJournal(journal(), {wholeFolder, files});
    }
    // The rows of logs as a deletion that committed leaves them: gone.
    void deleteRows(const std::set<qint64> &logs) {
        for (const qint64 seqNo : logs)
            for (const QString &table : LogTableNames())
                if (table != QLatin1String("cLatestHist"))
                    db().execute(QStringLiteral("Delete From %1 Where %2 = ?")
                                     .arg(table, table == QLatin1String("Log_head")
                                                     ? QStringLiteral("SeqNo")
                                                     : QStringLiteral("RelNo")),
                                 {seqNo});
    }
    QStringList recover() { return RecoverDeletions(databasePath(), dataFolder()); }
    // After an opening: the logs `gone` have neither rows nor files, every other log is
    // whole, and nothing is left set aside.
    void expectSettled(const std::set<qint64> &gone) {
        EXPECT_EQ(tableRows(), expectedRows(gone));
        EXPECT_EQ(files(), expectedFiles(gone));
        EXPECT_FALSE(QFileInfo::exists(journal()));
        EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("Data.deleting"))));
    }
};

struct JournalCase {
    const char *name;
    std::set<qint64> committed; // logs whose rows the deletion removed before it stopped
    QStringList journaled;      // the journal's files
    QStringList removedAlready; // files removed before it stopped
};

class JournalRuleTest : public DeletionRecoveryTest,
                        public ::testing::WithParamInterface<JournalCase> {};

TEST_P(JournalRuleTest, FilesOfLogsStillStoredStayTheOthersGo) {
    const JournalCase &c = GetParam();
    deleteRows(c.committed);
    for (const QString &file : c.removedAlready)
        ASSERT_TRUE(QFile::remove(data(file)));
    writeJournal(false, c.journaled);
    EXPECT_TRUE(recover().isEmpty());
    expectSettled(c.committed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JournalRuleTest,
    ::testing::Values(
        JournalCase{"Committed", {1, 2, 4}, {"09/05/X.Dat", "09/05/X_2.Dat", "09/05/BH.Dat"}, {}},
        JournalCase{"NotCommitted", {}, {"09/05/X.Dat", "09/05/X_2.Dat", "09/05/BH.Dat"}, {}},
        JournalCase{"HalfRemoved", {1, 2}, {"09/05/X.Dat", "09/05/X_2.Dat"}, {"09/05/X.Dat"}},
        // The name of the stored log holds a "*", its file a "_".
        JournalCase{"AStarsFileOfAStoredLog", {}, {"09/05/A_B.Dat"}, {}},
        JournalCase{"TwoFoldersOneCommitted", {14}, {"09/06/Q1.Dat", "09/05/HID.Dat"}, {}}),
    [](const auto &info) { return std::string(info.param.name); });

// A log stored after a deletion whose files could not all be removed may have taken the
// name of a deleted log's file: the path decides, not the SeqNo, and letter case counts.
TEST_F(DeletionRecoveryTest, AFileALaterLogTookStays) {
    deleteRows({1, 2});
    writeJournal(false, {QStringLiteral("09/05/X.Dat"), QStringLiteral("09/05/X_2.Dat")});
    add({.names = "X", .seqNo = 20});
    add({.names = "x_2", .seqNo = 21});
    EXPECT_TRUE(recover().isEmpty());
    expectSettled({1, 2});
}

// The journal of a deletion of every log: nothing a stored log needs goes, everything else
// does, and the data folder stays.
TEST_F(DeletionRecoveryTest, AWholeFolderJournalKeepsOnlyStoredLogsFiles) {
    writeJournal(true);
    EXPECT_TRUE(recover().isEmpty());
    QStringList kept = expectedFiles({});
    kept.removeAll(QStringLiteral("09/05/notes.txt")); // a file of no log
    EXPECT_EQ(files(), kept);
    EXPECT_EQ(tableRows(), expectedRows({}));

    deleteRows(all());
    writeJournal(true);
    EXPECT_TRUE(recover().isEmpty());
    expectSettled(all());
    EXPECT_TRUE(
        QDir(dataFolder())
            .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
}

// Earlier versions moved each trend file aside while they deleted its log's rows.
TEST_F(DeletionRecoveryTest, FilesSetAsideByEarlierVersionsGoBackOrGo) {
    deleteRows({2});
    ASSERT_TRUE(QFile::rename(data(QStringLiteral("09/05/X.Dat")),
                              data(QStringLiteral("09/05/X.Dat.deleting"))));
    ASSERT_TRUE(QFile::rename(data(QStringLiteral("09/05/X_2.Dat")),
                              data(QStringLiteral("09/05/X_2.Dat.deleting2"))));
    // One whose name a stored log's file has again.
    ASSERT_TRUE(QFile::copy(data(QStringLiteral("09/05/BH.Dat")),
                            data(QStringLiteral("09/05/BH.Dat.deleting"))));
    test::writeFile(data(QStringLiteral("09/06/other.deleting")), "of no log");
    EXPECT_TRUE(recover().isEmpty());
    expectSettled({2});
}

// Earlier versions moved the whole data folder aside to delete every log. An empty data
// folder takes it back (whatever no stored log needs then goes); a data folder that later
// logs filled takes back the files of stored logs.
TEST_F(DeletionRecoveryTest, ADataFolderSetAsideByAnEarlierVersionGoesBackOrGoes) {
    const QString aside = path(QStringLiteral("Data.deleting"));
    const auto setAside = [&] {
        ASSERT_TRUE(QDir().rename(dataFolder(), aside));
        QDir().mkdir(dataFolder());
    };
    setAside(); // the rows were not deleted
    EXPECT_TRUE(recover().isEmpty());
    QStringList kept = expectedFiles({});
    kept.removeAll(QStringLiteral("09/05/notes.txt"));
    EXPECT_EQ(files(), kept);
    EXPECT_FALSE(QFileInfo::exists(aside));

    setAside();
    deleteRows({10}); // and a later log was stored
    add({.folder = "07/09", .names = "LATER", .seqNo = 30});
    EXPECT_TRUE(recover().isEmpty());
    kept.removeAll(QStringLiteral("09/05/Y.Dat"));
    kept << QStringLiteral("09/07/LATER.Dat");
    kept.sort();
    EXPECT_EQ(files(), kept);
    EXPECT_FALSE(QFileInfo::exists(aside));

    setAside();
    deleteRows(all()); // all rows were deleted
    EXPECT_TRUE(recover().isEmpty());
    EXPECT_TRUE(files().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(aside));
    EXPECT_TRUE(QFileInfo(dataFolder()).isDir());
}

// A Data that was a link was set aside as the link: it goes back as the link.
TEST_F(DeletionRecoveryTest, ALinkedDataFolderSetAsideGoesBackAsTheLink) {
    const QString target = path(QStringLiteral("logs"));
    ASSERT_TRUE(QDir().rename(dataFolder(), target));
    ASSERT_TRUE(QFile::link(target, path(QStringLiteral("Data.deleting"))));
    QDir().mkdir(dataFolder());
    EXPECT_TRUE(recover().isEmpty());
    EXPECT_EQ(QFileInfo(dataFolder()).symLinkTarget(), target);
    QStringList kept = expectedFiles({});
    kept.removeAll(QStringLiteral("09/05/notes.txt"));
    EXPECT_EQ(files(), kept);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("Data.deleting"))));
}

// A journal names files relative to the data folder; none outside it is ever removed, and
// a file that cannot be removed stays named for the next opening.
TEST_F(DeletionRecoveryTest, OnlyFilesInsideTheDataFolderGo) {
    deleteRows({1});
    test::writeFile(path(QStringLiteral("outside.Dat")), "outside");
    QDir().mkpath(path(QStringLiteral("elsewhere")));
    test::writeFile(path(QStringLiteral("elsewhere/L.Dat")), "outside");
    ASSERT_TRUE(QFile::link(path(QStringLiteral("elsewhere")), data(QStringLiteral("09/07"))));
    const QString stuck = data(QStringLiteral("09/05/X.Dat"));
    QFile::remove(stuck);
    QDir().mkpath(stuck); // a folder holding a file cannot be removed as a file
    test::writeFile(stuck + QStringLiteral("/in the way"), "x");
    writeJournal(false, {QStringLiteral("../outside.Dat"), QStringLiteral("09/07/L.Dat"),
                         QStringLiteral("09/05/X.Dat")});

    QStringList left = recover();
    left.sort();
    EXPECT_EQ(left, QStringList({stuck, data(QStringLiteral("09/07/L.Dat")),
                                 path(QStringLiteral("outside.Dat"))}));
    EXPECT_EQ(test::readFile(path(QStringLiteral("outside.Dat"))), "outside");
    EXPECT_EQ(test::readFile(path(QStringLiteral("elsewhere/L.Dat"))), "outside");
    EXPECT_EQ(ReadDeletionJournal(journal()).files, QStringList{QStringLiteral("09/05/X.Dat")});

    QDir(stuck).removeRecursively();
    EXPECT_TRUE(recover().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(journal()));
}

// A file in the journal's place that is no journal names nothing, and goes.
TEST_F(DeletionRecoveryTest, AFileThatIsNoJournalNamesNothing) {
    deleteRows({1});
    test::writeFile(journal(), "file 09/05/X.Dat\n");
    EXPECT_TRUE(recover().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(journal()));
    EXPECT_TRUE(QFileInfo::exists(data(QStringLiteral("09/05/X.Dat"))));
}

} // namespace
} // namespace tq
