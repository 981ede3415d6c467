// The automatic mode: a detector that connects is read, downloaded, optionally cleared and
// switched off without the operator; and the two check boxes that turn it on and off.
#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "link/serial_log.h"
#include "ui/main/window/busy_state.h"
#include "ui/main/window/download_support.h"
#include "ui/main/window/frmMain.h"

#include <QCheckBox>
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
    for (QCheckBox *box : m_controls.chkAutoLoad)
        box->setEnabled(false);
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
    enableAutoLoadBoxes();
    m_upload.Unload();
    g.WorkState = BusyState::Idle;
}

// "Automatic Data Removal" can be used only while "Automatic Download" is ticked.
void frmMain::enableAutoLoadBoxes() {
    m_controls.chkAutoLoad[0]->setEnabled(true);
    m_controls.chkAutoLoad[1]->setEnabled(m_controls.chkAutoLoad[0]->isChecked());
}

void frmMain::chkAutoLoad_Click(int index) {
    ProgramState &g = Globals();
    std::array<QCheckBox *, 2> &boxes = m_controls.chkAutoLoad;
    if (!m_acceptAutoLoadClicks || index < 0 || index > 1) {
        // A click that is not taken does not leave the box saying something else.
        boxes[0]->setChecked(g.AutoLoadMode);
        boxes[1]->setChecked(g.AutoRemoveData);
        return;
    }
    m_acceptAutoLoadClicks = false;
    if (index == 0) {
        const bool ticked = boxes[0]->isChecked();
        const bool yes = AskYesNo(ticked ? 5303 : 5305);
        g.AutoLoadMode = ticked == yes;
        if (!ticked && yes)
            g.AutoRemoveData = false;
    } else if (boxes[1]->isChecked()) {
        g.AutoRemoveData = AskYesNo(5333);
    } else {
        g.AutoRemoveData = false;
    }
    boxes[0]->setChecked(g.AutoLoadMode);
    boxes[1]->setChecked(g.AutoRemoveData);
    boxes[1]->setEnabled(g.AutoLoadMode);
    m_acceptAutoLoadClicks = true;
}

} // namespace tq
