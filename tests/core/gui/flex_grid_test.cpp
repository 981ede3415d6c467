#include "core/gui/flex_grid.h"
#include "core/gui/heading_rows.h"
#include "core/gui/twips.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

// A shown grid of `rows` by `cols` whose cell (r, c) reads "r,c".
class FlexGridTest : public ::testing::Test {
protected:
    // New row and column counts reach the view when the event loop runs.
    static void settle() { QApplication::processEvents(); }

    void fill(int rows, int cols) {
        grid.SetCols(cols);
        grid.SetRows(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                grid.SetTextMatrix(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
    }

    void show() {
        grid.resize(480, 300);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    // The centre of a cell in the grid's own coordinates.
    QPoint cellCentre(int row, int col) const {
        const QRect rect = grid.visualRect(grid.model()->index(row, col));
        return grid.viewport()->mapTo(&grid, rect.center());
    }

    void click(int row, int col, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = {}) {
        const QPoint pos = grid.viewport()->mapFrom(&grid, cellCentre(row, col));
        QTest::mouseClick(grid.viewport(), button, modifiers, pos);
    }

    const QTableView *headings() const {
        return grid.findChild<QTableView *>(QStringLiteral("FlexGridHeadings"));
    }

    FlexGrid grid;
};

TEST_F(FlexGridTest, ResizingKeepsTextsInsideAndDropsTheRest) {
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Cols(), 1);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedCols(), 0);

    fill(4, 3);
    grid.SetCellBackColor(3, 2, Qt::red);
    grid.SetRows(3);
    grid.SetCols(2);
    grid.SetRows(4);
    grid.SetCols(3);
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("2,1"));
    EXPECT_EQ(grid.TextMatrix(3, 0), QString());
    EXPECT_EQ(grid.TextMatrix(0, 2), QString());
    EXPECT_FALSE(grid.CellBackColor(3, 2).isValid());

    // Outside the grid: reads are empty, writes are ignored.
    grid.SetTextMatrix(9, 0, QStringLiteral("x"));
    grid.SetTextMatrix(0, -1, QStringLiteral("x"));
    EXPECT_EQ(grid.TextMatrix(9, 0), QString());
    EXPECT_EQ(grid.Rows(), 4);
}

// A row's own value stays with the row until Clear or a shrink drops it; it is never shown.
TEST_F(FlexGridTest, RowDataStaysWithItsRow) {
    fill(4, 2);
    grid.SetRowData(2, 42);
    grid.SetRowData(3, 7);
    grid.SetRowData(9, 1); // outside: ignored
    EXPECT_EQ(grid.RowData(2).toInt(), 42);
    EXPECT_FALSE(grid.RowData(9).isValid());
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("2,1"));
    grid.SetRows(3);
    grid.SetRows(4);
    EXPECT_FALSE(grid.RowData(3).isValid());
    EXPECT_EQ(grid.RowData(2).toInt(), 42);
    grid.Clear();
    EXPECT_FALSE(grid.RowData(2).isValid());
}

TEST_F(FlexGridTest, FixedCountsAndGridSizeFollowEachOther) {
    grid.SetFixedRows(3);
    EXPECT_EQ(grid.Rows(), 3);
    grid.SetFixedCols(2);
    EXPECT_EQ(grid.Cols(), 2);
    grid.SetRows(2);
    EXPECT_EQ(grid.FixedRows(), 2);
    grid.SetCols(1);
    EXPECT_EQ(grid.FixedCols(), 1);
}

TEST_F(FlexGridTest, CurrentCellStaysInsideAShrunkGrid) {
    fill(10, 4);
    grid.SetRow(8);
    grid.SetCol(3);
    QSignalSpy moved(&grid, &FlexGrid::RowColChange);
    grid.SetRows(5);
    grid.SetCols(2);
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(moved.count(), 2);
}

