#include "bench_support.h"

#include "core/program_state.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <sys/resource.h>
#include <unistd.h>

namespace tq::bench {

namespace {

QString toolsFolder() {
    return QStringLiteral(TQ_TOOLS_DIR);
}

} // namespace

bool BuildImage(const QString &description, const QString &image) {
    QProcess builder;
    builder.start(
        QStringLiteral("python3"),
        {QDir(toolsFolder()).filePath(QStringLiteral("tq6200_image.py")), description, image});
    return builder.waitForFinished(120000) && builder.exitCode() == 0;
}

QString Fixture(const QString &name) {
    return QDir(toolsFolder()).filePath(QStringLiteral("fixtures/") + name);
}

QString WriteDescription(const QJsonObject &description, const QString &path) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QJsonDocument(description).toJson());
    return path;
}

double PeakMemoryMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

double ResidentMB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    // The second field: resident pages.
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(getpagesize()) / (1024.0 * 1024.0);
}

void ResetPeakResident() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double PeakResidentMB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key("VmHWM:");
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

QJsonObject FullBlockAreas(const QString &serial) {
    constexpr int kBlocks = 256;
    const QDateTime first(QDate(2024, 1, 1), QTime(0, 0));
    QJsonArray power, snapshots, events, histories;
    QJsonArray eventRecords, historyRecords;
    for (int i = 0; i < 40; ++i)
        eventRecords.append(QJsonObject{{"gas", 0}, {"status", 1 + i % 6}});
    for (int i = 0; i < 30; ++i)
        historyRecords.append(QJsonObject{
            {"calibration", QJsonObject{{"slot", 0}, {"before", 40 + i}, {"after", 50}}}});
    for (int block = 0; block < kBlocks; ++block) {
        const QString date = first.addSecs(3600LL * block).toString("yyyy-MM-dd hh:mm:ss");
        const QJsonObject head{{"log_no", block + 1}, {"serial", serial}, {"date", date}};
        power.append(QJsonObject{{"counter", block + 1}, {"date", date}, {"on", block % 2 == 0}});
        QJsonObject snapshot = head, eventBlock = head, history = head;
        snapshot["value"] = block % 100;
        eventBlock["events"] = eventRecords;
        history["records"] = historyRecords;
        snapshots.append(snapshot);
        events.append(eventBlock);
        histories.append(history);
    }
    return QJsonObject{{"power_events", power},
                       {"snapshots", snapshots},
                       {"alarm_events", events},
                       {"trouble_events", events},
                       {"histories", histories}};
}

} // namespace tq::bench
