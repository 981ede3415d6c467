#pragma once

// tq6200-report and tq6200-import run out of process in a program folder of their own.
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <csignal>

#include <sys/resource.h>

namespace tq::test {

struct ToolRun {
    int exitCode = -1;
    bool crashed = false; // ended by a signal
    QString out;
    QString errors;
};

// A program folder of its own, the tools run in it out of process.
class ReportToolFixture : public test::TempFolderTest {
protected:
    void importImage(const QString &fixture) {
        QFile::remove(path(QStringLiteral("TQ6200.DAT")));
        ASSERT_TRUE(QFile::copy(test::BuildImage(fixture), path(QStringLiteral("TQ6200.DAT"))));
        ASSERT_EQ(run("tq6200-import", {}).exitCode, 0);
    }
    // `fileSizeLimit` (bytes, above 0): files the tool writes cannot grow past it, as on a
    // full disk, and SIGXFSZ has its default action in the tool unless the tool ignores it.
    ToolRun run(const char *tool, const QStringList &arguments,
                const QString &locale = QStringLiteral("en_US.UTF-8"), long fileSizeLimit = 0) {
        QProcess process;
        if (fileSizeLimit > 0)
            process.setChildProcessModifier([fileSizeLimit] {
                rlimit limit{};
                getrlimit(RLIMIT_FSIZE, &limit);
                limit.rlim_cur = rlim_t(fileSizeLimit);
                setrlimit(RLIMIT_FSIZE, &limit);
                std::signal(SIGXFSZ, SIG_DFL);
            });
        process.setWorkingDirectory(dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("LC_ALL"), locale);
        environment.remove(QStringLiteral("LANGUAGE"));
        process.setProcessEnvironment(environment);
        process.start(QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(tool)),
                      arguments);
        ToolRun result;
        if (!process.waitForFinished(120000))
            return result;
        result.exitCode = process.exitCode();
        result.crashed = process.exitStatus() == QProcess::CrashExit;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.errors = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
    ToolRun report(const QStringList &arguments) { return run("tq6200-report", arguments); }
    // Every file of the folder but what the import and the window keep there.
    QStringList made() const {
        QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        for (const char *kept : {"TQ6200.DAT", "TQ6200.mdb", "SerialLog.log"})
            names.removeAll(QLatin1String(kept));
        names.removeIf([](const QString &n) {
            return n.endsWith(QLatin1String(".lck"), Qt::CaseInsensitive);
        });
        return names;
    }
    QString pdfText(const QString &pdf) {
        return output(QStringLiteral("pdftotext"),
                      {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    }
    static QString output(const QString &program, const QStringList &arguments) {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(60000))
            return {};
        return QString::fromUtf8(process.readAllStandardOutput());
    }
};

} // namespace tq::test
