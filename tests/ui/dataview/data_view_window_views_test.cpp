// The data view window's summary, record table and graph, and the reactions of its boxes
// and zoom list.
#include "core/gui/settings_colour.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "data_view_window_fixture.h"
#include "logs/trend/gas_title.h"
#include "ui/display/browse_data.h"
#include "ui/display/data_view_logs.h"

#include <cmath>

namespace tq {
namespace {

using ViewsTest = test::DataViewWindowTest;

const QColor kRed(255, 0, 0);
const QColor kGrey(224, 224, 224);

QString cells(const FlexGrid &grid, int row) {
    QStringList out;
    for (int c = 0; c < grid.Cols(); ++c)
        out << grid.TextMatrix(row, c);
    return out.join('|');
}

QString withUnit(double value, const QString &unit) {
    return QLocale::system().toString(value, 'f', 1) + ' ' + unit;
}

TEST_F(ViewsTest, SummaryListsTheLogAndDashesTheLevelsOfADisabledGas) {
    for (const bool enabled : {true, false}) {
        SCOPED_TRACE(enabled);
        open({.samples = 720, .enabled = enabled});
        const FlexGrid &s = *window->vfgSummary;
        ASSERT_EQ(s.Rows(), 13);
        ASSERT_EQ(s.Cols(), 2);
        const QString dashes = QStringLiteral("-----");
        const QStringList expected{
            LoadMessage(5604) + '|' + LoadMessage(5605),
            LoadMessage(5606) + '|' + window->alarm().header().Names,
            LoadMessage(5616) + '|' + test::kAlarmStart.addSeconds(360).generalDate(),
            LoadMessage(5608) + QStringLiteral("|A1234"),
            LoadMessage(5609) + QStringLiteral("|ST-01"),
            LoadMessage(5610) + QStringLiteral("|U-1"),
            LoadMessage(5611) + QStringLiteral("|720"),
            LoadMessage(5612) + QStringLiteral("|1"),
            LoadMessage(5750) + '|' + GetGasTitle(window->alarm(), 0),
            LoadMessage(5642) + '|' + (enabled ? withUnit(25, "ppm") : dashes),
            LoadMessage(5643) + '|' + (enabled ? withUnit(50, "ppm") : dashes),
            LoadMessage(5644) + '|' + (enabled ? withUnit(100, "ppm") : dashes),
            LoadMessage(5645) + '|' + (enabled ? withUnit(25, "ppm") : dashes),
        };
        for (int r = 0; r < 13; ++r)
            EXPECT_EQ(cells(s, r), expected[r]) << r;
        EXPECT_EQ(s.CellBackColor(8, 1), kGrey);
        EXPECT_EQ(s.CellBackColor(8, 0), QColor());
        EXPECT_EQ(s.CellAlignment(0, 0), FlexAlign::CenterCenter);
        EXPECT_EQ(s.CellAlignment(3, 1), FlexAlign::LeftCenter);
        EXPECT_EQ(s.CellAlignment(10, 1), FlexAlign::CenterCenter);
        for (int r = 0; r < 13; ++r)
            EXPECT_EQ(s.MergeRow(r), r < 8) << r;
        // The table still lists the readings.
        EXPECT_EQ(window->vfgBrowse->TextMatrix(1, 2), withUnit(0.5, "ppm"));
    }
}

// The window's table is the Data View page's table of the same trend, cell for cell; the
// summaries differ only where the window dashes STEL and TWA of a disabled gas.
TEST_F(ViewsTest, TableAndSummaryEqualThePagesOfTheSameTrend) {
    for (const bool enabled : {true, false}) {
        SCOPED_TRACE(enabled);
        const qint64 seqNo = storeAlarm({.samples = 720, .enabled = enabled, .ratio = 1});
        open(seqNo, opening());
        DataViewLogs logs;
        logs.ViewAlarm.setSeqNo(seqNo);
        logs.ViewAlarm.setContext(ProgramStoreContext());
        logs.ViewAlarm.ReLoad();
        FlexGrid summary;
        FlexGrid table;
        ShowBrowseData(summary, table, logs, {.logType = 2, .seqNo = seqNo, .tableSelected = true});
        const FlexGrid &w = *window->vfgBrowse;
        ASSERT_EQ(w.Rows(), table.Rows());
        ASSERT_EQ(w.Cols(), table.Cols());
        for (int r = 0; r < table.Rows(); ++r)
            for (int c = 0; c < table.Cols(); ++c) {
                ASSERT_EQ(w.TextMatrix(r, c), table.TextMatrix(r, c)) << r << ',' << c;
                ASSERT_EQ(w.CellBackColor(r, c), table.CellBackColor(r, c)) << r << ',' << c;
                ASSERT_EQ(w.CellAlignment(r, c), table.CellAlignment(r, c)) << r << ',' << c;
            }
        for (int r = 0; r < summary.Rows(); ++r)
            if (enabled || r < 11)
                EXPECT_EQ(cells(*window->vfgSummary, r), cells(summary, r)) << r;
            else
                EXPECT_NE(cells(*window->vfgSummary, r), cells(summary, r)) << r;
        // A ratio reads in %LEL in the table while the levels keep the gas's unit.
        EXPECT_TRUE(w.TextMatrix(1, 2).endsWith(QStringLiteral(" %LEL")));
    }
}

TEST_F(ViewsTest, TheAlarmRowIsRedFrom361SamplesOn) {
    const struct {
        int samples;
        bool red;
    } cases[] = {{0, false}, {360, false}, {361, true}, {720, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.samples);
        open({.samples = c.samples});
        const FlexGrid &t = *window->vfgBrowse;
        ASSERT_EQ(t.Rows(), c.samples + 1);
        EXPECT_EQ(t.TextMatrix(0, 0), LoadMessage(5620));
        for (int r = 0; r < t.Rows(); ++r)
            for (int col = 0; col < 3; ++col)
                ASSERT_EQ(t.CellBackColor(r, col), c.red && r == 361 && col > 0 ? kRed : QColor())
                    << r << ',' << col;
        EXPECT_EQ(window->vfgSummary->TextMatrix(6, 1), QString::number(c.samples));
    }
}

// Readings without a full scale are dashes; words and numbers past the scale carry no unit.
TEST_F(ViewsTest, ReadingsWithoutAFullScaleAreDashes) {
    open({.samples = 400, .full = -101});
    for (int r : {1, 200, 361})
        EXPECT_EQ(window->vfgBrowse->TextMatrix(r, 2), QStringLiteral("-----")) << r;
    open({.samples = 400});
    EXPECT_EQ(window->vfgBrowse->TextMatrix(200, 2), withUnit(100, "ppm"));
    EXPECT_EQ(window->vfgBrowse->TextMatrix(201, 2), QStringLiteral("OVER"));
}

// Shown, the table has the alarm row in the middle of its view; a short table scrolls only
// as far as it goes.
TEST_F(ViewsTest, TheAlarmRowIsScrolledToTheMiddleWhenShown) {
    open({.samples = 720});
    window->show();
    const FlexGrid &t = *window->vfgBrowse;
    const int rowsInView = t.BottomRow() - t.TopRow() + 1;
    EXPECT_GE(t.TopRow(), 361 - rowsInView);
    EXPECT_LE(t.TopRow(), 361);
    EXPECT_GE(t.BottomRow(), 361);
    EXPECT_NEAR(t.TopRow() + rowsInView / 2.0, 362, 2);

    window->close();
    open({.samples = 300});
    window->show();
    EXPECT_EQ(window->vfgBrowse->BottomRow(), 300);
    EXPECT_NE(window->cursor().shape(), Qt::WaitCursor);
}

TEST_F(ViewsTest, ZoomEntriesAndTheAlarmMarkFollowTheSampleCount) {
    const QStringList all{"1", "3", "5", "10", "20", "30", "50"};
    const struct {
        int samples;
        int entries;
        bool alarmMark;
    } cases[] = {{5, 1, false},   {30, 1, false}, {31, 2, false},
                 {361, 6, false}, {362, 6, true}, {720, 7, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.samples);
        open({.samples = c.samples}, true);
        QStringList entries;
        for (int i = 0; i < window->cmbBrowse->count(); ++i)
            entries << window->cmbBrowse->itemText(i);
        EXPECT_EQ(entries, all.mid(0, c.entries));
        EXPECT_EQ(window->cmbBrowse->currentIndex(), 0);
        EXPECT_EQ(window->vtmGraph->SampleCount(), c.samples);
        EXPECT_EQ(window->vtmGraph->EventFlag(1000, 360),
                  c.alarmMark ? QStringLiteral("Alarm") : QString());
        EXPECT_EQ(window->vtmGraph->Zoom(), 1);
    }
}

// A zoom chosen in the list applies; the graph filled again starts at zoom 1.
TEST_F(ViewsTest, EveryFillStartsAtZoomOne) {
    open({.samples = 720}, true);
    window->cmbBrowse->setCurrentIndex(3);
    EXPECT_EQ(window->vtmGraph->Zoom(), 10);
    window->optBrowse[0]->setChecked(true);
    window->optBrowse[1]->setChecked(true);
    EXPECT_EQ(window->vtmGraph->Zoom(), 1);
    EXPECT_EQ(window->cmbBrowse->currentIndex(), 0);
}

TEST_F(ViewsTest, GasBoxTakesTheLogsGasCaptionAndColour) {
    open({.samples = 720}, true);
    QCheckBox &gas = *window->chkBrowse[0];
    EXPECT_EQ(gas.text(), GetGasTitle(window->alarm(), 0));
    EXPECT_EQ(gas.palette().color(QPalette::WindowText),
              ColorFromSettings(Globals().GraphColors[0]));
    EXPECT_TRUE(gas.isChecked());
    EXPECT_TRUE(window->vtmGraph->SampleVisible(0));

    // A gas that is not enabled: box cleared and hidden, curve hidden.
    open({.samples = 720, .enabled = false}, true);
    EXPECT_FALSE(gas.isChecked());
    EXPECT_FALSE(shown(&gas));
    EXPECT_FALSE(window->vtmGraph->SampleVisible(0));
}

// The gas box hides curve and marks; on again, the marks follow the Event box, which shows
// the marks of every series, a curve that is off included, and the common marks.
TEST_F(ViewsTest, BoxesShowAndHideCurveMarksAndCursor) {
    open({.samples = 720}, true);
    uclVtmGraph &graph = *window->vtmGraph;
    QCheckBox &gas = *window->chkBrowse[0];
    QCheckBox &event = *window->chkBrowse[5];
    ASSERT_TRUE(event.isChecked());

    gas.setChecked(false);
    EXPECT_FALSE(graph.SampleVisible(0));
    EXPECT_FALSE(graph.EventVisible(0));
    gas.setChecked(true);
    EXPECT_TRUE(graph.SampleVisible(0));
    EXPECT_TRUE(graph.EventVisible(0));

    event.setChecked(false);
    EXPECT_FALSE(graph.EventVisible(0));
    EXPECT_FALSE(graph.EventVisible(1000));
    gas.setChecked(false);
    gas.setChecked(true);
    EXPECT_FALSE(graph.EventVisible(0));

    gas.setChecked(false);
    event.setChecked(true);
    EXPECT_TRUE(graph.EventVisible(0));
    EXPECT_TRUE(graph.EventVisible(1000));
    EXPECT_FALSE(graph.SampleVisible(0));

    window->chkBrowse[6]->setChecked(false);
    EXPECT_FALSE(graph.CursorVisible());
    window->chkBrowse[6]->setChecked(true);
    EXPECT_TRUE(graph.CursorVisible());
}

} // namespace
} // namespace tq
