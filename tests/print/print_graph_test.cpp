// The printed trend graph: its fill from the log and its place on the page.
#include "print_test_support.h"

#include "core/gas_format.h"
#include "core/messages.h"
#include "graph/uclVtmGraph.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/clsInterval.h"

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

using test::H;
using test::PrintCall;
using test::W;

const Date kStart = Date::fromParts(2024, 1, 5, 10, 0, 0);

template <typename Log> void setGas(Log &log, float full, qint16 decimals, bool enabled = true) {
    log.setGasBaseInfo(qint32(LogHeaderItem::Names), QStringLiteral("LOG-1"));
    log.setGasListInfo(0, qint32(GasInfoItem::Name), QStringLiteral("CO"));
    log.setGasListInfo(0, qint32(GasInfoItem::Full), full);
    log.setGasListInfo(0, qint32(GasInfoItem::Point), decimals);
    log.setGasListInfo(0, qint32(GasInfoItem::Enable), enabled);
}

void setSamples(clsInterval &log, const std::vector<float> &values) {
    log.setDataCount(qint32(values.size()));
    for (qint32 i = 0; i < qint32(values.size()); ++i) {
        log.setDateTimes(i, kStart.addSeconds(i * 60));
        log.setGasValue(0, i, values[std::size_t(i)]);
    }
}

class PrintGraphTest : public test::PrintTest {
protected:
    uclVtmGraph &fill(const PrintRequest &request) {
        print.setRequest(request);
        print.SetPrintGraph();
        return print.vtmPrint();
    }
    std::vector<float> plotted(uclVtmGraph &graph) {
        std::vector<float> out;
        for (qint16 k = 0; k < graph.SampleCount(); ++k)
            out.push_back(graph.valueY(0, k));
        return out;
    }
    PrintRequest interval(const clsInterval &log) {
        PrintRequest request;
        request.DataType = 1;
        request.PrintType = true;
        request.IntervalData = &log;
        return request;
    }
    PrintRequest alarm(const clsAlarm &log) {
        PrintRequest request;
        request.DataType = 2;
        request.PrintType = true;
        request.AlarmData = &log;
        return request;
    }
    frmPrint print;
};

