#pragma once

#include "graph/graph_model.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPoint>
#include <QSizeF>

#include <array>

class QPainter;
class QPaintDevice;

namespace tq {

// A colour of the graph's interface (red in the low byte) and back.
QColor GraphColor(qint32 rgb);
// The mix of the grid lines: each component ratio of the way from c2 to c1.
qint32 BlendColor(qint32 c1, qint32 c2, float ratio);

// The font as the graph draws it: its size in twips (so its metrics are twips whatever
// the device), unhinted so that 96 and 600 dpi agree; `pointDelta` changes the size.
QFont TwipsFont(const QFont &font, double pointDelta = 0);

// Text measured on a device in a twips font.
class TwipsTextMeasure : public GraphTextMeasure {
public:
    TwipsTextMeasure(const QFont &twipsFont, QPaintDevice *device);
    float TextWidth(const QString &text) const override;
    float TextHeight(const QString &text) const override;
    float Ascent() const;

private:
    QFontMetricsF m_metrics;
};

// The corners of a mark triangle (tip first) in device units: on the screen the twips are
// divided by the screen's whole twips per pixel, on paper they stay twips.
std::array<QPoint, 3> TrianglePoints(float x, float y, qint16 dir, float size, int dx, int dy);

// One surface to draw the graph on. The painter draws in device units; the drawing scales
// it to twips. `picture` is the control's own picture (screen pixels, device-pixel pens,
// no smoothing), where `thin` keeps four points per pixel column of a curve.
struct GraphSurface {
    QPainter *painter = nullptr;
    bool printer = false;
    bool picture = false;
    bool thin = false;
    QColor background;
};

// Where the drawing left the current position, in twips.
struct GraphPenPosition {
    float CurrentX = 0;
    float CurrentY = 0;
};

// Layout, scales, curves and marks of one paint on the surface. The cursor is the host
// widget's own. Returns where the text position ended.
GraphPenPosition DrawGraph(GraphModel &model, const GraphSurface &surface, const QFont &font);

// The size of the surface's device in twips.
QSizeF SurfaceSizeTwips(const QPaintDevice *device);

} // namespace tq
