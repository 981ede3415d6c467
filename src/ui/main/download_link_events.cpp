// The reactions to what the link control reports: lamps, commands, log lines, the
// automatic mode.
#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "link/uclPvif.h"
#include "ui/main/download_commands.h"

namespace tq {

namespace {

inline const QColor kLinkTextBlue{0, 0, 192};

// The infrared socket errors that mean the port cannot be used (time-out, address in use).
bool IsPortUnusable(qint16 errorNumber) {
    return errorNumber == 10060 || errorNumber == 10048;
}

} // namespace

void DownloadCommands::connectLinkEvents() {
    uclPvif *link = &m_link;
    connect(link, &uclPvif::OnConnect, this, &DownloadCommands::uclPV7130_OnConnect);
    connect(link, &uclPvif::Disconnected, this, &DownloadCommands::uclPV7130_Disconnected);
    connect(link, &uclPvif::ConnectRetry, this, &DownloadCommands::uclPV7130_ConnectRetry);
    for (auto signal : {&uclPvif::InstMessage, &uclPvif::InterMessage, &uclPvif::AlarmMessage})
        connect(link, signal, this, &DownloadCommands::uclPV7130_Message);
    connect(link, &uclPvif::DumpMessage, this, &DownloadCommands::uclPV7130_DumpMessage);
    connect(link, &uclPvif::IrDAError, this, &DownloadCommands::uclPV7130_IrDAError);
}

void DownloadCommands::progressCancel() {
    m_link.setCancel(true);
    m_link.AddLog(QStringLiteral("= User Cancel ="));
}

void DownloadCommands::uclPV7130_OnConnect() {
    if (!m_link.Connected())
        return;
    // The link raises the event again while a nested wait of a running command or of the
    // automatic mode yields: that connection is already being served, unless the line was
    // lost meanwhile, and then the new one is served when the run has ended.
    if (Running()) {
        m_connectionWaiting = m_lineLostDuringRun;
        return;
    }
    addLine(LoadMessage(5432), kLogBlue);
    m_hooks.setLamp(0, kLampOnColors);
    m_hooks.setLamp(1, kLampOnColors);
    if (Globals().AutoLoadMode) {
        RunAutoMode();
    } else {
        for (Button button : {Button::Down0, Button::Down1, Button::Down4})
            m_hooks.setButtonEnabled(button, true);
    }
    // The automatic mode ends by switching the detector off: only a line that is still
    // up gets its Set page commands.
    if (!m_link.Connected())
        return;
    for (Button button : {Button::Update, Button::DateTimeSet, Button::Calibration})
        m_hooks.setButtonEnabled(button, true);
}

// The automatic-mode boxes stay usable: a lost line, even in the middle of a download,
// does not keep them from changing the settings.
void DownloadCommands::uclPV7130_Disconnected() {
    if (Running())
        m_lineLostDuringRun = true;
    m_hooks.setLamp(0, kLampOnColors);
    m_hooks.setLamp(1, kLampOffColors);
    for (Button button :
         {Button::Down0, Button::Down1, Button::Down2, Button::Down3, Button::Down4, Button::Down5})
        m_hooks.setButtonEnabled(button, false);
    m_hooks.setButtonEnabled(Button::Update, false);
}

void DownloadCommands::uclPV7130_ConnectRetry(qint16 retryCount) {
    addLine(LoadMessage(5412, {QString::number(retryCount)}), kLogGreen);
}

void DownloadCommands::uclPV7130_Message(const QString &messageString) {
    addLine(messageString, kLinkTextBlue);
}

void DownloadCommands::uclPV7130_DumpMessage(const QString &messageString) {
    // Progress is shown only while a progress window is open; none is made for it.
    m_hooks.setProgressText(messageString);
}

void DownloadCommands::uclPV7130_IrDAError(qint16 errorNumber) {
    if (!IsPortUnusable(errorNumber))
        return;
    addLine(LoadMessage(5371), kLogRed);
    m_hooks.setLamp(0, kLampErrorColors);
    m_hooks.setLamp(1, kLampOffColors);
    // A burst of socket errors shows one box: the next is shown only after it was closed.
    if (m_portErrorShown)
        return;
    m_portErrorShown = true;
    ShowMessage({5371, LoadMessage(5371), LoadMessage(5372), BoxIcon::None, BoxButtons::Ok});
    m_portErrorShown = false;
}

} // namespace tq
