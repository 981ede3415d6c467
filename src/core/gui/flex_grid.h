#pragma once

#include <QColor>
#include <QPoint>
#include <QStringList>
#include <QTableView>
#include <QVariant>

#include <memory>

class QLineEdit;

namespace tq {

class FlexGridModel;

// Cell alignment codes, numbered as the program's grid settings number them.
enum class FlexAlign {
    LeftCenter = 1,   // left, vertically centred
    CenterCenter = 4, // centred both ways
    General = 9,      // the default: numbers right, other texts left, vertically centred
};

// How neighbouring cells of equal text merge into one shown cell.
enum class FlexMerge {
    Never = 0,        // no cell merges, whatever MergeRow says
    RestrictRows = 2, // within each row whose MergeRow is set, equal neighbours merge
};

// What a click or a key selects.
enum class FlexSelection {
    Free = 0,  // a rectangle of cells
    ByRow = 1, // whole rows
};

// Whether the current cell shows a focus rectangle.
enum class FlexFocusRect {
    None = 0,
    Light = 1,
};

// The program's grid: rows and columns of texts with optional heading rows and columns
// (fixed cells, drawn grey and never selected or edited), per-cell colours and alignment,
// merging of equal neighbours in chosen rows, a current cell with a selection, and
// in-place editing with cancellable events.
//
// Rows and columns count from 0 and include the fixed ones: row 0 is the first heading
// row when FixedRows() is at least 1. The fixed rows stay at the top while the other rows
// scroll. Texts are stored compactly (one vector of texts per row, formats only for cells
// that have them), so tables of tens of thousands of rows fill quickly, fastest with
// SetRedraw(false) around the fill.
//
// Colours: an invalid QColor stands for "no colour of its own"; such a cell is painted
// with BackColor() (or BackColorFixed() in a fixed cell). Setting an invalid colour
// returns a cell to the default. A cell given BackColorFixed() explicitly reports that
// colour back, which the instrument pages use to mark read-only cells.
//
// Sizes (ColWidth, RowHeight) are in twips, converted with the screen's twips per pixel.
//
// The grid's own members always see every cell at once. The underlying Qt view (model(),
// visualRect(), spans) learns new row and column counts when the event loop runs next or
// when a member that needs the layout (sizes, TopRow, RowAt, EditCell) is called.
// The mouse pointer is the widget's cursor: setCursor() on the grid covers every cell.
//
// Events are Qt signals; where an event can be refused it carries `bool &cancel`, which
// the handler sets to refuse (connect them directly, in the grid's thread).
class FlexGrid : public QTableView {
    Q_OBJECT

public:
    explicit FlexGrid(QWidget *parent = nullptr);
    ~FlexGrid() override;

    // --- Size ---------------------------------------------------------------------------
    // Row and column counts (a new grid has 1 row and 1 column). Growing adds empty cells;
    // shrinking drops the cells beyond the new count, with their formats. A count below
    // FixedRows()/FixedCols() lowers those. The current cell is kept inside the grid.
    int Rows() const;
    void SetRows(int rows);
    int Cols() const;
    void SetCols(int cols);

    // The heading rows at the top and heading columns at the left (default 1 and 0).
    // Asking for more fixed rows (columns) than the grid has adds rows (columns).
    int FixedRows() const;
    void SetFixedRows(int rows);
    int FixedCols() const;
    void SetFixedCols(int cols);

    // --- Texts --------------------------------------------------------------------------
    // The text of cell (row, col); reading outside the grid gives an empty text, writing
    // outside it is ignored.
    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString &text);
    // A value kept with a row and never shown (VSFlexGrid's RowData); Clear and fewer rows
    // drop it, a row outside the grid takes none.
    QVariant RowData(int row) const;
    void SetRowData(int row, const QVariant &value);

    // The text of the current cell (Row(), Col()).
    QString Text() const;
    void SetText(const QString &text);

    // Empties every cell (fixed ones too) and drops every cell format (colours and cell
    // alignment). Counts, fixed rows and columns, column alignment, merge settings,
    // widths and the current cell stay.
    void Clear();

    // --- Current cell and selection -------------------------------------------------------
    // The current cell. Any cell may be made current from code, fixed ones included (the
    // pages format a heading cell that way); the user can only reach non-fixed cells.
    // Setting it from code does not scroll; a row or column outside the grid is ignored.
    // -1 until a cell was made current; setting only Row (Col) then takes the first
    // non-fixed column (row) with it.
    // Setting Row or Col also collapses the selection to the current cell (to its row in
    // row selection) and raises RowColChange and SelChange when they change.
    int Row() const;
    void SetRow(int row);
    int Col() const;
    void SetCol(int col);

    // The corner of the selection opposite the current cell. Setting RowSel (ColSel)
    // selects the rectangle from the current cell to it and raises SelChange.
    int RowSel() const;
    void SetRowSel(int row);
    int ColSel() const;
    void SetColSel(int col);

    FlexSelection SelectionMode() const;
    void SetSelectionMode(FlexSelection mode);

    FlexFocusRect FocusRect() const;
    void SetFocusRect(FlexFocusRect focus);

    // --- Colours --------------------------------------------------------------------------
    // The background of a cell of its own, per cell or for the current cell.
    QColor CellBackColor(int row, int col) const;
    void SetCellBackColor(int row, int col, const QColor &color);
    QColor CellBackColor() const;
    void SetCellBackColor(const QColor &color);

    // The text colour of a cell of its own (invalid: the grid's text colour).
    QColor CellForeColor(int row, int col) const;
    void SetCellForeColor(int row, int col, const QColor &color);
    QColor CellForeColor() const;
    void SetCellForeColor(const QColor &color);