TEST_F(FlexGridTest, TextsColoursAndClearRoundTrip) {
    fill(3, 3);
    grid.SetRow(2);
    grid.SetCol(1);
    EXPECT_EQ(grid.Text(), QStringLiteral("2,1"));
    grid.SetText(QStringLiteral("new"));
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("new"));

    // No colour of its own until one is set; an invalid colour returns to the default.
    EXPECT_FALSE(grid.CellBackColor().isValid());
    grid.SetCellBackColor(QColor(255, 0, 0));
    grid.SetCellForeColor(2, 2, Qt::blue);
    grid.SetCellBackColor(1, 1, grid.BackColorFixed());
    EXPECT_EQ(grid.CellBackColor(2, 1), QColor(255, 0, 0));
    EXPECT_EQ(grid.CellForeColor(2, 2), QColor(Qt::blue));
    EXPECT_EQ(grid.CellBackColor(1, 1), grid.BackColorFixed());
    grid.SetCellBackColor(1, 1, QColor());
    EXPECT_FALSE(grid.CellBackColor(1, 1).isValid());

    // What the cells paint with: their own colour, the fixed grey, or the grid's default.
    const auto background = [&](int r, int c) {
        settle();
        return grid.model()->data(grid.model()->index(r, c), Qt::BackgroundRole);
    };
    EXPECT_EQ(background(2, 1).value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(background(0, 1).value<QColor>(), grid.BackColorFixed());
    EXPECT_FALSE(background(1, 2).isValid());
    grid.SetBackColor(Qt::white);
    EXPECT_EQ(background(1, 2).value<QColor>(), QColor(Qt::white));

    grid.SetMergeCells(FlexMerge::RestrictRows);
    grid.SetMergeRow(0, true);
    grid.Clear();
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_TRUE(grid.MergeRow(0));
    EXPECT_EQ(grid.TextMatrix(2, 1), QString());
    EXPECT_FALSE(grid.CellBackColor(2, 1).isValid());
    EXPECT_FALSE(grid.CellForeColor(2, 2).isValid());
}

