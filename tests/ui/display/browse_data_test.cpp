#include "core/errors.h"
#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "grid_rows.h"
#include "stored_trend.h"
#include "ui/display/browse_data.h"
#include "ui/display/data_view_logs.h"

namespace tq {
namespace {

QString heading(const QString &columns) {
    return LoadMessage(5620) + "|" + LoadMessage(5621) + "|" + columns;
}

// A log of every family, in its object or, for event and sensor-change logs, stored only.
class BrowseDataTest : public test::StoredTrendTest {
protected:
    void SetUp() override {
        StoredTrendTest::SetUp();
        storeInterval({.samples = {{60, 1}, {120, 2}}, .events = {{90, -104}}}, logs.ViewInterval);
        logs.ViewAlarm.setDataCount(10);
        // A bump test of one entry: the calibration layout takes two rows of it, the bump
        // layout three.
        const qint64 bump = store({.type = 10});
        db().execute(QStringLiteral("Insert Into Bump (RelNo, Dates, Gas1Before, Gas1After, "
                                    "Gas1Judge) Values (?, '2009-05-01 09:00:00', 1, 2, 2)"),
                     {bump});
        logs.ViewHistory.ClearDatas();
        logs.ViewHistory.setSeqNo(bump);
        logs.ViewHistory.setContext(ProgramStoreContext());
        logs.ViewHistory.ReLoad();
        // Event logs under keys above 32767.
        addEvent(5, 40005,
                 "Insert Into Alarm_Event (RelNo, Dates, GasName, Alarm_Type) "
                 "Values (?, '2009-05-01 09:00:00', 'CH4', -104)");
        addEvent(6, 40006,
                 "Insert Into Trouble_Event (RelNo, Dates, GasName, Alarm_Type) "
                 "Values (?, '2009-05-01 09:00:00', 'BODY', -132)");
        addEvent(7, 40007,
                 "Insert Into Power_Event (RelNo, Dates, Power_Type) "
                 "Values (?, '2009-05-01 09:00:00', 1)");
        addEvent(12, 40012,
                 "Insert Into SensorChange (RelNo, Dates, Gas1Model, Gas1SerialNO, "
                 "Gas1Name, Gas1Unit, Gas1Full, Gas1Point) "
                 "Values (?, '2009-05-01 09:00:00', 'M1', 'S9', 'H2S', 'ppm', 30, 0)");
    }
    void addEvent(int type, qint64 seqNo, const char *insert) {
        store({.type = type, .seqNo = seqNo});
        db().execute(QLatin1String(insert), {seqNo});
    }
    // The table as a former fill left it.
    void formerTable() {
        table.Clear();
        table.SetCols(2);
        table.SetRows(2);
        for (int r = 0; r < 2; ++r)
            SetGridRow(table, r, 0, true, {QStringLiteral("old")});
    }
    bool show(int type, bool tableSelected) {
        return ShowBrowseData(
            summary, table, logs,
            {.logType = type, .seqNo = 40000 + type, .tableSelected = tableSelected});
    }

    DataViewLogs logs;
    FlexGrid summary;
    FlexGrid table;
};

const QStringList kFormer{QStringLiteral("old|old"), QStringLiteral("old|old")};

TEST_F(BrowseDataTest, EachTypeFillsItsTableOnlyWhileTableIsSelected) {
    const QString empty = QStringLiteral("----(---)");
    const struct {
        int type;
        QString heading; // of the record table; empty: the table is left as it was
        int rows;
        bool summaryShown;
    } cases[] = {
        {1, heading("CH4(100.0%LEL)"), 4, true},
        {2, heading(empty), 11, true},
        {3, heading("|" + empty), 3, true},
        {10, heading("|" + empty), 4, true},
        {11, heading(empty), 3, true},
        {5, heading("Gas|Event"), 2, true},
        {6, heading("Gas/Body|Event"), 2, true},
        {7, heading("Power"), 2, true},
        {12, heading("Model|SensorNO|Gas"), 2, true},
        {4, QString(), 2, false},
        {8, QString(), 2, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.type);
        for (const bool tableSelected : {true, false}) {
            SCOPED_TRACE(tableSelected);
            formerTable();
            summary.Clear();
            summary.SetRows(1);
            EXPECT_EQ(show(c.type, tableSelected), c.summaryShown);
            EXPECT_TRUE(table.Redraw());
            if (!tableSelected || c.heading.isEmpty()) {
                EXPECT_EQ(test::GridRows(table), kFormer);
                continue;
            }
            const QStringList rows = test::GridRows(table);
            EXPECT_EQ(rows.first(), c.heading);
            EXPECT_EQ(table.Rows(), c.rows);
        }
    }
}

TEST_F(BrowseDataTest, TheSummaryFollowsTheTypeTheSensorChangeTableWritesItsOwn) {
    show(1, false);
    EXPECT_EQ(summary.Rows(), 18);
    EXPECT_EQ(summary.TextMatrix(6, 1), QStringLiteral("3"));
    show(2, false);
    EXPECT_EQ(summary.Rows(), 13);
    // With Graph a sensor-change log keeps the former summary; with Table its head fills it.
    show(12, false);
    EXPECT_EQ(summary.Rows(), 13);
    show(12, true);
    EXPECT_EQ(summary.Rows(), 4);
    EXPECT_EQ(summary.TextMatrix(1, 1), QStringLiteral("A1234"));
    // A sensor-change log whose head row is gone: an empty summary.
    ShowBrowseData(summary, table, logs, {.logType = 12, .seqNo = 999, .tableSelected = true});
    EXPECT_EQ(test::GridRows(summary), QStringList{LoadMessage(5604) + "|" + LoadMessage(5605)});
    EXPECT_FALSE(show(4, true));
    EXPECT_EQ(summary.Rows(), 1);
    EXPECT_TRUE(show(3, true));
    EXPECT_EQ(summary.Rows(), 5);
}

TEST_F(BrowseDataTest, ABarHoleTrendClearsTheTableWhicheverOptionIsSelected) {
    for (const bool tableSelected : {true, false}) {
        SCOPED_TRACE(tableSelected);
        formerTable();
        EXPECT_TRUE(show(9, tableSelected));
        for (const QString &row : test::GridRows(table))
            EXPECT_EQ(row, QStringLiteral("|"));
        EXPECT_EQ(summary.TextMatrix(6, 1), QStringLiteral("-----"));
        EXPECT_TRUE(table.Redraw());
    }
}

TEST_F(BrowseDataTest, OnlyEventAndSensorTablesOpenTheDatabaseRedrawBackOnAfterAFailure) {
    Globals().DatabasePath = path(QStringLiteral("gone.mdb"));
    for (const int type : {1, 2, 3, 9, 10, 11}) {
        SCOPED_TRACE(type);
        EXPECT_NO_THROW(show(type, true));
    }
    for (const int type : {5, 6, 7, 12}) {
        SCOPED_TRACE(type);
        EXPECT_NO_THROW(show(type, false));
        formerTable();
        EXPECT_THROW(show(type, true), TqError);
        EXPECT_TRUE(table.Redraw());
    }
}

} // namespace
} // namespace tq
