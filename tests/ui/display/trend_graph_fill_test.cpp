#include "core/date.h"
#include "core/gas_format.h"
#include "core/program_state.h"
#include "graph/uclVtmGraph.h"
#include "logs/trend/log_header.h"
#include "logs/trend/trend_file.h"
#include "stored_logs.h"
#include "test_support.h"
#include "ui/display/trend_graph_fill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tq {
namespace {

constexpr qint32 kInterval = 1;
constexpr qint32 kAlarm = 2;
const Date kStart = Date::fromParts(2015, 6, 23, 8, 0, 0);

// The gas record the fixtures give their log.
struct Gas {
    bool enabled = true;
    float fullScale = 500;
    qint16 decimals = 0;
};

void setGas(HeadedLog &log, const Gas &gas) {
    const auto set = [&](GasInfoItem item, const QVariant &v) {
        log.setGasListInfo(0, qint32(item), v);
    };
    set(GasInfoItem::Name, QStringLiteral("CO"));
    set(GasInfoItem::Unit, QStringLiteral("ppm"));
    set(GasInfoItem::Full, gas.fullScale);
    set(GasInfoItem::Point, gas.decimals);
    set(GasInfoItem::Enable, gas.enabled);
    log.setGasBaseInfo(qint32(LogHeaderItem::Names), QStringLiteral("LOG-1"));
}

// Interval samples a minute apart from kStart; events half a minute after the sample of
// their number.
void loadInterval(clsInterval &log, const std::vector<float> &values, const Gas &gas = {},
                  const std::vector<float> &events = {}) {
    log.ClearDatas();
    setGas(log, gas);
    log.setDataCount(qint32(values.size()));
    for (qint32 s = 0; s < log.DataCount(); ++s) {
        log.setDateTimes(s, kStart.addSeconds(60LL * s));
        log.setGasValue(0, s, values[std::size_t(s)]);
    }
    log.setEventCount(qint32(events.size()));
    for (qint32 e = 0; e < log.EventCount(); ++e) {
        log.setEventDateTimes(e, kStart.addSeconds(60LL * e + 30));
        log.setGasEvent(0, e, events[std::size_t(e)]);
    }
}

// Alarm samples a second apart from kStart.
void loadAlarm(clsAlarm &log, const std::vector<float> &values, const Gas &gas = {}) {
    log.ClearDatas();
    setGas(log, gas);
    log.setDataCount(qint16(values.size()));
    for (qint32 s = 0; s < log.DataCount(); ++s) {
        log.setDateTimes(s, kStart.addSeconds(s));
        log.setValue(0, s, values[std::size_t(s)]);
    }
}

class TrendGraphFillTest : public ::testing::Test {
protected:
    void SetUp() override { Globals().GraphColors[0] = 65280; }

    TrendGraphBoxes showInterval(const std::vector<float> &values, const Gas &gas = {},
                                 const std::vector<float> &events = {},
                                 const TrendGraphOptions &options = {}) {
        loadInterval(logs.ViewInterval, values, gas, events);
        return ShowTrendGraph(graph, kInterval, logs, options);
    }
    TrendGraphBoxes showAlarm(const std::vector<float> &values, const Gas &gas = {},
                              const TrendGraphOptions &options = {}) {
        loadAlarm(logs.ViewAlarm, values, gas);
        return ShowTrendGraph(graph, kAlarm, logs, options);
    }
    // The interval samples drawn, by their minute after kStart.
    std::vector<qint32> drawnSamples() const {
        std::vector<qint32> samples;
        for (qint16 n = 0; n < graph.SampleCount(); ++n)
            samples.push_back(qint32(std::lround((graph.valueX(n) - kStart.days()) * 1440)));
        return samples;
    }
    std::vector<float> drawnValues() const {
        std::vector<float> values;
        for (qint16 n = 0; n < graph.SampleCount(); ++n)
            values.push_back(graph.valueY(0, n));
        return values;
    }
    std::vector<QString> marks() const {
        std::vector<QString> texts;
        for (qint16 m = 0; m < graph.EventCount(0); ++m)
            texts.push_back(graph.EventFlag(0, m));
        return texts;
    }

