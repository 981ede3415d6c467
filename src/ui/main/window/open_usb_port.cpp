// Choosing and opening the link's port at start-up and after a power-off.
#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "link/usb_port_finder.h"
#include "ui/main/window/frmMain.h"

namespace tq {

bool frmMain::OpenUsbPort() {
    ProgramState &g = Globals();
    const ConverterSearch search = FindUsbSerialPort(QString::fromLatin1(kConverterDeviceId));
    g.IrCommPort = ConverterPortNumber(search);
    if (search == ConverterSearch::Several)
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

} // namespace tq
