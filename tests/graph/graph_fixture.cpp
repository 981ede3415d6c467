#include "graph_fixture.h"

#include "core/date.h"
#include "graph/uclVtmGraph.h"

#include <algorithm>
#include <cmath>

namespace tq::test {

namespace {

const qint32 kSeriesColors[] = {0x008000, 0xC00000, 0x0000C0};

std::vector<double> datesFrom(const Date &first, int count, int stepSeconds) {
    std::vector<double> dates;
    dates.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        dates.push_back(first.addSeconds(qint64(i) * stepSeconds).days());
    return dates;
}

} // namespace

TrendFixture AlarmTrend() {
    TrendFixture t;
    t.titleTop = QStringLiteral("TQ-6200  SN 0123456789");
    t.titleBottom = QStringLiteral("Alarm trend");
    t.dates = datesFrom(Date::fromParts(2024, 5, 14, 10, 17, 45), 720, 1);
    TrendFixture::Series s{
        QStringLiteral("CO(500ppm)"), 0x008000, QStringLiteral("#0"), 500, {}, {}};
    for (int i = 0; i < 720; ++i) {
        const double rise = i < 300 ? 5 : 5 + 140.0 / (1 + std::exp(-(i - 360) / 25.0));
        s.values.push_back(float(std::round(rise + 3 * std::sin(i / 7.0))));
    }
    s.marks = {
        {360, QStringLiteral("AL1")}, {420, QStringLiteral("AL2")}, {610, QStringLiteral("Over")}};
    t.series.push_back(std::move(s));
    t.alarm = true;
    return t;
}

TrendFixture IntervalTrend(int samples, int seriesCount, int marksPerSeries) {
    TrendFixture t;
    t.titleTop = QStringLiteral("TQ-6200  SN 0123456789");
    t.titleBottom = QStringLiteral("Interval trend");
    t.dates = datesFrom(Date::fromParts(2024, 3, 1, 8, 0, 0), samples, 60);
    for (int k = 0; k < seriesCount; ++k) {
        TrendFixture::Series s{QStringLiteral("H2S(%1)").arg(k + 1),
                               kSeriesColors[k % 3],
                               QStringLiteral("#0.0"),
                               100,
                               {},
                               {}};
        s.values.reserve(std::size_t(samples));
        unsigned noise = 12345u + unsigned(k) * 977u;
        for (int i = 0; i < samples; ++i) {
            noise = noise * 1103515245u + 12345u;
            const double wave = 20 + 15 * std::sin(i / (300.0 + 40 * k)) + 6 * std::sin(i / 17.0);
            const float value = float(std::round((wave + (noise >> 16) % 50 / 10.0) * 10) / 10);
            // Runs the detector did not record: a few per series, of different lengths.
            const int phase = (i + 911 * k) % 4000;
            s.values.push_back(phase >= 1000 && phase < 1150 + 40 * k ? kMissingSample : value);
        }
        for (int m = 0; m < marksPerSeries; ++m) {
            const int sample = int((long long)(m + 1) * samples / (marksPerSeries + 1));
            s.marks.push_back(
                {std::min(sample + k * 7, samples - 1), QStringLiteral("A%1").arg(m % 3 + 1)});
        }
        t.series.push_back(std::move(s));
    }
    return t;
}

void FillGraph(uclVtmGraph &g, const TrendFixture &t, bool refresh) {
    g.Clear();
    g.setCursorVisible(true);
    QFont font = g.Font();
    font.setBold(true);
    g.setFont(font);
    for (const TrendFixture::Series &s : t.series)
        g.AddSample(s.name, s.color, s.format, s.fullScale);
    for (int k = 0; k < int(t.series.size()); ++k)
        g.setEventVisible(qint16(k), true);
    g.TitleTop = t.titleTop;
    g.TitleBottom = t.titleBottom;
    g.setFormatX(QStringLiteral("mm/dd hh:nn:ss"));
    int count = 0;
    for (int i = 0; i < int(t.dates.size()) && i <= g.MaxSamples(); ++i) {
        g.setValueX(qint16(i), t.dates[std::size_t(i)]);
        for (int k = 0; k < int(t.series.size()); ++k)
            g.setValueY(qint16(k), qint16(i), t.series[std::size_t(k)].values[std::size_t(i)]);
        count = i + 1;
    }
    for (int k = 0; k < int(t.series.size()); ++k) {
        const auto &marks = t.series[std::size_t(k)].marks;
        for (int j = 0; j < int(marks.size()); ++j) {
            g.setEventX(qint16(k), qint16(j), t.dates[std::size_t(marks[std::size_t(j)].sample)]);
            g.setEventFlag(qint16(k), qint16(j), marks[std::size_t(j)].text);
        }
        g.setEventCount(qint16(k), qint16(marks.size()));
    }
    if (t.alarm) {
        g.setEventFlag(1000, 360, QStringLiteral("Alarm"));
        g.setEventVisible(1000, true);
    }
    g.setSampleCount(qint16(count));
    g.setZoom(1);
    g.setMinX(0);
    g.setMaxX(0);
    g.setMinY(0, 0);
    g.setMaxY(0, 0);
    if (refresh)
        g.Refresh();
}

} // namespace tq::test
