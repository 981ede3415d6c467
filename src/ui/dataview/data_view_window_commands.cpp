// The data view window's buttons: Print, Export, Summary and Return.
#include "core/gui/flex_grid.h"
#include "graph/uclVtmGraph.h"
#include "print/frmPrint.h"
#include "ui/dataview/frmIntermittence.h"

#include <QRadioButton>

namespace tq {

void frmIntermittence::cmdBrowse_Click(int index) {
    switch (index) {
    case 0:
        printLog();
        break;
    case 2:
        exportLog();
        break;
    case 3:
        toggleSummary();
        break;
    case 4:
        accept();
        break;
    default:
        break;
    }
}

void frmIntermittence::printLog() {
    PrintRequest request;
    request.PrintType = !optBrowse[0]->isChecked();
    request.DataType = m_kind;
    request.AlarmData = &m_alarm;
    request.frmObj = vfgBrowse;
    // The job tells its own failures and puts the printer back.
    frmPrint().GoPrinter(request);
    vtmGraph->RedrawShown();
}

void frmIntermittence::exportLog() {
    ExportSource source;
    source.logType = m_kind;
    source.seqNo = m_alarm.SeqNo();
    source.logs.alarm = &m_alarm;
    source.graphView = !optBrowse[0]->isChecked();
    source.graph = vtmGraph;
    // The command redraws and focuses a visible graph itself.
    m_export.Run(source);
}

void frmIntermittence::toggleSummary() {
    vfgSummary->setVisible(vfgSummary->isHidden());
    Form_Resize();
    vtmGraph->RedrawShown();
}

} // namespace tq
