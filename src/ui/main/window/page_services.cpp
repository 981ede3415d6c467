// The window's side of the Data and Data View pages: it makes them with the callbacks they
// need and keeps one-line forwarders for its own callers (Data button, start-up settings,
// downloads, automatic mode, import lines).
#include "ui/main/window/frmMain.h"

#include "core/program_state.h"
#include "ui/browser/DataPage.h"
#include "ui/dataview/frmIntermittence.h"
#include "ui/display/data_view_page.h"
#include "ui/main/window/busy_state.h"

#include <QGroupBox>
#include <QPushButton>
#include <QScopedValueRollback>

namespace tq {

void frmMain::createBrowserPages() {
    m_dataViewPage = new DataViewPage(m_controls.fraMenu[3], m_selection,
                                      {[this] { Form_Resize(); },
                                       [this] {
                                           showPage(3);
                                           Form_Resize();
                                       },
                                       [this] {
                                           showPage(2);
                                           Form_Resize();
                                       },
                                       [this] { ShowDataViewWindow(); },
                                       [this](bool writing) {
                                           Globals().WorkState = writing ? WritingExport : Idle;
                                           if (writing)
                                               m_upload.Show();
                                           else
                                               m_upload.Unload();
                                       }});
    m_dataPage = new DataPage(m_controls.fraMenu[2], m_selection,
                              {[this] { Form_Resize(); },
                               [this](bool enabled) {
                                   for (QPushButton *button : m_controls.cmdInst)
                                       button->setEnabled(enabled);
                               },
                               [this] { m_dataViewPage->cmdDetail_Click(); },
                               [this](qint64 seqNo) { return ShowStoredInstrument(seqNo); }});
}

bool frmMain::ShowStoredInstrument(qint64 seqNo) {
    // A fresh record each time: a log whose head row is gone shows no earlier instrument.
    clsInstrument stored;
    if (!stored.LoadDatabase(Globals().DatabasePath, seqNo))
        return false;
    m_storedInstrument = stored;
    const QScopedValueRollback showing(m_showingStoredData, true);
    ShowInstrument(m_storedInstrument);
    showPage(1);
    Form_Resize();
    return true;
}

void frmMain::ShowDataViewWindow() {
    if (!m_dataViewWindow)
        m_dataViewWindow = std::make_unique<frmIntermittence>();
    m_dataViewWindow->exec();
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
