#include "core/gui/flex_grid.h"

#include "core/gui/flex_grid_model.h"
#include "core/gui/twips.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <functional>
#include <utility>

namespace tq {

namespace {

// The classic button face: the grey of heading cells.
const QColor kDefaultBackColorFixed{212, 208, 200};

constexpr QAbstractItemView::EditTriggers kEditTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked;

// Paints the current cell without its focus frame when the grid shows none, and hands
// each new editor to the grid before it sees its first key.
class FlexGridDelegate : public QStyledItemDelegate {
public:
    FlexGridDelegate(FlexGrid *grid, std::function<void(QWidget *)> editorMade)
        : QStyledItemDelegate(grid), m_grid(grid), m_editorMade(std::move(editorMade)) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        m_editorMade(editor);
        return editor;
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (m_grid->FocusRect() == FlexFocusRect::None)
            option->state &= ~QStyle::State_HasFocus;
    }

private:
    FlexGrid *m_grid;
    std::function<void(QWidget *)> m_editorMade;
};

// A plain table view without headers, scroll bars of its own or clipped texts.
void setUpView(QTableView *view) {
    view->horizontalHeader()->hide();
    view->verticalHeader()->hide();
    view->horizontalHeader()->setMinimumSectionSize(0);
    view->verticalHeader()->setMinimumSectionSize(0);
    view->setTextElideMode(Qt::ElideNone);
    view->setWordWrap(false);
    view->viewport()->setMouseTracking(true);
}

} // namespace

struct FlexGrid::Private {
    FlexGrid *q = nullptr;
    FlexGridModel *model = nullptr;
    // The fixed rows, drawn in the margin above the scrolling rows; the grid itself hides
    // them, so they never scroll away.
    QTableView *heads = nullptr;
    int hiddenRows = 0; // rows hidden in the scrolling part

    int row = -1;
    int col = -1;
    int rowSel = -1;
    int colSel = -1;
    FlexSelection selection = FlexSelection::Free;
    FlexFocusRect focus = FlexFocusRect::Light;
    FlexMerge merge = FlexMerge::Never;
    bool syncing = false;        // the view's selection is being set from ours
    bool publishPending = false; // new counts wait for the event loop

    int mouseRow = -1;
    int mouseCol = -1;

    QPointer<QLineEdit> editor;
    int editRow = -1;
    int editCol = -1;
    bool refused = false;    // the last validation kept the editor open
    bool accepted = false;   // the last validation stored the text
    bool validating = false; // a ValidateEdit handler runs
    bool discard = false;    // that handler asked to drop the typed text

    int headsHeight() const {
        int height = 0;
        const int fixed = std::min(model->FixedRows(), model->rowCount());
        for (int r = 0; r < fixed; ++r)
            height += heads->rowHeight(r);
        return height;
    }

    // A grid that grows row by row would tell its view of every row, at a cost that
    // grows with the rows already there; the view learns the counts once, when the
    // event loop runs again.
    void publishLater() {
        if (!model->Live() || std::exchange(publishPending, true))
            return;
        QMetaObject::invokeMethod(
            q,
            [this] {
                if (std::exchange(publishPending, false) && model->Live())
                    publishNow();
            },
            Qt::QueuedConnection);
    }

    void publishNow() {
        publishPending = false;
        model->Publish();
        afterPublish();
    }

    // Makes sure the view knows every row and column, also while Redraw is off.
    void ensurePublished() {
        if (!model->Live() || publishPending)
            publishNow();
        q->executeDelayedItemsLayout();
    }

    // Brings the hidden heading rows, the merges, the current cell and the geometry of the
    // view in line with the cells after the view learnt new counts.
    void afterPublish() {
        const int fixed = model->FixedRows();
        const int rows = model->rowCount();
        for (int r = 0; r < std::min(std::max(fixed, hiddenRows), rows); ++r)
            q->setRowHidden(r, r < fixed);
        hiddenRows = std::min(fixed, rows);
        applyMerges();
        pushSelection();
        q->updateGeometries();
    }

