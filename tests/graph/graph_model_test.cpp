#include "graph/graph_model.h"
#include "graph/mark_text_places.h"

#include "core/date.h"
#include "core/errors.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using tq::Date;
using tq::ErrorKind;
using tq::GraphModel;
using tq::TqError;

// Every text 100 twips per character wide and 200 high.
class FixedMeasure : public tq::GraphTextMeasure {
public:
    float TextWidth(const QString &text) const override { return 100.0f * text.size(); }
    float TextHeight(const QString &) const override { return 200.0f; }
};

const double kDay0 = Date::fromParts(2024, 5, 14, 10, 0, 0).days();

// Samples one `step` seconds apart from kDay0, in one series named "S" with the values.
void fill(GraphModel &g, const std::vector<float> &values, int step = 10) {
    g.Clear();
    g.AddSample(QStringLiteral("S"), 255, QStringLiteral("#0.0"), 100);
    for (int i = 0; i < int(values.size()); ++i) {
        g.setValueX(qint16(i), Date(kDay0).addSeconds(qint64(i) * step).days());
        g.setValueY(0, qint16(i), values[std::size_t(i)]);
    }
    g.setSampleCount(qint16(values.size()));
}

void fillCount(GraphModel &g, int n, int step = 10) {
    fill(g, std::vector<float>(std::size_t(n), 1.0f), step);
}

void layOut(GraphModel &g, float width = 10000, float height = 5000) {
    g.CalcLayout(FixedMeasure(), {true, width, height});
}

bool failsOutOfRange(const std::function<void()> &call) {
    try {
        call();
    } catch (const TqError &e) {
        return e.kind() == ErrorKind::SubscriptOutOfRange;
    }
    return false;
}

TEST(GraphModel, SeriesListSlots) {
    GraphModel g;
    g.Clear();
    EXPECT_EQ(g.SampleDataCount(), 1);
    EXPECT_EQ(g.ValueName(0), QString());
    EXPECT_EQ(g.AddSample(QStringLiteral("A"), 1, QStringLiteral("#0.0")), 0);
    EXPECT_EQ(g.SampleDataCount(), 1);
    EXPECT_EQ(g.AddSample(QStringLiteral("B")), 1);
    EXPECT_EQ(g.SampleDataCount(), 2);
    EXPECT_TRUE(g.SampleVisible(1));
    EXPECT_FALSE(g.EventVisible(1));
    // An empty format keeps what the slot had; an empty name leaves the list looking empty.
    g.setFormatY(2, QStringLiteral("#0.00"));
    EXPECT_EQ(g.AddSample(QStringLiteral("C")), 2);
    EXPECT_EQ(g.FormatY(2), QStringLiteral("#0.00"));
    g.Clear();
    EXPECT_EQ(g.AddSample(QString()), 0);
    EXPECT_EQ(g.AddSample(QStringLiteral("D")), 0);
}

