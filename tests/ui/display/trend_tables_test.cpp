#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "grid_rows.h"
#include "logs/trend/clsAlarm.h"
#include "stored_trend.h"
#include "ui/display/data_view_logs.h"
#include "ui/display/trend_tables.h"
#include "ui/display/view_summary.h"

#include <map>

namespace tq {
namespace {

using test::ShownAt;
using test::StoredInterval;

const QColor kRed(255, 0, 0);
const QColor kGreen(64, 192, 128);
const QColor kGrey(128, 128, 128);

QString heading(const QString &gas) {
    return LoadMessage(5620) + "|" + LoadMessage(5621) + "|" + gas;
}

// One listed row: its second and its value text; a negative second stands for an empty row.
struct Listed {
    qint64 second = 0;
    QString value{};
};
constexpr qint64 kEmpty = -1;

// The table as GridRows gives it: the heading, then the rows numbered from 1.
QStringList expectedRows(const std::vector<Listed> &listed, const QString &unit) {
    QStringList rows{heading("CH4(100.0" + unit + ")")};
    for (const Listed &l : listed) {
        if (l.second == kEmpty)
            rows << QStringLiteral("||");
        else
            rows << QString::number(rows.size()) + "|" + ShownAt(l.second) + "|" + l.value;
    }
    return rows;
}

// Samples a minute apart from second 60 on with the values 1, 2, 3 ...
std::vector<std::pair<qint64, float>> minuteSamples(int count) {
    std::vector<std::pair<qint64, float>> samples;
    for (int k = 1; k <= count; ++k)
        samples.push_back({60 * k, float(k)});
    return samples;
}

std::vector<Listed> listedSamples(int from, int to) {
    std::vector<Listed> listed;
    for (int k = from; k <= to; ++k)
        listed.push_back({60 * k, QString::number(k) + ".0 %LEL"});
    return listed;
}

template <typename T> std::vector<T> operator+(std::vector<T> a, const std::vector<T> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class TrendTableTest : public test::StoredTrendTest {
protected:
    void fill(const StoredInterval &trend, const IntervalTableOptions &options = {}) {
        storeInterval(trend, logs.ViewInterval);
        FillViewSummary(summary, 1, logs);
        FillIntervalTable(table, summary, logs.ViewInterval, options);
    }
    // Every value cell's colour by row; rows not named have none.
    void expectColours(const std::map<int, QColor> &colours) {
        for (int r = 0; r < table.Rows(); ++r) {
            const auto found = colours.find(r);
            EXPECT_EQ(table.CellBackColor(r, 2), found == colours.end() ? QColor() : found->second)
                << "row " << r;
            EXPECT_FALSE(table.CellBackColor(r, 0).isValid()) << "row " << r;
            EXPECT_FALSE(table.CellBackColor(r, 1).isValid()) << "row " << r;
        }
    }

    DataViewLogs logs;
    FlexGrid table;
    FlexGrid summary;
};

TEST_F(TrendTableTest, IntervalListingInTimeOrderAndItsEnd) {
    const QString alk = QStringLiteral("Fail(ALK.)");
    const QString sensor = QStringLiteral("Fail(Sen.)");
    const struct Case {
        const char *name;
        StoredInterval trend;
        IntervalTableOptions options;
        std::vector<Listed> rows;
        std::map<int, QColor> colours;
    } cases[] = {
        {"a sample and an event of the same time: the sample first",
         {.samples = {{60, 10}, {120, 20}}, .events = {{60, -104}}},
         {},
         {{60, "10.0 %LEL"}, {60, "ALARM"}, {120, "20.0 %LEL"}},
         {{2, kRed}}},
        {"-150 after 100 samples ends the listing after the items of its time",
         {.samples = minuteSamples(102), .events = {{6000, -150}, {6000, -102}, {6090, -104}}},
         {},
         listedSamples(1, 100) +
             std::vector<Listed>{{6000, alk}, {6000, "NORMAL"}, {kEmpty}, {kEmpty}, {kEmpty}},
         {{101, kGrey}, {102, kGreen}}},
        {"-132 before the first sample lets the listing go on",
         {.samples = {{60, 1}, {120, 2}}, .events = {{30, -132}}},
         {},
         {{30, sensor}, {60, "1.0 %LEL"}, {120, "2.0 %LEL"}},
         {{1, kGrey}}},
        {"-132 after a sample ends it",
         {.samples = {{60, 1}, {120, 2}, {180, 3}}, .events = {{90, -132}, {150, -104}}},
         {},
         {{60, "1.0 %LEL"}, {90, sensor}, {kEmpty}, {kEmpty}, {kEmpty}},
         {{2, kGrey}}},
        {"Event Only: events alone, and -132 never ends the listing",
         {.samples = {{60, 1}, {120, 2}, {180, 3}}, .events = {{90, -132}, {150, -104}}},
         {.eventOnly = true},
         {{90, sensor}, {150, "ALARM"}},
         {{1, kGrey}, {2, kRed}}},
        {"a unit change is hidden without debug mode",
         {.samples = {{60, 10}, {120, 150}, {180, 2.5f}}, .events = {{90, -175}}},
         {},
         {{60, "10.0 %LEL"}, {120, "150.0 %LEL"}, {180, "2.5 %LEL"}},
         {}},
        {"in debug mode it is listed with its word and no colour",
         {.samples = {{60, 10}, {120, 150}}, .events = {{90, -175}}},
         {.debugMode = true},
         {{60, "10.0 %LEL"}, {90, "vol"}, {120, "150.0 %LEL"}},
         {}},
        {"a stored code beyond 16 bits is no event: an empty cell, no colour, no end",
         {.samples = {{60, 1}, {120, 2}}, .events = {{90, 65429}}},
         {},
         {{60, "1.0 %LEL"}, {90, ""}, {120, "2.0 %LEL"}},
         {}},
        {"status colours; -101 has none",
         {.samples = {}, .events = {{60, -104}, {120, -102}, {180, -101}}},
         {},
         {{60, "ALARM"}, {120, "NORMAL"}, {180, "-----"}},
         {{1, kRed}, {2, kGreen}}},
        {"over the full scale: OVER without a unit; with a ratio the %LEL suffix",
         {.samples = {{60, 120}, {120, 50}}, .unit = QStringLiteral("ppm"), .ratio = 1},
         {},
         {{60, "OVER"}, {120, "50.0 %LEL"}},
         {}},
        {"ppm and vol%: slot 0 with its decimals, unchecked, with the suffix in force",
         {.samples = {{60, 5}, {120, 500}, {180, 0.25f}, {240, 120}},
          .events = {{90, -174}, {150, -175}, {210, -173}},
          .ratio = 1},
         {},
         {{60, "5.0 %LEL"}, {120, "500.0 ppm"}, {180, "0.3 vol%"}, {240, "OVER"}},
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fill(c.trend, c.options);
        EXPECT_EQ(test::GridRows(table), expectedRows(c.rows, c.trend.unit));
        expectColours(c.colours);
    }
}

// An event row keeps its event's own time for the trend search; sample rows keep none.
TEST_F(TrendTableTest, EventRowsKeepTheirEventsTime) {
    fill({.samples = {{60, 10}, {120, 20}}, .events = {{60, -104}, {90, -103}}});
    EXPECT_FALSE(table.RowData(1).isValid());
    EXPECT_EQ(table.RowData(2).value<Date>(), test::kTrendStart.addSeconds(60));
    EXPECT_EQ(table.RowData(3).value<Date>(), test::kTrendStart.addSeconds(90));
    EXPECT_FALSE(table.RowData(4).isValid());
}

TEST_F(TrendTableTest, TheFillRewritesTheSummarysPeriodAndCount) {
    const auto periodAndCount = [&] {
        return QStringList{summary.TextMatrix(2, 1), summary.TextMatrix(6, 1)};
    };
    const QString start = ShownAt(0) + LoadMessage(5676);
    const struct {
        const char *name;
        StoredInterval trend;
        IntervalTableOptions options;
        QStringList shown;
    } cases[] = {
        {"an end by a failure: the period ends at its time",
         {.samples = minuteSamples(4), .events = {{150, -151}}, .last = 3600},
         {},
         {start + ShownAt(150), "5"}},
        {"without an end date the period stays open",
         {.samples = minuteSamples(4), .events = {{150, -151}}},
         {},
         {start, "5"}},
        {"a listing to the end keeps the log's end date",
         {.samples = minuteSamples(4), .events = {{150, -104}}, .last = 3600},
         {},
         {start + ShownAt(3600), "5"}},
        {"hidden unit changes leave the count",
         {.samples = minuteSamples(4), .events = {{90, -174}, {150, -173}}, .last = 3600},
         {},
         {start + ShownAt(3600), "4"}},
        {"listed in debug mode they count",
         {.samples = minuteSamples(4), .events = {{90, -174}, {150, -173}}, .last = 3600},
         {.debugMode = true},
         {start + ShownAt(3600), "6"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fill(c.trend, c.options);
        EXPECT_EQ(periodAndCount(), c.shown);
        EXPECT_EQ(summary.TextMatrix(2, 0), LoadMessage(5607));
        EXPECT_EQ(summary.TextMatrix(6, 0), LoadMessage(5611));
    }
}

TEST_F(TrendTableTest, ColouredCellsLeftAlignedUpTo5400RowsOrWhenCondensed) {
    const struct {
        int samples;
        bool condensed;
        FlexAlign coloured;
    } cases[] = {
        {5397, false, FlexAlign::LeftCenter}, // 5,400 rows with the heading and two events
        {5398, false, FlexAlign::CenterCenter},
        {5398, true, FlexAlign::LeftCenter},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.samples);
        fill({.samples = minuteSamples(c.samples), .events = {{90, -104}, {150, -101}}},
             {.condensedView = c.condensed});
        ASSERT_EQ(table.Rows(), c.samples + 3);
        ASSERT_EQ(table.TextMatrix(2, 2), QStringLiteral("ALARM"));
        EXPECT_EQ(table.CellAlignment(2, 2), c.coloured);
        EXPECT_EQ(table.CellAlignment(4, 2), FlexAlign::CenterCenter); // the -101 row
        EXPECT_EQ(table.CellAlignment(1, 0), FlexAlign::CenterCenter);
        EXPECT_EQ(table.CellAlignment(1, 1), FlexAlign::LeftCenter);
        EXPECT_EQ(table.CellAlignment(0, 1), FlexAlign::CenterCenter);
    }
}

// An alarm trend of `count` samples a second apart, values rising by 0.5 from 0.5.
void makeAlarm(clsAlarm &log, qint16 count, float ratio) {
    log.ClearDatas();
    log.setGasListInfo(0, qint32(GasInfoItem::Name), QStringLiteral("CH4"));
    log.setGasListInfo(0, qint32(GasInfoItem::Full), 100);
    log.setGasListInfo(0, qint32(GasInfoItem::Point), 1);
    log.setGasListInfo(0, qint32(GasInfoItem::Unit), QStringLiteral("ppm"));
    log.setGasListInfo(0, qint32(GasInfoItem::Ratio), ratio);
    log.setDataCount(count);
    for (qint16 i = 0; i < count; ++i) {
        log.setDateTimes(i, test::kTrendStart.addSeconds(i));
        log.setValue(0, i, 0.5f * (i + 1));
    }
}

TEST_F(TrendTableTest, AlarmTableMarksTheAlarmMomentRed) {
    const struct {
        qint16 samples;
        float ratio;
        bool redRow;
    } cases[] = {{720, 0, true}, {720, 1, true}, {300, 0, false}, {360, 0, false}, {361, 0, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.samples);
        makeAlarm(logs.ViewAlarm, c.samples, c.ratio);
        FillAlarmTable(table, logs.ViewAlarm);
        ASSERT_EQ(table.Rows(), c.samples + 1);
        const QStringList rows = test::GridRows(table);
        EXPECT_EQ(rows.first(), heading(QStringLiteral("CH4(100.0ppm)")));
        const QString unit = c.ratio > 0 ? QStringLiteral(" %LEL") : QStringLiteral(" ppm");
        EXPECT_EQ(rows[1], "1|" + ShownAt(0) + "|0.5" + unit);
        EXPECT_EQ(rows[200], "200|" + ShownAt(199) + "|100.0" + unit);
        EXPECT_EQ(rows[201], "201|" + ShownAt(200) + "|OVER");
        for (int r = 0; r < table.Rows(); ++r)
            for (int col = 0; col < 3; ++col)
                EXPECT_EQ(table.CellBackColor(r, col),
                          c.redRow && r == 361 && col > 0 ? kRed : QColor())
                    << r << "," << col;
        EXPECT_EQ(table.CellAlignment(5, 0), FlexAlign::CenterCenter);
        EXPECT_EQ(table.CellAlignment(5, 1), FlexAlign::LeftCenter);
        EXPECT_EQ(table.CellAlignment(0, 1), FlexAlign::CenterCenter);
    }
}

TEST_F(TrendTableTest, AlarmRowScrolledToTheMiddleHalvesToEven) {
    makeAlarm(logs.ViewAlarm, 720, 0);
    FillAlarmTable(table, logs.ViewAlarm);
    table.show();
    // The view's height that shows rows down to `bottom` at the top of the table.
    const auto showDownTo = [&](int bottom) {
        for (int height = 60; height < 2000; ++height) {
            table.resize(400, height);
            table.SetTopRow(1);
            if (table.BottomRow() == bottom)
                return true;
        }
        return false;
    };
    const struct {
        int bottom;
        int top;
    } cases[] = {{20, 352}, {25, 350}, {27, 348}, {26, 349}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bottom);
        ASSERT_TRUE(showDownTo(c.bottom));
        ScrollAlarmRowToMiddle(table);
        EXPECT_EQ(table.TopRow(), c.top);
    }
    // A table shorter than the alarm row scrolls as far as it goes.
    makeAlarm(logs.ViewAlarm, 300, 0);
    FillAlarmTable(table, logs.ViewAlarm);
    ASSERT_TRUE(showDownTo(25));
    ScrollAlarmRowToMiddle(table);
    EXPECT_EQ(table.BottomRow(), 300);
}

} // namespace
} // namespace tq