    // Runs of equal, non-empty texts in merged rows become spans; a run never crosses from
    // a fixed column into the others.
    void applyMerges() {
        q->clearSpans();
        heads->clearSpans();
        if (merge == FlexMerge::Never)
            return;
        const int rows = model->rowCount();
        const int cols = model->columnCount();
        for (const int r : model->MergeRows()) {
            if (r >= rows)
                break;
            QTableView *view = r < model->FixedRows() ? heads : q;
            for (int c = 0; c < cols;) {
                const QString &text = model->Text(r, c);
                int end = c + 1;
                while (!text.isEmpty() && end < cols && end != model->FixedCols() &&
                       model->Text(r, end) == text)
                    ++end;
                if (end - c > 1)
                    view->setSpan(r, c, 1, end - c);
                c = end;
            }
        }
    }

    // Shows our current cell and selection in the view, without scrolling to them.
    void pushSelection() {
        if (!model->Published(std::max(row, rowSel), std::max(col, colSel)))
            return; // shown once the view knows the cell
        syncing = true;
        const bool autoScroll = q->hasAutoScroll();
        q->setAutoScroll(false);
        QItemSelectionModel *selectionModel = q->selectionModel();
        if (model->Contains(row, col) && model->Contains(rowSel, colSel)) {
            selectionModel->setCurrentIndex(model->index(row, col), QItemSelectionModel::NoUpdate);
            const QItemSelection range(model->index(std::min(row, rowSel), std::min(col, colSel)),
                                       model->index(std::max(row, rowSel), std::max(col, colSel)));
            QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
            if (selection == FlexSelection::ByRow)
                flags |= QItemSelectionModel::Rows;
            selectionModel->select(range, flags);
        } else {
            selectionModel->clear();
        }
        q->setAutoScroll(autoScroll);
        syncing = false;
    }

    // Takes the current cell and selection the user left in the view.
    void pullSelection() {
        if (syncing)
            return;
        const QModelIndex current = q->currentIndex();
        const int newRow = current.isValid() ? current.row() : row;
        const int newCol = current.isValid() ? current.column() : col;
        int newRowSel = newRow;
        int newColSel = newCol;
        const QItemSelection selected = q->selectionModel()->selection();
        if (!selected.isEmpty()) {
            int top = selected.first().top(), bottom = selected.first().bottom();
            int left = selected.first().left(), right = selected.first().right();
            for (const QItemSelectionRange &range : selected) {
                top = std::min(top, range.top());
                bottom = std::max(bottom, range.bottom());
                left = std::min(left, range.left());
                right = std::max(right, range.right());
            }
            newRowSel = top == newRow ? bottom : top;
            if (selection == FlexSelection::Free)
                newColSel = left == newCol ? right : left;
        }
        setState(newRow, newCol, newRowSel, newColSel, false);
    }

    // Takes a new current cell and selection, shows it when asked and tells the handlers.
    void setState(int newRow, int newCol, int newRowSel, int newColSel, bool push) {
        const bool moved = newRow != row || newCol != col;
        const bool selMoved = moved || newRowSel != rowSel || newColSel != colSel;
        row = newRow;
        col = newCol;
        rowSel = newRowSel;
        colSel = newColSel;
        if (push)
            pushSelection();
        if (moved)
            emit q->RowColChange();
        if (selMoved)
            emit q->SelChange();
    }

    // Keeps the current cell and the selection inside the grid after its size changed.
    void clampState() {
        const auto clampTo = [](int value, int count) { return std::min(value, count - 1); };
        const int rows = model->Rows();
        const int cols = model->Cols();
        setState(clampTo(row, rows), clampTo(col, cols), clampTo(rowSel, rows),
                 clampTo(colSel, cols), false);
    }

    void resize(int rows, int cols) {
        model->Resize(rows, cols);
        clampState();
        publishLater();
    }

