#pragma once

#include <QObject>

class QSocketNotifier;

namespace tq {

// A write past the file-size limit (ulimit -f) fails with EFBIG instead of ending the
// process by SIGXFSZ, so the program's failure path runs: the old file kept, the database
// lock released, the failure told. Called once at the start of every program that writes
// files.
void IgnoreFileSizeSignal();

// SIGTERM (logout, shutdown, kill), SIGINT (Ctrl+C) and SIGHUP (the terminal gone) turned
// into an orderly end. The handler itself only notes the signal and writes one byte to a
// pipe; the event loop then reports it through `requested`, and work that runs without the
// event loop (an import) asks Requested() at its stop points. A second signal ends the
// process at once, by that signal's default action.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; one object per process. Throws TqError(File) when the pipe
    // cannot be made.
    explicit TerminationSignals(QObject *parent = nullptr);
    // Puts the default actions back.
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

    // True once a termination signal arrived; safe to ask at any time.
    static bool Requested();

signals:
    // Emitted from the event loop once, after the first termination signal.
    void requested();

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace tq