TEST_F(PrintGraphTest, IntervalTrendsPassTheirChangePointsByTheValueRule) {
    const float m = ReadingCode::NoValue;
    const struct {
        const char *name;
        float full;
        qint16 decimals;
        std::vector<float> values;
        std::vector<float> expected;
    } cases[] = {
        {"never changes: first and last", 500, 1, {5, 5, 5, 5, 5}, {5, 5}},
        {"runs: their ends", 500, 1, {1, 1, 1, 2, 2, 2}, {1, 1, 2, 2}},
        {"at or above full: the full scale", 50, 1, {10, 50, 70}, {10, 50, 50}},
        {"no value and codes: missing", 500, 1, {m, ReadingCode::Alarm, 3}, {-0.01f, -0.01f, 3}},
        {"as displayed", 500, 1, {12.46f}, {12.5f}},
        {"four decimals: whole numbers", 500, 4, {12.46f, 13.6f}, {12, 14}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        clsInterval log;
        setGas(log, c.full, c.decimals);
        setSamples(log, c.values);
        uclVtmGraph &graph = fill(interval(log));
        const std::vector<float> values = plotted(graph);
        ASSERT_EQ(values.size(), c.expected.size());
        for (std::size_t k = 0; k < values.size(); ++k)
            EXPECT_FLOAT_EQ(values[k], c.expected[k]) << k;
        EXPECT_TRUE(graph.SampleVisible(0));
        EXPECT_FALSE(graph.EventVisible(1000)) << "no marks on a printed interval trend";
    }
}

TEST_F(PrintGraphTest, IntervalTitlesAndEmptyLogs) {
    clsInterval log;
    setGas(log, 500, 1);
    setSamples(log, {1, 2, 3});
    uclVtmGraph &graph = fill(interval(log));
    EXPECT_EQ(graph.TitleTop,
              LoadMessage(5602, {QStringLiteral("LOG-1")}) + " - " + LoadMessage(5624));
    const QString first = kStart.mediumDate() + " 10:00:00";
    const QString last = kStart.addSeconds(120).mediumDate() + " 10:02:00";
    EXPECT_EQ(graph.TitleBottom, LoadMessage(5603, {first, last}));
    EXPECT_EQ(graph.ValueName(0), QStringLiteral("CO"));
    EXPECT_EQ(graph.FormatY(0), QStringLiteral("##0.0"));
    EXPECT_FALSE(graph.CursorVisible());
    EXPECT_TRUE(graph.Font().bold());

    clsInterval empty;
    setGas(empty, 500, 1);
    fill(interval(empty));
    EXPECT_EQ(graph.SampleCount(), 0);
    const QString zero = Date(0).mediumDate() + " 00:00:00";
    EXPECT_EQ(graph.TitleBottom, LoadMessage(5603, {zero, zero}));
    if (!JapaneseActive()) {
        EXPECT_EQ(zero, QStringLiteral("30-Dec-99 00:00:00"));
    }
}

TEST_F(PrintGraphTest, ADisabledGasIsAddedHiddenWithoutValues) {
    clsInterval log;
    setGas(log, 500, 1, false);
    setSamples(log, {1, 2});
    uclVtmGraph &graph = fill(interval(log));
    EXPECT_EQ(graph.SampleDataCount(), 1);
    EXPECT_FALSE(graph.SampleVisible(0));
    EXPECT_EQ(graph.SampleCount(), 2);
    EXPECT_EQ(graph.valueY(0, 0), 0) << "no value given";
}

// A -175 unit event leaves the value rule in force, as on screen: nothing is read from
// the fifth value slot and nothing divided by the Ratio, which may be 0.
TEST_F(PrintGraphTest, TheVolUnitEventKeepsTheValueRule) {
    clsInterval log;
    setGas(log, 500, 1);
    log.setGasListInfo(0, qint32(GasInfoItem::Ratio), 0);
    setSamples(log, {1, 2, 3});
    log.setEventCount(1);
    log.setEventDateTimes(0, kStart);
    log.setGasEvent(0, 0, ReadingCode::Vol);
    uclVtmGraph &graph = fill(interval(log));
    EXPECT_EQ(plotted(graph), (std::vector<float>{1, 2, 3}));
}

// With "Event" ticked on the page the printed interval graph carries the events as the
// screen marks them (unit words "LEL" and "vol" left out); without it, none; a gas that is
// not enabled shows none either.
TEST_F(PrintGraphTest, IntervalEventMarksFollowTheEventBox) {
    const struct {
        bool eventBox;
        bool enabled;
        bool visible;
    } cases[] = {{true, true, true}, {false, true, false}, {true, false, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.eventBox << c.enabled);
        clsInterval log;
        setGas(log, 500, 1, c.enabled);
        setSamples(log, {1, 2, 3, 4});
        log.setEventCount(3);
        const float codes[] = {ReadingCode::Warning, ReadingCode::Lel, ReadingCode::Alarm};
        for (qint32 e = 0; e < 3; ++e) {
            log.setEventDateTimes(e, kStart.addSeconds(60 * (e + 1)));
            log.setGasEvent(0, e, codes[e]);
        }
        PrintRequest request = interval(log);
        request.EventMarks = c.eventBox;
        uclVtmGraph &graph = fill(request);
        EXPECT_EQ(graph.EventVisible(0), c.visible);
        if (c.eventBox) {
            ASSERT_EQ(graph.EventCount(0), 2);
            EXPECT_EQ(graph.EventFlag(0, 0), QStringLiteral("WARNING"));
            EXPECT_EQ(graph.EventFlag(0, 1), QStringLiteral("ALARM"));
        }
    }
}

// More change points than the graph holds: thinned over the whole log, every peak kept.
TEST_F(PrintGraphTest, LongTrendsAreThinnedOverTheWholeLog) {
    clsInterval log;
    setGas(log, 1000, 0);
    std::vector<float> values(50000);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = float(i % 7);
    values[45000] = 900; // a peak late in the log
    setSamples(log, values);
    uclVtmGraph &graph = fill(interval(log));
    EXPECT_LE(graph.SampleCount(), uclVtmGraph::MaxSamples() + 1);
    EXPECT_GT(graph.SampleCount(), 16000);
    EXPECT_EQ(Date(graph.valueX(qint16(graph.SampleCount() - 1))),
              kStart.addSeconds(qint64(values.size() - 1) * 60))
        << "the curve reaches the last sample";
    const std::vector<float> shown = plotted(graph);
    EXPECT_NE(std::find(shown.begin(), shown.end(), 900.0f), shown.end());
}

TEST_F(PrintGraphTest, AlarmTrendsPassEverySampleAndMarkTheAlarm) {
    clsAlarm log;
    setGas(log, 50, 1);
    log.setDataCount(3);
    const float values[] = {70, float(ReadingCode::NoValue), 12.46f};
    for (qint32 i = 0; i < 3; ++i) {
        log.setDateTimes(i, kStart.addSeconds(i));
        log.setValue(0, i, values[i]);
    }
    uclVtmGraph &graph = fill(alarm(log));
    EXPECT_EQ(plotted(graph), (std::vector<float>{70, -0.01f, 12.5f})) << "above full as it is";
    EXPECT_EQ(graph.TitleTop,
              LoadMessage(5602, {QStringLiteral("LOG-1")}) + " - " + LoadMessage(5625));
    EXPECT_FALSE(graph.EventVisible(1000));

    for (qint16 count : {qint16(361), qint16(362)}) {
        log.setDataCount(count);
        for (qint32 i = 0; i < count; ++i)
            log.setDateTimes(i, kStart.addSeconds(i));
        fill(alarm(log));
        EXPECT_EQ(print.vtmPrint().EventVisible(1000), count == 362);
        EXPECT_EQ(print.vtmPrint().EventFlag(1000, 360),
                  count == 362 ? QStringLiteral("Alarm") : QString());
    }
}

TEST_F(PrintGraphTest, TheGraphFillsTheLowerBandOfItsPageBelowTheSummary) {
    clsAlarm log;
    setGas(log, 50, 1);
    log.setDataCount(10);
    frmPrint job;
    ASSERT_EQ(job.GoPrinter(alarm(log)), PrintOutcome::Printed);
    const test::Recording &record = printers.record;
    const QList<PrintCall> graphs = record.of(PrintCall::Graph);
    ASSERT_EQ(graphs.size(), 1);
    EXPECT_DOUBLE_EQ(graphs[0].x, 0.02 * W);
    EXPECT_DOUBLE_EQ(graphs[0].y, 0.4 * H);
    EXPECT_DOUBLE_EQ(graphs[0].x2, 0.95 * W);
    EXPECT_DOUBLE_EQ(graphs[0].y2, 0.45 * H);
    EXPECT_EQ(record.pages(), 1);
    double lowest = 0;
    for (const PrintCall &call : record.calls)
        lowest = std::max(lowest, call.kind == PrintCall::Graph ? 0 : call.y);
    EXPECT_LT(lowest, 0.4 * H) << "the summary ends above the graph";
}

} // namespace
} // namespace tq
