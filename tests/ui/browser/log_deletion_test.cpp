#include "core/database.h"
#include "core/errors.h"
#include "deletion_fixture.h"
#include "ui/browser/log_deletion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tq {
namespace {

using test::HeadRow;

// Renames or removals of chosen files fail, as a file held open or read-only would.
class FailingFiles : public DeletionFiles {
public:
    bool rename(const QString &from, const QString &to) override {
        ++renames;
        return renames != failRenameAt && renames != failAlsoAt && DeletionFiles::rename(from, to);
    }
    bool remove(const QString &path) override {
        return !failRemove.contains(QFileInfo(path).fileName()) && DeletionFiles::remove(path);
    }
    int failRenameAt = 0; // the rename that fails, counted from 1
    int failAlsoAt = 0;   // a second one
    QStringList failRemove;
    int renames = 0;
};

class LogDeletionTest : public test::DeletionTest {
protected:
    // The tree as the Data page shows it with "Serial No." and "User ID" checked.
    LogTree tree() {
        return LogTree::Build(db(), {true, false, true, false}, QStringLiteral("root"));
    }
    DeletionOutcome remove(const QString &key, DeletionFiles &files = DefaultDeletionFiles()) {
        return DeleteStoredLogs(databasePath(), dataFolder(), tree(), key, files);
    }
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

TEST_F(LogDeletionTest, AFileThatCannotBeMovedAsideDeletesNothing) {
    // The fourth of the six trend files of the serial number, the one of the alarm trend,
    // and the Data folder itself.
    for (const auto &[key, failing] :
         std::vector<std::pair<QString, int>>{{"A1234 S", 4}, {"3 K", 1}, {"0 #", 1}}) {
        SCOPED_TRACE(key.toStdString());
        const QString before = snapshot();
        FailingFiles files;
        files.failRenameAt = failing;
        EXPECT_THROW(remove(key, files), TqError);
        EXPECT_EQ(files.renames, 2 * failing - 1) << "what was moved is moved back";
        EXPECT_EQ(snapshot(), before);
    }
}

// A file moved aside that cannot be put back after a failure is named in the failure, and
// the database keeps every row.
TEST_F(LogDeletionTest, AFileThatCannotBePutBackIsNamed) {
    FailingFiles files;
    files.failRenameAt = 4; // the fourth trend file cannot be moved aside
    files.failAlsoAt = 5;   // and the third, put back first, stays aside
    try {
        remove(QStringLiteral("A1234 S"), files);
        ADD_FAILURE() << "the deletion did not fail";
    } catch (const TqError &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("left under")));
        EXPECT_TRUE(error.message().contains(QStringLiteral(".deleting")));
    }
    EXPECT_EQ(files.renames, 7);
    EXPECT_EQ(tableRows(), expectedRows({}));
}

TEST_F(LogDeletionTest, ADatabaseHeldByAnotherWriterDeletesNothing) {
    Database other(databasePath());
    Transaction holding(other);
    other.execute(QStringLiteral("Update Log_head Set Names = Names Where SeqNo = 10"));
    for (const QString key : {"A1234 S", "0 #"}) {
        SCOPED_TRACE(key.toStdString());
        const QString before = snapshot();
        EXPECT_THROW(remove(key), TqError);
        EXPECT_EQ(snapshot(), before);
        EXPECT_TRUE(QFileInfo(dataFolder()).isDir());
    }
}

TEST_F(LogDeletionTest, FilesThatCannotBeRemovedAfterTheCommitAreReported) {
    FailingFiles files;
    files.failRemove << QStringLiteral("X.Dat.deleting");
    const DeletionOutcome outcome = remove(QStringLiteral("A1234U-105/09 I"), files);
    ASSERT_EQ(outcome.leftFiles.size(), 1);
    EXPECT_TRUE(outcome.leftFiles[0].endsWith(QStringLiteral("X.Dat.deleting")));
    EXPECT_EQ(tableRows(), expectedRows({1, 2}));
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
