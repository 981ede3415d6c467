#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tq::test {

// The detector simulator (tools/tq6200_sim.py) on a pseudo-terminal, for as long as the
// object lives. Shared by the link tests and the link benchmark.
class Simulator {
public:
    enum class State { Kept, NotKept };
    // With State::NotKept the simulator writes no state file (it writes one per command,
    // which a benchmark should not measure).
    explicit Simulator(const QStringList &options = {}, State state = State::Kept);
    ~Simulator();
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    // The terminal the program opens; empty when the simulator did not start.
    QString device() const { return m_device; }
    // Ends the simulator at once, as a converter pulled out: nothing tidied up, a symbolic
    // link it made left dangling. Its state stays readable.
    void kill();
    // Waits until the simulator has ended after the program closed the terminal; its state
    // is then complete (flash block requests are written only at the end).
    void finish();
    // The detector's state as the simulator last wrote it.
    QJsonObject state() const;
    // The commands it received, in order.
    QStringList commands() const;
    // The settings the simulator serves.
    static QString settingsFile();
    // The reference dump client (tools/tq6200_dump_client.py) reads every flash block of the
    // simulator at device, asking for each block the moment the last one has arrived; the
    // seconds it took, or a negative number when it failed. The device must not be open
    // elsewhere meanwhile.
    static double ReferenceDumpSeconds(const QString &device);

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_device;
};

} // namespace tq::test
