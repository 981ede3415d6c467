// The window's side of the download commands: the page's buttons and boxes, the progress
// window and the window's own routines that the commands reach through their hooks.
#include "ui/browser/DataPage.h"
#include "ui/common/hourglass.h"
#include "ui/main/window/frmMain.h"

#include <QLabel>
#include <QPushButton>

namespace tq {

QPushButton *frmMain::buttonOf(DownloadCommands::Button button) const {
    using Button = DownloadCommands::Button;
    const int index = int(button);
    if (index <= int(Button::Down5))
        return m_downloadPage->cmdDown[std::size_t(index)];
    switch (button) {
    case Button::SetMenu:
        return m_controls.cmdInst[4];
    case Button::ExitMenu:
        return m_controls.cmdInst[5];
    default:
        return m_controls.cmdOption[std::size_t(index - int(Button::Update))];
    }
}

DownloadCommands::Hooks frmMain::downloadHooks() {
    return {
        [this](const QString &text, const QColor &color) { AddCommLogLine(text, color); },
        [this](int lamp, const LampColors &colors) { m_downloadPage->SetLamp(lamp, colors); },
        [this](bool enabled) { m_downloadPage->setAutoLoadBoxesEnabled(enabled); },
        [this](DownloadCommands::Button button) { return buttonOf(button)->isEnabled(); },
        [this](DownloadCommands::Button button, bool enabled) {
            buttonOf(button)->setEnabled(enabled);
        },
        [this](const QString &title) {
            if (!title.isEmpty())
                m_upload.SetTitle(title);
            m_upload.Show();
        },
        [this](const QString &text) {
            if (frmUpload *form = m_upload.Form())
                form->ShowProgress(text);
        },
        [this](const QString &text) {
            if (frmUpload *form = m_upload.Form()) {
                form->ShowStatus(text);
                form->repaint();
            }
        },
        [this] { m_upload.Unload(); },
        [this] { return m_upload.Canceled(); },
        [this] { return std::make_shared<Hourglass>(*this); },
        [this] { RefreshInstrumentPages(); },
        [this] { ResetAfterPowerOff(); },
        [this] { m_dataPage->setLogTreeStale(true); },
        [this] { return ClosingOnSignal(); },
    };
}

void frmMain::connectLinkEvents() {
    connect(this, &frmMain::serialLogLine, m_link.get(), &uclPvif::AddLog);
    // Cancel in the progress window stops the exchange that is running.
    connect(&m_upload, &ProgressWindow::userCancel, m_commands.get(),
            &DownloadCommands::progressCancel);
}

} // namespace tq