TEST_F(FlexGridTest, CellAlignmentWinsOverItsColumns) {
    fill(4, 3);
    grid.SetTextMatrix(1, 2, QStringLiteral("12.5"));
    const auto alignment = [&](int r, int c) {
        settle();
        return Qt::Alignment(
            grid.model()->data(grid.model()->index(r, c), Qt::TextAlignmentRole).toInt());
    };
    // General: numbers right, other texts left.
    EXPECT_EQ(grid.ColAlignment(2), FlexAlign::General);
    EXPECT_EQ(alignment(1, 2), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(alignment(1, 1), Qt::AlignLeft | Qt::AlignVCenter);

    grid.SetColAlignment(-1, FlexAlign::CenterCenter);
    grid.SetColAlignment(0, FlexAlign::LeftCenter);
    grid.SetCellAlignment(3, 2, 2, 1, FlexAlign::LeftCenter); // corners in any order
    EXPECT_EQ(grid.CellAlignment(0, 0), FlexAlign::LeftCenter);
    EXPECT_EQ(grid.CellAlignment(1, 2), FlexAlign::CenterCenter);
    EXPECT_EQ(grid.CellAlignment(2, 1), FlexAlign::LeftCenter);
    EXPECT_EQ(grid.CellAlignment(3, 2), FlexAlign::LeftCenter);
    EXPECT_EQ(alignment(1, 2), Qt::AlignCenter);
    grid.SetRow(1);
    grid.SetCol(1);
    grid.SetCellAlignment(FlexAlign::General);
    EXPECT_EQ(grid.CellAlignment(), FlexAlign::General);
}

struct MergeCase {
    const char *name;
    FlexMerge mode;
    bool mergeRow;
    int row;
    int fixedCols;
    QStringList texts;
    std::vector<int> spans; // the span covering each column (1: not merged)
};

TEST_F(FlexGridTest, EqualNeighboursMergeOnlyInMergedRows) {
    const QStringList sensor{"", "Sensor", "Sensor", "Sensor", "Sensor", "Sensor"};
    const QStringList dashes{"-----", "-----"};
    const std::vector<MergeCase> cases{
        {"heading row", FlexMerge::RestrictRows, true, 0, 0, sensor, {1, 5, 5, 5, 5, 5}},
        {"data row", FlexMerge::RestrictRows, true, 2, 0, dashes, {2, 2}},
        {"merging off", FlexMerge::Never, true, 2, 0, dashes, {1, 1}},
        {"row not marked", FlexMerge::RestrictRows, false, 2, 0, dashes, {1, 1}},
        {"empty texts", FlexMerge::RestrictRows, true, 2, 0, {"", "", "a"}, {1, 1, 1}},
        {"fixed column", FlexMerge::RestrictRows, true, 2, 1, {"x", "x", "x"}, {1, 2, 2}},
        {"two runs", FlexMerge::RestrictRows, true, 2, 0, {"a", "a", "b", "b"}, {2, 2, 2, 2}},
    };
    for (const MergeCase &c : cases) {
        FlexGrid merged;
        merged.SetCols(int(c.texts.size()));
        merged.SetRows(3);
        merged.SetFixedCols(c.fixedCols);
        merged.SetMergeCells(c.mode);
        merged.SetMergeRow(c.row, c.mergeRow);
        SetGridRow(merged, c.row, 0, false, c.texts);
        settle();
        const QTableView *view =
            c.row < merged.FixedRows()
                ? merged.findChild<QTableView *>(QStringLiteral("FlexGridHeadings"))
                : &merged;
        for (int col = 0; col < int(c.spans.size()); ++col)
            EXPECT_EQ(view->columnSpan(c.row, col), c.spans[std::size_t(col)])
                << c.name << ", column " << col;
    }
}

TEST_F(FlexGridTest, MergesFollowTextChangesAndRedraw) {
    fill(3, 3);
    settle();
    grid.SetMergeCells(FlexMerge::RestrictRows);
    grid.SetMergeRow(1, true);
    EXPECT_EQ(grid.columnSpan(1, 0), 1);
    grid.SetTextMatrix(1, 1, QStringLiteral("1,0"));
    EXPECT_EQ(grid.columnSpan(1, 0), 2);

    // While Redraw is off the view is not told; it merges once Redraw is on again.
    grid.SetRedraw(false);
    grid.SetTextMatrix(1, 2, QStringLiteral("1,0"));
    grid.SetRedraw(true);
    EXPECT_EQ(grid.columnSpan(1, 0), 3);
    grid.SetMergeRow(1, false);
    EXPECT_EQ(grid.columnSpan(1, 0), 1);
}

TEST_F(FlexGridTest, RedrawOffDefersTheViewButKeepsTheCurrentCell) {
    grid.SetCols(3);
    settle();
    grid.SetRedraw(false);
    grid.SetRows(1001);
    for (int r = 1; r <= 1000; ++r)
        SetGridRow(grid, r, 0, false,
                   {QString::number(r), QStringLiteral("t"), QStringLiteral("v")});
    grid.SetRow(500);
    grid.SetCol(2);
    grid.SetCellBackColor(Qt::red);
    EXPECT_EQ(grid.model()->rowCount(), 1); // the view has not been told yet
    EXPECT_EQ(grid.Row(), 500);
    EXPECT_EQ(grid.TextMatrix(1000, 0), QStringLiteral("1000"));
    grid.SetRedraw(true);
    EXPECT_TRUE(grid.Redraw());
    EXPECT_EQ(grid.model()->rowCount(), 1001);
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(500, 2));
    EXPECT_EQ(grid.CellBackColor(500, 2), QColor(Qt::red));
}

