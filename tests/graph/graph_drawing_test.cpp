#include "graph/graph_drawing.h"
#include "graph/uclVtmGraph.h"
#include "graph_fixture.h"
#include "recording_paint_device.h"

#include "core/date.h"
#include "core/gui/twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using tq::uclVtmGraph;
using tq::test::TrendFixture;

constexpr qint32 kSeriesColor = 0x008000; // RGB(0, 128, 0)

// 400 samples a second apart at 50, missing from 100 to 149, a mark "A1" at samples 50
// and 170 and the common "Alarm" at 360.
TrendFixture gapTrend() {
    TrendFixture t;
    for (int i = 0; i < 400; ++i)
        t.dates.push_back(tq::Date::fromParts(2024, 5, 14, 10, 0, 0).addSeconds(i).days());
    TrendFixture::Series s{QStringLiteral("S"),
                           kSeriesColor,
                           QStringLiteral("#0.0"),
                           100,
                           {},
                           {{50, QStringLiteral("A1")}, {170, QStringLiteral("A1")}}};
    for (int i = 0; i < 400; ++i)
        s.values.push_back(i >= 100 && i < 150 ? tq::kMissingSample : 50.0f);
    t.series.push_back(s);
    t.alarm = true;
    return t;
}

class GraphDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        g.setBorderStyle(0);
        g.setBackColor(0xFFFFFF);
        g.setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
        g.resize(640, 400);
        tpp = tq::TwipsPerPixelX();
    }
    QWidget *picture() { return g.findChild<QWidget *>(QStringLiteral("picGraph")); }
    // True when a pixel within `radius` of the twips point has the colour.
    bool colourNear(const QImage &image, double xTwips, double yTwips, QColor colour,
                    int radius = 1, double twipsPerPixel = 0) const {
        const double scale = twipsPerPixel > 0 ? twipsPerPixel : tpp;
        const int cx = int(std::floor(xTwips / scale));
        const int cy = int(std::floor(yTwips / scale));
        for (int y = cy - radius; y <= cy + radius; ++y)
            for (int x = cx - radius; x <= cx + radius; ++x)
                if (image.rect().contains(x, y) && image.pixelColor(x, y) == colour)
                    return true;
        return false;
    }

    uclVtmGraph g;
    double tpp = 15;
};

TEST_F(GraphDrawing, FrameGridLabelsCurveGapAndMarks) {
    tq::test::FillGraph(g, gapTrend());
    const QImage image = g.Picture();
    ASSERT_EQ(image.size(), QSize(640, 400));
    const float l = g.PlotLeft(), t = g.PlotTop(), w = g.PlotWidth(), h = g.PlotHeight();
    const QColor black(0, 0, 0), white(255, 255, 255), series(0, 128, 0);

    // Frame in the scale colour, the grid 80 % of the way to the background.
    EXPECT_TRUE(colourNear(image, l, t + h / 2 + 7, black));
    EXPECT_TRUE(colourNear(image, l + w, t + h / 2 + 7, black));
    EXPECT_TRUE(colourNear(image, l + w / 2 + 7, t, black));
    int gridPixels = 0;
    const int gridRow = int(std::floor((h / 10 * 3 + t) / tpp));
    for (int x = int(l / tpp) + 2; x < int((l + w) / tpp) - 2; ++x)
        for (int y = gridRow - 1; y <= gridRow + 1; ++y)
            gridPixels += image.pixelColor(x, y) == QColor(204, 204, 204);
    EXPECT_GT(gridPixels, 20);

    // Y labels end at 650 twips: the ink of the bottom label stops a few pixels before.
    const float labelTop = g.yPos(0) - g.TextHeight(QStringLiteral("00000")) / 2;
    int rightmostInk = -1;
    for (int y = int(labelTop / tpp); y < int((labelTop + 200) / tpp); ++y)
        for (int x = 0; x < int(l / tpp) - 3; ++x)
            if (image.pixelColor(x, y) != white)
                rightmostInk = std::max(rightmostInk, x);
    EXPECT_LE(rightmostInk, int(650 / tpp));
    EXPECT_GE(rightmostInk, int(650 / tpp) - 3);

    // The curve at 50 before the run, a gap inside it, the flat restart after it; the
    // missing samples lie as dots on the bottom edge.
    const auto x = [&](int sample) { return g.xPos(float(g.ElapsedSec(sample))); };
    const float y50 = g.yPos(50);
    EXPECT_TRUE(colourNear(image, x(60), y50, series));
    EXPECT_FALSE(colourNear(image, x(125), y50, series, 2));
    EXPECT_TRUE(colourNear(image, (x(149) + x(150)) / 2, y50, series));
    EXPECT_TRUE(colourNear(image, x(125), t + h, series));

    // A single series' marks point down with their tips 600 above the bottom edge; the
    // common mark points up 300 above it in RGB(1, 0, 0).
    EXPECT_FLOAT_EQ(g.events(0).MarkerY, t + h - 600);
    EXPECT_TRUE(colourNear(image, x(50), t + h - 600 - 60, series, 0));
    EXPECT_TRUE(colourNear(image, x(170), t + h - 600 - 60, series, 0));
    EXPECT_TRUE(colourNear(image, x(360), t + h - 300 + 60, QColor(1, 0, 0), 0));
    EXPECT_FLOAT_EQ(g.commonEvents().MarkerY, t + h - 300);
}

