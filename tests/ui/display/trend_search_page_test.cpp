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

} // namespace
} // namespace tq