TEST_F(FlexGridTest, SizesAreInTwips) {
    fill(3, 3);
    grid.SetColWidth(1, 1500);
    EXPECT_EQ(grid.columnWidth(1), TwipsToPixelsX(1500));
    EXPECT_NEAR(grid.ColWidth(1), 1500, TwipsPerPixelX());
    grid.SetRowHeight(0, 600);
    grid.SetRowHeight(2, 450);
    EXPECT_NEAR(grid.RowHeight(0), 600, TwipsPerPixelY());
    EXPECT_NEAR(grid.RowHeight(2), 450, TwipsPerPixelY());

    grid.SetTextMatrix(2, 2, QStringLiteral("a much longer text than the others"));
    grid.AutoSize(2);
    EXPECT_GT(grid.columnWidth(2), grid.fontMetrics().horizontalAdvance(grid.TextMatrix(2, 2)));
}

TEST_F(FlexGridTest, CodeMovesTheCurrentCellAndSelectionWithEvents) {
    fill(6, 4);
    settle();
    QSignalSpy moved(&grid, &FlexGrid::RowColChange);
    QSignalSpy selected(&grid, &FlexGrid::SelChange);
    grid.SetRow(2);
    EXPECT_EQ(grid.Col(), 0); // the first column that is not fixed
    grid.SetCol(3);
    grid.SetCol(3); // no change, no event
    EXPECT_EQ(moved.count(), 2);
    EXPECT_EQ(selected.count(), 2);

    grid.SetRowSel(4);
    grid.SetColSel(1);
    EXPECT_EQ(moved.count(), 2);
    EXPECT_EQ(selected.count(), 4);
    EXPECT_TRUE(grid.selectionModel()->isSelected(grid.model()->index(4, 1)));
    EXPECT_TRUE(grid.selectionModel()->isSelected(grid.model()->index(3, 2)));
    EXPECT_FALSE(grid.selectionModel()->isSelected(grid.model()->index(1, 2)));

    // Setting the current cell collapses the selection to it.
    grid.SetRow(1);
    EXPECT_EQ(grid.RowSel(), 1);
    EXPECT_EQ(grid.ColSel(), 3);

    // Heading cells can be made current from code, to be formatted.
    grid.SetRow(0);
    EXPECT_EQ(grid.Row(), 0);
    grid.SetCellAlignment(FlexAlign::CenterCenter);
    EXPECT_EQ(grid.CellAlignment(0, 3), FlexAlign::CenterCenter);
}

TEST_F(FlexGridTest, RowSelectionSelectsWholeRowsAndAHandlerCanCollapseIt) {
    fill(8, 4);
    grid.SetFixedCols(1);
    grid.SetSelectionMode(FlexSelection::ByRow);
    show();
    // The handler keeps at most one row selected, as the latest-calibration list does.
    bool busy = false;
    int changes = 0;
    QObject::connect(&grid, &FlexGrid::SelChange, [&] {
        ++changes;
        if (busy)
            return;
        busy = true;
        grid.SetRowSel(grid.Row());
        busy = false;
    });
    QSignalSpy moved(&grid, &FlexGrid::RowColChange);
    click(3, 2);
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_GE(changes, 1);
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(3, {}) ||
                grid.selectionModel()->isSelected(grid.model()->index(3, 3)));
    EXPECT_TRUE(grid.selectionModel()->isSelected(grid.model()->index(3, 1)));

    click(6, 2, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(grid.Row(), 6);
    EXPECT_EQ(grid.RowSel(), 6);
    EXPECT_FALSE(grid.selectionModel()->isSelected(grid.model()->index(4, 2)));
}

