#pragma once

#include <QString>

#include <vector>

namespace tq {
class uclVtmGraph;
}

namespace tq::test {

// A trend as the hosts hand it to the graph: series, sample dates and values (-0.01 for a
// missing sample), marks per series and, for an alarm trend, the common "Alarm" mark.
struct TrendFixture {
    struct Mark {
        int sample; // the mark's date is that sample's
        QString text;
    };
    struct Series {
        QString name;
        qint32 color = 0;
        QString format;
        float fullScale = 0;
        std::vector<float> values;
        std::vector<Mark> marks;
    };
    QString titleTop;
    QString titleBottom;
    std::vector<double> dates;
    std::vector<Series> series;
    bool alarm = false; // the common flag "Alarm" at sample 360
};

// 720 samples a second apart of one gas rising into an alarm, with marks.
TrendFixture AlarmTrend();
// An interval trend of `samples` samples a minute apart with runs of missing samples and
// marks, in `seriesCount` series of different values.
TrendFixture IntervalTrend(int samples, int seriesCount = 1, int marksPerSeries = 24);

// Fills the control in the hosts' order, ending with Refresh when `refresh`.
void FillGraph(uclVtmGraph &graph, const TrendFixture &trend, bool refresh = true);

} // namespace tq::test