TEST(GraphModel, IndexRulesFailOrIgnore) {
    GraphModel g;
    for (const char *name : {"A", "B", "C"})
        g.AddSample(QLatin1String(name));
    struct Case {
        const char *what;
        std::function<void()> call;
        bool fails;
    };
    const std::vector<Case> cases{
        {"ValueName(-1)", [&] { g.ValueName(-1); }, true},
        {"ValueName(50)", [&] { EXPECT_EQ(g.ValueName(50), QString()); }, false},
        {"ValueColor(50)", [&] { EXPECT_EQ(g.ValueColor(50), 0); }, false},
        {"ValueColor(50) let", [&] { g.setValueColor(50, 7); }, false},
        {"valueY(free, 5) let", [&] { g.setValueY(3, 5, 9.0f); }, false},
        {"valueY(free, 5)", [&] { EXPECT_EQ(g.valueY(3, 5), 0.0f); }, false},
        {"valueY(4, 5)", [&] { g.valueY(4, 5); }, true},
        {"valueY(0, 16361) let", [&] { g.setValueY(0, 16361, 1); }, true},
        {"valueX(16361)", [&] { g.valueX(16361); }, true},
        {"EventFlag(1000, 2048) let", [&] { g.setEventFlag(1000, 2048, QStringLiteral("x")); },
         false},
        {"EventFlag(1000, 2048)", [&] { EXPECT_EQ(g.EventFlag(1000, 2048), QString()); }, false},
        {"EventFlag(1000, 2049)", [&] { g.EventFlag(1000, 2049); }, true},
        {"EventFlag(-1, 0)", [&] { g.EventFlag(-1, 0); }, true},
        {"EventFlag(0, -1) let", [&] { g.setEventFlag(0, -1, QString()); }, true},
        {"EventVisible(-1)", [&] { g.EventVisible(-1); }, true},
        {"EventX(4, 0)", [&] { g.EventX(4, 0); }, true},
        {"EventX(0, 2049)", [&] { g.EventX(0, 2049); }, true},
        {"EventX(0, 2048) let", [&] { g.setEventX(0, 2048, 1.0); }, false},
        {"EventCount(4)", [&] { g.EventCount(4); }, true},
        {"MinY(3)", [&] { g.MinY(3); }, false},
        {"MinY(4)", [&] { g.MinY(4); }, true},
        {"MinY(3) let", [&] { g.setMinY(3, 5); }, false},
        {"MaxY(-1) let", [&] { g.setMaxY(-1, 5); }, true},
        {"FormatY(4)", [&] { g.FormatY(4); }, true},
        {"SampleVisible(4)", [&] { g.SampleVisible(4); }, true},
        {"PosYStp(3)", [&] { g.PosYStp(3); }, false},
        {"yPos(1, 4)", [&] { g.yPos(1, 4); }, true},
        {"DataX(-1) let", [&] { g.setDataX(-1, 1.0); }, true},
    };
    for (const Case &c : cases) {
        if (c.fails)
            EXPECT_TRUE(failsOutOfRange(c.call)) << c.what;
        else
            EXPECT_NO_THROW(c.call()) << c.what;
    }
    EXPECT_EQ(g.MinY(3), 0.0f);
    EXPECT_EQ(g.SampleDataCount(), 3);
}

TEST(GraphModel, SampleDatesAndCounts) {
    GraphModel g;
    g.setValueX(0, kDay0);
    g.setDataX(10, Date(kDay0).addSeconds(90).days());
    EXPECT_EQ(g.SampleCount(), 10); // to the number, not one past it
    EXPECT_EQ(g.ElapsedSec(10), 90);
    g.setDataX(16360, kDay0 + 1);
    EXPECT_EQ(g.valueX(16360), 0.0);
    g.setValueX(16360, kDay0 + 1);
    EXPECT_EQ(g.ElapsedSec(16360), 86400);
    EXPECT_EQ(g.SampleCount(), 10);
    // A later sample 0 does not move the seconds already stored.
    g.setValueX(0, kDay0 + 0.5);
    EXPECT_EQ(g.ElapsedSec(0), 0);
    EXPECT_EQ(g.ElapsedSec(10), 90);
    // A fraction of a second rounds to the nearest second.
    g.setValueX(0, kDay0);
    g.setValueX(1, kDay0 + 2.4 / 86400);
    EXPECT_EQ(g.ElapsedSec(1), 2);
}

TEST(GraphModel, MarkDatesNeedSampleZero) {
    GraphModel g;
    g.AddSample(QStringLiteral("A"));
    g.setEventX(0, 5, kDay0 + 0.01);
    EXPECT_EQ(g.events(0).Marks[5].ElapsedSec, 0);
    EXPECT_EQ(g.EventCount(0), 0);
    g.setValueX(0, kDay0);
    g.setEventX(0, 5, Date(kDay0).addSeconds(30).days());
    EXPECT_EQ(g.events(0).Marks[5].ElapsedSec, 30);
    EXPECT_EQ(g.EventCount(0), 5);
}

