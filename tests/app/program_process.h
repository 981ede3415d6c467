#pragma once

#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace tq::test {

// The program itself, run headless in the folder "work" of a fresh temporary folder, its
// message boxes written to a file instead of shown. Copies still running at the end of a
// test are killed.
class ProgramProcessTest : public TempFolderTest {
protected:
    void SetUp() override {
        QDir(dir.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(path(QStringLiteral("runtime")), QFileDevice::ReadOwner |
                                                                   QFileDevice::WriteOwner |
                                                                   QFileDevice::ExeOwner);
        QDir(dir.path()).mkpath(QStringLiteral("work"));
    }
    void TearDown() override {
        for (auto &p : m_processes)
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
    }

    // Starts the program in the work folder; its boxes go to `messages`, `environment`
    // adds to or replaces its environment.
    QProcess *start(const QString &messages, const QProcessEnvironment &environment = {}) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("runtime")));
        env.insert(QStringLiteral("TQ6200_MESSAGE_LOG"), path(messages));
        env.insert(environment);
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(path(QStringLiteral("work")));
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(TQ6200_PROGRAM), {});
        EXPECT_TRUE(process->waitForStarted(5000));
        m_processes.push_back(std::move(process));
        return m_processes.back().get();
    }

    // Waits up to timeoutMs for `done`, looking every 50 ms.
    static bool waitFor(const std::function<bool()> &done, int timeoutMs) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > timeoutMs)
                return false;
            QThread::msleep(50);
        }
        return true;
    }

    // Waits up to 10 s for the main window's start-up to hold the database lock.
    bool waitForLock() const {
        return waitFor(
            [this] { return QFileInfo::exists(path(QStringLiteral("work/TQ6200.LCK"))); }, 10000);
    }

    QString messages(const QString &name) const {
        const QString file = path(name);
        return QFileInfo::exists(file) ? QString::fromUtf8(readFile(file)) : QString();
    }

private:
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

} // namespace tq::test