    // Runs `write` on the format of a cell of the grid and repaints the cell.
    template <typename Write> void writeFormat(int r, int c, Write write) {
        if (!model->Contains(r, c))
            return;
        write(model->FormatForWrite(r, c));
        model->CellChanged(r, c);
    }

    // The mouse's cell for a position in the grid's own coordinates.
    void trackMouse(const QPoint &pos) {
        mouseRow = q->RowAt(pos);
        mouseCol = q->ColAt(pos);
    }
};

FlexGrid::FlexGrid(QWidget *parent) : QTableView(parent), d(std::make_unique<Private>()) {
    d->q = this;
    d->model = new FlexGridModel(this);
    d->model->SetBackColors(QColor(), kDefaultBackColorFixed);
    setModel(d->model);
    setItemDelegate(new FlexGridDelegate(this, [this](QWidget *editor) {
        d->editor = qobject_cast<QLineEdit *>(editor);
        if (d->editor) {
            d->editor->installEventFilter(this);
            connect(d->editor, &QLineEdit::textChanged, this, &FlexGrid::ChangeEdit);
        }
    }));
    setUpView(this);
    // Qt lays the scrolling rows out below a shown horizontal header, whenever and however
    // often it lays the grid out, shown or hidden. Kept exactly as high as the heading rows
    // and covered by them, the header holds their room; a margin of our own would be reset
    // by every such layout.
    horizontalHeader()->show();
    setSelectionMode(ContiguousSelection);
    setEditTriggers(NoEditTriggers);

    d->heads = new QTableView(this);
    d->heads->setObjectName(QStringLiteral("FlexGridHeadings"));
    d->heads->setModel(d->model);
    setUpView(d->heads);
    d->heads->setFrameShape(QFrame::NoFrame);
    d->heads->setFocusPolicy(Qt::NoFocus);
    d->heads->setSelectionMode(NoSelection);
    d->heads->setEditTriggers(NoEditTriggers);
    d->heads->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    d->heads->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    d->heads->viewport()->installEventFilter(this);
    d->heads->raise();

    connect(horizontalScrollBar(), &QScrollBar::valueChanged, d->heads->horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int col, int, int size) { d->heads->setColumnWidth(col, size); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        const auto inside = [this](QWidget *w) { return w && (w == this || isAncestorOf(w)); };
        if (!inside(old) && inside(now))
            emit GotFocus();
        else if (inside(old) && !inside(now))
            emit LostFocus();
    });
    connect(d->model, &FlexGridModel::MergeTextChanged, this, [this] {
        if (d->model->Live() && !d->publishPending)
            d->applyMerges();
    });

    d->resize(1, 1);
    SetFixedRows(1);
}

FlexGrid::~FlexGrid() = default;

int FlexGrid::Rows() const {
    return d->model->Rows();
}

void FlexGrid::SetRows(int rows) {
    d->resize(rows, Cols());
}

int FlexGrid::Cols() const {
    return d->model->Cols();
}

void FlexGrid::SetCols(int cols) {
    d->resize(Rows(), cols);
}

int FlexGrid::FixedRows() const {
    return d->model->FixedRows();
}

void FlexGrid::SetFixedRows(int rows) {
    if (rows > Rows())
        d->resize(rows, Cols());
    d->model->SetFixed(rows, FixedCols());
    if (d->model->Live())
        d->afterPublish();
}

int FlexGrid::FixedCols() const {
    return d->model->FixedCols();
}

void FlexGrid::SetFixedCols(int cols) {
    if (cols > Cols())
        d->resize(Rows(), cols);
    d->model->SetFixed(FixedRows(), cols);
    if (d->model->Live())
        d->applyMerges();
}

QString FlexGrid::TextMatrix(int row, int col) const {
    return d->model->Text(row, col);
}

void FlexGrid::SetTextMatrix(int row, int col, const QString &text) {
    d->model->SetText(row, col, text);
}

QString FlexGrid::Text() const {
    return TextMatrix(d->row, d->col);
}

void FlexGrid::SetText(const QString &text) {
    SetTextMatrix(d->row, d->col, text);
}