TEST_F(FlexGridTest, FreeSelectionSpansARectangle) {
    fill(8, 4);
    show();
    click(2, 1);
    click(4, 3, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(grid.RowSel(), 2);
    EXPECT_EQ(grid.ColSel(), 1);
    EXPECT_TRUE(grid.selectionModel()->isSelected(grid.model()->index(3, 2)));
    EXPECT_FALSE(grid.selectionModel()->isSelected(grid.model()->index(3, 0)));
}

TEST_F(FlexGridTest, MouseFindsCellsAndOnlyTheLeftButtonMovesTheCurrentCell) {
    fill(8, 4);
    grid.SetFixedCols(1);
    show();
    grid.SetRow(2);
    grid.SetCol(1);
    QSignalSpy downs(&grid, &FlexGrid::MouseDown);
    click(5, 2, Qt::RightButton);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(grid.MouseRow(), 5);
    EXPECT_EQ(grid.MouseCol(), 2);
    EXPECT_EQ(grid.Row(), 2);

    // Heading cells are found where they are drawn and never become current.
    const QPoint heading =
        headings()->mapTo(&grid, headings()->visualRect(grid.model()->index(0, 2)).center());
    EXPECT_EQ(grid.RowAt(heading), 0);
    EXPECT_EQ(grid.ColAt(heading), 2);
    click(4, 0);
    EXPECT_EQ(grid.MouseCol(), 0);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.RowAt(QPoint(-5, -5)), -1);
}

TEST_F(FlexGridTest, HeadingsStayWhileTheRowsScroll) {
    fill(300, 3);
    grid.SetFixedRows(2);
    show();
    EXPECT_EQ(grid.TopRow(), 2);
    grid.SetTopRow(100);
    EXPECT_EQ(grid.TopRow(), 100);
    EXPECT_GT(grid.BottomRow(), 100);
    EXPECT_LT(grid.BottomRow(), 300);
    // The heading rows are still drawn above the first row shown.
    EXPECT_EQ(grid.RowAt(QPoint(grid.width() / 2, grid.frameWidth() + 2)), 0);
    EXPECT_EQ(grid.RowAt(cellCentre(100, 1)), 100);
    EXPECT_EQ(headings()->height(), headings()->rowHeight(0) + headings()->rowHeight(1));

    // Scrolling past the end stops at the last page.
    grid.SetTopRow(299);
    EXPECT_EQ(grid.BottomRow(), 299);
}

// A page refills its grid and sets its column widths while the page is hidden (under a
// dialog, or before it is shown again): Qt lays a hidden grid out as well, and the heading
// rows must keep their room.
TEST(FlexGridHeadings, StayThroughARefillWhileThePageIsHidden) {
    QWidget window;
    window.resize(480, 300);
    auto *page = new QWidget(&window);
    page->setGeometry(0, 0, 480, 300);
    auto *grid = new FlexGrid(page);
    grid->setGeometry(10, 10, 400, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (const int fixedRows : {2, 1, 2}) {
        page->hide();
        grid->SetRedraw(false);
        grid->Clear();
        grid->SetRows(fixedRows + 1);
        grid->SetCols(4);
        grid->SetFixedRows(fixedRows);
        for (int r = 0; r <= fixedRows; ++r)
            SetGridRow(*grid, r, 0, false, {QStringLiteral("row %1").arg(r)});
        grid->SetRedraw(true);
        // The page's layout pass, and the event loop, while the page is still hidden.
        for (int c = 0; c < 4; ++c)
            grid->SetColWidth(c, 1000 + 100 * c);
        QApplication::processEvents();
        page->show();
        QApplication::processEvents();
        EXPECT_EQ(test::HeadingRowsFault(*grid).toStdString(), "") << fixedRows << " fixed rows";
        EXPECT_EQ(grid->RowAt(grid->viewport()->geometry().topLeft() + QPoint(5, 2)), fixedRows);
    }
}

class FlexGridEditTest : public FlexGridTest {
protected:
    void SetUp() override {
        fill(4, 4);
        grid.SetFixedCols(1);
        grid.SetEditable(true);
        show();
        grid.SetRow(2);
        grid.SetCol(2);
    }

    // Types into the open editor and presses Enter.
    void typeAndEnter(const QString &text) {
        auto *editor = grid.findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }
};

TEST_F(FlexGridEditTest, BeforeEditCanRefuseAndHeadingsNeverEdit) {
    std::vector<std::pair<int, int>> asked;
    bool refuse = true;
    QObject::connect(&grid, &FlexGrid::BeforeEdit, [&](int row, int col, bool &cancel) {
        asked.emplace_back(row, col);
        cancel = refuse;
    });
    grid.EditCell();
    EXPECT_FALSE(grid.Editing());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_pair(2, 2));

    refuse = false;
    grid.SetRow(0);
    grid.EditCell(); // a heading row
    grid.SetRow(1);
    grid.SetCol(0);
    grid.EditCell(); // a heading column
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_FALSE(grid.Editing());

    grid.SetEditable(false);
    grid.SetCol(1);
    grid.EditCell();
    EXPECT_FALSE(grid.Editing());
    grid.SetEditable(true);
    bool started = false;
    QObject::connect(&grid, &FlexGrid::StartEdit, [&](int, int, bool &) { started = true; });
    grid.EditCell();
    EXPECT_TRUE(started);
    EXPECT_TRUE(grid.Editing());
}

