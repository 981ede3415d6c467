#include "download_test_support.h"

#include "core/database.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "ui/browser/deletion_journal.h"
#include "ui/main/database_lock.h"
#include "ui/main/lock_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace tq {
namespace {

using State = DatabaseLock::State;

QByteArray namesOf(const QString &user) {
    return (QSysInfo::machineHostName() + QStringLiteral("\r\n") + user + QStringLiteral("\r\n"))
        .toUtf8();
}

// Another running copy of the program: a child process that takes the lock file under its
// own user name and holds it until told to end, with a release or as a crash ends.
class CopyInChild {
public:
    CopyInChild(const QString &path, const char *user) {
        int toParent[2];
        int toChild[2];
        EXPECT_EQ(::pipe(toParent), 0);
        EXPECT_EQ(::pipe(toChild), 0);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::setenv("USER", user, 1);
            DatabaseLock lock;
            const char state = char(lock.Take(path));
            char command = 0;
            if (::write(toParent[1], &state, 1) != 1 || ::read(toChild[0], &command, 1) != 1)
                ::_exit(1);
            if (command == 'r')
                lock.Release();
            ::_exit(0); // no destructors: a crash leaves the file behind
        }
        ::close(toParent[1]);
        ::close(toChild[0]);
        m_in = toParent[0];
        m_out = toChild[1];
        char state = -1;
        EXPECT_EQ(::read(m_in, &state, 1), 1);
        m_state = State(state);
    }
    ~CopyInChild() { end(false); }