TEST(GraphModel, ClearKeepsWhatIsNotPartOfAFill) {
    GraphModel g;
    fillCount(g, 50);
    g.setEventVisible(1000, true);
    g.setEventFlag(1000, 2047, QStringLiteral("x"));
    g.setEventFlag(1000, 360, QStringLiteral("Alarm"));
    g.setZoom(3);
    g.setCursorIndex(7);
    g.Clear();
    EXPECT_EQ(g.SampleCount(), 0);
    EXPECT_EQ(g.CursorIndex(), 0.0f);
    EXPECT_EQ(g.EventFlag(1000, 360), QString());
    EXPECT_EQ(g.EventFlag(1000, 2047), QString());
    EXPECT_TRUE(g.EventVisible(1000));
    EXPECT_EQ(g.Zoom(), 3);
    EXPECT_TRUE(g.ScrollBarState().Visible);
    EXPECT_EQ(g.ElapsedSec(49), 490); // the axis is overwritten, not cleared
}

TEST(GraphModel, ZoomSetsWindowAndScrollBar) {
    struct Case {
        int samples;
        qint16 zoom;
        qint16 storedZoom;
        bool barVisible;
        int maximum;
        int largeChange;
        int windowLast; // sample at MaxX
    };
    const Case cases[] = {
        {100, 3, 3, true, 66, 32, 32},
        {100, 1, 1, false, 0, 99, 99},
        {230, 20, 20, true, 218, 10, 10},
        {1, 3, 1, false, 0, 1, 0},       // fewer than 2 samples: nothing happens
        {100, 0, 1, false, 0, 99, 99},   // a factor below 1 is ignored
        {100, -5, 1, false, 0, 99, 99},  //
        {10, 1000, 1000, true, 8, 1, 1}, // a window of two samples at least
        {3, 2, 2, true, 0, 1, 1},
    };
    for (const Case &c : cases) {
        GraphModel g;
        fillCount(g, c.samples);
        g.setZoom(1);
        g.setZoom(c.zoom);
        const std::string what = std::to_string(c.samples) + "/" + std::to_string(c.zoom);
        EXPECT_EQ(g.Zoom(), c.storedZoom) << what;
        if (c.samples < 2)
            continue;
        EXPECT_EQ(g.ScrollBarState().Visible, c.barVisible) << what;
        EXPECT_EQ(g.ScrollBarState().Maximum, c.maximum) << what;
        EXPECT_EQ(g.ScrollBarState().LargeChange, c.largeChange) << what;
        EXPECT_EQ(g.ScrollBarState().Value, 0) << what;
        EXPECT_EQ(g.MinX(), 0.0f) << what;
        EXPECT_EQ(g.MaxX(), float(g.ElapsedSec(c.windowLast))) << what;
    }
}

TEST(GraphModel, ScrollMovesWindowWithinSamplesInUse) {
    struct Case {
        int samples;
        qint16 zoom;
        int value;
        int first;
        int last;
    };
    const Case cases[] = {
        {100, 3, 66, 66, 99},
        {100, 3, 10, 10, 43},     // one sample longer than the zoom's own window
        {230, 20, 218, 218, 229}, // round(11.5 + 218) would be sample 230, not in use
        {230, 20, 300, 218, 229}, // the bar never passes its maximum
        {10, 1000, 8, 8, 9},
    };
    for (const Case &c : cases) {
        GraphModel g;
        fillCount(g, c.samples);
        int redraws = 0;
        g.onScrollMoved = [&] { ++redraws; };
        g.setZoom(c.zoom);
        g.setScrollValue(c.value);
        EXPECT_EQ(redraws, 1);
        EXPECT_EQ(g.MinX(), float(g.ElapsedSec(c.first))) << c.value;
        EXPECT_EQ(g.MaxX(), float(g.ElapsedSec(c.last))) << c.value;
        // The cursor and the labels stay on samples in use.
        g.setCursorIndex(float(c.samples - 1));
        layOut(g);
        g.CursorReadout();
        EXPECT_LE(g.CursorIndex(), float(c.samples - 1));
        EXPECT_GE(g.CursorIndex(), float(c.first));
    }
    // Zooming again from a scrolled window runs the scroll change first.
    GraphModel g;
    fillCount(g, 100);
    int redraws = 0;
    g.onScrollMoved = [&] { ++redraws; };
    g.setZoom(3);
    g.setScrollValue(20);
    g.setZoom(5);
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(g.MaxX(), float(g.ElapsedSec(19)));
}

