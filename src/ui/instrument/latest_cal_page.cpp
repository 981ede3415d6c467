#include "ui/instrument/latest_cal_page.h"

#include "core/errors.h"
#include "core/gui/dialogs.h"
#include "core/gui/flex_grid.h"
#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "print/frmPrint.h"
#include "ui/browser/password/frmPassword.h"
#include "ui/common/column_widths.h"
#include "ui/common/designed_controls.h"
#include "ui/instrument/page_colours.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

namespace tq {

namespace {

QColor colourOf(ListMark mark) {
    switch (mark) {
    case ListMark::Red:
        return PageColours::Red;
    case ListMark::Orange:
        return PageColours::Orange;
    case ListMark::StaleDownload:
        return PageColours::StaleDownload;
    case ListMark::None:
        break;
    }
    return {};
}

} // namespace

LatestCalPage::LatestCalPage(QGroupBox *frame, WindowHooks hooks)
    : QWidget(frame), m_hooks(std::move(hooks)) {
    setObjectName(QStringLiteral("LatestCalPage"));
    buildControls();
    m_menu = new QMenu(vfgHistory);
    m_mnuHistDel = m_menu->addAction(QStringLiteral("Delete"));
    m_menu->setObjectName(QStringLiteral("mnuHistDels"));
    m_mnuHistDel->setObjectName(QStringLiteral("mnuHistDel"));
    for (int i = 0; i < int(optHistory.size()); ++i)
        connect(optHistory[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optHistory_Click(i);
        });
    connect(vfgHistory, &FlexGrid::SelChange, this, &LatestCalPage::vfgHistory_SelChange);
    connect(vfgHistory, &FlexGrid::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint &pos) {
                vfgHistory_MouseDown(button, pos);
            });
    connect(m_mnuHistDel, &QAction::triggered, this, &LatestCalPage::mnuHistDel_Click);
    connect(cmdLastCal, &QPushButton::clicked, this, &LatestCalPage::cmdLastCal_Click);
}

void LatestCalPage::buildControls() {
    MakeDesignedArray(optHistory, this, "optHistory", {1000, 252});
    // One heading row until the list is first filled.
    vfgHistory = MakeDesigned<FlexGrid>(this, QStringLiteral("vfgHistory"));
    vfgHistory->SetCols(6);
    cmdLastCal = MakeDesigned<CaptionButton>(this, QStringLiteral("cmdLastCal"));
}

void LatestCalPage::layOut(double pw, double ph, const QString &languageCode) {
    setGeometry(0, 0, TwipsToPixelsX(pw), TwipsToPixelsY(ph));
    const double width = pw / (double(optHistory.size()) + 1);
    place(optHistory[0], 60, 240, width);
    for (std::size_t i = 1; i < optHistory.size(); ++i)
        place(optHistory[i], R(optHistory[i - 1]) + 120, 240, width);
    place(vfgHistory, 60, B(optHistory[0]) + 60, pw - 120, ph - B(optHistory[0]) - 120);
    ApplyColumnWidths(*vfgHistory, LayoutGrid::History, languageCode);
    place(cmdLastCal, R(vfgHistory) - W(vfgHistory) * 0.142, 240, W(vfgHistory) * 0.142,
          H(optHistory[0]));
}

LatestCalView LatestCalPage::view() const {
    for (int i = 0; i < int(optHistory.size()); ++i)
        if (optHistory[i]->isChecked())
            return static_cast<LatestCalView>(i);
    return LatestCalView::NeedCalibration;
}

void LatestCalPage::showDatabaseError() const {
    ShowMessage({301, LoadMessage(301, {Globals().DatabasePath}), LoadMessage(5001),
                 BoxIcon::Critical, BoxButtons::Ok});
}

