#include "ui/display/trend_graph_fill.h"

#include "core/gas_format.h"
#include "core/gui/settings_colour.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "graph/interval_event_marks.h"
#include "graph/plotted_values.h"
#include "graph/trend_thinning.h"
#include "graph/uclVtmGraph.h"
#include "logs/trend/gas_title.h"
#include "logs/trend/log_header.h"

#include <array>
#include <vector>

namespace tq {
namespace {

// The detector logs one gas, in slot 0; its series is the graph's series 0.
constexpr qint32 kSlot = 0;
constexpr qint16 kSeries = 0;
// The graph's list of marks that belong to no series, indexed by point.
constexpr qint16 kCommonMarks = 1000;
// An alarm trend's sample at the alarm moment; a log must hold more than one past it.
constexpr qint32 kAlarmPoint = 360;

// The gas record of slot 0 as the fill reads it.
struct GasSlot {
    QString name;
    float fullScale = 0;
    qint16 decimals = 0;
    bool enabled = false;
};

GasSlot gasSlot(const HeadedLog &log) {
    const auto item = [&](GasInfoItem code) { return log.GasListInfo(kSlot, qint32(code)); };
    return {item(GasInfoItem::Name).toString(), item(GasInfoItem::Full).toFloat(),
            static_cast<qint16>(item(GasInfoItem::Point).toInt()),
            item(GasInfoItem::Enable).toBool()};
}

// The parts both trends share: series, titles and the caption and colour of the gas box.
struct TrendHead {
    const HeadedLog &log;
    const GasSlot &gas;
    int titleMessage;
    qint32 sampleCount;
    Date first;
    Date last;
};

TrendGraphBoxes addSeriesAndTitles(uclVtmGraph &graph, const TrendHead &head, float fullScale) {
    const qint32 colour = Globals().GraphColors[kSlot];
    graph.AddSample(head.gas.name, colour, QLatin1Char('#') + DecimalFormat(head.gas.decimals),
                    fullScale);
    const QString name = head.log.GasBaseInfo(qint32(LogHeaderItem::Names)).toString();
    graph.TitleTop =
        LoadMessage(5602, {name}) + QStringLiteral(" - ") + LoadMessage(head.titleMessage);
    // A trend without samples (its file missing) has no sampling period to name.
    graph.TitleBottom =
        head.sampleCount > 0
            ? LoadMessage(5603, {GraphTitleTime(head.first), GraphTitleTime(head.last)})
            : QString();
    graph.setFormatX(QStringLiteral("hh:nn:ss"));
    TrendGraphBoxes boxes;
    boxes.gasTitle = GetGasTitle(head.log, kSlot);
    boxes.gasColour = ColorFromSettings(colour);
    boxes.gasEnabled = head.gas.enabled;
    return boxes;
}

// The gas box ticked for an enabled gas and cleared otherwise, as its click handler shows or
// hides the series and its marks.
void applyGasBox(uclVtmGraph &graph, bool enabled, const TrendGraphOptions &options) {
    graph.setSampleVisible(kSeries, enabled);
    graph.setEventVisible(kSeries, enabled && options.eventBox);
}

// Points of an interval trend: runs of equal values drawn as their ends, thinned over the
// whole log when more change points remain than the graph holds. A gas not enabled draws
// nothing; a reading at or above a known full scale is held at it.
qint16 plotInterval(uclVtmGraph &graph, const clsInterval &log, const GasSlot &gas) {
    std::vector<float> values(std::size_t(std::max(log.DataCount(), 0)));
    for (qint32 s = 0; s < qint32(values.size()); ++s)
        values[std::size_t(s)] = log.GasValue(kSlot, s).toFloat();
    const bool hold = gas.fullScale > 0;
    const float held = PlottedValue(gas.fullScale, gas.decimals);
    qint16 n = 0;
    for (const qint32 s : ThinTrendSamples(values)) {
        const float value = values[std::size_t(s)];
        float y = kMissingSample;
        if (gas.enabled)
            y = hold && value >= gas.fullScale ? held : PlottedValue(value, gas.decimals);
        graph.setValueX(n, log.DateTimes(s).days());
        graph.setValueY(kSeries, n, y);
        ++n;
    }
    return n;
}

TrendGraphBoxes fillInterval(uclVtmGraph &graph, const clsInterval &log,
                             const TrendGraphOptions &options) {
    const GasSlot gas = gasSlot(log);
    const qint32 count = log.DataCount();
    TrendGraphBoxes boxes = addSeriesAndTitles(
        graph, {log, gas, 5624, count, log.DateTimes(0), log.DateTimes(count - 1)}, 0);
    // Marks are placed from the first point's time, so the points come first.
    const qint16 points = plotInterval(graph, log, gas);
    MarkIntervalEvents(graph, log, gas.decimals);
    graph.setSampleCount(points);
    applyGasBox(graph, gas.enabled, options);
    return boxes;
}

// Points of an alarm trend: every sample at its own number, values drawn whether the gas is
// enabled or not and above the full scale too; one "Alarm" mark at the alarm moment.
TrendGraphBoxes fillAlarm(uclVtmGraph &graph, const clsAlarm &log,
                          const TrendGraphOptions &options) {
    const GasSlot gas = gasSlot(log);
    const qint16 count = log.DataCount();
    TrendGraphBoxes boxes = addSeriesAndTitles(
        graph, {log, gas, 5625, count, log.DateTimes(0), log.DateTimes(count - 1)}, gas.fullScale);
    for (qint16 s = 0; s < count; ++s) {
        graph.setValueX(s, log.DateTimes(s).days());
        graph.setValueY(kSeries, s, PlottedValue(log.value(kSlot, s), gas.decimals));
    }
    graph.setSampleCount(count);
    applyGasBox(graph, gas.enabled, options);
    if (count > kAlarmPoint + 1) {
        graph.setEventFlag(kCommonMarks, kAlarmPoint, QStringLiteral("Alarm"));
        graph.setEventVisible(kCommonMarks, options.eventBox);
    }
    return boxes;
}

// The zoom factors offered for a number of points: 1, and each larger factor once there
// are more points than its threshold.
QStringList zoomEntries(qint32 points) {
    struct Factor {
        qint32 above;
        const char *text;
    };
    static constexpr std::array<Factor, 6> kFactors{
        {{30, "3"}, {50, "5"}, {100, "10"}, {200, "20"}, {300, "30"}, {500, "50"}}};
    QStringList entries{QStringLiteral("1")};
    for (const Factor &f : kFactors) {
        if (points > f.above)
            entries.append(QString::fromLatin1(f.text));
    }
    return entries;
}

} // namespace

namespace {

// The fill around a trend's own part: graph cleared, cursor and bold font first; zoom list,
// zoom 1 over the whole range, automatic Y and one Refresh after.
template <typename FillTrend>
TrendGraphBoxes fillGraph(uclVtmGraph &graph, const TrendGraphOptions &options,
                          FillTrend fillTrend) {
    graph.Clear();
    graph.setCursorVisible(options.cursorBox);
    QFont font = graph.Font();
    font.setBold(true);
    graph.setFont(font);
    TrendGraphBoxes boxes = fillTrend();
    boxes.zoomEntries = zoomEntries(graph.SampleCount());
    graph.setZoom(1);
    graph.setMinX(0);
    graph.setMaxX(0);
    graph.setMinY(kSeries, 0);
    graph.setMaxY(kSeries, 0);
    graph.Refresh();
    return boxes;
}

} // namespace

TrendGraphBoxes ShowTrendGraph(uclVtmGraph &graph, qint32 logType, DataViewLogs &logs,
                               const TrendGraphOptions &options) {
    return fillGraph(graph, options, [&] {
        if (logType == static_cast<qint32>(LogType::IntervalTrend))
            return fillInterval(graph, logs.ViewInterval, options);
        if (logType == static_cast<qint32>(LogType::AlarmTrend))
            return fillAlarm(graph, logs.ViewAlarm, options);
        return TrendGraphBoxes{};
    });
}

TrendGraphBoxes ShowAlarmTrendGraph(uclVtmGraph &graph, const clsAlarm &log,
                                    const TrendGraphOptions &options) {
    return fillGraph(graph, options, [&] { return fillAlarm(graph, log, options); });
}

bool ApplyGraphBox(uclVtmGraph &graph, int index, bool ticked, bool eventBoxTicked) {
    if (index >= 0 && index <= 4) {
        graph.setSampleVisible(qint16(index), ticked);
        graph.setEventVisible(qint16(index), ticked && eventBoxTicked);
    } else if (index == kEventBox) {
        for (int s = 0; s < graph.SampleDataCount(); ++s)
            graph.setEventVisible(qint16(s), ticked);
        graph.setEventVisible(kCommonMarks, ticked);
    } else if (index == kCursorBox) {
        graph.setCursorVisible(ticked);
    } else {
        return false;
    }
    return true;
}

} // namespace tq