    State state() const { return m_state; }
    void end(bool release) {
        if (m_pid <= 0)
            return;
        const char command = release ? 'r' : 'c';
        EXPECT_EQ(::write(m_out, &command, 1), 1);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        ::close(m_in);
        ::close(m_out);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    State m_state = State::Unlocked;
};

class DatabaseLockTest : public test::TempFolderTest {
protected:
    QString lockPath() const { return path(QStringLiteral("TQ6200.LCK")); }
};

TEST_F(DatabaseLockTest, TakeWritesComputerAndUserOnTwoLinesAndReleaseDeletes) {
    test::UserName user("alice");
    DatabaseLock lock;
    ASSERT_EQ(lock.Take(lockPath()), State::Locked);
    EXPECT_TRUE(lock.isLocked());
    EXPECT_EQ(test::readFile(lockPath()), namesOf(QStringLiteral("alice")));
    lock.Release();
    EXPECT_EQ(lock.state(), State::Unlocked);
    EXPECT_FALSE(QFileInfo::exists(lockPath()));
}

TEST_F(DatabaseLockTest, UnsetUserGivesAnEmptySecondLine) {
    test::UserName user(nullptr);
    DatabaseLock lock;
    ASSERT_EQ(lock.Take(lockPath()), State::Locked);
    EXPECT_EQ(test::readFile(lockPath()), namesOf(QString()));
}

TEST_F(DatabaseLockTest, StaleFileWithoutHolderIsTakenAndRewrittenWhole) {
    test::writeFile(lockPath(),
                    "OLD-COMPUTER-WITH-A-LONG-NAME\r\nsomebody-else\r\ntrailing junk\r\n");
    test::UserName user("bob");
    DatabaseLock lock;
    ASSERT_EQ(lock.Take(lockPath()), State::Locked);
    EXPECT_EQ(test::readFile(lockPath()), namesOf(QStringLiteral("bob")));
}

TEST_F(DatabaseLockTest, HeldLockIsRefusedWithTheHoldersNamesAndOnlyTheHolderDeletes) {
    test::UserName user("first");
    DatabaseLock holder;
    ASSERT_EQ(holder.Take(lockPath()), State::Locked);
    // Reading the file elsewhere in the process must not drop the lock.
    EXPECT_EQ(test::readFile(lockPath()), namesOf(QStringLiteral("first")));

    qputenv("USER", "second");
    {
        DatabaseLock other;
        EXPECT_EQ(other.Take(lockPath()), State::Held);
        EXPECT_EQ(other.HolderComputer(), QSysInfo::machineHostName());
        EXPECT_EQ(other.HolderUser(), QStringLiteral("first"));
        other.Release();
    } // the refused object goes without touching the file
    EXPECT_EQ(test::readFile(lockPath()), namesOf(QStringLiteral("first")));

    holder.Release();
    EXPECT_FALSE(QFileInfo::exists(lockPath()));
    DatabaseLock next;
    EXPECT_EQ(next.Take(lockPath()), State::Locked);
}

TEST_F(DatabaseLockTest, DestroyingTheHolderReleasesTheLock) {
    {
        DatabaseLock holder;
        ASSERT_EQ(holder.Take(lockPath()), State::Locked);
    }
    EXPECT_FALSE(QFileInfo::exists(lockPath()));
}

TEST_F(DatabaseLockTest, MissingFolderFailsWithoutAFile) {
    const QString inMissing = path(QStringLiteral("missing/TQ6200.LCK"));
    DatabaseLock lock;
    EXPECT_EQ(lock.Take(inMissing), State::Failed);
    EXPECT_TRUE(lock.ErrorText().contains(inMissing));
    lock.Release();
    EXPECT_FALSE(QFileInfo::exists(inMissing));
}

TEST_F(DatabaseLockTest, NamesThatCannotBeWrittenLeaveNoFileBehind) {
    DatabaseLock lock;
    {
        test::FileSizeLimit full(1);
        EXPECT_EQ(lock.Take(lockPath()), State::Failed);
    }
    EXPECT_TRUE(lock.ErrorText().contains(lockPath()));
    EXPECT_FALSE(QFileInfo::exists(lockPath()));
    EXPECT_EQ(lock.Take(lockPath()), State::Locked);
}

TEST_F(DatabaseLockTest, CopyInAnotherProcessHoldsUntilItReleases) {
    test::UserName user("parent");
    CopyInChild child(lockPath(), "child");
    ASSERT_EQ(child.state(), State::Locked);

    DatabaseLock lock;
    EXPECT_EQ(lock.Take(lockPath()), State::Held);
    EXPECT_EQ(lock.HolderComputer(), QSysInfo::machineHostName());
    EXPECT_EQ(lock.HolderUser(), QStringLiteral("child"));
    EXPECT_EQ(test::readFile(lockPath()), namesOf(QStringLiteral("child")));

    child.end(true);
    EXPECT_FALSE(QFileInfo::exists(lockPath()));
    EXPECT_EQ(lock.Take(lockPath()), State::Locked);
}

TEST_F(DatabaseLockTest, CopyInAnotherProcessIsRefusedWhileWeHold) {
    test::UserName user("parent");
    DatabaseLock lock;
    ASSERT_EQ(lock.Take(lockPath()), State::Locked);
    CopyInChild child(lockPath(), "child");
    EXPECT_EQ(child.state(), State::Held);
    child.end(true); // a refused copy's release leaves our file alone
    EXPECT_EQ(test::readFile(lockPath()), namesOf(QStringLiteral("parent")));
}

TEST_F(DatabaseLockTest, FileLeftByACrashedCopyIsTakenOver) {
    test::UserName user("parent");
    CopyInChild child(lockPath(), "crashed");
    ASSERT_EQ(child.state(), State::Locked);
    child.end(false);
    ASSERT_TRUE(QFileInfo::exists(lockPath()));

    DatabaseLock lock;
    EXPECT_EQ(lock.Take(lockPath()), State::Locked);
    EXPECT_EQ(test::readFile(lockPath()), namesOf(QStringLiteral("parent")));
}

TEST(LockPaths, LockFileAndJoinedNames) {
    EXPECT_EQ(LockPathFor(QStringLiteral("/data/TQ6200.mdb")), QStringLiteral("/data/TQ6200.LCK"));
    EXPECT_EQ(LockPathFor(QStringLiteral("/data/other.db3")), QStringLiteral("/data/other.LCK"));
    EXPECT_EQ(JoinFolder(QStringLiteral("/data"), QStringLiteral("Data")),
              QStringLiteral("/data/Data"));
    EXPECT_EQ(JoinFolder(QStringLiteral("/data/"), QStringLiteral("TQ6200.mdb")),
              QStringLiteral("/data/TQ6200.mdb"));
}

// The database step of the start-up on a DataLocation of its own.
class LockDatabaseTest : public test::TempFolderTest {
protected:
    void SetUp() override { Globals().DataLocation = dir.path(); }
    void TearDown() override { Globals().DataLocation.clear(); }
    bool exists(const QString &name) const { return QFileInfo::exists(path(name)); }
};

TEST_F(LockDatabaseTest, EmptyFolderGetsDataFolderDatabaseAndLock) {
    Globals().DataLocation = dir.path() + QLatin1Char('/');
    DatabaseLock lock;
    const LockDatabaseResult result = LockDatabase(lock);
    EXPECT_EQ(result.state, State::Locked);
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_EQ(Globals().DataFolder, path(QStringLiteral("Data")));
    EXPECT_EQ(Globals().DatabasePath, path(QStringLiteral("TQ6200.mdb")));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("Data"))).isDir());
    EXPECT_TRUE(exists(QStringLiteral("TQ6200.mdb")));
    EXPECT_EQ(lock.path(), path(QStringLiteral("TQ6200.LCK")));
    EXPECT_TRUE(exists(QStringLiteral("TQ6200.LCK")));
}