TEST(GraphModel, CursorKeys) {
    struct Case {
        float cursor;
        float offset;
        qint16 key;
        qint16 shift;
        bool moved;
        float cursorAfter;
        float offsetAfter;
    };
    const int n = 100;
    const float h = 300; // picture height in pixels
    const Case cases[] = {
        {10, 0, 37, 1, true, 0, 0},       {9, 0, 37, 1, false, 9, 0},
        {88, 0, 39, 1, true, 98, 0},      {89, 0, 39, 1, false, 89, 0},
        {89, 0, 39, 0, true, 90, 0},      {99, 0, 39, 0, false, 99, 0},
        {0, 0, 37, 0, false, 0, 0},       {1, 0, 37, 2, true, 0, 0}, // only the Shift bit counts
        {0, 0, 38, 1, true, 0, -10},      {0, -295, 38, 1, true, 0, -305},
        {0, -300, 38, 0, false, 0, -300}, {0, 300, 40, 0, false, 0, 300},
        {0, 299, 40, 1, true, 0, 309},    {0, 0, 40, 0, true, 0, 1},
        {5, 0, 13, 0, false, 5, 0},
    };
    for (const Case &c : cases) {
        GraphModel g;
        fillCount(g, n);
        g.setCursorIndex(c.cursor);
        while (g.LabelOffset() > c.offset)
            g.MoveCursorByKey(38, 0, 1e6f);
        while (g.LabelOffset() < c.offset)
            g.MoveCursorByKey(40, 0, 1e6f);
        EXPECT_EQ(g.MoveCursorByKey(c.key, c.shift, h), c.moved) << c.cursor << " " << c.key;
        EXPECT_EQ(g.CursorIndex(), c.cursorAfter) << c.cursor << " " << c.key;
        EXPECT_EQ(g.LabelOffset(), c.offsetAfter) << c.cursor << " " << c.key;
    }
}

TEST(GraphModel, SampleCountBeyondTheAxisIsClamped) {
    GraphModel g;
    fillCount(g, 20);
    for (qint16 count : {qint16(30000), qint16(-5)}) {
        g.setSampleCount(count);
        EXPECT_EQ(g.SampleCount(), count); // the let stores any value
        g.setCursorIndex(count > 0 ? float(tq::kGraphMaxSample) : 0);
        EXPECT_FALSE(g.MoveCursorByKey(39, 0, 100));
        EXPECT_NO_THROW(layOut(g));
        EXPECT_NO_THROW(g.CursorReadout());
        EXPECT_NO_THROW(g.MoveCursorToX(1e9f));
        EXPECT_LE(g.CursorIndex(), float(tq::kGraphMaxSample));
        EXPECT_GE(g.CursorIndex(), 0.0f);
    }
    EXPECT_EQ(g.usedSamples(), 0);
    g.setSampleCount(30000);
    EXPECT_EQ(g.usedSamples(), tq::kGraphSamples);
}

TEST(GraphModel, FindSampleIndexAndMouse) {
    GraphModel g;
    fillCount(g, 20);
    struct Case {
        float seconds;
        qint32 index;
    };
    const Case cases[] = {{50, 6}, {-3, 0}, {0, 0}, {1e6f, 19}, {51, 6}, {49.5f, 5}};
    for (const Case &c : cases)
        EXPECT_EQ(g.FindSampleIndex(c.seconds), c.index) << c.seconds;

    // A clock that went back: the first sample right of the point in sample order.
    g.setValueX(5, Date(kDay0).addSeconds(15).days());
    EXPECT_EQ(g.FindSampleIndex(20), 3);
    EXPECT_EQ(g.FindSampleIndex(12), 2);

    // The mouse selects by the layout's conversion.
    fillCount(g, 20);
    layOut(g);
    g.MoveCursorToX(g.xPos(100));
    EXPECT_EQ(g.CursorIndex(), 11.0f);

    // With no samples a click right of sample 0 finds none: the cursor stays.
    g.setCursorIndex(4);
    g.setSampleCount(0);
    EXPECT_EQ(g.FindSampleIndex(100), -1);
    g.MoveCursorToX(g.xPos(100));
    EXPECT_EQ(g.CursorIndex(), 4.0f);
}