// A trend of `values` one minute apart in one series (or more, each a copy), no marks.
TrendFixture smallTrend(const std::vector<float> &values, int seriesCount = 1) {
    TrendFixture t;
    for (int i = 0; i < int(values.size()); ++i)
        t.dates.push_back(tq::Date::fromParts(2024, 5, 14, 10, 0, 0).addSeconds(60 * i).days());
    for (int k = 0; k < seriesCount; ++k)
        t.series.push_back(
            {QStringLiteral("S%1").arg(k), kSeriesColor, QStringLiteral("#0.0"), 10, values, {}});
    return t;
}

TEST_F(GraphDrawing, MissingSamplesBreakTheCurve) {
    // 1, missing, missing, 4: a dot at 1, a dot at -0.01, a flat line at 4 from sample 2 to
    // sample 3, and nothing joining 1 and 4.
    const float miss = tq::kMissingSample;
    tq::test::FillGraph(g, smallTrend({1, miss, miss, 4}));
    const QImage image = g.Picture();
    const QColor series(0, 128, 0);
    const auto x = [&](int sample) { return g.xPos(float(g.ElapsedSec(sample))); };
    EXPECT_TRUE(colourNear(image, x(0) + tpp, g.yPos(1), series, 1));
    EXPECT_TRUE(colourNear(image, x(1), g.yPos(miss), series, 1));
    EXPECT_TRUE(colourNear(image, (x(2) + x(3)) / 2, g.yPos(4), series, 0));
    EXPECT_FALSE(colourNear(image, (x(0) + x(1)) / 2, g.yPos(1), series, 2));
    EXPECT_FALSE(colourNear(image, (x(0) + x(2)) / 2, g.yPos(2.5f), series, 3));
    EXPECT_FALSE(colourNear(image, (x(1) + x(2)) / 2, g.yPos(miss) - 5 * tpp, series, 3));
}

