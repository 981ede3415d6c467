#include "core/gui/flex_grid.h"

namespace tq {

struct FlexGrid::Private {};

FlexGrid::FlexGrid(QWidget *parent) : QTableView(parent), d(std::make_unique<Private>()) {}
FlexGrid::~FlexGrid() = default;

int FlexGrid::Rows() const {
    return 0;
}
void FlexGrid::SetRows(int) {}
int FlexGrid::Cols() const {
    return 0;
}
void FlexGrid::SetCols(int) {}
int FlexGrid::FixedRows() const {
    return 0;
}
void FlexGrid::SetFixedRows(int) {}
int FlexGrid::FixedCols() const {
    return 0;
}
void FlexGrid::SetFixedCols(int) {}
QString FlexGrid::TextMatrix(int, int) const {
    return {};
}
void FlexGrid::SetTextMatrix(int, int, const QString &) {}
QString FlexGrid::Text() const {
    return {};
}
void FlexGrid::SetText(const QString &) {}
void FlexGrid::Clear() {}
int FlexGrid::Row() const {
    return -1;
}
void FlexGrid::SetRow(int) {}
int FlexGrid::Col() const {
    return -1;
}
void FlexGrid::SetCol(int) {}
int FlexGrid::RowSel() const {
    return -1;
}
void FlexGrid::SetRowSel(int) {}
int FlexGrid::ColSel() const {
    return -1;
}
void FlexGrid::SetColSel(int) {}
FlexSelection FlexGrid::SelectionMode() const {
    return FlexSelection::Free;
}
void FlexGrid::SetSelectionMode(FlexSelection) {}
FlexFocusRect FlexGrid::FocusRect() const {
    return FlexFocusRect::Light;
}
void FlexGrid::SetFocusRect(FlexFocusRect) {}
QColor FlexGrid::CellBackColor(int, int) const {
    return {};
}
void FlexGrid::SetCellBackColor(int, int, const QColor &) {}
QColor FlexGrid::CellBackColor() const {
    return {};
}
void FlexGrid::SetCellBackColor(const QColor &) {}
QColor FlexGrid::CellForeColor(int, int) const {
    return {};
}
void FlexGrid::SetCellForeColor(int, int, const QColor &) {}
QColor FlexGrid::CellForeColor() const {
    return {};
}
void FlexGrid::SetCellForeColor(const QColor &) {}
QColor FlexGrid::BackColor() const {
    return {};
}
void FlexGrid::SetBackColor(const QColor &) {}
QColor FlexGrid::BackColorFixed() const {
    return {};
}
void FlexGrid::SetBackColorFixed(const QColor &) {}
FlexAlign FlexGrid::ColAlignment(int) const {
    return FlexAlign::General;
}
void FlexGrid::SetColAlignment(int, FlexAlign) {}
FlexAlign FlexGrid::CellAlignment(int, int) const {
    return FlexAlign::General;
}
FlexAlign FlexGrid::CellAlignment() const {
    return FlexAlign::General;
}
void FlexGrid::SetCellAlignment(FlexAlign) {}
void FlexGrid::SetCellAlignment(int, int, int, int, FlexAlign) {}
int FlexGrid::ColWidth(int) const {
    return 0;
}
void FlexGrid::SetColWidth(int, int) {}
int FlexGrid::RowHeight(int) const {
    return 0;
}
void FlexGrid::SetRowHeight(int, int) {}
void FlexGrid::AutoSize(int) {}
int FlexGrid::TopRow() const {
    return 0;
}
void FlexGrid::SetTopRow(int) {}
int FlexGrid::BottomRow() const {
    return 0;
}
FlexMerge FlexGrid::MergeCells() const {
    return FlexMerge::Never;
}
void FlexGrid::SetMergeCells(FlexMerge) {}
bool FlexGrid::MergeRow(int) const {
    return false;
}
void FlexGrid::SetMergeRow(int, bool) {}
bool FlexGrid::Redraw() const {
    return true;
}
void FlexGrid::SetRedraw(bool) {}
void FlexGrid::Refresh() {}
int FlexGrid::RowAt(const QPoint &) const {
    return -1;
}
int FlexGrid::ColAt(const QPoint &) const {
    return -1;
}
int FlexGrid::MouseRow() const {
    return -1;
}
int FlexGrid::MouseCol() const {
    return -1;
}
bool FlexGrid::Editable() const {
    return false;
}
void FlexGrid::SetEditable(bool) {}
void FlexGrid::EditCell() {}
bool FlexGrid::Editing() const {
    return false;
}
QString FlexGrid::EditText() const {
    return {};
}
void FlexGrid::SetEditText(const QString &) {}

bool FlexGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) {
    return QTableView::edit(index, trigger, event);
}
void FlexGrid::commitData(QWidget *editor) {
    QTableView::commitData(editor);
}
void FlexGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
}
void FlexGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    QTableView::currentChanged(current, previous);
}
void FlexGrid::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) {
    QTableView::selectionChanged(selected, deselected);
}
void FlexGrid::mousePressEvent(QMouseEvent *event) {
    QTableView::mousePressEvent(event);
}
void FlexGrid::mouseMoveEvent(QMouseEvent *event) {
    QTableView::mouseMoveEvent(event);
}
void FlexGrid::resizeEvent(QResizeEvent *event) {
    QTableView::resizeEvent(event);
}
void FlexGrid::updateGeometries() {
    QTableView::updateGeometries();
}
void FlexGrid::scrollTo(const QModelIndex &index, ScrollHint hint) {
    QTableView::scrollTo(index, hint);
}
bool FlexGrid::eventFilter(QObject *watched, QEvent *event) {
    return QTableView::eventFilter(watched, event);
}

void SetGridRow(FlexGrid &, int, int, bool, const QStringList &) {}

} // namespace tq