TEST_F(FlexGridEditTest, RefusedValidationKeepsTheEditorOpenWithTheTypedText) {
    int validations = 0;
    bool refuse = true;
    QObject::connect(&grid, &FlexGrid::ValidateEdit, [&](int row, int col, bool &cancel) {
        ++validations;
        EXPECT_EQ(row, 2);
        EXPECT_EQ(col, 2);
        // The cell still holds its previous text while the typed one is judged.
        EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("2,2"));
        if (refuse)
            cancel = true;
        else
            grid.SetEditText(grid.EditText() + QStringLiteral(".0"));
    });
    QSignalSpy after(&grid, &FlexGrid::AfterEdit);
    QSignalSpy changes(&grid, &FlexGrid::ChangeEdit);

    grid.EditCell();
    typeAndEnter(QStringLiteral("60"));
    EXPECT_EQ(validations, 1);
    EXPECT_TRUE(grid.Editing());
    EXPECT_EQ(grid.EditText(), QStringLiteral("60"));
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("2,2"));
    EXPECT_EQ(after.count(), 0);
    EXPECT_GE(changes.count(), 2);

    // A click elsewhere is refused too: the editor stays on its cell.
    click(1, 3);
    QApplication::processEvents();
    EXPECT_TRUE(grid.Editing());
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 2);

    refuse = false;
    typeAndEnter(QStringLiteral("12"));
    EXPECT_FALSE(grid.Editing());
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("12.0"));
    ASSERT_EQ(after.count(), 1);
    EXPECT_EQ(after.at(0).at(0).toInt(), 2);
    EXPECT_EQ(after.at(0).at(1).toInt(), 2);
}

// A handler may tell the user with a modal box, which takes the focus from the editor:
// the text is still judged once. FinishEditing(true) from the handler closes the editor on
// the cell's old text; from outside, FinishEditing() commits as Return does.
TEST_F(FlexGridEditTest, FinishEditingDropsOrCommitsAndABoxJudgesOnce) {
    int validations = 0;
    QObject::connect(&grid, &FlexGrid::ValidateEdit, [&](int, int, bool &cancel) {
        ++validations;
        cancel = true;
        QDialog box(&grid);
        QTimer::singleShot(0, &box, &QDialog::accept);
        box.exec();
        grid.FinishEditing(true);
    });
    QSignalSpy after(&grid, &FlexGrid::AfterEdit);
    grid.EditCell();
    typeAndEnter(QStringLiteral("60"));
    EXPECT_EQ(validations, 1);
    EXPECT_FALSE(grid.Editing());
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("2,2"));
    EXPECT_EQ(after.count(), 0);

    // The same drop when the commit comes from code.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    grid.EditCell();
    grid.findChild<QLineEdit *>()->setText(QStringLiteral("61"));
    grid.FinishEditing();
    EXPECT_EQ(validations, 2);
    EXPECT_FALSE(grid.Editing());
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("2,2"));
}

