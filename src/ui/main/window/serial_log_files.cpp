#include "ui/main/window/serial_log_files.h"

#include "core/errors.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace tq {

namespace {

QString joined(const QString &folder, const QString &name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

[[noreturn]] void fail(const QString &what, const QString &path) {
    throw TqError(ErrorKind::File, what.arg(QDir::toNativeSeparators(path)));
}

// Gives `from` the name `to`, removing an old `to` first.
void replaceWith(const QString &from, const QString &to) {
    if (!RemoveFileAndWait(to))
        fail(QStringLiteral("%1 could not be deleted."), to);
    if (!QFile::rename(from, to))
        fail(QStringLiteral("%1 could not be renamed."), from);
}

} // namespace

QString SerialLogFile(const QString &folder, int generation) {
    return joined(folder, generation == 0 ? QStringLiteral("SerialLog.log")
                                          : QStringLiteral("SerialLog%1.log").arg(generation));
}

bool RemoveFileAndWait(const QString &path, int timeoutMs) {
    if (!QFileInfo::exists(path))
        return true;
    QFile::remove(path);
    const QDeadlineTimer deadline(timeoutMs);
    while (QFileInfo::exists(path)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

void RotateSerialLogs(const QString &folder) {
    for (int n = kSerialLogGenerations - 1; n >= 0; --n) {
        const QString from = SerialLogFile(folder, n);
        if (QFileInfo::exists(from))
            replaceWith(from, SerialLogFile(folder, n + 1));
    }
}

QString SaveErrorLog(const QString &folder, const Date &now) {
    const QString errorFolder = joined(folder, QStringLiteral("ErrorLogs"));
    if (!QDir().mkpath(errorFolder))
        fail(QStringLiteral("%1 could not be made."), errorFolder);
    const QString current = SerialLogFile(folder);
    if (!QFileInfo::exists(current))
        return {};
    const QString stem = joined(errorFolder, QStringLiteral("SerialLog_") +
                                                 now.format(QStringLiteral("yyyyMMdd_hhmmss")));
    QString target = stem + QStringLiteral(".log");
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = stem + QStringLiteral("_%1.log").arg(n);
    if (!QFile::rename(current, target))
        fail(QStringLiteral("%1 could not be moved."), current);
    return target;
}

} // namespace tq