    // The default background of the non-fixed cells (the palette's base colour until set)
    // and the background of the fixed cells (a light grey until set).
    QColor BackColor() const;
    void SetBackColor(const QColor &color);
    QColor BackColorFixed() const;
    void SetBackColorFixed(const QColor &color);

    // --- Alignment ------------------------------------------------------------------------
    // The alignment of a column's cells that have none of their own; col -1 sets every
    // column. A cell's own alignment wins over its column's.
    FlexAlign ColAlignment(int col) const;
    void SetColAlignment(int col, FlexAlign align);

    // A cell's own alignment (its column's when it has none), per cell, for the current
    // cell, or set over the rectangle (row1, col1)-(row2, col2), corners in any order.
    FlexAlign CellAlignment(int row, int col) const;
    FlexAlign CellAlignment() const;
    void SetCellAlignment(FlexAlign align);
    void SetCellAlignment(int row1, int col1, int row2, int col2, FlexAlign align);

    // --- Geometry -------------------------------------------------------------------------
    // Width of a column and height of a row in twips.
    int ColWidth(int col) const;
    void SetColWidth(int col, int twips);
    int RowHeight(int row) const;
    void SetRowHeight(int row, int twips);

    // Widens or narrows a column to its longest text (fixed cells included).
    void AutoSize(int col);

    // The first non-fixed row shown at the top of the scrolling area, and the last row
    // (partly) shown. Setting TopRow scrolls so that the row is the first shown under the
    // headings, as far as the scroll range allows.
    int TopRow() const;
    void SetTopRow(int row);
    int BottomRow() const;

    // --- Merging --------------------------------------------------------------------------
    // With FlexMerge::RestrictRows, neighbouring cells of equal, non-empty text in a row
    // whose MergeRow is set are shown as one cell, its text and format those of the first
    // cell; a run does not cross from the fixed columns into the others. The merges are
    // recomputed from the texts whenever they change.
    FlexMerge MergeCells() const;
    void SetMergeCells(FlexMerge merge);
    bool MergeRow(int row) const;
    void SetMergeRow(int row, bool merge);

    // --- Drawing --------------------------------------------------------------------------
    // While Redraw is off the grid neither paints nor tells its view about changes, so a
    // bulk fill costs only the stores; turning it on again shows the whole result once.
    bool Redraw() const;
    void SetRedraw(bool redraw);
    // Repaints the grid now.
    void Refresh();

    // --- Mouse ----------------------------------------------------------------------------
    // The cell under a point of the grid widget's own coordinates (-1 outside any cell);
    // fixed rows are found where they are drawn, above the scrolling rows.
    int RowAt(const QPoint &pos) const;
    int ColAt(const QPoint &pos) const;
    // The cell under the mouse at its last press or move over the grid (-1 when none).
    int MouseRow() const;
    int MouseCol() const;

    // --- Editing --------------------------------------------------------------------------
    // Whether the user may edit the non-fixed cells (double click, F2, typing or a click
    // on the current cell). Off by default.
    bool Editable() const;
    void SetEditable(bool editable);

    // Opens the editor on the current cell, as the user would (BeforeEdit and StartEdit
    // may refuse).
    void EditCell();
    // True while an editor is open.
    bool Editing() const;
    // The editor's text while an editor is open (empty otherwise); ValidateEdit handlers
    // read and replace it. The replaced text is what an accepted edit stores.
    QString EditText() const;
    void SetEditText(const QString &text);
    // How many characters of the editor's text are selected (0 while none is, or while no
    // editor is open); a typed character replaces them.
    int EditSelLength() const;
    // Ends the open edit: with `cancel` the typed text is dropped as Escape drops it;
    // otherwise it is validated and stored as Return stores it (a refused validation keeps
    // the editor open). From a ValidateEdit handler, FinishEditing(true) closes the editor
    // on the cell's old text instead of keeping it open on the typed one.
    void FinishEditing(bool cancel = false);

signals:
    // The current cell changed (by the user or from code).
    void RowColChange();
    // The selection changed (by the user or from code).
    void SelChange();

    // The keyboard focus came into the grid (its editor included) from outside, or left it.
    void GotFocus();
    void LostFocus();

    // An edit of (row, col) is about to start; `cancel` refuses it.
    void BeforeEdit(int row, int col, bool &cancel);
    // The editor is about to open on (row, col); `cancel` still refuses it.
    void StartEdit(int row, int col, bool &cancel);
    // A character typed into the editor, as its Unicode code (Backspace 8); setting `key`
    // to 0 discards it, another code types that character instead.
    void KeyPressEdit(int row, int col, int &key);
    // The editor's text changed (also when it opens with the cell's text).
    void ChangeEdit();
    // The typed text (EditText()) is about to be stored; `cancel` keeps the editor open
    // with the typed text and stores nothing.
    void ValidateEdit(int row, int col, bool &cancel);
    // An accepted edit was stored and the editor closed.
    void AfterEdit(int row, int col);

    // Mouse button pressed or mouse moved over the grid, in grid-widget coordinates;
    // MouseRow()/MouseCol() already give the cell under `pos`.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPoint &pos);

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void updateGeometries() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Writes `values` into consecutive cells of `row` from `firstCol` on, dropping those past
// the last column. With `fill` set, the cells right of the last one written (right of
// firstCol - 1 when nothing was written) up to the last column get the last value written
// again (an empty text when `values` is empty); without it they keep their texts. The row
// writer of every page and window that fills a property/value or record grid.
void SetGridRow(FlexGrid &grid, int row, int firstCol, bool fill, const QStringList &values);

// The texts of the first `columns` cells of a row (a printed table row).
QStringList GridRowTexts(const FlexGrid &grid, int row, int columns);

} // namespace tq
