// What the main window asks of its instrument pages and of the log browser. The instrument
// pages fill these in as they grow; until then they show what the window already knows.
#include "ui/main/window/frmMain.h"

#include "ui/browser/DataPage.h"

#include <QLabel>
#include <QLineEdit>

namespace tq {

void frmMain::RefreshInstrumentPages() {
    ShowLinkStatus();
    ShowInstrument(m_linkInstrument);
    ShowSettings();
    update();
}

void frmMain::ShowInstrument(const clsInstrument &instrument) {
    const MainWindowControls &c = m_controls;
    c.lblInst[3]->setText(instrument.SerialNo());
    c.lblInst[4]->setText(instrument.StationID());
    c.lblInst[5]->setText(instrument.UserID());
    c.lblInst[7]->setText(QString::number(instrument.RomNumber()));
    c.lblInst[9]->setText(instrument.SUM());
}

void frmMain::ShowLatestCalList() {}

void frmMain::ShowSettings() {
    const MainWindowControls &c = m_controls;
    c.txtOption[0]->setText(m_linkInstrument.SerialNo());
    c.txtOption[1]->setText(m_linkInstrument.StationID());
    c.txtOption[2]->setText(m_linkInstrument.UserID());
}

void frmMain::BuildLogTree() {
    m_dataPage->BuildLogTree();
}

void frmMain::RefreshLogPage() {
    m_dataPage->RefreshLogPage();
}

bool frmMain::LogTreeStale() const {
    return m_dataPage->LogTreeStale();
}

void frmMain::setLogTreeStale(bool stale) {
    m_dataPage->setLogTreeStale(stale);
}

} // namespace tq
