// The program run as a person runs it: one copy at a time, the database lock, a start
// after a copy was killed.
#include "program_process.h"

#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace tq {
namespace {

using ProgramStartTest = test::ProgramProcessTest;

TEST_F(ProgramStartTest, ASecondCopyIsRefusedAndAKilledCopyDoesNotBlockTheNext) {
    QProcess *first = start(QStringLiteral("first.log"));
    ASSERT_TRUE(waitForLock());

    QProcess *second = start(QStringLiteral("second.log"));
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_NE(second->exitCode(), 0);
    EXPECT_TRUE(messages(QStringLiteral("second.log")).startsWith(QStringLiteral("99\t")));

    first->kill();
    first->waitForFinished(5000);
    // Both locks of the killed copy stay behind; the next copy takes them over.
    ASSERT_TRUE(QFileInfo::exists(path(QStringLiteral("work/TQ6200.LCK"))));
    QProcess *third = start(QStringLiteral("third.log"));
    QThread::msleep(4000);
    EXPECT_EQ(third->state(), QProcess::Running);
    EXPECT_TRUE(messages(QStringLiteral("third.log")).isEmpty());
    EXPECT_TRUE(messages(QStringLiteral("first.log")).isEmpty());
}

} // namespace
} // namespace tq