TEST(GraphModel, Conversions) {
    GraphModel g;
    g.setMinX(40);
    EXPECT_EQ(g.xData(12345), 40.0f); // before any layout
    EXPECT_EQ(g.yData(12345), 0.0f);
    fill(g, {0, 10, 20, 42.3f});
    layOut(g, 10000, 5000);
    const float x = g.xPos(15);
    EXPECT_FLOAT_EQ(x, 710 + 15 * g.XScale());
    EXPECT_FLOAT_EQ(g.xData(x), 15);
    EXPECT_FLOAT_EQ(g.yPos(g.MaxY(0)), g.PlotTop());
    EXPECT_FLOAT_EQ(g.yPos(0), g.PlotTop() + g.PlotHeight());
    EXPECT_NEAR(g.yData(g.yPos(33)), 33, 1e-3);
}

TEST(GraphModel, AutomaticYScale) {
    struct Case {
        float fullScale;
        std::vector<float> values;
        float minY;
        float maxY;
    };
    const float miss = tq::kMissingSample;
    const std::vector<Case> cases{
        {100, {1, 42.3f, 5}, 0, 60}, {100, {0, 0}, 0, 10},    {100, {-2.5f, 3}, -2, 10},
        {100, {-3.5f, 3}, -4, 10},   {5, {2.1f, 0.5f}, 0, 4}, {10, {8, 1}, 0, 20},
        {9.9f, {8, 1}, 0, 11},       {100, {miss, 4}, 0, 10}, {100, {miss, miss}, 0, 0},
        {100, {-0.005f, 1}, 0, 10},
    };
    for (const Case &c : cases) {
        GraphModel g;
        g.AddSample(QStringLiteral("S"), 0, QStringLiteral("#0.0"), c.fullScale);
        for (int i = 0; i < int(c.values.size()); ++i)
            g.setValueY(0, qint16(i), c.values[std::size_t(i)]);
        g.setSampleCount(qint16(c.values.size()));
        g.CalcScaleY();
        EXPECT_EQ(g.MinY(0), c.minY) << c.values[0] << " fs " << c.fullScale;
        EXPECT_EQ(g.MaxY(0), c.maxY) << c.values[0] << " fs " << c.fullScale;
        EXPECT_FLOAT_EQ(g.PosYStp(0), (c.maxY - c.minY) / 10);
    }
}

TEST(GraphModel, YScaleEndsKeptUntilReset) {
    GraphModel g;
    fill(g, {1, 42.3f});
    layOut(g);
    EXPECT_EQ(g.MaxY(0), 60.0f);
    g.setValueY(0, 1, 99);
    layOut(g);
    EXPECT_EQ(g.MaxY(0), 60.0f);
    g.setMaxY(0, 0);
    layOut(g);
    EXPECT_EQ(g.MaxY(0), 120.0f);
    // A host's top above its bottom stays; one at or below it is replaced.
    g.setMinY(0, 5);
    g.setMaxY(0, 50);
    layOut(g);
    EXPECT_EQ(g.MinY(0), 5.0f);
    EXPECT_EQ(g.MaxY(0), 50.0f);
    g.setMaxY(0, 5);
    layOut(g);
    EXPECT_EQ(g.MinY(0), 5.0f);
    EXPECT_EQ(g.MaxY(0), 120.0f);
}

