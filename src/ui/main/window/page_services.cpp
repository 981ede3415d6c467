// What the main window asks of the Data page: one-line forwarders for the callers of the
// window (Data button, start-up settings, downloads, automatic mode, import lines).
#include "ui/main/window/frmMain.h"

#include "ui/browser/DataPage.h"

namespace tq {

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
