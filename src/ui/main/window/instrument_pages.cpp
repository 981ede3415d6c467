// The window's side of the instrument pages: it makes them from its controls and keeps
// the routines other parts call on the window.
#include "core/messages.h"
#include "core/program_state.h"
#include "ui/main/window/frmMain.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace tq {

void frmMain::createInstrumentPages() {
    const MainWindowControls &c = m_controls;
    m_instrumentPage = new InstrumentInfoPage(c.fraMenu[1], m_linkInstrument);
    m_latestCalPage = new LatestCalPage(
        c.fraMenu[4],
        LatestCalPage::WindowHooks{[this] { return m_firstActivate; }, [this] { Form_Resize(); }});
    m_setPage = std::make_unique<SetPage>(
        SetPage::Controls{c.fraMenu[5], c.cmdOptionDisp, c.lblOption, c.txtOption, c.cmbStation,
                          c.cmbInterval, c.cmbIntermittence, c.cmdOption, c.vfgOption},
        m_linkInstrument, *m_link,
        SetPage::Hooks{
            [this](const QString &text, const QColor &color) { AddCommLogLine(text, color); },
            [this](const std::function<void()> &operation) {
                return m_commands->runOnLink(operation);
            },
            [this](bool show) { showUploadProgress(show); },
            [this](int slot, qint32 color) { SetTrendColor(slot, color); }});
}

void frmMain::RefreshInstrumentPages() {
    QGroupBox *visible = nullptr;
    for (QGroupBox *frame : m_controls.fraMenu)
        if (!frame->isHidden())
            visible = frame;
    if (!m_linkInstrument.GasEnabled(0) && Globals().GasLocked[0])
        m_linkInstrument.setGasEnabled(0, true);
    ShowLinkStatus();
    m_instrumentPage->ShowLinkInstrument(m_link->Status());
    m_setPage->ShowSettings();
    if (visible)
        visible->update();
}

bool frmMain::showStoredInstrument(qint64 seqNo) {
    if (!m_instrumentPage->ShowStoredInstrument(seqNo))
        return false;
    showPage(1);
    Form_Resize();
    return true;
}

void frmMain::showUploadProgress(bool show) {
    if (!show) {
        m_upload.Unload();
        return;
    }
    m_upload.SetTitle(LoadMessage(6057));
    m_upload.Load()->lblUpload()->setText(LoadMessage(6001));
    m_upload.Show();
}

} // namespace tq