TEST(GraphModel, PlotRectangle) {
    struct Case {
        bool onPicture;
        QString top;
        QString bottom;
        float left, plotTop, width, height;
    };
    // Formats "#0.0" and "" (4 and 0 characters): reserve 2 x (400 + 240 + 0 + 240).
    const std::vector<Case> cases{
        {true, {}, {}, 710, 120, 10000 - 1760, 5000 - 200 - 200 - 120},
        {true, QStringLiteral("T"), {}, 710, 320, 10000 - 1760, 5000 - 200 - 400 - 120},
        {true, QStringLiteral("T"), QStringLiteral("B"), 710, 320, 8240, 5000 - 200 - 600 - 120},
        {false, {}, QStringLiteral("B"), 1710, 2320, 6000 - 1760, 3000 - 200 - 400 - 120},
    };
    for (const Case &c : cases) {
        GraphModel g;
        fillCount(g, 10);
        g.AddSample(QStringLiteral("T2"));
        g.TitleTop = c.top;
        g.TitleBottom = c.bottom;
        g.SetDrawLeft = 1000;
        g.SetDrawTop = 2000;
        g.SetDrawWidth = 6000;
        g.SetDrawHeight = 3000;
        g.setFormatX(QStringLiteral("hh:nn:ss"));
        g.CalcLayout(FixedMeasure(), {c.onPicture, 10000, 5000});
        EXPECT_EQ(g.PlotLeft(), c.left);
        EXPECT_EQ(g.PlotTop(), c.plotTop);
        EXPECT_EQ(g.PlotWidth(), c.width);
        EXPECT_EQ(g.PlotHeight(), c.height);
        EXPECT_EQ(g.FormatX(), QStringLiteral("mm/dd hh:nn:ss"));
        EXPECT_EQ(g.MaxX(), 90.0f);
        EXPECT_EQ(g.PosXStp(), 9.0f);
        EXPECT_FLOAT_EQ(g.XScale(), c.width / 90);
    }
    // Too small an area gives a plot of 1 by 1; an empty window no X scale.
    GraphModel g;
    fillCount(g, 10, 0);
    layOut(g, 500, 300);
    EXPECT_EQ(g.PlotWidth(), 1.0f);
    EXPECT_EQ(g.PlotHeight(), 1.0f);
    EXPECT_EQ(g.XScale(), 0.0f);
}

TEST(GraphModel, CursorReadoutText) {
    GraphModel g;
    g.Clear();
    g.AddSample(QStringLiteral("Sample1"), 0, QStringLiteral("#0.0"));
    g.AddSample(QStringLiteral("Bare"));
    g.AddSample(QStringLiteral("Hidden"));
    g.setSampleVisible(2, false);
    g.setValueX(0, Date::fromParts(2024, 5, 14, 10, 23, 35).days());
    g.setValueX(1, Date::fromParts(2024, 5, 14, 10, 23, 45).days());
    g.setValueY(0, 1, 3.5f);
    g.setValueY(1, 1, tq::kMissingSample);
    g.setSampleCount(2);
    layOut(g);
    g.setCursorIndex(1);
    EXPECT_EQ(g.CursorReadout(),
              QStringLiteral("[05/14 10:23:45]\r\nSample1 : 3.5\r\nBare : -----\r\n"));
    g.setCursorIndex(0);
    EXPECT_EQ(g.CursorReadout(),
              QStringLiteral("[05/14 10:23:35]\r\nSample1 : 0.0\r\nBare : 0.0\r\n"));
    EXPECT_EQ(g.FormatY(1), QStringLiteral("##0.0")); // kept from the first read-out
    EXPECT_EQ(g.FormatY(2), QString());
}

TEST(GraphModel, SeriesWithoutFormatGetsOneAtItsFirstReadout) {
    GraphModel g;
    fill(g, {1, 2});
    g.setFormatY(0, QString());
    layOut(g);
    EXPECT_EQ(g.PlotWidth(), 10000 - 2 * 240);
    g.CursorReadout();
    EXPECT_EQ(g.FormatY(0), QStringLiteral("##0.0"));
    layOut(g);
    EXPECT_EQ(g.PlotWidth(), 10000 - 2 * (500 + 240));
    // A hidden series keeps its empty pattern and still widens the reserve.
    g.AddSample(QStringLiteral("H"));
    g.setSampleVisible(1, false);
    g.CursorReadout();
    EXPECT_EQ(g.FormatY(1), QString());
    layOut(g);
    EXPECT_EQ(g.PlotWidth(), 10000 - 2 * (500 + 240) - 2 * 240);
}