QVariant FlexGrid::RowData(int row) const {
    return d->model->RowData(row);
}

void FlexGrid::SetRowData(int row, const QVariant &value) {
    d->model->SetRowData(row, value);
}

void FlexGrid::Clear() {
    d->model->Clear();
}

int FlexGrid::Row() const {
    return d->row;
}

void FlexGrid::SetRow(int row) {
    if (row < 0 || row >= Rows())
        return;
    const int col = d->col >= 0 ? d->col : std::min(FixedCols(), Cols() - 1);
    d->setState(row, col, row, col, true);
}

int FlexGrid::Col() const {
    return d->col;
}

void FlexGrid::SetCol(int col) {
    if (col < 0 || col >= Cols())
        return;
    const int row = d->row >= 0 ? d->row : std::min(FixedRows(), Rows() - 1);
    d->setState(row, col, row, col, true);
}

int FlexGrid::RowSel() const {
    return d->rowSel;
}

void FlexGrid::SetRowSel(int row) {
    if (row < 0 || row >= Rows())
        return;
    d->setState(d->row, d->col, row, d->colSel, true);
}

int FlexGrid::ColSel() const {
    return d->colSel;
}

void FlexGrid::SetColSel(int col) {
    if (col < 0 || col >= Cols())
        return;
    d->setState(d->row, d->col, d->rowSel, col, true);
}

FlexSelection FlexGrid::SelectionMode() const {
    return d->selection;
}

void FlexGrid::SetSelectionMode(FlexSelection mode) {
    d->selection = mode;
    setSelectionBehavior(mode == FlexSelection::ByRow ? SelectRows : SelectItems);
    d->pushSelection();
}

FlexFocusRect FlexGrid::FocusRect() const {
    return d->focus;
}

void FlexGrid::SetFocusRect(FlexFocusRect focus) {
    d->focus = focus;
    viewport()->update();
}

QColor FlexGrid::CellBackColor(int row, int col) const {
    const FlexCellFormat *format = d->model->Format(row, col);
    return format ? format->back : QColor();
}

void FlexGrid::SetCellBackColor(int row, int col, const QColor &color) {
    d->writeFormat(row, col, [&](FlexCellFormat &format) { format.back = color; });
}

QColor FlexGrid::CellBackColor() const {
    return CellBackColor(d->row, d->col);
}

void FlexGrid::SetCellBackColor(const QColor &color) {
    SetCellBackColor(d->row, d->col, color);
}

QColor FlexGrid::CellForeColor(int row, int col) const {
    const FlexCellFormat *format = d->model->Format(row, col);
    return format ? format->fore : QColor();
}

void FlexGrid::SetCellForeColor(int row, int col, const QColor &color) {
    d->writeFormat(row, col, [&](FlexCellFormat &format) { format.fore = color; });
}

QColor FlexGrid::CellForeColor() const {
    return CellForeColor(d->row, d->col);
}

void FlexGrid::SetCellForeColor(const QColor &color) {
    SetCellForeColor(d->row, d->col, color);
}

QColor FlexGrid::BackColor() const {
    const QColor back = d->model->BackColor();
    return back.isValid() ? back : palette().color(QPalette::Base);
}

void FlexGrid::SetBackColor(const QColor &color) {
    d->model->SetBackColors(color, d->model->BackColorFixed());
}

QColor FlexGrid::BackColorFixed() const {
    return d->model->BackColorFixed();
}

void FlexGrid::SetBackColorFixed(const QColor &color) {
    d->model->SetBackColors(d->model->BackColor(), color);
}

FlexAlign FlexGrid::ColAlignment(int col) const {
    return d->model->ColAlignment(col);
}

void FlexGrid::SetColAlignment(int col, FlexAlign align) {
    d->model->SetColAlignment(col, align);
}

FlexAlign FlexGrid::CellAlignment(int row, int col) const {
    return d->model->Alignment(row, col);
}

FlexAlign FlexGrid::CellAlignment() const {
    return CellAlignment(d->row, d->col);
}