    DataViewLogs logs;
    uclVtmGraph graph;
};

TEST_F(TrendGraphFillTest, IntervalRunsOfEqualValuesAreDrawnAsTheirEnds) {
    const struct {
        const char *name;
        std::vector<float> values;
        std::vector<qint32> drawn;
    } cases[] = {
        {"all equal: first and last", std::vector<float>(40, 5), {0, 39}},
        {"runs inside", {5, 5, 5, 7, 7, 3}, {0, 2, 3, 4, 5}},
        {"every value different", {1, 2, 3, 4, 5}, {0, 1, 2, 3, 4}},
        {"runs of gaps too", {-101, -101, -101, 4, 4, 4, 4}, {0, 2, 3, 6}},
        {"one sample", {9}, {0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TrendGraphBoxes boxes = showInterval(c.values);
        EXPECT_EQ(drawnSamples(), c.drawn);
        EXPECT_EQ(graph.SampleCount(), qint16(c.drawn.size()));
        EXPECT_EQ(boxes.zoomEntries, QStringList{QStringLiteral("1")});
    }
}

TEST_F(TrendGraphFillTest, ALongIntervalTrendIsThinnedOverTheWholeLog) {
    // 40,000 samples that all differ, a peak and a dip well past the first 16,361.
    std::vector<float> values(40000);
    for (std::size_t s = 0; s < values.size(); ++s)
        values[s] = 100 + float(s % 2000) / 100;
    values[30001] = 480;
    values[35002] = 3;
    const float last = 77;
    values.back() = last;
    showInterval(values);
    const std::vector<qint32> drawn = drawnSamples();
    ASSERT_LE(drawn.size(), std::size_t(kGraphSamples));
    EXPECT_GT(drawn.size(), std::size_t(kGraphSamples - 4));
    EXPECT_EQ(drawn.front(), 0);
    EXPECT_EQ(drawn.back(), 39999);
    EXPECT_EQ(drawnValues().back(), last);
    EXPECT_TRUE(std::is_sorted(drawn.begin(), drawn.end()));
    for (const qint32 peak : {30001, 35002}) {
        SCOPED_TRACE(peak);
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), peak), drawn.end());
    }
    const std::vector<float> y = drawnValues();
    EXPECT_EQ(*std::max_element(y.begin(), y.end()), 480);
    EXPECT_EQ(*std::min_element(y.begin(), y.end()), 3);
}

TEST_F(TrendGraphFillTest, IntervalEventsAreMarkedButLelAndVol) {
    const struct {
        float code;
        QString mark; // empty: no mark
    } cases[] = {
        {ReadingCode::Ppm, QStringLiteral("ppm")},
        {ReadingCode::Lel, {}},
        {ReadingCode::Vol, {}},
        {ReadingCode::NoValue, {}},
        {-50, {}},
        {0, {}},
        {ReadingCode::Normal, QStringLiteral("NORMAL")},
        {ReadingCode::Alarm, QStringLiteral("ALARM")},
        {ReadingCode::Over, QStringLiteral("OVER")},
        {ReadingCode::AlarmOff, QStringLiteral("-ALARM")},
        {ReadingCode::FailAir, QStringLiteral("Fail(Air)")},
        {ReadingCode::CalOn, QStringLiteral("CAL ON")},
        {ReadingCode::Air, QStringLiteral("AIR")},
    };
    std::vector<float> codes;
    std::vector<QString> expected;
    std::vector<double> times;
    for (std::size_t e = 0; e < std::size(cases); ++e) {
        codes.push_back(cases[e].code);
        if (!cases[e].mark.isEmpty()) {
            expected.push_back(cases[e].mark);
            times.push_back(kStart.addSeconds(60LL * qint64(e) + 30).days());
        }
    }
    std::vector<float> values(20);
    for (std::size_t s = 0; s < values.size(); ++s)
        values[s] = float(s);
    showInterval(values, {}, codes);
    EXPECT_EQ(marks(), expected);
    for (qint16 m = 0; m < graph.EventCount(0); ++m)
        EXPECT_EQ(graph.EventX(0, m), times[std::size_t(m)]) << m;
}