TEST_F(GraphDrawing, CurveStopsAtTheWindowAndAtItsLastWrittenSample) {
    std::vector<float> values(20, 5.0f);
    tq::test::FillGraph(g, smallTrend(values));
    g.setMinX(0);
    g.setMaxX(float(g.ElapsedSec(10)));
    g.Refresh();
    const QImage image = g.Picture();
    const QColor series(0, 128, 0);
    const float right = g.PlotLeft() + g.PlotWidth();
    // The line from sample 9 reaches sample 10 on the right edge; none starts there.
    EXPECT_TRUE(colourNear(image, right - 2 * tpp, g.yPos(5), series, 0));
    EXPECT_FALSE(colourNear(image, right + 3 * tpp, g.yPos(5), series, 1));

    // A series written up to sample 1 draws one line; one never written past 0 draws none.
    g.Clear();
    g.AddSample(QStringLiteral("A"), kSeriesColor, QStringLiteral("#0.0"), 10);
    g.AddSample(QStringLiteral("B"), 0x0000FF, QStringLiteral("#0.0"), 10);
    g.setValueY(0, 0, 5);
    g.setValueY(0, 1, 5);
    g.setValueY(1, 0, 7);
    g.setSampleCount(20);
    g.setMaxY(0, 10);
    g.setMaxY(1, 10);
    g.setMaxX(0);
    g.Refresh();
    const QImage two = g.Picture();
    const auto x = [&](int sample) { return g.xPos(float(g.ElapsedSec(sample))); };
    EXPECT_TRUE(colourNear(two, (x(0) + x(1)) / 2, g.yPos(5), series, 0));
    EXPECT_FALSE(colourNear(two, (x(1) + x(2)) / 2, g.yPos(5), series, 1));
    // (Right of the second label column, which stands inside the plot.)
    for (float at = 1300; at < x(19); at += 10 * tpp)
        EXPECT_FALSE(colourNear(two, at, g.yPos(7, 1), QColor(255, 0, 0), 1)) << at;
}

TEST_F(GraphDrawing, TimeLabelsAtEveryStepThatFits) {
    struct Case {
        qint16 zoom;
        int width;
        std::vector<int> ticked;
        std::vector<int> bare;
    };
    // 100 samples: every tenth a candidate at Zoom 1, every third at Zoom 3; on a narrow
    // picture a candidate whose label would not start after the last one is left out.
    const Case cases[] = {
        {1, 2000, {10, 20, 50, 90}, {5, 15}},
        {1, 640, {0, 20, 40}, {10, 30}},
        {3, 2000, {0, 3, 6, 9, 30}, {2, 4}},
    };
    for (const Case &c : cases) {
        g.resize(c.width, 400);
        tq::test::FillGraph(g, smallTrend(std::vector<float>(100, 5.0f)));
        g.setZoom(c.zoom);
        g.Refresh();
        const QImage image = g.Picture();
        const float tickY = g.PlotTop() + g.PlotHeight() + 25;
        const QColor black(0, 0, 0);
        const auto x = [&](int sample) { return g.xPos(float(g.ElapsedSec(sample))); };
        for (int sample : c.ticked)
            EXPECT_TRUE(colourNear(image, x(sample), tickY, black, 1))
                << c.zoom << "/" << c.width << " sample " << sample;
        for (int sample : c.bare)
            EXPECT_FALSE(colourNear(image, x(sample), tickY, black, 0))
                << c.zoom << "/" << c.width << " sample " << sample;
    }
}

TEST_F(GraphDrawing, MarkRowsOfTwoSeriesAndTheFlagFont) {
    TrendFixture t = smallTrend(std::vector<float>(100, 5.0f), 2);
    for (auto &series : t.series)
        series.marks = {{40, QStringLiteral("A1")}};
    QFont font = g.Font();
    font.setPointSizeF(11);
    g.setFont(font);
    tq::test::FillGraph(g, t);
    const float top = g.PlotTop(), bottom = g.PlotTop() + g.PlotHeight();
    EXPECT_FLOAT_EQ(g.events(0).MarkerY, top + 300);
    EXPECT_FLOAT_EQ(g.events(1).MarkerY, bottom - 750);
    // The graph's own font is as it was: bold from the fill, 11 points.
    EXPECT_TRUE(g.Font().bold());
    EXPECT_EQ(g.Font().pointSizeF(), 11.0);
}