TEST_F(FlexGridEditTest, FinishEditingCommitsOrCancelsFromCode) {
    QSignalSpy after(&grid, &FlexGrid::AfterEdit);
    grid.EditCell();
    auto *editor = grid.findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("kept"));
    editor->setSelection(1, 2);
    EXPECT_EQ(grid.EditSelLength(), 2);
    grid.FinishEditing();
    EXPECT_FALSE(grid.Editing());
    EXPECT_EQ(grid.EditSelLength(), 0);
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("kept"));
    EXPECT_EQ(after.count(), 1);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    grid.EditCell();
    grid.findChild<QLineEdit *>()->setText(QStringLiteral("dropped"));
    grid.FinishEditing(true);
    EXPECT_FALSE(grid.Editing());
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("kept"));
    EXPECT_EQ(after.count(), 1);
}

TEST_F(FlexGridEditTest, EscapeLeavesTheCellAsItWas) {
    int validations = 0;
    QObject::connect(&grid, &FlexGrid::ValidateEdit, [&](int, int, bool &) { ++validations; });
    QSignalSpy after(&grid, &FlexGrid::AfterEdit);
    grid.EditCell();
    auto *editor = grid.findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("zz"));
    QTest::keyClick(editor, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(grid.Editing());
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("2,2"));
    EXPECT_EQ(validations, 0);
    EXPECT_EQ(after.count(), 0);
}

TEST_F(FlexGridEditTest, KeyPressEditDropsOrReplacesKeys) {
    // Digits are dropped, letters typed in upper case; Backspace passes.
    std::vector<int> keys;
    QObject::connect(&grid, &FlexGrid::KeyPressEdit, [&](int row, int col, int &key) {
        EXPECT_EQ(row, 2);
        EXPECT_EQ(col, 2);
        keys.push_back(key);
        if (key >= '0' && key <= '9')
            key = 0;
        else if (key >= 'a' && key <= 'z')
            key = key - 'a' + 'A';
    });
    // The key that opens the editor is the first one it sees, replacing the cell's text.
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_A, Qt::NoModifier);
    ASSERT_TRUE(grid.Editing());
    auto *editor = grid.findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("1b-2c"));
    EXPECT_EQ(grid.EditText(), QStringLiteral("AB-C"));
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(grid.EditText(), QStringLiteral("AB-"));
    EXPECT_EQ(keys, (std::vector<int>{'a', '1', 'b', '-', '2', 'c', 8}));
}

TEST(FlexGridFocus, TheEditorCountsAsPartOfTheGrid) {
    QWidget window;
    auto *grid = new FlexGrid(&window);
    auto *outside = new QLineEdit(&window);
    grid->resize(300, 200);
    outside->move(0, 220);
    grid->SetCols(2);
    grid->SetRows(3);
    grid->SetEditable(true);
    grid->SetRow(1);
    window.resize(320, 260);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    outside->setFocus();
    QSignalSpy got(grid, &FlexGrid::GotFocus);
    QSignalSpy lost(grid, &FlexGrid::LostFocus);
    grid->setFocus();
    grid->EditCell();
    auto *editor = grid->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    EXPECT_EQ(got.count(), 1);
    EXPECT_EQ(lost.count(), 0);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    outside->setFocus();
    EXPECT_EQ(got.count(), 1);
    EXPECT_EQ(lost.count(), 1);
}

struct GridRowCase {
    const char *name;
    int cols;
    int firstCol;
    bool fill;
    QStringList values;
    QStringList expected; // the whole row afterwards
};

