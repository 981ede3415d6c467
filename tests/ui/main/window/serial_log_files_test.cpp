#include "ui/main/window/serial_log_files.h"

#include "core/errors.h"
#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace tq {
namespace {

using test::TempFolderTest;

class SerialLogFilesTest : public TempFolderTest {
protected:
    // Generation n holds the text "n" (the current log "0").
    void make(std::initializer_list<int> generations) {
        for (int n : generations)
            test::writeFile(SerialLogFile(dir.path(), n), QByteArray::number(n));
    }
    // generation -> its text, for every generation present.
    std::map<int, QByteArray> present() const {
        std::map<int, QByteArray> out;
        for (int n = 0; n <= kSerialLogGenerations; ++n)
            if (QFileInfo::exists(SerialLogFile(dir.path(), n)))
                out[n] = test::readFile(SerialLogFile(dir.path(), n));
        return out;
    }
};

TEST_F(SerialLogFilesTest, RotationShiftsEveryGenerationAndLosesTheOldestOnlyWhenFull) {
    make({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    RotateSerialLogs(dir.path());
    std::map<int, QByteArray> expected;
    for (int n = 1; n <= 9; ++n)
        expected[n] = QByteArray::number(n - 1);
    EXPECT_EQ(present(), expected);
}

TEST_F(SerialLogFilesTest, RotationPassesOverMissingGenerations) {
    make({0, 2});
    RotateSerialLogs(dir.path());
    EXPECT_EQ(present(), (std::map<int, QByteArray>{{1, "0"}, {3, "2"}}));
}

TEST_F(SerialLogFilesTest, RotationWithoutSerialLogsDoesNothing) {
    RotateSerialLogs(dir.path());
    EXPECT_TRUE(present().empty());
}

TEST_F(SerialLogFilesTest, RotationGivesUpOnAnOldestGenerationThatWillNotGo) {
    make({8});
    // A folder that is not empty cannot be deleted as a file: the wait ends and says so.
    QDir(dir.path()).mkdir(QStringLiteral("SerialLog9.log"));
    test::writeFile(path(QStringLiteral("SerialLog9.log/keep")), "x");
    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(RotateSerialLogs(dir.path()), TqError);
    EXPECT_LT(clock.elapsed(), 8000);
}

TEST_F(SerialLogFilesTest, ErrorLogsSavedWithinOneSecondKeepDistinctNames) {
    const Date now = Date::fromParts(2009, 12, 31, 23, 59, 59);
    std::set<QString> names;
    for (int i = 0; i < 3; ++i) {
        make({0});
        names.insert(QFileInfo(SaveErrorLog(dir.path(), now)).fileName());
    }
    EXPECT_EQ(names, (std::set<QString>{QStringLiteral("SerialLog_20091231_235959.log"),
                                        QStringLiteral("SerialLog_20091231_235959_2.log"),
                                        QStringLiteral("SerialLog_20091231_235959_3.log")}));
    EXPECT_FALSE(QFileInfo::exists(SerialLogFile(dir.path())));
}

TEST_F(SerialLogFilesTest, ErrorLogWithoutSerialLogOnlyMakesTheFolder) {
    EXPECT_TRUE(SaveErrorLog(dir.path(), Date::fromParts(2009, 1, 1)).isEmpty());
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("ErrorLogs"))).isDir());
}

TEST_F(SerialLogFilesTest, WaitForAFileThatCannotGoIsBounded) {
    // A folder of that name cannot be removed as a file: the wait gives up.
    QDir(dir.path()).mkdir(QStringLiteral("SerialLog.log"));
    test::writeFile(path(QStringLiteral("SerialLog.log/keep")), "x");
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(RemoveFileAndWait(SerialLogFile(dir.path()), 300));
    EXPECT_LT(clock.elapsed(), 2000);
    test::writeFile(path(QStringLiteral("plain.log")), "x");
    EXPECT_TRUE(RemoveFileAndWait(path(QStringLiteral("plain.log"))));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("plain.log"))));
}

} // namespace
} // namespace tq