TEST_F(TrendGraphFillTest, AnAlarmTrendMarksTheAlarmMomentFrom362Samples) {
    const struct {
        int samples;
        bool eventBox;
        QString mark;
        bool visible;
    } cases[] = {
        {361, true, {}, false},
        {362, true, QStringLiteral("Alarm"), true},
        {720, false, QStringLiteral("Alarm"), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.samples);
        graph.setEventVisible(1000, false);
        showAlarm(std::vector<float>(std::size_t(c.samples), 10), {}, {c.eventBox, false});
        EXPECT_EQ(graph.EventFlag(1000, 360), c.mark);
        EXPECT_EQ(graph.EventVisible(1000), c.visible);
        EXPECT_EQ(graph.SampleCount(), c.samples);
        EXPECT_EQ(graph.EventCount(0), 0);
    }
}

TEST_F(TrendGraphFillTest, TheZoomListGrowsWithThePoints) {
    const struct {
        int points;
        QStringList entries;
    } cases[] = {
        {0, {"1"}},
        {30, {"1"}},
        {31, {"1", "3"}},
        {51, {"1", "3", "5"}},
        {300, {"1", "3", "5", "10", "20"}},
        {500, {"1", "3", "5", "10", "20", "30"}},
        {501, {"1", "3", "5", "10", "20", "30", "50"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.points);
        // Every alarm sample is a point.
        EXPECT_EQ(showAlarm(std::vector<float>(std::size_t(c.points), 1)).zoomEntries, c.entries);
        EXPECT_EQ(graph.Zoom(), 1);
        EXPECT_EQ(graph.MinX(), 0);
        // The whole range: the samples lie a second apart.
        EXPECT_EQ(graph.MaxX(), std::max(c.points - 1, 0));
    }
}

TEST_F(TrendGraphFillTest, ValuesAreDrawnAsTheTablesShowThem) {
    const struct {
        const char *name;
        float value;
        qint16 decimals;
        float interval; // drawn of an interval trend, full scale 100
        float alarm;    // drawn of an alarm trend, full scale 100
    } cases[] = {
        {"a small negative reading", -5, 0, -5, -5},
        {"no reading is a gap", -101, 0, kMissingSample, kMissingSample},
        {"over range is a gap", ReadingCode::Over, 0, kMissingSample, kMissingSample},
        {"a status word is a gap", ReadingCode::CalOn, 1, kMissingSample, kMissingSample},
        {"one decimal", 12.346f, 1, 12.3f, 12.3f},
        {"two decimals", 12.346f, 2, 12.35f, 12.35f},
        {"three decimals", 12.3456f, 3, 12.346f, 12.346f},
        {"no decimals", 12.6f, 0, 13, 13},
        {"other decimals round to whole", 12.4f, 5, 12, 12},
        {"at full scale", 100, 1, 100, 100},
        {"above full scale: held for interval", 150.04f, 1, 100, 150},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Gas gas{true, 100, c.decimals};
        showInterval({c.value}, gas);
        ASSERT_EQ(graph.SampleCount(), 1);
        EXPECT_FLOAT_EQ(graph.valueY(0, 0), c.interval);
        showAlarm({c.value}, gas);
        ASSERT_EQ(graph.SampleCount(), 1);
        EXPECT_FLOAT_EQ(graph.valueY(0, 0), c.alarm);
    }
}

TEST_F(TrendGraphFillTest, AnUnknownFullScaleHoldsNothing) {
    // Without a full scale (a head row without one reads -101) readings stay readings.
    for (const float fullScale : {-101.0f, -1.0f, 0.0f}) {
        SCOPED_TRACE(fullScale);
        showInterval({3, 250}, {true, fullScale, 0});
        EXPECT_EQ(drawnValues(), (std::vector<float>{3, 250}));
    }
}

TEST_F(TrendGraphFillTest, TheGasBoxFollowsEnableAndTheOptionBoxes) {
    const struct {
        int logType;
        bool enabled;
        TrendGraphOptions options;
        bool valuesDrawn;
    } cases[] = {
        {kInterval, true, {true, true}, true},    {kInterval, true, {false, false}, true},
        {kInterval, false, {true, false}, false}, {kAlarm, true, {true, false}, true},
        {kAlarm, false, {true, true}, true},
    };
    const std::vector<float> values{1, 2, 3, 4, 5};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.logType << " enabled " << c.enabled << " event "
                                        << c.options.eventBox << " cursor " << c.options.cursorBox);
        const Gas gas{c.enabled, 500, 0};
        const TrendGraphBoxes boxes = c.logType == kInterval
                                          ? showInterval(values, gas, {-104}, c.options)
                                          : showAlarm(values, gas, c.options);
        EXPECT_EQ(boxes.gasEnabled, c.enabled);
        EXPECT_EQ(boxes.gasTitle, QStringLiteral("CO(500ppm)"));
        EXPECT_EQ(boxes.gasColour, QColor(0, 255, 0));
        EXPECT_EQ(graph.SampleVisible(0), c.enabled);
        EXPECT_EQ(graph.EventVisible(0), c.enabled && c.options.eventBox);
        EXPECT_EQ(graph.CursorVisible(), c.options.cursorBox);
        EXPECT_TRUE(graph.Font().bold());
        EXPECT_EQ(drawnValues(),
                  c.valuesDrawn ? values : std::vector<float>(values.size(), kMissingSample));
    }
}

