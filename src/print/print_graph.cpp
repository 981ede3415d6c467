// The printed trend graph: the fill of the hidden print graph and its place on the page.
#include "core/gas_format.h"
#include "core/gui/display_font.h"
#include "core/gui/twips.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "graph/interval_event_marks.h"
#include "graph/plotted_values.h"
#include "graph/trend_thinning.h"
#include "graph/uclVtmGraph.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/clsInterval.h"
#include "print/frmPrint.h"
#include "print/print_items.h"
#include "print/print_surface.h"

#include <vector>

namespace tq {

namespace {

// Where the common event list of the graph starts: above every series.
constexpr qint16 kCommonEvents = 1000;
// The alarm trend's sample recorded at the alarm.
constexpr qint16 kAlarmSample = 360;

// Series per gas slot, titles and the X format of both kinds of trend.
template <typename Log>
void openSeries(uclVtmGraph &graph, const Log &log, int trendMessage, bool withFullScale,
                qint32 count) {
    for (qint16 g = 0; g < kGasSlots; ++g) {
        const auto item = [&](GasInfoItem code) { return log.GasListInfo(g, qint32(code)); };
        const QString format =
            QStringLiteral("#") + DecimalFormat(qint16(item(GasInfoItem::Point).toInt()));
        graph.AddSample(item(GasInfoItem::Name).toString(), Globals().GraphColors[std::size_t(g)],
                        format, withFullScale ? item(GasInfoItem::Full).toFloat() : 0.0f);
        graph.setEventVisible(g, false);
    }
    graph.TitleTop = LoadMessage(5602, {HeadText(log, LogHeaderItem::Names)}) +
                     QStringLiteral(" - ") + LoadMessage(trendMessage);
    graph.TitleBottom = LoadMessage(
        5603, {GraphTitleTime(log.DateTimes(0)), GraphTitleTime(log.DateTimes(count - 1))});
    graph.setFormatX(QStringLiteral("hh:nn:ss"));
}

void closeSeries(uclVtmGraph &graph, const HeadedLog &log, qint32 count) {
    graph.setSampleCount(qint16(count));
    for (qint16 g = 0; g < kGasSlots; ++g)
        graph.setSampleVisible(g, log.GasListInfo(g, qint32(GasInfoItem::Enable)).toBool());
}

// An interval trend: the samples at which gas 0 changes, thinned over the whole log when
// more remain than the graph holds. Every unit event leaves the value rule in force. With
// `eventMarks` the events are marked on an enabled gas's series.
void fillInterval(uclVtmGraph &graph, const clsInterval &log, bool eventMarks) {
    const qint32 count = log.DataCount();
    openSeries(graph, log, 5624, false, count);
    std::vector<float> gas0(std::size_t(std::max(count, 0)));
    for (qint32 i = 0; i < count; ++i)
        gas0[std::size_t(i)] = log.GasValue(0, i).toFloat();
    const std::vector<qint32> passed = ThinTrendSamples(gas0);
    qint16 k = 0;
    for (qint32 i : passed) {
        graph.setValueX(k, log.DateTimes(i).days());
        for (qint16 g = 0; g < kGasSlots; ++g) {
            const auto item = [&](GasInfoItem code) { return log.GasListInfo(g, qint32(code)); };
            if (!item(GasInfoItem::Enable).toBool())
                continue;
            const float v = log.GasValue(g, i).toFloat();
            const float full = item(GasInfoItem::Full).toFloat();
            const qint16 decimals = qint16(item(GasInfoItem::Point).toInt());
            graph.setValueY(g, k, PlottedValue(v >= full ? full : v, decimals));
        }
        ++k;
    }
    const auto slot0 = [&](GasInfoItem code) { return log.GasListInfo(0, qint32(code)); };
    if (eventMarks) {
        MarkIntervalEvents(graph, log, qint16(slot0(GasInfoItem::Point).toInt()));
        graph.setEventVisible(0, slot0(GasInfoItem::Enable).toBool());
    }
    closeSeries(graph, log, k);
}

// An alarm trend: every sample as it is, and the alarm's mark.
void fillAlarm(uclVtmGraph &graph, const clsAlarm &log) {
    const qint32 count = log.DataCount();
    openSeries(graph, log, 5625, true, count);
    for (qint16 i = 0; i < count; ++i) {
        graph.setValueX(i, log.DateTimes(i).days());
        for (qint16 g = 0; g < kGasSlots; ++g) {
            const float v = log.value(g, i);
            const qint16 decimals = qint16(log.GasListInfo(g, qint32(GasInfoItem::Point)).toInt());
            graph.setValueY(g, i, PlottedValue(v, decimals));
        }
    }
    closeSeries(graph, log, count);
    if (count > kAlarmSample + 1) {
        graph.setEventFlag(kCommonEvents, kAlarmSample, QStringLiteral("Alarm"));
        graph.setEventVisible(kCommonEvents, true);
    }
}

} // namespace

void frmPrint::SetPrintGraph() {
    uclVtmGraph &graph = *m_graph;
    graph.Clear();
    graph.setCursorVisible(false);
    QFont font = DisplayQFont(Globals().DisplayFont);
    font.setBold(true);
    graph.setFont(font);
    graph.DrawLineWidth = Globals().PrintWidths[0];
    graph.ScaleLineWidth = Globals().PrintWidths[1];
    if (m_request.DataType == 1)
        fillInterval(graph, RequiredLog(m_request.IntervalData), m_request.EventMarks);
    else
        fillAlarm(graph, RequiredLog(m_request.AlarmData));
    graph.setZoom(1);
    graph.setMinX(0);
    graph.setMaxX(0);
    graph.setMinY(0, 0);
    graph.setMaxY(0, 0);
    graph.Refresh();
}

void frmPrint::PrintGraph(PrintSurface &target) {
    const double width = target.ScaleWidth();
    const double height = target.ScaleHeight();
    uclVtmGraph &graph = *m_graph;
    graph.setGeometry(TwipsToPixelsX(0.02 * width), TwipsToPixelsY(0.4 * height),
                      TwipsToPixelsX(0.95 * width), TwipsToPixelsY(0.45 * height));
    graph.SetDrawLeft = float(0.02 * width);
    graph.SetDrawTop = float(0.4 * height);
    graph.SetDrawWidth = float(0.95 * width);
    graph.SetDrawHeight = float(0.45 * height);
    target.DrawGraph(graph);
}

} // namespace tq
