#include "link/serial_log.h"

#include "core/messages.h"
#include "link/dump_list.h"

#include <QFile>
#include <QTime>

#include <cstdio>
#include <memory>

namespace tq {

namespace {

// The file a SerialLogHold keeps open, and how many holds there are.
struct HeldLog {
    std::unique_ptr<QFile> file;
    int holds = 0;
};

HeldLog &heldLog() {
    thread_local HeldLog held;
    return held;
}

QFile *openedLog(const QString &path) {
    QFile *file = heldLog().file.get();
    return file && file->fileName() == path ? file : nullptr;
}

} // namespace

QString SerialLogPath(const QString &appFolder) {
    QString folder = appFolder;
    if (!folder.isEmpty() && !folder.endsWith('/'))
        folder += '/';
    return folder + QStringLiteral("SerialLog.log");
}

bool SetSerialLog(const QString &appFolder, const QString &text) {
    const QTime now = QTime::currentTime();
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d ", now.hour(), now.minute(), now.second());
    const QByteArray line = time + text.toUtf8() + "\r\n";
    const QString path = SerialLogPath(appFolder);
    if (QFile *held = openedLog(path))
        return held->write(line) == line.size();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    return file.write(line) == line.size() && file.flush();
}

SerialLogHold::SerialLogHold(const QString &appFolder) {
    HeldLog &held = heldLog();
    if (held.holds++ > 0)
        return;
    auto file = std::make_unique<QFile>(SerialLogPath(appFolder));
    // A log that cannot be opened now is written line by line, as without a hold.
    if (file->open(QIODevice::WriteOnly | QIODevice::Append))
        held.file = std::move(file);
}

SerialLogHold::~SerialLogHold() {
    HeldLog &held = heldLog();
    if (--held.holds == 0)
        held.file.reset(); // flushed and closed
}

void FlushSerialLog() {
    if (QFile *file = heldLog().file.get())
        file->flush();
}

QString DatedLogLine(int id, const Date &now) {
    return LoadMessage(id, {now.generalDate()});
}

QString TimedLogLine(int id, const Date &start, const Date &now) {
    return LoadMessage(id, {now.generalDate(), ElapsedText(start, now)});
}

} // namespace tq