void FlexGrid::SetCellAlignment(FlexAlign align) {
    SetCellAlignment(d->row, d->col, d->row, d->col, align);
}

void FlexGrid::SetCellAlignment(int row1, int col1, int row2, int col2, FlexAlign align) {
    for (int r = std::min(row1, row2); r <= std::max(row1, row2); ++r)
        for (int c = std::min(col1, col2); c <= std::max(col1, col2); ++c)
            d->writeFormat(r, c, [&](FlexCellFormat &format) { format.align = align; });
}

int FlexGrid::ColWidth(int col) const {
    d->ensurePublished();
    return PixelsToTwipsX(columnWidth(col));
}

void FlexGrid::SetColWidth(int col, int twips) {
    d->ensurePublished();
    const int pixels = std::max(TwipsToPixelsX(twips), 0);
    setColumnWidth(col, pixels);
    d->heads->setColumnWidth(col, pixels);
}

int FlexGrid::RowHeight(int row) const {
    d->ensurePublished();
    const QTableView *view = row < FixedRows() ? d->heads : this;
    return PixelsToTwipsY(view->rowHeight(row));
}

void FlexGrid::SetRowHeight(int row, int twips) {
    d->ensurePublished();
    const int pixels = std::max(TwipsToPixelsY(twips), 0);
    setRowHeight(row, pixels);
    d->heads->setRowHeight(row, pixels);
    updateGeometries();
}

void FlexGrid::AutoSize(int col) {
    if (col < 0 || col >= Cols())
        return;
    const QFontMetrics metrics(font());
    int widest = 0;
    for (int r = 0; r < Rows(); ++r)
        widest = std::max(widest, metrics.horizontalAdvance(TextMatrix(r, col)));
    // The delegate's text margins on both sides and the grid line.
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    d->ensurePublished();
    setColumnWidth(col, widest + margin + 1);
}

int FlexGrid::TopRow() const {
    d->ensurePublished();
    const int row = rowAt(0);
    return row < 0 ? FixedRows() : row;
}

void FlexGrid::SetTopRow(int row) {
    if (row < FixedRows() || row >= Rows())
        return;
    d->ensurePublished();
    const int col = std::max(columnAt(0), 0);
    QTableView::scrollTo(d->model->index(row, col), PositionAtTop);
}

int FlexGrid::BottomRow() const {
    d->ensurePublished();
    const int row = rowAt(viewport()->height() - 1);
    return row < 0 ? Rows() - 1 : row;
}

FlexMerge FlexGrid::MergeCells() const {
    return d->merge;
}

void FlexGrid::SetMergeCells(FlexMerge merge) {
    d->merge = merge;
    if (d->model->Live())
        d->applyMerges();
}

bool FlexGrid::MergeRow(int row) const {
    return d->model->MergeRow(row);
}

void FlexGrid::SetMergeRow(int row, bool merge) {
    d->model->SetMergeRow(row, merge);
}

bool FlexGrid::Redraw() const {
    return d->model->Live();
}

void FlexGrid::SetRedraw(bool redraw) {
    if (redraw == d->model->Live())
        return;
    d->model->SetLive(redraw);
    if (redraw)
        d->publishNow();
    setUpdatesEnabled(redraw);
}

void FlexGrid::Refresh() {
    viewport()->update();
    d->heads->viewport()->update();
}

int FlexGrid::RowAt(const QPoint &pos) const {
    d->ensurePublished();
    if (d->heads->isVisible() && d->heads->geometry().contains(pos))
        return d->heads->rowAt(pos.y() - d->heads->y());
    if (viewport()->geometry().contains(pos))
        return rowAt(pos.y() - viewport()->y());
    return -1;
}

int FlexGrid::ColAt(const QPoint &pos) const {
    d->ensurePublished();
    if (d->heads->isVisible() && d->heads->geometry().contains(pos))
        return d->heads->columnAt(pos.x() - d->heads->x());
    if (viewport()->geometry().contains(pos))
        return columnAt(pos.x() - viewport()->x());
    return -1;
}

