// What the main window asks of the log browser. The page fills these in as it grows;
// until then they show what the window already knows.
#include "ui/main/window/frmMain.h"

#include <QTreeWidget>

namespace tq {

void frmMain::BuildLogTree() {
    if (!m_logTreeStale)
        return;
    m_controls.tvwLog->clear();
    m_logTreeStale = false;
}

void frmMain::RefreshLogPage() {
    m_controls.tvwLog->update();
}

} // namespace tq