TEST(GraphModel, CursorPulledIntoWindow) {
    struct Case {
        float minX, maxX;
        float cursor;
        float after;
    };
    const Case cases[] = {
        {100, 200, 2, 10},   {100, 200, 15, 15}, {100, 200, 25, 20},
        {105, 200, 2, 10},   // no sample on MinX: the one just left of the window
        {100, 195, 25, 19},  //
        {5000, 6000, 3, 29}, // MinX right of the last sample: the last one in use
    };
    for (const Case &c : cases) {
        GraphModel g;
        fillCount(g, 30);
        layOut(g);
        g.setMinX(c.minX);
        g.setMaxX(c.maxX);
        g.setCursorIndex(c.cursor);
        g.CursorReadout();
        EXPECT_EQ(g.CursorIndex(), c.after) << c.minX << " " << c.cursor;
    }
}

TEST(GraphModel, CursorLineAndLabelPlace) {
    const float tppx = 15;
    const float tppy = 15;
    GraphModel g;
    fill(g, {10, 20, 30, 40, 50});
    g.AddSample(QStringLiteral("Low")); // scale 0 to 13, hidden
    for (auto [i, v] : {std::pair{0, 10.0f}, {1, 9.0f}, {2, 1.0f}, {3, 9.0f}, {4, 5.0f}})
        g.setValueY(1, qint16(i), v);
    g.setSampleVisible(1, false);
    g.AddSample(QStringLiteral("Off")); // a host's scale of 0 to 10
    for (int i = 0; i < 5; ++i)
        g.setValueY(2, qint16(i), i == 3 ? -500.0f : 10.0f);
    g.setMinY(2, 0);
    g.setMaxY(2, 10);
    layOut(g);
    ASSERT_EQ(g.MaxY(1), 13.0f);
    struct Case {
        float cursor;
        int downPresses;
        bool labelRight;
        float bottom; // where the label's bottom rule puts it before the offset
    };
    const float plotBottom = g.PlotTop() + g.PlotHeight();
    const Case cases[] = {
        {0, 0, true, g.yPos(10, 0)},
        {2, 0, true, g.yPos(1, 1)}, // the middle: right; the hidden series pulls down
        {3, 10, false, plotBottom}, // a value far below: the plot's bottom
        {4, 0, false, g.yPos(5, 1)},
    };
    for (const Case &c : cases) {
        GraphModel h = g;
        h.setCursorIndex(c.cursor);
        for (int i = 0; i < c.downPresses; ++i)
            h.MoveCursorByKey(40, 0, 1000);
        h.CursorReadout();
        const tq::CursorPlacement p = h.PlaceCursor(600, 400, tppx, tppy);
        EXPECT_FLOAT_EQ(p.LineX, h.xPos(float(h.ElapsedSec(int(c.cursor)))));
        EXPECT_FLOAT_EQ(p.LineTop, h.PlotTop() + tppy);
        EXPECT_FLOAT_EQ(p.LineBottom, plotBottom - tppy);
        EXPECT_FLOAT_EQ(p.LabelTop, c.bottom - 400 + c.downPresses * tppy) << c.cursor;
        EXPECT_FLOAT_EQ(p.LabelLeft, c.labelRight ? p.LineX + 2 * tppx : p.LineX - 600 - 2 * tppx)
            << c.cursor;
    }
}