int FlexGrid::MouseRow() const {
    return d->mouseRow;
}

int FlexGrid::MouseCol() const {
    return d->mouseCol;
}

bool FlexGrid::Editable() const {
    return d->model->Editable();
}

void FlexGrid::SetEditable(bool editable) {
    d->model->SetEditable(editable);
    setEditTriggers(editable ? kEditTriggers : NoEditTriggers);
}

void FlexGrid::EditCell() {
    d->ensurePublished();
    d->pushSelection();
    edit(d->model->index(d->row, d->col), AllEditTriggers, nullptr);
}

bool FlexGrid::Editing() const {
    return !d->editor.isNull();
}

QString FlexGrid::EditText() const {
    return d->editor ? d->editor->text() : QString();
}

void FlexGrid::SetEditText(const QString &text) {
    if (d->editor)
        d->editor->setText(text);
}

int FlexGrid::EditSelLength() const {
    return d->editor ? int(d->editor->selectedText().size()) : 0;
}

void FlexGrid::FinishEditing(bool cancel) {
    if (!d->editor)
        return;
    if (d->validating) {
        d->discard = d->discard || cancel;
        return;
    }
    QLineEdit *editor = d->editor;
    if (!cancel)
        commitData(editor);
    closeEditor(editor, cancel ? QAbstractItemDelegate::RevertModelCache
                               : QAbstractItemDelegate::SubmitModelCache);
}

bool FlexGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) {
    const bool opens = index.isValid() && Editable() && !d->editor &&
                       (trigger == AllEditTriggers || (editTriggers() & trigger)) &&
                       !d->model->IsFixed(index.row(), index.column());
    if (!opens)
        return QTableView::edit(index, trigger, event);
    bool cancel = false;
    emit BeforeEdit(index.row(), index.column(), cancel);
    if (!cancel)
        emit StartEdit(index.row(), index.column(), cancel);
    if (cancel)
        return false;
    d->editRow = index.row();
    d->editCol = index.column();
    return QTableView::edit(index, trigger, event);
}

void FlexGrid::commitData(QWidget *editor) {
    if (editor != d->editor) {
        QTableView::commitData(editor);
        return;
    }
    // A handler that shows a box takes the focus from the editor; the commit that focus
    // change asks for is this one.
    if (d->validating)
        return;
    bool cancel = false;
    {
        const QScopedValueRollback validating(d->validating, true);
        emit ValidateEdit(d->editRow, d->editCol, cancel);
    }
    if (std::exchange(d->discard, false)) {
        d->refused = false;
        d->accepted = false;
        return;
    }
    d->refused = cancel;
    d->accepted = !cancel;
    if (!cancel)
        SetTextMatrix(d->editRow, d->editCol, d->editor->text());
}

void FlexGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor != d->editor) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    if (d->validating)
        return; // the validation's own close follows
    if (std::exchange(d->refused, false)) {
        // The typed text was refused: the editor stays open and keeps the focus.
        QMetaObject::invokeMethod(
            editor,
            [editor = QPointer<QWidget>(editor)] {
                if (editor)
                    editor->setFocus();
            },
            Qt::QueuedConnection);
        return;
    }
    const bool accepted = std::exchange(d->accepted, false);
    const int row = d->editRow;
    const int col = d->editCol;
    d->editor = nullptr;
    QTableView::closeEditor(editor, hint);
    d->pullSelection();
    if (accepted)
        emit AfterEdit(row, col);
}

void FlexGrid::mousePressEvent(QMouseEvent *event) {
    const QPoint pos = viewport()->mapTo(this, event->position().toPoint());
    d->trackMouse(pos);
    // Only the left button moves the current cell; a refused edit keeps it where it is, and
    // heading cells never become current under the mouse.
    const bool fixed =
        d->model->Contains(d->mouseRow, d->mouseCol) && d->model->IsFixed(d->mouseRow, d->mouseCol);
    if (event->button() == Qt::LeftButton && !d->editor && !fixed) {
        QTableView::mousePressEvent(event);
        d->pullSelection();
    } else {
        event->accept();
    }
    emit MouseDown(event->button(), event->modifiers(), pos);
}

