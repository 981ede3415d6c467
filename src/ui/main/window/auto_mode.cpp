// The automatic mode: a detector that connects is read, downloaded, optionally cleared and
// switched off without the operator; and the two check boxes that turn it on and off.
#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "link/serial_log.h"
#include "ui/main/window/busy_state.h"
#include "ui/main/window/download_support.h"
#include "ui/main/window/frmMain.h"

#include <QEventLoop>
#include <QScopedValueRollback>

namespace tq {

namespace {

// Twenty ticks of the 100 ms display timer.
constexpr qint32 kTwoSecondTicks = 20;
// A wait whose timer was stopped (the window closing meanwhile) still ends.
constexpr int kLongestWaitMs = 5000;

} // namespace

void frmMain::WaitTwoSeconds() {
    m_tickCount = 0;
    QEventLoop wait;
    // Connected after the tick counter, so each tick is counted before it is tested.
    connect(&m_tmrInter, &QTimer::timeout, &wait, [this, &wait] {
        if (m_tickCount >= kTwoSecondTicks)
            wait.quit();
    });
    QTimer::singleShot(kLongestWaitMs, &wait, &QEventLoop::quit);
    wait.exec();
}

void frmMain::RunAutoMode() {
    // A connection reported again while this run waits is the one being served.
    if (m_linkBusy)
        return;
    const QScopedValueRollback busy(m_linkBusy, true);
    ProgramState &g = Globals();
    uclPvif &link = *m_link;
    m_downloadPage->setAutoLoadBoxesEnabled(false);
    g.WorkState = BusyState::AutomaticMode;
    m_upload.Show();
    AddCommLogLine(LoadMessage(5401), kLogAutoStart);
    link.AddLog(DatedLogLine(5501, Now()));

    bool ok = DownloadInstrument() && !m_upload.Canceled();
    // The detector holds the only copy of its logs: they are cleared only when the image
    // and every import of it arrived whole.
    if (ok)
        ok = DownloadLogData() && m_lastDownloadImportedAll && !m_upload.Canceled();
    if (ok && g.AutoRemoveData) {
        WaitTwoSeconds();
        // A program closing on a termination signal sends the detector nothing more.
        if (ClosingOnSignal()) {
            ok = false;
        } else if (link.BodyDataClear()) {
            AddCommLogLine(LoadMessage(5434), kLogGreen);
            link.AddLog(LoadMessage(5557));
        } else {
            AddCommLogLine(LoadMessage(5435), kLogRed);
            link.AddLog(LoadMessage(5558));
            ok = false;
        }
    }
    if (m_upload.Canceled())
        ok = false;
    // Switched off in every case, also after a cancel, unless the program is closing.
    WaitTwoSeconds();
    if (ClosingOnSignal()) {
        ok = false;
    } else if (link.BodyPowerOff()) {
        afterPowerOff();
    } else {
        AddCommLogLine(LoadMessage(5408), kLogRed);
        ok = false;
    }
    if (ok) {
        AddCommLogLine(LoadMessage(5410), kLogAutoEnd);
        link.AddLog(DatedLogLine(5510, Now()));
    } else {
        AddCommLogLine(LoadMessage(5411), kLogRed);
        link.AddLog(DatedLogLine(5511, Now()));
    }
    setLogTreeStale(true);
    m_downloadPage->setAutoLoadBoxesEnabled(true);
    m_upload.Unload();
    g.WorkState = BusyState::Idle;
}

} // namespace tq