// A count the let stored beyond the axis is used clamped by the paint, keys and mouse.
TEST_F(GraphDrawing, SampleCountBeyondTheAxisDrawsTheWholeAxis) {
    tq::test::FillGraph(g, tq::test::IntervalTrend(16361, 1, 0));
    const float maxX = g.MaxX();
    g.setSampleCount(32000);
    g.setMaxX(0);
    const qint64 before = g.Picture().cacheKey();
    g.Refresh();
    EXPECT_NE(g.Picture().cacheKey(), before);
    EXPECT_EQ(g.MaxX(), maxX);
    g.setCursorIndex(float(tq::kGraphMaxSample));
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(picture(), &right);
    EXPECT_EQ(g.CursorIndex(), float(tq::kGraphMaxSample));
    const QPointF farRight(picture()->width() - 1, 100);
    QMouseEvent press(QEvent::MouseButtonPress, farRight, picture()->mapToGlobal(farRight),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(picture(), &press);
    EXPECT_EQ(g.CursorIndex(), float(tq::kGraphMaxSample));
}

TEST_F(GraphDrawing, PictureKeptWhenNothingMayDraw) {
    tq::test::FillGraph(g, gapTrend());
    const qint64 first = g.Picture().cacheKey();

    g.AutoRedraw = false;
    g.resize(500, 300);
    EXPECT_EQ(g.Picture().cacheKey(), first);
    g.Refresh();
    EXPECT_EQ(g.Picture().size(), QSize(500, 300));

    const qint64 second = g.Picture().cacheKey();
    g.AutoRedraw = true;
    g.setSampleCount(0);
    g.Refresh();
    g.resize(640, 400);
    EXPECT_EQ(g.Picture().cacheKey(), second);
}

TEST_F(GraphDrawing, CursorMovesWithoutRedrawing) {
    tq::test::FillGraph(g, gapTrend());
    QWidget *line = g.findChild<QWidget *>(QStringLiteral("linCursor"));
    auto *label = g.findChild<QLabel *>(QStringLiteral("lblMsg"));
    ASSERT_TRUE(line && label);
    const qint64 before = g.Picture().cacheKey();
    const int x0 = line->x();
    EXPECT_EQ(label->text(), QStringLiteral("[05/14 10:00:00]\nS : 50.0"));

    for (int i = 0; i < 10; ++i) {
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(picture(), &right);
    }
    EXPECT_EQ(g.CursorIndex(), 10.0f);
    EXPECT_EQ(g.Picture().cacheKey(), before);
    EXPECT_EQ(line->x(), int(std::floor(g.xPos(10) / tpp)));
    EXPECT_GT(line->x(), x0);

    // A host's handler may change the key and the point before the control acts.
    QObject::connect(&g, &uclVtmGraph::KeyDown, &g, [](qint16 &code, qint16 &) { code = 37; });
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(picture(), &right);
    EXPECT_EQ(g.CursorIndex(), 9.0f);
    QObject::connect(&g, &uclVtmGraph::MouseDown, &g,
                     [this](qint16 &, qint16 &, float &x, float &) { x = g.xPos(200.5f); });
    const QPointF somewhere(100, 100);
    QMouseEvent press(QEvent::MouseButtonPress, somewhere, picture()->mapToGlobal(somewhere),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(picture(), &press);
    EXPECT_EQ(g.CursorIndex(), 201.0f);
    EXPECT_EQ(g.Picture().cacheKey(), before);
    EXPECT_EQ(label->text(), QStringLiteral("[05/14 10:03:21]\nS : 50.0"));
}

TEST_F(GraphDrawing, MouseEventsInTwipsAndPointerShapes) {
    tq::test::FillGraph(g, gapTrend());
    float movedX = -1, movedY = -1;
    qint16 movedButton = -1;
    int clicks = 0;
    QObject::connect(&g, &uclVtmGraph::MouseMove, &g,
                     [&](qint16 &button, qint16 &, float &x, float &y) {
                         movedButton = button;
                         movedX = x;
                         movedY = y;
                     });
    QObject::connect(&g, &uclVtmGraph::Click, &g, [&] { ++clicks; });
    const QPointF at(40, 30);
    QMouseEvent move(QEvent::MouseMove, at, picture()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(picture(), &move);
    EXPECT_EQ(movedButton, 0);
    EXPECT_FLOAT_EQ(movedX, float(40 * tpp));
    EXPECT_FLOAT_EQ(movedY, float(30 * tpp));
    QMouseEvent release(QEvent::MouseButtonRelease, at, picture()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(picture(), &release);
    EXPECT_EQ(clicks, 1);

    g.setMousePointer(11);
    EXPECT_EQ(picture()->cursor().shape(), Qt::WaitCursor);
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    g.setMouseIcon(icon);
    g.setMousePointer(99);
    EXPECT_EQ(picture()->cursor().shape(), Qt::BitmapCursor);
    g.setMousePointer(0);
    EXPECT_EQ(picture()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(GraphDrawing, ZoomShowsScrollBarAndScrollRedraws) {
    tq::test::FillGraph(g, gapTrend());
    auto *bar = g.findChild<QScrollBar *>(QStringLiteral("hslWidth"));
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->isHidden());
    g.setZoom(10);
    g.Refresh();
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->maximum(), 359);
    EXPECT_EQ(bar->pageStep(), 39);
    EXPECT_LT(picture()->height(), 400 - bar->height());
    EXPECT_EQ(bar->y() + bar->height(), 400 - tq::TwipsToPixelsY(60));
    const qint64 before = g.Picture().cacheKey();
    bar->setValue(359);
    EXPECT_NE(g.Picture().cacheKey(), before);
    EXPECT_EQ(g.MinX(), 359.0f);
    EXPECT_EQ(g.MaxX(), 399.0f);
    g.setScrollValue(100);
    EXPECT_EQ(bar->value(), 100);
    EXPECT_EQ(g.MinX(), 100.0f);
}

// The labels at both ends of the axis stay whole inside the picture: the last one is
// moved in from the edge, not cut off.
TEST_F(GraphDrawing, EndLabelsStayInsideThePicture) {
    tq::test::FillGraph(g, tq::test::AlarmTrend());
    g.setZoom(10);
    g.Refresh();
    const QImage image = g.Picture();
    const QColor back = tq::GraphColor(g.BackColor());
    const int top = int((g.PlotTop() + g.PlotHeight() + 80) / tpp);
    const int bottom = top + int(g.TextHeight(QStringLiteral("8")) / tpp);
    bool inkAtRight = false, inkAtLeft = false, inkNearRight = false;
    for (int y = top; y < std::min(bottom, image.height()); ++y) {
        inkAtRight |= image.pixelColor(image.width() - 1, y) != back;
        inkAtLeft |= image.pixelColor(0, y) != back;
        for (int x = image.width() - 12; x < image.width(); ++x)
            inkNearRight |= image.pixelColor(x, y) != back;
    }
    EXPECT_FALSE(inkAtRight);
    EXPECT_FALSE(inkAtLeft);
    EXPECT_TRUE(inkNearRight);
}

// The thinned curve of the picture against the same curve drawn point by point, one noisy
// series at a time: 25 samples to a pixel column. The two may differ only by one pixel
// where the rasterizer ends a stroke: a steep stroke crossing a column edge puts a row's
// pixel in the neighbouring column, and a column's extreme may end one row shorter or
// longer. Every differing pixel has its colour next to it in the other picture, and such
// pixels stay under 1 % of the curve.
TEST_F(GraphDrawing, ThinnedCurveMatchesFullResolution) {
    tq::test::FillGraph(g, tq::test::IntervalTrend(16361, 3, 0));
    const auto draw = [&](bool thin) {
        QImage image(640, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        tq::GraphSurface surface;
        surface.painter = &painter;
        surface.picture = true;
        surface.thin = thin;
        surface.background = Qt::white;
        tq::DrawGraph(g, surface, g.Font());
        return image;
    };
    const auto besideInOther = [](const QImage &other, int x, int y, QRgb colour) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if ((dx || dy) && other.valid(x + dx, y + dy) &&
                    other.pixel(x + dx, y + dy) == colour)
                    return true;
        return false;
    };
    for (int shown = 0; shown < 3; ++shown) {
        for (int s = 0; s < 3; ++s)
            g.setSampleVisible(qint16(s), s == shown);
        const QImage thin = draw(true);
        const QImage full = draw(false);
        int differing = 0;
        int curvePixels = 0;
        const QRgb colour = tq::GraphColor(g.ValueColor(shown)).rgb();
        for (int y = 0; y < thin.height(); ++y)
            for (int x = 0; x < thin.width(); ++x) {
                curvePixels += full.pixel(x, y) == colour;
                if (thin.pixel(x, y) == full.pixel(x, y))
                    continue;
                ++differing;
                const bool inThin = thin.pixel(x, y) == colour;
                EXPECT_TRUE(besideInOther(inThin ? full : thin, x, y, colour))
                    << "series " << shown << " at " << x << ", " << y;
            }
        EXPECT_LT(differing * 100, curvePixels) << "series " << shown;
    }
}

TEST_F(GraphDrawing, ScreenAndPrinterAgree) {
    g.setBackColor(15790320);
    tq::test::FillGraph(g, tq::test::AlarmTrend());
    const float plot[] = {g.PlotLeft(), g.PlotTop(), g.PlotWidth(), g.PlotHeight()};
    const float markerY = g.events(0).MarkerY;
    const QImage screen = g.Picture();
    std::vector<QPointF> points;
    for (int i : {0, 200, 360, 719})
        points.emplace_back(g.xPos(float(g.ElapsedSec(i))), g.yPos(g.valueY(0, qint16(i))));

    // The same area, 600 dots to the inch, as a printer.
    const double dpi = 600;
    const double pagePixel = 1440 / dpi;
    QImage page(int(640 * tpp / pagePixel), int(400 * tpp / pagePixel), QImage::Format_RGB32);
    page.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    page.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    page.fill(Qt::white);
    QPainter painter(&page);
    g.SetDrawLeft = 0;
    g.SetDrawTop = 0;
    g.SetDrawWidth = float(640 * tpp);
    g.SetDrawHeight = float(400 * tpp);
    g.setDrawObj(&painter, true);
    g.Refresh();
    g.setDrawObj(nullptr, false);
    painter.end();

    const float printed[] = {g.PlotLeft(), g.PlotTop(), g.PlotWidth(), g.PlotHeight()};
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(printed[k], plot[k], tpp) << k;
    EXPECT_NEAR(g.events(0).MarkerY, markerY, tpp);
    int k = 0;
    for (int i : {0, 200, 360, 719}) {
        const QPointF p(g.xPos(float(g.ElapsedSec(i))), g.yPos(g.valueY(0, qint16(i))));
        EXPECT_NEAR(p.x(), points[std::size_t(k)].x(), tpp) << i;
        EXPECT_NEAR(p.y(), points[std::size_t(k)].y(), tpp) << i;
        EXPECT_TRUE(colourNear(page, p.x(), p.y(), QColor(0, 128, 0), 2, pagePixel)) << i;
        ++k;
    }
    // The mark on paper: its body at its row, in the series' colour.
    const float markX = g.xPos(float(g.ElapsedSec(360)));
    EXPECT_TRUE(colourNear(page, markX, g.events(0).MarkerY - 60, QColor(0, 128, 0), 1, pagePixel));
    EXPECT_TRUE(
        colourNear(page, markX, g.commonEvents().MarkerY + 60, QColor(1, 0, 0), 1, pagePixel));

    // The grid blends toward white on paper, toward the back colour on the screen.
    const auto gridPixels = [&](const QImage &image, double pixel, QColor colour) {
        int found = 0;
        const int row = int(std::floor((g.PlotHeight() / 10 * 3 + g.PlotTop()) / pixel));
        for (int x = int(g.PlotLeft() / pixel) + 4; x < int((g.PlotLeft() + g.PlotWidth()) / pixel);
             ++x)
            for (int y = row - 1; y <= row + 1; ++y)
                found += image.pixelColor(x, y) == colour;
        return found;
    };
    EXPECT_GT(gridPixels(page, pagePixel, QColor(204, 204, 204)), 20);
    EXPECT_EQ(gridPixels(page, pagePixel, QColor(192, 192, 192)), 0);
    EXPECT_GT(gridPixels(screen, tpp, QColor(192, 192, 192)), 20);
}

// Event texts a few seconds apart on a long trend: each drawn text stands clear of every
// other, the later of two that would overprint goes to the other side of its row, one with
// both sides taken is left out; every mark is still drawn, at the row of its series.
TEST_F(GraphDrawing, MarkTextsNeverOverprint) {
    TrendFixture t = smallTrend(std::vector<float>(2000, 5.0f));
    t.series[0].marks = {{100, QStringLiteral("WARNING")},
                         {101, QStringLiteral("ALARM")},
                         {102, QStringLiteral("WARNING")},
                         {1500, QStringLiteral("ALARM")}};
    t.alarm = true; // the common "Alarm" at sample 360, far from the others
    tq::test::FillGraph(g, t);

    tq::test::RecordingPaintDevice page(QSize(4000, 2500));
    QPainter painter(&page);
    g.SetDrawLeft = 0;
    g.SetDrawTop = 0;
    g.SetDrawWidth = 4000 * 1440.0f / 600;
    g.SetDrawHeight = 2500 * 1440.0f / 600;
    g.setDrawObj(&painter, true);
    g.Refresh();
    g.setDrawObj(nullptr, false);
    painter.end();

    QList<tq::test::RecordingPaintDevice::Text> flags;
    for (const auto &text : page.texts())
        if (text.text == "WARNING" || text.text.compare("ALARM", Qt::CaseInsensitive) == 0)
            flags.append(text);
    ASSERT_EQ(flags.size(), 4) << "two of the close marks, the far one and the common one";
    for (qsizetype i = 0; i < flags.size(); ++i)
        for (qsizetype j = i + 1; j < flags.size(); ++j)
            EXPECT_FALSE(flags[i].rect.intersects(flags[j].rect))
                << flags[i].text.toStdString() << " over " << flags[j].text.toStdString();
    // One series: its texts below the row, the displaced one above it.
    const double row = (g.events(0).MarkerY - g.SetDrawTop) * 600 / 1440;
    EXPECT_GT(flags[0].rect.top(), row);
    EXPECT_LT(flags[1].rect.bottom(), row);
    EXPECT_EQ(flags[1].text, QStringLiteral("ALARM"));
    EXPECT_EQ(flags[2].rect.top(), flags[0].rect.top()) << "a mark far away keeps its place";
    EXPECT_EQ(page.polygons(), 5) << "every mark drawn, also the one without its text";
}

TEST(GraphTriangle, CornersOnTheScreenAndOnPaper) {
    using Points = std::array<QPoint, 3>;
    EXPECT_EQ(tq::TrianglePoints(1500, 3000, 0, 50, 15, 15),
              (Points{QPoint(100, 199), QPoint(97, 193), QPoint(103, 193)}));
    EXPECT_EQ(tq::TrianglePoints(1500, 3000, 1, 50, 15, 15),
              (Points{QPoint(100, 201), QPoint(97, 207), QPoint(103, 207)}));
    // On paper the corners are twips, converted to the device with everything else.
    EXPECT_EQ(tq::TrianglePoints(1500, 3000, 0, 50, 1, 1),
              (Points{QPoint(1500, 2999), QPoint(1458, 2890), QPoint(1542, 2890)}));
}

TEST(GraphColours, BlendTowardBackground) {
    EXPECT_EQ(tq::BlendColor(0xFFFFFF, 0, 0.8f), 0xCCCCCC);
    EXPECT_EQ(tq::BlendColor(15790320, 0, 0.8f), 0xC0C0C0);
    EXPECT_EQ(tq::BlendColor(0xFFFFFF, 0x0000FF, 0.8f), 0xCCCCFF);
    EXPECT_EQ(tq::GraphColor(1), QColor(1, 0, 0));
}

} // namespace