void FlexGrid::mouseMoveEvent(QMouseEvent *event) {
    const QPoint pos = viewport()->mapTo(this, event->position().toPoint());
    d->trackMouse(pos);
    if (!d->editor) {
        QTableView::mouseMoveEvent(event);
        if (event->buttons() & Qt::LeftButton)
            d->pullSelection();
    }
    emit MouseMove(event->buttons(), event->modifiers(), pos);
}

void FlexGrid::keyPressEvent(QKeyEvent *event) {
    QTableView::keyPressEvent(event);
    d->pullSelection();
}

void FlexGrid::focusInEvent(QFocusEvent *event) {
    QTableView::focusInEvent(event); // may choose a first current cell
    d->pullSelection();
}

QModelIndex FlexGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // The keyboard never takes the current cell into the headings.
    const QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (!next.isValid() || !d->model->IsFixed(next.row(), next.column()))
        return next;
    const int row = std::max(next.row(), FixedRows());
    const int col = std::max(next.column(), FixedCols());
    return d->model->Contains(row, col) ? d->model->index(row, col) : currentIndex();
}

void FlexGrid::updateGeometries() {
    if (!d->heads) { // still being built
        QTableView::updateGeometries();
        return;
    }
    const int top = d->headsHeight();
    if (horizontalHeader()->minimumHeight() != top || horizontalHeader()->maximumHeight() != top)
        horizontalHeader()->setFixedHeight(top);
    QTableView::updateGeometries();
    const QRect area = viewport()->geometry();
    d->heads->setGeometry(area.left(), area.top() - top, area.width(), top);
    d->heads->setVisible(top > 0);
    d->heads->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
}

bool FlexGrid::eventFilter(QObject *watched, QEvent *event) {
    if (watched == d->heads->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint pos = d->heads->viewport()->mapTo(this, mouse->position().toPoint());
            d->trackMouse(pos);
            if (event->type() == QEvent::MouseMove)
                emit MouseMove(mouse->buttons(), mouse->modifiers(), pos);
            else if (event->type() == QEvent::MouseButtonPress)
                emit MouseDown(mouse->button(), mouse->modifiers(), pos);
            return true;
        }
        case QEvent::MouseButtonRelease:
            return true;
        case QEvent::Wheel:
            QApplication::sendEvent(viewport(), event);
            return true;
        default:
            break;
        }
    }
    if (watched == d->editor && event->type() == QEvent::KeyPress) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        const bool backspace = keyEvent->key() == Qt::Key_Backspace;
        const QString text = keyEvent->text();
        if (backspace || (!text.isEmpty() && text.at(0).isPrint())) {
            const int typed = backspace ? 8 : text.at(0).unicode();
            int key = typed;
            emit KeyPressEdit(d->editRow, d->editCol, key);
            if (key == typed)
                return QTableView::eventFilter(watched, event);
            if (key == 8)
                d->editor->backspace();
            else if (key != 0)
                d->editor->insert(QString(QChar(key)));
            return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void SetGridRow(FlexGrid &grid, int row, int firstCol, bool fill, const QStringList &values) {
    const int cols = grid.Cols();
    const int last = std::min(firstCol + int(values.size()) - 1, cols - 1);
    for (int c = firstCol; c <= last; ++c)
        grid.SetTextMatrix(row, c, values[c - firstCol]);
    if (!fill)
        return;
    const QString repeated = last >= firstCol ? values[last - firstCol] : QString();
    for (int c = std::max(last + 1, firstCol); c < cols; ++c)
        grid.SetTextMatrix(row, c, repeated);
}

QStringList GridRowTexts(const FlexGrid &grid, int row, int columns) {
    QStringList cells;
    for (int col = 0; col < columns; ++col)
        cells.append(grid.TextMatrix(row, col));
    return cells;
}

} // namespace tq
