#include "core/database.h"
#include "core/errors.h"
#include "core/messages.h"
#include "deletion_fixture.h"
#include "ui/browser/deletion_journal.h"
#include "ui/browser/deletion_recovery.h"
#include "ui/browser/log_deletion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>
#include <vector>

namespace tq {
namespace {

using test::HeadRow;

class LogDeletionTest : public test::DeletionTest {
protected:
    // The tree as the Data page shows it with "Serial No." and "User ID" checked.
    LogTree tree() {
        return LogTree::Build(db(), {true, false, true, false}, QStringLiteral("root"));
    }
    DeletionOutcome remove(const QString &key) {
        return DeleteStoredLogs(databasePath(), dataFolder(), tree(), key);
    }
    QString journal() const { return path(QStringLiteral("TQ6200.DEL")); }
    void expectGone(const std::set<qint64> &gone) {
        EXPECT_EQ(tableRows(), expectedRows(gone));
        EXPECT_EQ(files(), expectedFiles(gone));
    }
};

struct ScopeCase {
    const char *name;
    const char *key;
    std::set<qint64> gone; // empty set with `every` for all logs
    bool every = false;
};

class LogDeletionScopeTest : public LogDeletionTest,
                             public ::testing::WithParamInterface<ScopeCase> {};

TEST_P(LogDeletionScopeTest, RemovesExactlyItsLogsRowsAndFiles) {
    const ScopeCase &c = GetParam();
    const DeletionOutcome outcome = remove(QString::fromUtf8(c.key));
    EXPECT_TRUE(outcome.leftFiles.isEmpty()) << outcome.leftFiles.join(' ').toStdString();
    expectGone(c.every ? all() : c.gone);
    EXPECT_TRUE(QFileInfo(dataFolder()).isDir());
}

INSTANTIATE_TEST_SUITE_P(
    Scopes, LogDeletionScopeTest,
    ::testing::Values(
        ScopeCase{"OneIntervalTrendNotTheFileOfX_2", "1 G", {1}},
        ScopeCase{"OneAlarmTrendWhoseNameHoldsAStar", "3 K", {3}},
        ScopeCase{"OneBumpTest", "5 b", {5}}, ScopeCase{"OneAlarmEventLog", "7 V", {7}},
        ScopeCase{"AKeyWhoseLetterIsNotTheLogsType", "1 K", {}},
        ScopeCase{"AKeyWhoseNumberIsNoNumber", "x G", {}},
        ScopeCase{"ABarHoleFolder", "A1234U-105/09 J", {4}},
        ScopeCase{"AMonthFolderHiddenLogsIncluded", "A1234U-105/09 M", {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        ScopeCase{"ASerialNumber", "A1234 S", {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14}},
        ScopeCase{"AUserWithPercentAndUnderscoreNotItsLookAlike", "A123450%_x U", {12}},
        ScopeCase{"AUserWithAQuote", "A1234O'Brien U", {14}},
        ScopeCase{"ALetterThatDeletesNothing", "05/09 Z", {}},
        ScopeCase{"EveryLog", "0 #", {}, true}),
    [](const ::testing::TestParamInfo<ScopeCase> &info) { return std::string(info.param.name); });

TEST_F(LogDeletionTest, ScopesAndTheirQuestions) {
    struct Case {
        QString key;
        std::optional<DeletionScope> scope;
        int question;
        int title;
    };
    for (const Case &c : std::vector<Case>{
             {"0 #", DeletionScope::AllLogs, 5317, 5318},
             {"A1234 S", DeletionScope::Folder, 5339, 5340},
             {"x T", DeletionScope::Folder, 5339, 5340},
             {"x U", DeletionScope::Folder, 5339, 5340},
             {"05/09 M", DeletionScope::Folder, 5339, 5340},
             {"05/09 A", DeletionScope::Folder, 5339, 5340},
             {"05/09 X", DeletionScope::Folder, 5339, 5340},
             {"12 a", DeletionScope::OneLog, 5327, 5328},
             {"12 K", DeletionScope::OneLog, 5327, 5328},
             {"12 c", DeletionScope::OneLog, 5327, 5328},
             {"12 Z", std::nullopt, 0, 0},
             {"", std::nullopt, 0, 0},
         }) {
        SCOPED_TRACE(c.key.toStdString());
        const auto kind = DeletionKindOf(c.key);
        ASSERT_EQ(kind.has_value(), c.scope.has_value());
        if (kind) {
            EXPECT_EQ(kind->scope, *c.scope);
            EXPECT_EQ(kind->question, c.question);
            EXPECT_EQ(kind->title, c.title);
        }
    }
}

// The journal is on disk before any row goes: where it cannot be written (a full disk) or
// an earlier one cannot be read, nothing goes, and the box says which.
TEST_F(LogDeletionTest, AJournalThatCannotBeWrittenOrReadDeletesNothing) {
    const auto reasonOf = [&](int message) {
        return LoadMessage(message, {QDir::toNativeSeparators(journal()), QStringLiteral("~")})
            .section(QLatin1Char('~'), 0, 0);
    };
    const auto expectNothingDeleted = [&](int message) {
        for (const QString key : {"A1234 S", "3 K", "0 #"}) {
            SCOPED_TRACE(key.toStdString());
            const QString before = snapshot();
            try {
                test::FileSizeLimit full(16); // not even the journal's first line
                remove(key);
                ADD_FAILURE() << "the deletion did not fail";
            } catch (const TqError &error) {
                EXPECT_TRUE(DeletionFailureReason(error).startsWith(reasonOf(message)))
                    << error.message().toStdString();
            }
            EXPECT_EQ(snapshot(), before);
        }
    };
    expectNothingDeleted(30020);
    EXPECT_FALSE(QFileInfo::exists(journal()));
    // A folder in its place cannot be read.
    QDir().mkpath(journal());
    expectNothingDeleted(30023);
}

// A statement that fails once the journal is written: the rows roll back and the journal
// is as it was, so no file goes, not even one of no log when every log was to go.
TEST_F(LogDeletionTest, AFailureAfterTheJournalWasWrittenRemovesNoFile) {
    db().execute(QStringLiteral("Drop Table SnapShot"));
    WriteDeletionJournal(journal(), {false, {QStringLiteral("09/05/gone.Dat")}});
    for (const QString key : {"A1234 S", "3 K", "0 #"}) {
        SCOPED_TRACE(key.toStdString());
        const QString before = snapshot();
        try {
            remove(key);
            ADD_FAILURE() << "the deletion did not fail";
        } catch (const TqError &error) {
            EXPECT_EQ(DeletionFailureReason(error), LoadMessage(30019));
        }
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(ReadDeletionJournal(journal()).files,
                  QStringList{QStringLiteral("09/05/gone.Dat")});
        EXPECT_FALSE(ReadDeletionJournal(journal()).wholeFolder);
    }
}

TEST_F(LogDeletionTest, ADatabaseHeldByAnotherWriterDeletesNothingAndSaysSo) {
    Database other(databasePath());
    Transaction holding(other);
    other.execute(QStringLiteral("Update Log_head Set Names = Names Where SeqNo = 10"));
    for (const QString key : {"A1234 S", "0 #"}) {
        SCOPED_TRACE(key.toStdString());
        const QString before = snapshot();
        try {
            remove(key);
            ADD_FAILURE() << "the deletion did not fail";
        } catch (const TqError &error) {
            EXPECT_EQ(DeletionFailureReason(error), LoadMessage(30013));
        }
        EXPECT_EQ(snapshot(), before);
        EXPECT_FALSE(QFileInfo::exists(journal()));
        EXPECT_TRUE(QFileInfo(dataFolder()).isDir());
    }
}

// A file that cannot be removed after the commit is named, and stays in the journal until
// an opening of the program folder can remove it.
TEST_F(LogDeletionTest, FilesThatCannotBeRemovedAfterTheCommitAreReportedAndKeptInTheJournal) {
    const QString stuck = dataFolder() + QStringLiteral("/09/05/X.Dat");
    QFile::remove(stuck);
    QDir().mkpath(stuck);
    test::writeFile(stuck + QStringLiteral("/in the way"), "x");
    const DeletionOutcome outcome = remove(QStringLiteral("A1234U-105/09 I"));
    EXPECT_EQ(outcome.leftFiles, QStringList{stuck});
    EXPECT_EQ(tableRows(), expectedRows({1, 2}));
    EXPECT_EQ(ReadDeletionJournal(journal()).files, QStringList{QStringLiteral("09/05/X.Dat")});

    QDir(stuck).removeRecursively();
    test::writeFile(stuck, "X");
    EXPECT_TRUE(RecoverDeletions(databasePath(), dataFolder()).isEmpty());
    EXPECT_EQ(files(), expectedFiles({1, 2}));
    EXPECT_FALSE(QFileInfo::exists(journal()));
}

// Deleting every log empties the folder a linked Data stands for: the link stays, links in it
// are removed as links, and nothing outside it is touched.
TEST_F(LogDeletionTest, EveryLogEmptiesTheTargetOfALinkedDataFolder) {
    const QString target = path(QStringLiteral("elsewhere/logs"));
    QDir().mkpath(path(QStringLiteral("elsewhere")));
    ASSERT_TRUE(QDir().rename(dataFolder(), target));
    ASSERT_TRUE(QFile::link(target, dataFolder()));
    QDir().mkpath(path(QStringLiteral("outside")));
    test::writeFile(path(QStringLiteral("outside/keep.Dat")), "outside");
    ASSERT_TRUE(QFile::link(path(QStringLiteral("outside")), target + QStringLiteral("/09/07")));
    test::writeFile(path(QStringLiteral("elsewhere/beside.Dat")), "beside");

    const DeletionOutcome outcome = remove(QStringLiteral("0 #"));
    EXPECT_TRUE(outcome.leftFiles.isEmpty()) << outcome.leftFiles.join(' ').toStdString();
    EXPECT_EQ(tableRows(), expectedRows(all()));
    EXPECT_EQ(QFileInfo(dataFolder()).symLinkTarget(), target);
    EXPECT_TRUE(QDir(target).isEmpty(QDir::AllEntries | QDir::System | QDir::Hidden |
                                     QDir::NoDotAndDotDot));
    EXPECT_EQ(test::readFile(path(QStringLiteral("outside/keep.Dat"))), "outside");
    EXPECT_EQ(test::readFile(path(QStringLiteral("elsewhere/beside.Dat"))), "beside");
    EXPECT_FALSE(QFileInfo::exists(journal()));
}

TEST_F(LogDeletionTest, NothingOutsideTheDataFolderIsTouched) {
    // A FolderID and a name that climb out, and a month folder that links out.
    add({.folder = "../..", .names = "../x", .seqNo = 20});
    QDir().mkpath(path(QStringLiteral("outside")));
    test::writeFile(path(QStringLiteral("outside/L.Dat")), "outside");
    test::writeFile(path(QStringLiteral("x.Dat")), "outside");
    test::writeFile(path(QStringLiteral("_x.Dat")), "outside");
    ASSERT_TRUE(
        QFile::link(path(QStringLiteral("outside")), dataFolder() + QStringLiteral("/09/07")));
    add({.folder = "07/09", .names = "M", .seqNo = 21});
    test::writeFile(path(QStringLiteral("outside/M.Dat")), "outside");
    store({.folder = "07/09", .names = "L", .seqNo = 22});

    const DeletionOutcome one = remove(QStringLiteral("22 G"));
    EXPECT_EQ(one.leftFiles, QStringList{dataFolder() + QStringLiteral("/09/07/L.Dat")});
    const DeletionOutcome folder = remove(QStringLiteral("A1234U-107/09 M"));
    EXPECT_EQ(folder.leftFiles, QStringList{dataFolder() + QStringLiteral("/09/07/M.Dat")});
    remove(QStringLiteral("A1234U-1../.. M"));
    EXPECT_EQ(
        db().scalar(QStringLiteral("Select Count(*) From Log_head Where SeqNo >= 20")).toInt(), 0);
    remove(QStringLiteral("0 #"));
    for (const char *file : {"outside/L.Dat", "outside/M.Dat", "x.Dat", "_x.Dat"})
        EXPECT_EQ(test::readFile(path(QString::fromLatin1(file))), "outside") << file;
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(LogDeletionTest, EveryLogRefusesAFolderThatIsNotTheDataFolderBesideTheDatabase) {
    QDir().mkpath(path(QStringLiteral("elsewhere/Data")));
    test::writeFile(path(QStringLiteral("elsewhere/Data/keep.Dat")), "keep");
    for (const QString &folder : {QString(), path(QStringLiteral("elsewhere/Data")), dir.path()}) {
        SCOPED_TRACE(folder.toStdString());
        const QString before = snapshot();
        EXPECT_THROW(DeleteStoredLogs(databasePath(), folder, tree(), QStringLiteral("0 #")),
                     TqError);
        EXPECT_EQ(snapshot(), before);
    }
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("elsewhere/Data/keep.Dat"))));
    // A single log with no data folder loses its rows and touches no file.
    DeleteStoredLogs(databasePath(), QString(), tree(), QStringLiteral("1 G"));
    EXPECT_EQ(tableRows(), expectedRows({1}));
    EXPECT_EQ(files(), expectedFiles({}));
}

// The failure box tells the database's fault in words, never the statement that failed.
TEST_F(LogDeletionTest, AFailureIsToldInWordsWithoutSql) {
    const QString sql = QStringLiteral(": disk I/O error [Delete From Log_head]");
    const std::vector<std::pair<DatabaseFault, int>> faults = {
        {DatabaseFault::Busy, 30013},    {DatabaseFault::ReadOnly, 30014},
        {DatabaseFault::Full, 30015},    {DatabaseFault::InputOutput, 30016},
        {DatabaseFault::Corrupt, 30017}, {DatabaseFault::CannotOpen, 30018},
        {DatabaseFault::Other, 30019},
    };
    for (const auto &[fault, message] : faults) {
        const QString reason = DeletionFailureReason(DatabaseError(fault, sql));
        EXPECT_EQ(reason, LoadMessage(message)) << message;
        EXPECT_FALSE(reason.contains(QStringLiteral("Log_head")));
    }
    // A failure of the database without a fault of the driver (a value it refused).
    EXPECT_EQ(DeletionFailureReason(TqError(ErrorKind::Database, sql)), LoadMessage(30019));
    // Texts of the deletion's own are told as they are.
    EXPECT_EQ(DeletionFailureReason(TqError(ErrorKind::File, QStringLiteral("words"))),
              QStringLiteral("words"));

    // And as the deletion meets them: a database file that is none, and no database.
    test::writeFile(path(QStringLiteral("none.mdb")), QByteArray(4096, 'x'));
    for (const auto &[database, message] : std::vector<std::pair<QString, int>>{
             {QStringLiteral("none.mdb"), 30017}, {QStringLiteral("missing.mdb"), 30018}}) {
        try {
            DeleteStoredLogs(path(database), dataFolder(), tree(), QStringLiteral("1 G"));
            ADD_FAILURE() << "the deletion did not fail";
        } catch (const TqError &error) {
            EXPECT_EQ(DeletionFailureReason(error), LoadMessage(message));
        }
    }
}

TEST_F(LogDeletionTest, AFolderOfMoreThan32767LogsGoesWhole) {
    db().execute(QStringLiteral(
        "With Recursive n(i) As (Select 100 Union All Select i + 1 From n Where i < 40099) "
        "Insert Into Log_head (SeqNo, SerialNo, StationID, UserID, FolderID, Types, Names) "
        "Select i, 'C9', 'S', 'U', '01/10', 5, 'E' || i From n"));
    db().execute(QStringLiteral("Insert Into Alarm_Event (RelNo) Select SeqNo From Log_head "
                                "Where SerialNo = 'C9'"));
    remove(QStringLiteral("C9 S"));
    EXPECT_EQ(
        db().scalar(QStringLiteral("Select Count(*) From Log_head Where SeqNo >= 100")).toInt(), 0);
    EXPECT_EQ(
        db().scalar(QStringLiteral("Select Count(*) From Alarm_Event Where RelNo >= 100")).toInt(),
        0);
    EXPECT_EQ(tableRows(), expectedRows({}));
}

} // namespace
} // namespace tq
