#include "simulator.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace tq::test {

namespace {

const QString kTools = QStringLiteral(TQ_TOOLS_DIR);

} // namespace

Simulator::Simulator(const QStringList &options, State state) {
    QStringList arguments{kTools + QStringLiteral("/tq6200_sim.py"), QStringLiteral("--settings"),
                          settingsFile()};
    if (state == State::Kept)
        arguments << QStringLiteral("--state-out") << m_dir.filePath(QStringLiteral("state.json"));
    m_process.setProgram(QStringLiteral("python3"));
    m_process.setArguments(arguments + options);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    // A loaded machine (a parallel test run) can take seconds to start Python.
    const QDeadlineTimer deadline(30000);
    if (!m_process.waitForStarted(int(deadline.remainingTime())))
        return;
    while (!m_process.canReadLine() && m_process.state() == QProcess::Running &&
           !deadline.hasExpired())
        m_process.waitForReadyRead(int(qMin<qint64>(deadline.remainingTime(), 1000)));
    if (m_process.canReadLine())
        m_device = QString::fromUtf8(m_process.readLine()).trimmed();
}

Simulator::~Simulator() {
    m_process.terminate();
    if (!m_process.waitForFinished(3000))
        m_process.kill();
    m_process.waitForFinished(1000);
}

void Simulator::kill() {
    m_process.kill();
    m_process.waitForFinished(5000);
}

void Simulator::finish() {
    m_process.waitForFinished(5000);
}

double Simulator::ReferenceDumpSeconds(const QString &device) {
    QProcess client;
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    client.start(QStringLiteral("python3"),
                 {kTools + QStringLiteral("/tq6200_dump_client.py"), device});
    if (!client.waitForFinished(300000) || client.exitStatus() != QProcess::NormalExit ||
        client.exitCode() != 0)
        return -1;
    bool ok = false;
    const double seconds =
        QString::fromUtf8(client.readAllStandardOutput()).trimmed().toDouble(&ok);
    return ok ? seconds : -1;
}

QJsonObject Simulator::state() const {
    QFile file(m_dir.filePath(QStringLiteral("state.json")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QStringList Simulator::commands() const {
    QStringList list;
    for (const QJsonValue &command : state().value(QStringLiteral("commands")).toArray())
        list << command.toString();
    return list;
}

QString Simulator::settingsFile() {
    return kTools + QStringLiteral("/sim_settings.json");
}

} // namespace tq::test
