// The Download page's commands: the instrument download, the complete download, the
// logger download, the data clear and the power-off, with the locking of the commands
// around them.
#include "core/errors.h"
#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "link/serial_log.h"
#include "ui/common/hourglass.h"
#include "ui/main/window/busy_state.h"
#include "ui/main/window/download_support.h"
#include "ui/main/window/frmMain.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScopedValueRollback>

namespace tq {

namespace {

// Where a locked button keeps whether it was enabled.
const char *const kTag = "Tag";

void SaveAndDisable(QPushButton *button) {
    button->setProperty(kTag,
                        button->isEnabled() ? QStringLiteral("True") : QStringLiteral("False"));
    button->setEnabled(false);
}

bool SavedEnabled(const QPushButton *button) {
    return button->property(kTag).toString() == QLatin1String("True");
}

} // namespace

void frmMain::LockCommands() {
    SaveAndDisable(m_controls.cmdInst[4]);
    for (QPushButton *button : m_downloadPage->cmdDown)
        SaveAndDisable(button);
    m_downloadPage->setAutoLoadBoxesEnabled(false);
}

// A line lost during the command leaves the download commands off: the line-lost handler
// disabled them and only the next connection enables them again.
void frmMain::UnlockCommands() {
    m_controls.cmdInst[4]->setEnabled(SavedEnabled(m_controls.cmdInst[4]));
    const bool connected = m_link->Connected();
    for (QPushButton *button : m_downloadPage->cmdDown)
        button->setEnabled(connected && SavedEnabled(button));
    m_downloadPage->setAutoLoadBoxesEnabled(true);
}

void frmMain::enableAllCommands() {
    m_controls.cmdInst[4]->setEnabled(true);
    const bool connected = m_link->Connected();
    for (QPushButton *button : m_downloadPage->cmdDown)
        button->setEnabled(connected);
    m_downloadPage->setAutoLoadBoxesEnabled(true);
}

void frmMain::showDownloadProgress() {
    m_upload.SetTitle(LoadMessage(6056));
    m_upload.Show();
}

void frmMain::checkClock() {
    if (ClockWarningDue(m_linkInstrument.SysDateOffset()))
        AddCommLogLine(LoadMessage(5591), kLogRed);
}

// The detector was switched off: the window is set up again. A settings file that cannot
// be written is told in the log and does not end the program.
void frmMain::afterPowerOff() {
    try {
        ResetAfterPowerOff();
    } catch (const TqError &e) {
        AddCommLogLine(e.message(), kLogRed);
    }
}

void frmMain::cmdDown_Click(int index) {
    // A nested wait of a running command or of the automatic mode can deliver a click.
    if (m_linkBusy)
        return;
    const QScopedValueRollback busy(m_linkBusy, true);
    switch (index) {
    case 0:
        completeDownload();
        break;
    case 1:
        instrumentInformation();
        break;
    case 2:
        LockCommands();
        Globals().WorkState = BusyState::LoggerDownload;
        showDownloadProgress();
        DownloadLogData();
        UnlockCommands();
        m_upload.Unload();
        Globals().WorkState = BusyState::Idle;
        break;
    case 3:
        if (!clearLoggerData())
            return;
        break;
    case 4:
        if (!powerOff())
            return;
        break;
    default:
        break;
    }
    checkClock();
}

void frmMain::completeDownload() {
    uclPvif &link = *m_link;
    LockCommands();
    Globals().WorkState = BusyState::CompleteDownload;
    showDownloadProgress();
    link.AddLog(DatedLogLine(5554, Now()));
    bool ok = DownloadInstrument();
    if (m_upload.Canceled()) {
        AbortCompleteDownload();
        ok = false;
    } else if (ok) {
        ok = DownloadLogData();
        if (m_upload.Canceled()) {
            AbortCompleteDownload();
            ok = false;
        }
    }
    if (ok) {
        enableAllCommands();
        link.AddLog(DatedLogLine(5555, Now()));
        setLogTreeStale(true);
    } else {
        UnlockCommands();
    }
    m_upload.Unload();
    Globals().WorkState = BusyState::Idle;
}

void frmMain::instrumentInformation() {
    LockCommands();
    showDownloadProgress();
    if (DownloadInstrument())
        enableAllCommands();
    else
        UnlockCommands();
    m_upload.Unload();
}

bool frmMain::lockAndAsk(int question) {
    LockCommands();
    if (AskYesNo(question))
        return true;
    UnlockCommands();
    return false;
}

bool frmMain::clearLoggerData() {
    uclPvif &link = *m_link;
    if (!lockAndAsk(5343))
        return false;
    if (link.Connected()) {
        AddCommLogLine(LoadMessage(5433), kLogGreen);
        const Hourglass hourglass(*this);
        if (link.BodyDataClear()) {
            AddCommLogLine(LoadMessage(5434), kLogGreen);
        } else {
            AddCommLogLine(LoadMessage(5435), kLogRed);
            link.AddLog(LoadMessage(5559));
        }
    } else {
        AddCommLogLine(LoadMessage(5436), kLogRed);
        link.AddLog(LoadMessage(5559));
    }
    UnlockCommands();
    return true;
}

bool frmMain::powerOff() {
    uclPvif &link = *m_link;
    if (!lockAndAsk(5347))
        return false;
    if (!link.Connected()) {
        AddCommLogLine(LoadMessage(5409), kLogRed);
        UnlockCommands();
        return true;
    }
    m_controls.cmdInst[5]->setEnabled(false);
    AddCommLogLine(LoadMessage(5406), kLogGreen);
    if (link.BodyPowerOff()) {
        afterPowerOff();
    } else {
        AddCommLogLine(LoadMessage(5408), kLogRed);
        UnlockCommands();
    }
    m_controls.cmdInst[4]->setEnabled(SavedEnabled(m_controls.cmdInst[4]));
    m_controls.cmdInst[5]->setEnabled(true);
    return true;
}

bool frmMain::DownloadInstrument() {
    uclPvif &link = *m_link;
    const Hourglass hourglass(*this);
    if (!link.Connected()) {
        AddCommLogLine(LoadMessage(5417), kLogRed);
        link.AddLog(DatedLogLine(5522, Now()));
        return false;
    }
    AddCommLogLine(LoadMessage(5414), kLogGreen);
    const Date start = Now();
    link.AddLog(DatedLogLine(5517, start));
    if (!link.GetInstrument(&m_linkInstrument)) {
        if (link.Cancel()) {
            AddCommLogLine(LoadMessage(5462), kLogRed);
            link.AddLog(DatedLogLine(5589, Now()));
            return false;
        }
        AddCommLogLine(LoadMessage(5416), kLogRed);
        link.AddLog(LoadMessage(5520));
        if (m_linkInstrument.FailLine() == QLatin1String("HC,R"))
            AddCommLogLine(LoadMessage(5590), kLogRed);
        link.AddLog(TimedLogLine(5521, start, Now()));
        return false;
    }
    m_linkInstrument.setCommFlags(true);
    if (link.GetLatestHistory(&m_linkInstrument)) {
        try {
            m_linkInstrument.HistoryUpdate(Globals().DatabasePath);
        } catch (const TqError &e) {
            // The settings were read; only the stored latest calibration is missing.
            AddCommLogLine(e.message(), kLogRed);
            link.AddLog(e.message());
        }
    }
    // After the latest calibration, so the pages show the values just read.
    RefreshInstrumentPages();
    AddCommLogLine(LoadMessage(5415), kLogGreen);
    link.AddLog(TimedLogLine(5519, start, Now()));
    return true;
}

void frmMain::AbortCompleteDownload() {
    m_link->AddLog(DatedLogLine(5555, Now()));
    setLogTreeStale(true);
    m_upload.Unload();
    Globals().WorkState = BusyState::Idle;
    UnlockCommands();
}

} // namespace tq
