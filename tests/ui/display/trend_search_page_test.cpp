// Presses and pointer moves over the interval trend's events, on the filled table and graph.
#include "data_view_fixture.h"
#include "graph/uclVtmGraph.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QRadioButton>

namespace tq {
namespace {

class TrendSearchPageTest : public test::DataViewTest {
protected:
    void SetUp() override {
        DataViewTest::SetUp();
        frame.resize(1000, 700);
        frame.show();
    }
    void open(bool graph) {
        page->optBrowse[graph ? 1 : 0]->setChecked(true);
        page->chkBrowse[5]->setChecked(graph);
        viewData(1);
        page->layOut(15000, 10000, LoadMessage(101));
        QCoreApplication::processEvents();
        if (graph)
            page->vtmGraph->Refresh();
    }
    // The table row that lists the event word.
    int rowOf(const QString &word) const {
        for (int r = 1; r < page->vfgBrowse->Rows(); ++r)
            if (page->vfgBrowse->TextMatrix(r, 2) == word)
                return r;
        ADD_FAILURE() << "no row " << word.toStdString();
        return -1;
    }
    // A point of the table's viewport over cell (row, col), scrolled into view.
    QPoint cellPoint(int row, int col) {
        FlexGrid &grid = *page->vfgBrowse;
        grid.SetTopRow(row);
        QCoreApplication::processEvents();
        for (int y = 0; y < grid.height(); y += 2)
            for (int x = 0; x < grid.width(); x += 4)
                if (grid.RowAt({x, y}) == row && grid.ColAt({x, y}) == col)
                    return grid.viewport()->mapFrom(&grid, QPoint(x, y));
        ADD_FAILURE() << "cell " << row << "," << col << " not shown";
        return {};
    }
    void mouse(QEvent::Type type, const QPoint &at, Qt::MouseButton button = Qt::LeftButton) {
        QWidget *viewport = page->vfgBrowse->viewport();
        const bool move = type == QEvent::MouseMove;
        QMouseEvent event(type, QPointF(at), viewport->mapToGlobal(QPointF(at)),
                          move ? Qt::NoButton : button, move ? Qt::NoButton : button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    }
    void pressCell(int row, int col, Qt::MouseButton button = Qt::LeftButton) {
        const QPoint at = cellPoint(row, col);
        mouse(QEvent::MouseButtonPress, at, button);
        mouse(QEvent::MouseButtonRelease, at, button);
    }
    // The graph's mark of a word: where it is drawn, in twips of the drawing area.
    QPointF markPoint(const QString &word) const {
        const uclVtmGraph &graph = *page->vtmGraph;
        const SeriesEvents &marks = graph.events(0);
        for (int m = 0; m < graph.usedEvents(0); ++m)
            if (marks.Flags[std::size_t(m)] == word)
                return {graph.xPos(float(marks.Marks[std::size_t(m)].ElapsedSec)), marks.MarkerY};
        ADD_FAILURE() << "no mark " << word.toStdString();
        return {};
    }
    void pressMark(const QString &word, qint16 button = 1) {
        const QPointF at = markPoint(word);
        page->vtmGraph_MouseDown(button, 0, float(at.x()), float(at.y()));
    }
    Date at(int hour, int minute, int second) const {
        return Date::fromParts(2024, 5, 6, hour, minute, second);
    }
    void expectOpened(int index, const Date &eventDate) {
        ASSERT_GT(opened.size(), index);
        EXPECT_EQ(opened[index].seqNo, seqOf(2, 0)); // X1's alarm trend, not Y2's
        EXPECT_EQ(opened[index].kind, 2);
        EXPECT_EQ(opened[index].eventDate.totalSeconds(), eventDate.totalSeconds());
    }
};

TEST_F(TrendSearchPageTest, GraphMarksOpenTheAlarmTrendWhileEventIsTicked) {
    open(true);
    uclVtmGraph &graph = *page->vtmGraph;
    pressMark(QStringLiteral("ALARM"), 2); // any button
    expectOpened(0, at(12, 0, 5));
    EXPECT_EQ(graph.MousePointer(), 0);
    pressMark(QStringLiteral("WARNING"));
    expectOpened(1, at(11, 59, 50));
    pressMark(QStringLiteral("NORMAL"));
    EXPECT_EQ(opened.size(), 2);
    pressMark(QStringLiteral("OVER"));
    EXPECT_EQ(dialogs.ids(), QList<int>({5162}));

    // Pointer: the alarm icon over a reacting mark, the default elsewhere.
    const QPointF alarm = markPoint(QStringLiteral("ALARM"));
    page->vtmGraph_MouseMove(0, 0, float(alarm.x()), float(alarm.y()));
    EXPECT_EQ(graph.MousePointer(), 99);
    EXPECT_FALSE(graph.MouseIcon().isNull());
    const QPointF normal = markPoint(QStringLiteral("NORMAL"));
    page->vtmGraph_MouseMove(0, 0, float(normal.x()), float(normal.y()));
    EXPECT_EQ(graph.MousePointer(), 0);

    // With the Event box off the graph reacts to nothing and its pointer stays the default.
    page->chkBrowse[5]->setChecked(false);
    page->chkBrowse_Click(5);
    page->vtmGraph_MouseMove(0, 0, float(alarm.x()), float(alarm.y()));
    EXPECT_EQ(graph.MousePointer(), 0);
    page->vtmGraph_MouseDown(1, 0, float(alarm.x()), float(alarm.y()));
    EXPECT_EQ(opened.size(), 2);
}

TEST_F(TrendSearchPageTest, TableEventCellsOpenTheAlarmTrendNearTheirOwnTime) {
    open(false);
    pressCell(rowOf(QStringLiteral("WARNING")), 2);
    expectOpened(0, at(11, 59, 50)); // 10 s before the alarm trend
    pressCell(rowOf(QStringLiteral("ALARM")), 2);
    expectOpened(1, at(12, 0, 5)); // 5 s after it
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_FALSE(page->vfgBrowse->testAttribute(Qt::WA_SetCursor));

    // The right button, the time column, a sample and a NORMAL event do nothing.
    pressCell(rowOf(QStringLiteral("WARNING")), 2, Qt::RightButton);
    pressCell(rowOf(QStringLiteral("WARNING")), 1);
    pressCell(1, 2);
    pressCell(rowOf(QStringLiteral("NORMAL")), 2);
    EXPECT_EQ(opened.size(), 2);
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // OVER at 12:12:00 has no alarm trend within the window: said so, pointer back.
    pressCell(rowOf(QStringLiteral("OVER")), 2);
    EXPECT_EQ(opened.size(), 2);
    EXPECT_EQ(dialogs.ids(), QList<int>({5162}));
    EXPECT_EQ(dialogs.shown[0].title, LoadMessage(5163));
    EXPECT_FALSE(page->vfgBrowse->testAttribute(Qt::WA_SetCursor));
}

TEST_F(TrendSearchPageTest, PointerOverTableCellsShowsTheAlarmIconOnReactingEventsOnly) {
    open(false);
    FlexGrid &grid = *page->vfgBrowse;
    mouse(QEvent::MouseMove, cellPoint(rowOf(QStringLiteral("ALARM")), 2));
    EXPECT_EQ(grid.cursor().shape(), Qt::BitmapCursor);
    mouse(QEvent::MouseMove, cellPoint(rowOf(QStringLiteral("NORMAL")), 2));
    EXPECT_FALSE(grid.testAttribute(Qt::WA_SetCursor));
    mouse(QEvent::MouseMove, cellPoint(rowOf(QStringLiteral("OVER")), 2));
    EXPECT_EQ(grid.cursor().shape(), Qt::BitmapCursor);
    mouse(QEvent::MouseMove, cellPoint(2, 2));
    EXPECT_FALSE(grid.testAttribute(Qt::WA_SetCursor));

    // An alarm trend's table never reacts.
    viewData(2);
    mouse(QEvent::MouseMove, cellPoint(361, 2));
    EXPECT_FALSE(grid.testAttribute(Qt::WA_SetCursor));
    pressCell(361, 2);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(TrendSearchPageTest, AFailedSearchRestoresThePointerAndKeepsTheView) {
    open(false);
    const int rows = page->vfgBrowse->Rows();
    const QPoint warning = cellPoint(rowOf(QStringLiteral("WARNING")), 2);
    Globals().DatabasePath = path(QStringLiteral("gone.mdb"));
    mouse(QEvent::MouseButtonPress, warning);
    EXPECT_EQ(dialogs.ids(), QList<int>({30022}));
    EXPECT_FALSE(page->vfgBrowse->testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(page->vfgBrowse->Rows(), rows);
    EXPECT_TRUE(opened.isEmpty());
}

} // namespace
} // namespace tq