TEST_F(LockDatabaseTest, HeldDatabaseReportsTheHolderAndMakesNothing) {
    test::UserName user("holder");
    DatabaseLock holder;
    ASSERT_EQ(holder.Take(path(QStringLiteral("TQ6200.LCK"))), State::Locked);
    DatabaseLock lock;
    const LockDatabaseResult result = LockDatabase(lock);
    EXPECT_EQ(result.state, State::Held);
    EXPECT_EQ(result.message,
              LoadMessage(300, {QSysInfo::machineHostName(), QStringLiteral("holder")}));
    EXPECT_FALSE(exists(QStringLiteral("TQ6200.mdb")));
}

// Every opening of the program folder finishes a deletion that was interrupted: a trend
// file whose log is gone goes, one whose log is stored stays, and so does no journal.
TEST_F(LockDatabaseTest, TheDatabaseStepFinishesAnInterruptedDeletion) {
    CreateLogDatabase(path(QStringLiteral("TQ6200.mdb")));
    Database(path(QStringLiteral("TQ6200.mdb")))
        .execute(QStringLiteral("Insert Into Log_head (SeqNo, FolderID, Types, Names) "
                                "Values (1, '05/09', 1, 'KEPT')"));
    QDir(dir.path()).mkpath(QStringLiteral("Data/09/05"));
    test::writeFile(path(QStringLiteral("Data/09/05/KEPT.Dat")), "kept");
    test::writeFile(path(QStringLiteral("Data/09/05/GONE.Dat")), "gone");
    WriteDeletionJournal(
        path(QStringLiteral("TQ6200.DEL")),
        {false, {QStringLiteral("09/05/KEPT.Dat"), QStringLiteral("09/05/GONE.Dat")}});
    DatabaseLock lock;
    EXPECT_EQ(LockDatabase(lock).state, State::Locked);
    EXPECT_EQ(test::readFile(path(QStringLiteral("Data/09/05/KEPT.Dat"))), "kept");
    EXPECT_FALSE(exists(QStringLiteral("Data/09/05/GONE.Dat")));
    EXPECT_FALSE(exists(QStringLiteral("TQ6200.DEL")));
}

struct UnmadeCase {
    const char *name;
    const char *dataLocation; // below the temporary folder
    const char *dataFile;     // a plain file made there first, or nullptr
    friend void PrintTo(const UnmadeCase &c, std::ostream *os) { *os << c.name; }
};

class LockDatabaseUnmadeTest : public LockDatabaseTest,
                               public ::testing::WithParamInterface<UnmadeCase> {};

TEST_P(LockDatabaseUnmadeTest, FailsWithMessage301AndNoLock) {
    const UnmadeCase &c = GetParam();
    Globals().DataLocation = path(QString::fromUtf8(c.dataLocation));
    if (c.dataFile)
        test::writeFile(path(QString::fromUtf8(c.dataFile)), "not a folder");
    DatabaseLock lock;
    const LockDatabaseResult result = LockDatabase(lock);
    EXPECT_EQ(result.state, State::Failed);
    EXPECT_EQ(result.message, LoadMessage(301, {Globals().DataLocation}));
    EXPECT_FALSE(result.detail.isEmpty());
    EXPECT_FALSE(lock.isLocked());
    EXPECT_FALSE(
        QFileInfo::exists(JoinFolder(Globals().DataLocation, QStringLiteral("TQ6200.LCK"))));
    EXPECT_FALSE(QFileInfo::exists(Globals().DatabasePath));
}

INSTANTIATE_TEST_SUITE_P(Cases, LockDatabaseUnmadeTest,
                         ::testing::Values(UnmadeCase{"MissingDataLocation", "no/such/folder",
                                                      nullptr},
                                           UnmadeCase{"DataIsAFile", "", "Data"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LockDatabaseTest, DatabaseThatCannotBeMadeReleasesTheLock) {
    LockDatabaseResult result;
    DatabaseLock lock;
    {
        test::FileSizeLimit full(4096); // room for the lock file, not for a database
        result = LockDatabase(lock);
    }
    EXPECT_EQ(result.state, State::Failed);
    EXPECT_EQ(result.message, LoadMessage(301, {dir.path()}));
    EXPECT_FALSE(lock.isLocked());
    EXPECT_FALSE(exists(QStringLiteral("TQ6200.LCK")));
    EXPECT_FALSE(exists(QStringLiteral("TQ6200.mdb")));
}

} // namespace
} // namespace tq