TEST(GraphModel, SearchEventFindsNearestSeriesMark) {
    GraphModel g;
    fillCount(g, 100);
    g.AddSample(QStringLiteral("S2"));
    for (int s = 0; s < 2; ++s)
        g.setEventVisible(qint16(s), true);
    const auto mark = [&](int slot, int number, int seconds, const char *text) {
        g.setEventX(qint16(slot), qint16(number), Date(kDay0).addSeconds(seconds).days());
        g.setEventFlag(qint16(slot), qint16(number), QLatin1String(text));
    };
    mark(0, 0, 300, "A0");
    mark(0, 1, 500, "A1");
    mark(1, 0, 500, "B0");
    g.setEventCount(0, 2);
    g.setEventCount(1, 1);
    g.setMarkerY(0, 1000);
    g.setMarkerY(1, 1100);
    layOut(g);

    struct Case {
        float minX, maxX, x;
        qint32 y;
        QString text;
        int seconds;
    };
    const std::vector<Case> cases{
        {0, 990, 310, 1000, QStringLiteral("A0"), 300},
        {0, 990, 500, 1090, QStringLiteral("B0"), 500}, // nearer in height at the same x
        {0, 990, 500, 1040, QStringLiteral("A1"), 500},
        {0, 990, 500, 1200, QStringLiteral("B0"), 500},
        {0, 990, 500, 1300, QString(), 0},  // 180 or more away in height
        {0, 990, 340, 1000, QString(), 0},  // 40 s is not below 990 / 40
        {0, 990, 1000, 1000, QString(), 0}, // outside the window
        {300, 340, 300.4f, 1000, QStringLiteral("A0"), 300},
        {300, 340, 300.6f, 1000, QString(), 0},
    };
    for (const Case &c : cases) {
        g.setMinX(c.minX);
        g.setMaxX(c.maxX);
        double date = -1;
        QString text = QStringLiteral("stale");
        g.SearchEvent(c.x, c.y, date, text);
        EXPECT_EQ(text, c.text) << c.x << " " << c.y;
        EXPECT_EQ(date, c.text.isEmpty() ? 0.0 : Date(kDay0).addSeconds(c.seconds).days())
            << c.x << " " << c.y;
    }
}

TEST(GraphModel, VisibleRangeByBinarySearchOrScan) {
    GraphModel g;
    fillCount(g, 50);
    EXPECT_EQ(g.samplesWithin(49, 100, 200), (std::pair{10, 20}));
    EXPECT_EQ(g.samplesWithin(49, 1000, 2000), (std::pair{50, 50}));
    // The clock went back at sample 30: every sample in the window is still found.
    g.setValueX(30, Date(kDay0).addSeconds(105).days());
    const auto [first, end] = g.samplesWithin(49, 100, 200);
    EXPECT_EQ(first, 10);
    EXPECT_EQ(end, 31);
}

} // namespace

// Flag texts take the first clear place of two, a gap kept on either side; texts far
// apart, or meeting across a boundary of the columns the places are kept by, are judged alike.
TEST(MarkTextPlaces, TakesTheFirstClearPlace) {
    const struct {
        const char *name;
        QRectF earlier;
        QRectF first;
        QRectF second;
        int taken; // 0 first, 1 second, -1 none
    } cases[] = {
        {"far apart", {0, 0, 100, 50}, {5000, 0, 100, 50}, {5000, 100, 100, 50}, 0},
        {"overlapping: the other row", {0, 0, 100, 50}, {50, 0, 100, 50}, {50, 100, 100, 50}, 1},
        {"within the gap", {0, 0, 100, 50}, {105, 0, 100, 50}, {105, 100, 100, 50}, 1},
        {"across a column edge", {950, 0, 100, 50}, {1052, 0, 100, 50}, {1052, 100, 100, 50}, 1},
        {"both taken", {0, 0, 400, 200}, {50, 0, 100, 50}, {50, 100, 100, 50}, -1},
        {"left of zero", {-1100, 0, 150, 50}, {-1000, 0, 100, 50}, {-1000, 100, 100, 50}, 1},
    };
    for (const auto &c : cases) {
        tq::MarkTextPlaces places(10);
        ASSERT_NE(places.take(c.earlier, c.earlier), nullptr) << c.name;
        const QRectF *place = places.take(c.first, c.second);
        const QRectF *expected = c.taken == 0 ? &c.first : c.taken == 1 ? &c.second : nullptr;
        EXPECT_EQ(place, expected) << c.name;
    }
}