TEST_F(TrendGraphFillTest, SeriesAndTitlesNameTheLogAndItsPeriod) {
    const bool ja = test::japaneseLocale();
    const struct {
        int logType;
        QString top;
        QString bottom;
        float fullScale;
    } cases[] = {
        {kInterval,
         ja ? QStringLiteral("ﾃﾞｰﾀ閲覧 (LOG-1) - ｲﾝﾀｰﾊﾞﾙﾄﾚﾝﾄﾞ")
            : QStringLiteral("Data Browse (LOG-1) - Interval Trend"),
         ja ? QStringLiteral("ｻﾝﾌﾟﾘﾝｸﾞ日時: 2015/06/23 08:00:00 から 2015/06/23 08:04:00")
            : QStringLiteral("Sampling Date/Time: 23-Jun-15 08:00:00 to 23-Jun-15 08:04:00"),
         0},
        {kAlarm,
         ja ? QStringLiteral("ﾃﾞｰﾀ閲覧 (LOG-1) - ｱﾗｰﾑﾄﾚﾝﾄﾞ")
            : QStringLiteral("Data Browse (LOG-1) - Alarm Trend"),
         ja ? QStringLiteral("ｻﾝﾌﾟﾘﾝｸﾞ日時: 2015/06/23 08:00:00 から 2015/06/23 08:00:04")
            : QStringLiteral("Sampling Date/Time: 23-Jun-15 08:00:00 to 23-Jun-15 08:00:04"),
         500},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.logType);
        const std::vector<float> values{1, 2, 3, 4, 5};
        const Gas gas{true, 500, 1};
        c.logType == kInterval ? showInterval(values, gas) : showAlarm(values, gas);
        EXPECT_EQ(graph.TitleTop, c.top);
        EXPECT_EQ(graph.TitleBottom, c.bottom);
        ASSERT_EQ(graph.SampleDataCount(), 1);
        EXPECT_EQ(graph.ValueName(0), QStringLiteral("CO"));
        EXPECT_EQ(graph.ValueColor(0), 65280);
        EXPECT_EQ(graph.FormatY(0), QStringLiteral("##0.0"));
        EXPECT_EQ(graph.series(0).FullScale, c.fullScale);
    }
}