void LatestCalPage::ShowLatestCalList() {
    QList<LatestCalibration> entries;
    try {
        entries = ReadLatestCalibrations(Globals().DatabasePath);
    } catch (const TqError &) {
        showDatabaseError();
        return;
    }
    m_entries = entries;
    const LatestCalView shown = view();
    FlexGrid &grid = *vfgHistory;
    grid.SetRedraw(false);
    grid.Clear();
    const bool record = shown == LatestCalView::CalibrationRecord;
    grid.SetCols(record ? 9 : 6);
    grid.SetRows(1);
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    grid.SetFocusRect(record ? FlexFocusRect::None : FlexFocusRect::Light);
    grid.SetSelectionMode(record ? FlexSelection::Free : FlexSelection::ByRow);
    // The readings line up whether they are numbers or dashes.
    grid.SetColAlignment(-1, FlexAlign::General);
    if (record)
        for (int col = 5; col <= 7; ++col)
            grid.SetColAlignment(col, FlexAlign::CenterCenter);
    writeList(BuildLatestCalList(m_entries, shown, Globals().LimitDays, Now()));
    grid.SetRedraw(true);
    if (m_entries.isEmpty())
        ShowMessage(
            {5352, LoadMessage(5352), LoadMessage(5353), BoxIcon::Critical, BoxButtons::Ok});
    if (m_hooks.layOutWindow)
        m_hooks.layOutWindow();
}

void LatestCalPage::writeList(const LatestCalList &list) {
    FlexGrid &grid = *vfgHistory;
    m_rowEntries.clear();
    if (!list.headings.isEmpty())
        SetGridRow(grid, 0, 0, false, list.headings);
    grid.SetRows(list.rows.size() + 1);
    for (int i = 0; i < list.rows.size(); ++i) {
        const LatestCalRow &row = list.rows[i];
        m_rowEntries.append(row.entry);
        SetGridRow(grid, i + 1, 0, false, row.cells);
        for (int col = 0; col < grid.Cols(); ++col) {
            const QColor colour = colourOf(row.marks[col]);
            if (colour.isValid())
                grid.SetCellBackColor(i + 1, col, colour);
        }
    }
    // As after the list was written cell by cell: the last data row is current.
    if (!list.rows.isEmpty()) {
        grid.SetRow(grid.Rows() - 1);
        grid.SetCol(grid.Cols() - 1);
    }
}

void LatestCalPage::optHistory_Click(int index) {
    if (!m_hooks.firstActivate || !m_hooks.firstActivate())
        ShowLatestCalList();
    cmdLastCal->setEnabled(index != 2);
}

void LatestCalPage::vfgHistory_SelChange() {
    if (m_selBusy)
        return;
    m_selBusy = true;
    vfgHistory->SetRowSel(vfgHistory->Row());
    m_selBusy = false;
}

void LatestCalPage::vfgHistory_MouseDown(Qt::MouseButton button, const QPoint &pos) {
    if (button != Qt::RightButton || view() == LatestCalView::CalibrationRecord)
        return;
    FlexGrid &grid = *vfgHistory;
    const int row = grid.MouseRow();
    if (row < grid.FixedRows())
        return;
    grid.SetRow(row);
    m_menu->popup(grid.viewport()->mapToGlobal(pos));
}

void LatestCalPage::mnuHistDel_Click() {
    FlexGrid &grid = *vfgHistory;
    const int row = grid.Row();
    if (row <= 0 || row > m_rowEntries.size())
        return;
    if (!frmPassword::Ask())
        return;
    if (ShowMessage({5357, LoadMessage(5357, {grid.TextMatrix(row, 1)}), LoadMessage(5358),
                     BoxIcon::Information, BoxButtons::YesNo}) != BoxAnswer::Yes)
        return;
    try {
        DeleteLatestCalibration(Globals().DatabasePath, m_entries[m_rowEntries[row - 1]]);
    } catch (const TqError &) {
        showDatabaseError();
        return;
    }
    ShowLatestCalList();
}

void LatestCalPage::cmdLastCal_Click() {
    if (vfgHistory->Rows() <= 0)
        return;
    PrintRequest request;
    request.DataType = frmPrint::kLastCalibration;
    request.frmObj = vfgHistory;
    frmPrint().GoPrinter(request);
}

} // namespace tq
