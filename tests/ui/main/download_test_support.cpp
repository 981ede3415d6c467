#include "download_test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace tq::test {

namespace {

// Runs a program to its end; its output, or a failed expectation.
QByteArray runProgram(const QString &program, const QStringList &arguments,
                      const QString &folder = {}, QProcess *process = nullptr) {
    QProcess own;
    QProcess &p = process ? *process : own;
    if (!folder.isEmpty())
        p.setWorkingDirectory(folder);
    p.start(program, arguments);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    return p.readAllStandardOutput();
}

} // namespace

void CopyFixtureImage(const QString &fixture, const QString &out) {
    QFile::remove(out);
    EXPECT_TRUE(QFile::copy(BuildImage(fixture), out)) << out.toStdString();
    // The built image is shared by the run; the copy may be changed.
    QFile(out).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

ToolRun RunImportTool(const QString &folder, const QStringList &arguments) {
    QProcess tool;
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tq6200-import"));
    const QString output = QString::fromUtf8(runProgram(program, arguments, folder, &tool));
    ToolRun run;
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    run.errors = QString::fromUtf8(tool.readAllStandardError());
    return run;
}

UserName::UserName(const char *name)
    : m_old(qgetenv("USER")), m_wasSet(qEnvironmentVariableIsSet("USER")) {
    if (name)
        qputenv("USER", name);
    else
        qunsetenv("USER");
}

UserName::~UserName() {
    if (m_wasSet)
        qputenv("USER", m_old);
    else
        qunsetenv("USER");
}

} // namespace tq::test