TEST_F(TrendGraphFillTest, ARefillShowsOnlyTheNewLog) {
    showInterval({1, 2, 3, 4, 5, 6, 7}, {}, {-104, -105});
    showAlarm(std::vector<float>(400, 2));
    EXPECT_EQ(graph.SampleDataCount(), 1);
    EXPECT_EQ(graph.EventCount(0), 0);
    showInterval({1, 2, 3, 4, 5});
    EXPECT_EQ(graph.SampleCount(), 5);
    EXPECT_TRUE(graph.EventFlag(1000, 360).isEmpty());
}

TEST_F(TrendGraphFillTest, ATrendWithoutSamplesLeavesAnEmptyGraph) {
    for (const int logType : {kInterval, kAlarm}) {
        SCOPED_TRACE(logType);
        const TrendGraphBoxes boxes =
            logType == kInterval ? showInterval({}, {}, {-104}) : showAlarm({});
        EXPECT_EQ(graph.SampleCount(), 0);
        EXPECT_EQ(boxes.zoomEntries, QStringList{QStringLiteral("1")});
        EXPECT_TRUE(graph.TitleBottom.isEmpty());
        EXPECT_FALSE(graph.TitleTop.isEmpty());
    }
}

// Logs reloaded from the database whose trend files hold fewer records than the head says.
class ShortTrendFileTest : public test::StoredLogsTest {
protected:
    qint64 storeTrend(int type, int records, int dcount) {
        test::HeadRow row;
        row.type = type;
        row.names = QStringLiteral("LOG%1").arg(type);
        const qint64 seqNo = store(row);
        db().execute(QStringLiteral("Update Log_head Set Dcount=?, Gas1Enable=1, Gas1Name=?, "
                                    "Gas1Unit=?, Gas1Full=?, Gas1Point=0 Where SeqNo=?"),
                     {dcount, QStringLiteral("CO"), QStringLiteral("ppm"), 500, seqNo});
        TrendFileWriter file;
        for (int n = 1; n <= records; ++n)
            file.PutTrendPoint(n, kStart.addSeconds(n), float(n));
        MakeTrendFolders(Globals().DataFolder, row.folder.toString());
        test::writeFile(
            TrendFilePath(Globals().DataFolder, row.folder.toString(), row.names.toString()),
            file.records());
        return seqNo;
    }
};

TEST_F(ShortTrendFileTest, AShortTrendFileShowsTheSamplesItHas) {
    const struct {
        int type;
        int records;
        int dcount;
    } cases[] = {{kInterval, 10, 100}, {kAlarm, 300, 720}};
    DataViewLogs logs;
    uclVtmGraph graph;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.type);
        const qint64 seqNo = storeTrend(c.type, c.records, c.dcount);
        if (c.type == kInterval) {
            logs.ViewInterval.ClearDatas();
            logs.ViewInterval.setSeqNo(seqNo);
            logs.ViewInterval.setContext(ProgramStoreContext());
            logs.ViewInterval.ReLoad(Globals().CondensedView);
        } else {
            logs.ViewAlarm.ClearDatas();
            logs.ViewAlarm.setSeqNo(seqNo);
            logs.ViewAlarm.setContext(ProgramStoreContext());
            logs.ViewAlarm.ReLoad();
        }
        ShowTrendGraph(graph, c.type, logs, {});
        EXPECT_EQ(graph.SampleCount(), c.records);
        EXPECT_EQ(graph.valueY(0, qint16(c.records - 1)), float(c.records));
        EXPECT_TRUE(graph.EventFlag(1000, 360).isEmpty());
    }
}

} // namespace
} // namespace tq
