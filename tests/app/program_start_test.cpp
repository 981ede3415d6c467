// The program run as a person runs it: one copy at a time, the database lock, a start
// after a copy was killed.
#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace tq {
namespace {

class ProgramStartTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        QDir(dir.path()).mkpath(QStringLiteral("runtime"));
        QDir(dir.path()).mkpath(QStringLiteral("work"));
    }
    void TearDown() override {
        for (auto &p : m_processes)
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
    }

    // Starts the program in the work folder; its boxes go to `messages`.
    QProcess *start(const QString &messages) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("runtime")));
        env.insert(QStringLiteral("TQ6200_MESSAGE_LOG"), path(messages));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(path(QStringLiteral("work")));
        process->start(QStringLiteral(TQ6200_PROGRAM), {});
        EXPECT_TRUE(process->waitForStarted(5000));
        m_processes.push_back(std::move(process));
        return m_processes.back().get();
    }

    // Waits up to 10 s for the main window's start-up to hold the database lock.
    bool waitForLock() const {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000) {
            if (QFileInfo::exists(path(QStringLiteral("work/TQ6200.LCK"))))
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    QString messages(const QString &name) const {
        const QString file = path(name);
        return QFileInfo::exists(file) ? QString::fromUtf8(test::readFile(file)) : QString();
    }

private:
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

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
