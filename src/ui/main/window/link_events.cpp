// The main window's side of the link: choosing and opening the port, and the reactions to
// what the link control reports (lamps, commands, log lines, the automatic mode).
#include "ui/main/window/frmMain.h"

#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "link/usb_port_finder.h"
#include "ui/main/window/busy_state.h"
#include "ui/main/window/comm_log.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace tq {

namespace {

inline const QColor kLinkTextBlue{0, 0, 192};

// The infrared socket errors that mean the port cannot be used (time-out, address in use).
bool IsPortUnusable(qint16 errorNumber) {
    return errorNumber == 10060 || errorNumber == 10048;
}

} // namespace

void frmMain::connectLinkEvents() {
    uclPvif *link = m_link.get();
    connect(link, &uclPvif::OnConnect, this, &frmMain::uclPV7130_OnConnect);
    connect(link, &uclPvif::Disconnected, this, &frmMain::uclPV7130_Disconnected);
    connect(link, &uclPvif::ConnectRetry, this, &frmMain::uclPV7130_ConnectRetry);
    for (auto signal : {&uclPvif::InstMessage, &uclPvif::InterMessage, &uclPvif::AlarmMessage})
        connect(link, signal, this, &frmMain::uclPV7130_Message);
    connect(link, &uclPvif::DumpMessage, this, &frmMain::uclPV7130_DumpMessage);
    connect(link, &uclPvif::IrDAError, this, &frmMain::uclPV7130_IrDAError);
    connect(this, &frmMain::serialLogLine, link, &uclPvif::AddLog);
    // Cancel in the progress window stops the exchange that is running.
    connect(&m_upload, &ProgressWindow::userCancel, link, [link] {
        link->setCancel(true);
        link->AddLog(QStringLiteral("= User Cancel ="));
    });
}

bool frmMain::OpenUsbPort() {
    ProgramState &g = Globals();
    if (FindUsbSerialPort(QString::fromLatin1(kConverterDeviceId)) == ConverterSearch::Several)
        ShowMessage(
            {20014, LoadMessage(20014), LoadMessage(20015), BoxIcon::Critical, BoxButtons::Ok});
    const bool serial = g.IrCommPort != 0;
    if (serial) {
        m_link->setSerialComm(true);
        m_link->setCommPort(g.IrCommPort);
        m_link->setRTSEnable(true);
        m_link->setDTREnable(true);
        m_link->setHandshaking(2);
        m_link->setSettings(g.CommSettings);
    } else {
        m_link->setSerialComm(false);
    }
    m_link->setPortOpen(true);
    return serial;
}

void frmMain::uclPV7130_OnConnect() {
    if (!m_link->Connected())
        return;
    // The link raises the event again while a nested wait of a running command or of the
    // automatic mode yields: that connection is already being served.
    if (m_linkBusy)
        return;
    MainWindowControls &c = m_controls;
    AddCommLogLine(LoadMessage(5432), kLogBlue);
    SetLamp(0, kLampOnColors);
    SetLamp(1, kLampOnColors);
    if (Globals().AutoLoadMode) {
        RunAutoMode();
    } else {
        for (int index : {0, 1, 4})
            c.cmdDown[std::size_t(index)]->setEnabled(true);
    }
    // The automatic mode ends by switching the detector off: only a line that is still
    // up gets its Set page commands.
    if (!m_link->Connected())
        return;
    for (int index : {0, 1, 2})
        c.cmdOption[std::size_t(index)]->setEnabled(true);
}

void frmMain::uclPV7130_Disconnected() {
    MainWindowControls &c = m_controls;
    SetLamp(0, kLampOnColors);
    SetLamp(1, kLampOffColors);
    for (QPushButton *button : c.cmdDown)
        button->setEnabled(false);
    c.cmdOption[0]->setEnabled(false);
    m_acceptAutoLoadClicks = false;
}

void frmMain::uclPV7130_ConnectRetry(qint16 retryCount) {
    AddCommLogLine(LoadMessage(5412, {QString::number(retryCount)}), kLogGreen);
}

void frmMain::uclPV7130_Message(const QString &messageString) {
    AddCommLogLine(messageString, kLinkTextBlue);
}

void frmMain::uclPV7130_DumpMessage(const QString &messageString) {
    // Progress is shown only while a progress window is open; none is made for it.
    if (frmUpload *form = m_upload.Form())
        form->ShowProgress(messageString);
}

void frmMain::uclPV7130_IrDAError(qint16 errorNumber) {
    if (!IsPortUnusable(errorNumber))
        return;
    AddCommLogLine(LoadMessage(5371), kLogRed);
    SetLamp(0, kLampErrorColors);
    SetLamp(1, kLampOffColors);
    // A burst of socket errors shows one box: the next is shown only after it was closed.
    if (m_portErrorShown)
        return;
    m_portErrorShown = true;
    ShowMessage({5371, LoadMessage(5371), LoadMessage(5372), BoxIcon::None, BoxButtons::Ok});
    m_portErrorShown = false;
}

} // namespace tq
