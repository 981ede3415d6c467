#include "data_view_fixture.h"
#include "graph/uclVtmGraph.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

namespace tq {
namespace {

using test::DataViewTest;

enum class View { Keep, None, Table, Graph };

void choose(DataViewPage &page, View view) {
    if (view == View::Keep)
        return;
    for (QRadioButton *option : page.optBrowse)
        option->setAutoExclusive(false);
    page.optBrowse[0]->setChecked(view == View::Table);
    page.optBrowse[1]->setChecked(view == View::Graph);
    for (QRadioButton *option : page.optBrowse)
        option->setAutoExclusive(true);
}

View shownView(const DataViewPage &page) {
    if (page.optBrowse[0]->isChecked())
        return View::Table;
    return page.optBrowse[1]->isChecked() ? View::Graph : View::None;
}

struct TypeCase {
    const char *name;
    int type;
    int nth;          // which log of the type
    int previousType; // viewed first; 0 none
    View chosen;      // the option selected before View Data
    int caption;      // the type caption of the frame
    View shown;
    bool tableEnabled;
    bool graphEnabled;
    bool boxesEnabled; // Event Only and Condensed
    bool summaryButton;
    int browseFills; // run by this View Data
    int graphFills;
};

class DataViewTypeTest : public DataViewTest, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(DataViewTypeTest, ViewDataPreparesThePageForTheType) {
    const TypeCase &c = GetParam();
    if (c.previousType)
        viewData(c.previousType);
    choose(*page, c.chosen);
    const int browseBefore = browseFills;
    const int graphBefore = graphFills;
    const int pagesBefore = pagesShown;
    viewData(c.type, c.nth);

    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(frame.title(), captionOf(c.caption));
    EXPECT_EQ(shownView(*page), c.shown);
    EXPECT_EQ(page->optBrowse[0]->isEnabled(), c.tableEnabled);
    EXPECT_EQ(page->optBrowse[1]->isEnabled(), c.graphEnabled);
    EXPECT_EQ(page->chkEvent->isEnabled(), c.boxesEnabled);
    EXPECT_EQ(page->chkOutline->isEnabled(), c.boxesEnabled);
    for (int i : {0, 2})
        EXPECT_TRUE(page->cmdBrowse[std::size_t(i)]->isEnabled()) << i;
    EXPECT_EQ(page->cmdBrowse[3]->isEnabled(), c.summaryButton);
    EXPECT_EQ(browseFills - browseBefore, c.browseFills);
    EXPECT_EQ(graphFills - graphBefore, c.graphFills);
    EXPECT_FALSE(page->BrowseFilled());
    EXPECT_EQ(pagesShown - pagesBefore, 1);
    // The page's own visibility rules: the table with Table, the graph with Graph.
    page->layOut(13000, 8000, LoadMessage(101));
    EXPECT_EQ(!page->vfgBrowse->isHidden(), c.shown == View::Table);
    EXPECT_EQ(!page->vtmGraph->isHidden(), c.shown == View::Graph);
    EXPECT_EQ(!page->chkEvent->isHidden(), c.shown == View::Table);
    EXPECT_EQ(!page->cmbBrowse->isHidden(), c.shown == View::Graph);
    if (c.type == 9) {
        EXPECT_FALSE(page->vfgSummary->isHidden());
    }
}

constexpr bool Y = true;
constexpr bool N = false;

INSTANTIATE_TEST_SUITE_P(
    Types, DataViewTypeTest,
    ::testing::Values(
        TypeCase{"IntervalOnTable", 1, 0, 0, View::Table, 5624, View::Table, Y, Y, Y, Y, 1, 1},
        TypeCase{"IntervalKeepsGraph", 1, 0, 0, View::Graph, 5624, View::Graph, Y, Y, Y, Y, 1, 1},
        TypeCase{"IntervalOfFourValidSamples", 1, 1, 0, View::Graph, 5624, View::Table, Y, N, Y, Y,
                 1, 0},
        TypeCase{"BarHoleNeitherView", 9, 0, 0, View::Table, 5677, View::None, N, N, N, N, 1, 0},
        TypeCase{"NextLogAfterBarHoleOnTable", 11, 0, 9, View::Keep, 5679, View::Table, Y, N, N, Y,
                 1, 0},
        TypeCase{"AlarmKeepsGraph", 2, 0, 0, View::Graph, 5625, View::Graph, Y, Y, N, Y, 1, 1},
        TypeCase{"Calibration", 3, 0, 0, View::Graph, 5673, View::Table, Y, N, N, Y, 1, 0},
        TypeCase{"BumpTest", 10, 0, 0, View::Graph, 5678, View::Table, Y, N, N, Y, 1, 0},
        TypeCase{"AlarmEvents", 5, 0, 0, View::Graph, 5627, View::Table, Y, N, N, Y, 1, 0},
        TypeCase{"TroubleEvents", 6, 0, 0, View::Graph, 5628, View::Table, Y, N, N, Y, 1, 0},
        TypeCase{"PowerEvents", 7, 0, 0, View::Graph, 5629, View::Table, Y, N, N, Y, 1, 0},
        TypeCase{"SnapShot", 11, 0, 0, View::Graph, 5679, View::Table, Y, N, N, Y, 1, 0},
        TypeCase{"SensorChange", 12, 0, 0, View::Graph, 5630, View::Table, Y, N, N, Y, 1, 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DataViewTest, NothingSelectedSaysSoAndOpensNothing) {
    viewData(0);
    EXPECT_EQ(dialogs.ids(), QList<int>({5301}));
    EXPECT_EQ(dialogs.shown[0].title, LoadMessage(5302));
    EXPECT_EQ(pagesShown, 0);
    EXPECT_EQ(browseFills, 0);

    // Loading with nothing selected resets the page and loads nothing.
    viewData(1);
    choose(*page, View::Graph);
    select(0);
    page->ShowDataView();
    EXPECT_EQ(dialogs.ids(), QList<int>({5301, 5301}));
    EXPECT_EQ(frame.title(), LoadMessage(5151));
    EXPECT_EQ(shownView(*page), View::Table);
    EXPECT_FALSE(page->optBrowse[1]->isEnabled());
    for (int i : {0, 2, 3})
        EXPECT_FALSE(page->cmdBrowse[std::size_t(i)]->isEnabled()) << i;
    EXPECT_FALSE(page->chkEvent->isEnabled());
    EXPECT_FALSE(page->chkOutline->isEnabled());
    EXPECT_EQ(browseFills, 1);
}

TEST_F(DataViewTest, AnUnlistedTypeLoadsNothingAndKeepsThePage) {
    Database(Globals().DatabasePath)
        .execute(QStringLiteral("Insert Into Log_head (SeqNo, Types, Names) Values (900, 4, 'X')"));
    viewData(11);
    page->optBrowse[0]->setEnabled(false);
    const int fills = browseFills;
    selection = {4, 900};
    page->ShowDataView();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(frame.title(), captionOf(5679));
    EXPECT_TRUE(page->optBrowse[0]->isEnabled());
    EXPECT_FALSE(page->optBrowse[1]->isEnabled());
    EXPECT_EQ(browseFills, fills);
    EXPECT_FALSE(page->BrowseFilled());

    // Its summary is hidden by a fill; the next listed type shows it again.
    page->optBrowse[0]->setChecked(true);
    page->optBrowse_Click(0);
    EXPECT_TRUE(page->vfgSummary->isHidden());
    viewData(11);
    EXPECT_FALSE(page->vfgSummary->isHidden());
}

TEST_F(DataViewTest, AlarmTrendOfSamplingTwoIsCaptionedAsIntervalTrend) {
    const qint64 seqNo = seqOf(2);
    Database(Globals().DatabasePath)
        .execute(QStringLiteral("Update Log_head Set Sampling = 2 Where SeqNo = ?"), {seqNo});
    viewData(2);
    EXPECT_EQ(frame.title(), captionOf(5624));
}

TEST_F(DataViewTest, AlarmTrendTableOpensWithTheAlarmRowInTheMiddle) {
    frame.show();
    choose(*page, View::Table);
    viewData(2);
    FlexGrid &table = *page->vfgBrowse;
    ASSERT_EQ(table.Rows(), 721);
    EXPECT_LE(table.TopRow(), 361);
    EXPECT_GE(table.BottomRow(), 361);
    EXPECT_LE(std::abs(table.TopRow() + table.BottomRow() - 2 * 361), 2);

    // Recorded as an interval trend (Sampling 2): from its first row.
    Database(Globals().DatabasePath)
        .execute(QStringLiteral("Update Log_head Set Sampling = 2 Where SeqNo = ?"), {seqOf(2)});
    viewData(2);
    EXPECT_EQ(table.TopRow(), 1);
}

TEST_F(DataViewTest, TableAndGraphSwitchesFillOnceAfterALoad) {
    choose(*page, View::Table);
    viewData(1);
    ASSERT_EQ(browseFills, 1);
    ASSERT_EQ(graphFills, 1);

    page->optBrowse[1]->setChecked(true);
    page->optBrowse_Click(1);
    EXPECT_EQ(graphFills, 2); // the first switch to the graph fills it again
    EXPECT_TRUE(page->BrowseFilled());
    EXPECT_FALSE(page->chkBrowse[5]->isHidden());
    EXPECT_FALSE(page->chkBrowse[6]->isHidden());
    page->optBrowse[0]->setChecked(true);
    page->optBrowse_Click(0);
    EXPECT_EQ(browseFills, 1); // the table is not filled again
    page->optBrowse[1]->setChecked(true);
    page->optBrowse_Click(1);
    EXPECT_EQ(graphFills, 2); // only the boxes follow the log
    EXPECT_EQ(layouts, 3);

    // Opened on the graph, the first switch to the table fills it.
    viewData(1);
    EXPECT_EQ(browseFills, 2);
    EXPECT_EQ(graphFills, 3);
    page->optBrowse[0]->setChecked(true);
    page->optBrowse_Click(0);
    EXPECT_EQ(browseFills, 3);
    page->optBrowse[1]->setChecked(true);
    page->optBrowse_Click(1);
    EXPECT_EQ(graphFills, 3);
}

TEST_F(DataViewTest, EventOnlyRefillsAndLocksCondensed) {
    viewData(1);
    const int fills = browseFills;
    page->chkEvent->setChecked(true);
    page->chkEvent_Click();
    EXPECT_EQ(browseFills, fills + 1);
    EXPECT_FALSE(page->chkOutline->isEnabled());
    // Opening an interval trend again enables Condensed while Event Only stays ticked.
    viewData(1);
    EXPECT_TRUE(page->chkEvent->isChecked());
    EXPECT_TRUE(page->chkOutline->isEnabled());
    page->chkEvent->setChecked(false);
    page->chkEvent_Click();
    EXPECT_TRUE(page->chkOutline->isEnabled());
}

TEST_F(DataViewTest, CondensedFollowsTheBoxAndReloads) {
    Globals().CompletelyView = false;
    viewData(1);
    EXPECT_TRUE(Globals().CondensedView);
    EXPECT_TRUE(page->chkOutline->isChecked());
    const int fills = browseFills;
    const int layoutsBefore = layouts;
    frame.show();
    page->chkOutline->setChecked(false);
    page->chkOutline_Click();
    EXPECT_FALSE(Globals().CondensedView);
    EXPECT_EQ(browseFills, fills + 1);
    EXPECT_EQ(layouts, layoutsBefore + 1);
    EXPECT_FALSE(frame.isHidden()); // the reload keeps the page open
}

TEST_F(DataViewTest, GraphBoxesShowAndHideSeriesMarksAndCursor) {
    choose(*page, View::Graph);
    viewData(1);
    uclVtmGraph &graph = *page->vtmGraph;
    graph.Clear();
    graph.AddSample(QStringLiteral("CH4"), 65280);
    for (qint16 p = 0; p < 40; ++p)
        graph.setValueX(p, 45000 + p / 1440.0);
    graph.setSampleCount(40);
    page->chkBrowse[5]->setChecked(true);
    page->chkBrowse_Click(5);
    EXPECT_TRUE(graph.EventVisible(0));
    EXPECT_TRUE(graph.EventVisible(1000));
    page->chkBrowse[0]->setChecked(false);
    page->chkBrowse_Click(0);
    EXPECT_FALSE(graph.SampleVisible(0));
    EXPECT_FALSE(graph.EventVisible(0));
    page->chkBrowse[0]->setChecked(true);
    page->chkBrowse_Click(0);
    EXPECT_TRUE(graph.SampleVisible(0));
    EXPECT_TRUE(graph.EventVisible(0));
    page->chkBrowse[5]->setChecked(false);
    page->chkBrowse_Click(5);
    EXPECT_FALSE(graph.EventVisible(0));
    EXPECT_FALSE(graph.EventVisible(1000));
    page->chkBrowse[6]->setChecked(true);
    page->chkBrowse_Click(6);
    EXPECT_TRUE(graph.CursorVisible());

    // A zoom chosen while the graph is hidden is set without a redraw.
    page->vtmGraph->setVisible(false);
    page->cmbBrowse->clear();
    page->cmbBrowse->addItems({QStringLiteral("1"), QStringLiteral("3")});
    page->cmbBrowse->setCurrentIndex(1);
    page->cmbBrowse_Click();
    EXPECT_EQ(graph.Zoom(), 3);
}

TEST_F(DataViewTest, ReturnShowsTheDataPage) {
    viewData(1);
    page->cmdBrowse_Click(1);
    EXPECT_EQ(dataPagesShown, 0);
    page->cmdBrowse_Click(4);
    EXPECT_EQ(dataPagesShown, 1);
    EXPECT_TRUE(page->cmdBrowse[1]->isHidden());
}

TEST_F(DataViewTest, AFailedFillRestoresThePageAndSaysSoOnce) {
    frame.show();
    failFill = true;
    viewData(1);
    EXPECT_EQ(dialogs.ids(), QList<int>({30021}));
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("disk gone")));
    EXPECT_FALSE(page->window()->cursor().shape() == Qt::WaitCursor);
    EXPECT_TRUE(page->vfgBrowse->Redraw());
    EXPECT_FALSE(frame.isHidden());
    EXPECT_FALSE(page->BrowseFilled());
    EXPECT_EQ(page->vfgBrowse->Rows(), page->vfgBrowse->FixedRows());
    EXPECT_EQ(page->vfgSummary->Rows(), page->vfgSummary->FixedRows());

    // A failed switch to the table leaves BrowseFilled clear for the next try.
    failFill = false;
    choose(*page, View::Graph);
    viewData(1);
    failFill = true;
    page->optBrowse[0]->setChecked(true);
    page->optBrowse_Click(0);
    EXPECT_EQ(dialogs.ids(), QList<int>({30021, 30021}));
    EXPECT_FALSE(page->BrowseFilled());
    EXPECT_FALSE(page->window()->cursor().shape() == Qt::WaitCursor);
    failFill = false;
    page->optBrowse_Click(0);
    EXPECT_TRUE(page->BrowseFilled());
}

} // namespace
} // namespace tq
