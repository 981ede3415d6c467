// The automatic mode: a detector that connects is read, downloaded, optionally cleared and
// switched off without the operator.
#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "link/serial_log.h"
#include "link/uclPvif.h"
#include "ui/main/download_commands.h"
#include "ui/main/window/busy_state.h"

#include <QEventLoop>
#include <QTimer>

namespace tq {

namespace {

// Twenty ticks of the 100 ms display timer.
constexpr qint32 kTwoSecondTicks = 20;
// A wait whose timer was stopped (the window closing meanwhile) still ends.
constexpr int kLongestWaitMs = 5000;

} // namespace

void DownloadCommands::Tick() {
    ++m_tickCount;
    emit ticked();
}

void DownloadCommands::WaitTwoSeconds() {
    m_tickCount = 0;
    QEventLoop wait;
    // Each tick is counted before it is tested.
    connect(this, &DownloadCommands::ticked, &wait, [this, &wait] {
        if (m_tickCount >= kTwoSecondTicks)
            wait.quit();
    });
    QTimer::singleShot(kLongestWaitMs, &wait, &QEventLoop::quit);
    wait.exec();
}

void DownloadCommands::RunAutoMode() {
    // A connection reported again while this run waits is the one being served.
    if (!begin(State::Reading))
        return;
    ProgramState &g = Globals();
    uclPvif &link = m_link;
    m_hooks.setAutoLoadBoxesEnabled(false);
    g.WorkState = BusyState::AutomaticMode;
    m_hooks.showProgress(QString());
    addLine(LoadMessage(5401), kLogAutoStart);
    link.AddLog(DatedLogLine(5501, Now()));

    bool ok = DownloadInstrument() && !m_hooks.progressCanceled();
    // The detector holds the only copy of its logs: they are cleared only when the image
    // and every import of it arrived whole.
    if (ok)
        ok = DownloadLogData() && m_lastDownloadImportedAll && !m_hooks.progressCanceled();
    if (ok && g.AutoRemoveData) {
        m_state = State::Clearing;
        WaitTwoSeconds();
        // A program closing on a termination signal sends the detector nothing more.
        if (m_hooks.closingOnSignal()) {
            ok = false;
        } else if (link.BodyDataClear()) {
            addLine(LoadMessage(5434), kLogGreen);
            link.AddLog(LoadMessage(5557));
        } else {
            addLine(LoadMessage(5435), kLogRed);
            link.AddLog(LoadMessage(5558));
            ok = false;
        }
    }
    const bool cancelled = m_hooks.progressCanceled();
    if (cancelled)
        ok = false;
    // Switched off in every case, also after a cancel, unless the program is closing.
    m_state = State::PoweringOff;
    WaitTwoSeconds();
    if (m_hooks.closingOnSignal()) {
        ok = false;
    } else if (link.BodyPowerOff()) {
        afterPowerOff();
    } else {
        addLine(LoadMessage(5408), kLogRed);
        ok = false;
    }
    if (ok) {
        addLine(LoadMessage(5410), kLogAutoEnd);
        link.AddLog(DatedLogLine(5510, Now()));
    } else {
        addLine(LoadMessage(5411), kLogRed);
        link.AddLog(DatedLogLine(5511, Now()));
    }
    m_hooks.markLogTreeStale();
    m_hooks.setAutoLoadBoxesEnabled(true);
    m_hooks.closeProgress();
    g.WorkState = BusyState::Idle;
    finish(ok ? State::Idle : cancelled ? State::Cancelled : State::Failed);
}

} // namespace tq
