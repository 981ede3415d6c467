// The data view window's summary, record table, graph and layout.
#include "core/gui/flex_grid.h"
#include "core/gui/layout_geometry.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "graph/uclVtmGraph.h"
#include "ui/common/column_widths.h"
#include "ui/common/control_names.h"
#include "ui/common/fore_colour.h"
#include "ui/common/hourglass.h"
#include "ui/dataview/data_view_window_layout.h"
#include "ui/dataview/frmIntermittence.h"
#include "ui/display/trend_graph_fill.h"
#include "ui/display/trend_tables.h"
#include "ui/display/view_summary.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>

#include <algorithm>

namespace tq {

namespace {

void placeAt(QWidget *control, const QPointF &at) {
    place(control, at.x(), at.y());
}

void placeIn(QWidget *control, const QRectF &rect) {
    place(control, rect.x(), rect.y(), rect.width(), rect.height());
}

} // namespace

void frmIntermittence::ShowTable() {
    const Hourglass busy(*this);
    FillAlarmSummary(*vfgSummary, m_alarm, AlarmSummaryLevels::FollowEnable);
    FillAlarmTable(*vfgBrowse, m_alarm);
    // The table knows the rows it shows only once it is laid out on screen.
    if (isVisible())
        ScrollAlarmRowToMiddle(*vfgBrowse);
    else
        m_scrollWhenShown = true;
    vfgBrowse->Refresh();
}

void frmIntermittence::SetGraphData() {
    const TrendGraphBoxes boxes = ShowAlarmTrendGraph(
        *vtmGraph, m_alarm,
        {chkBrowse[kEventBox]->isChecked(), chkBrowse[kCursorBox]->isChecked()});
    QCheckBox &gasBox = *chkBrowse[0];
    gasBox.setText(boxes.gasTitle);
    SetForeColour(gasBox, boxes.gasColour);
    // Its reaction shows or hides the curve as the fill already did.
    gasBox.setChecked(boxes.gasEnabled);
    gasBox.setVisible(boxes.gasEnabled);
    if (optBrowse[1]->isChecked()) {
        chkBrowse[kEventBox]->setVisible(true);
        chkBrowse[kCursorBox]->setVisible(true);
    }
    {
        const QSignalBlocker filling(cmbBrowse);
        cmbBrowse->clear();
        cmbBrowse->addItems(boxes.zoomEntries);
        cmbBrowse->setCurrentIndex(0);
    }
    // The first entry selected: zoom 1, the graph redrawn and focused when shown.
    cmbBrowse_Click();
}

void frmIntermittence::Form_Resize() {
    if (m_laying || isMinimized())
        return;
    // Springing back to the smallest size resizes the window, which lays it out again.
    const QScopedValueRollback laying(m_laying, true);
    if (W(this) < kDataViewMinWidth || H(this) < kDataViewMinHeight)
        resize(TwipsToPixelsX(std::max(W(this), kDataViewMinWidth)),
               TwipsToPixelsY(std::max(H(this), kDataViewMinHeight)));
    const bool graph = optBrowse[1]->isChecked();
    const bool summary = !vfgSummary->isHidden();
    if (!graph)
        for (QCheckBox *box : chkBrowse)
            box->setVisible(false);
    lblTitle1->setVisible(graph);
    cmbBrowse->setVisible(graph);

    DataViewLayoutInput input;
    input.clientWidth = W(this);
    input.clientHeight = H(this);
    input.graphView = graph;
    input.summaryVisible = summary;
    input.optionWidths = {FittedWidth(optBrowse[0]), FittedWidth(optBrowse[1])};
    input.optionHeight = H(optBrowse[0]);
    input.zoomLabelWidth = FittedWidth(lblTitle1);
    input.buttonHeight = H(chkEvent);
    input.boxHeight = H(chkBrowse[0]);
    const DataViewGeometry g = LayOutDataViewWindow(input);

    placeIn(fraMenu, g.fraMenu);
    for (std::size_t i = 0; i < 2; ++i)
        place(optBrowse[i], g.optBrowse[i].x(), g.optBrowse[i].y(), input.optionWidths[i]);
    placeAt(chkEvent, g.chkEvent);
    if (summary)
        placeIn(vfgSummary, g.vfgSummary);
    placeIn(vfgBrowse, g.vfgBrowse);
    placeIn(vtmGraph, g.vtmGraph);
    // A box as wide as its caption (a gas name with its range), up to the next column.
    const double boxRoom = g.fraMenu.width() / 4 - 240;
    for (std::size_t i = 0; i < chkBrowse.size(); ++i)
        place(chkBrowse[i], g.chkBrowse[i].x(), g.chkBrowse[i].y(),
              std::min(FittedWidth(chkBrowse[i]), boxRoom));
    place(lblTitle1, g.lblTitle1.x(), g.lblTitle1.y(), input.zoomLabelWidth);
    placeAt(cmbBrowse, g.cmbBrowse);
    for (std::size_t i : {0, 2, 3, 4})
        placeIn(cmdBrowse[i], g.cmdBrowse[i]);
    const QString language = LoadMessage(101);
    ApplyColumnWidths(*vfgBrowse, LayoutGrid::DataViewBrowse, language);
    if (summary)
        ApplyColumnWidths(*vfgSummary, LayoutGrid::DataViewSummary, language);
}

} // namespace tq