TEST(SetGridRow, WritesFromTheFirstColumnAndFillsOnRequest) {
    const std::vector<GridRowCase> cases{
        {"fill repeats the last", 6, 1, true, {"a", "b", "c"}, {"old", "a", "b", "c", "c", "c"}},
        {"no fill keeps", 6, 1, false, {"a", "b", "c"}, {"old", "a", "b", "c", "old", "old"}},
        {"too many dropped", 4, 1, false, {"a", "b", "c", "d", "e"}, {"old", "a", "b", "c"}},
        {"empty fill empties", 4, 1, true, {}, {"old", "", "", ""}},
        {"empty without fill", 3, 0, false, {}, {"old", "old", "old"}},
        {"first column past the end", 3, 5, true, {"a"}, {"old", "old", "old"}},
        // The data view window's row writer takes the same calls.
        {"three from column 1 into three", 3, 1, false, {"a", "b", "c"}, {"old", "a", "b"}},
        {"two filled across four", 4, 0, true, {"a", "b"}, {"a", "b", "b", "b"}},
    };
    for (const GridRowCase &c : cases) {
        FlexGrid grid;
        grid.SetCols(c.cols);
        grid.SetRows(2);
        for (int col = 0; col < c.cols; ++col)
            grid.SetTextMatrix(1, col, QStringLiteral("old"));
        SetGridRow(grid, 1, c.firstCol, c.fill, c.values);
        QStringList row;
        for (int col = 0; col < c.cols; ++col)
            row << grid.TextMatrix(1, col);
        EXPECT_EQ(row, c.expected) << c.name;
    }
}

// Renders a heading-and-data grid scrolled down and checks the colours where they must
// be: the headings stay on top, grey. With TQ_RENDER_DIR set the picture is kept there as
// flex_grid.png.
TEST_F(FlexGridTest, RendersHeadingsGreyAndCellColours) {
    grid.SetCols(6);
    grid.SetRows(60);
    grid.SetFixedRows(2);
    grid.SetFixedCols(1);
    grid.SetMergeCells(FlexMerge::RestrictRows);
    grid.SetMergeRow(0, true);
    SetGridRow(grid, 0, 0, true, {"", "Sensor"});
    SetGridRow(grid, 1, 0, false, {"Gas", "Warning", "Alarm", "STEL", "TWA", "Auto Cal."});
    for (int r = 2; r < 60; ++r)
        SetGridRow(grid, r, 0, false, {QString::number(r), "1.5", "2", "3", "-----", "5"});
    SetGridRow(grid, 21, 0, false, {"CH4 (100%LEL)", "10", "60", "-----", "-----", "50"});
    grid.SetCellAlignment(0, 1, 59, 5, FlexAlign::CenterCenter);
    grid.SetCellBackColor(21, 2, QColor(255, 0, 0));
    grid.SetCellBackColor(21, 3, grid.BackColorFixed());
    grid.SetBackColor(Qt::white);
    for (int c = 0; c < 6; ++c)
        grid.SetColWidth(c, c == 0 ? 2000 : 1100);
    show();
    grid.SetTopRow(20);
    settle();
    const QImage image = grid.grab().toImage();
    if (const QByteArray dir = qgetenv("TQ_RENDER_DIR"); !dir.isEmpty())
        image.save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("flex_grid.png")));

    const auto pixel = [&](int row, int col) {
        // A point inside the cell, clear of its text.
        const QTableView *view = row < grid.FixedRows() ? headings() : &grid;
        const QRect rect = view->visualRect(grid.model()->index(row, col));
        const QPoint at = view->viewport()->mapTo(&grid, rect.topLeft() + QPoint(2, 2));
        return image.pixelColor(at * image.devicePixelRatio());
    };
    EXPECT_EQ(grid.TopRow(), 20);
    EXPECT_EQ(pixel(0, 3), grid.BackColorFixed());
    EXPECT_EQ(pixel(1, 3), grid.BackColorFixed());
    EXPECT_EQ(pixel(23, 0), grid.BackColorFixed());
    EXPECT_EQ(pixel(21, 2), QColor(255, 0, 0));
    EXPECT_EQ(pixel(21, 3), grid.BackColorFixed());
    EXPECT_EQ(pixel(23, 4), QColor(Qt::white));
}

} // namespace
} // namespace tq
