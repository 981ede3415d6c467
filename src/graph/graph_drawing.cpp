#include "graph/graph_drawing.h"

#include "core/date.h"
#include "core/gas_format.h"
#include "core/gui/twips.h"
#include "graph/mark_text_places.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>
#include <QStaticText>

#include <cmath>
#include <vector>

namespace tq {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr float kMarkSize = 50;
constexpr float kMarkRowDistance = 300;
constexpr qint32 kCommonMarkColor = 1;

int roundEven(double value) {
    return int(std::nearbyint(value));
}

double pointSize(const QFont &font) {
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    // A font sized in pixels: screen pixels.
    return font.pixelSize() * TwipsPerPixelY() / 20.0;
}

QFont twipsFont(const QFont &font, double points) {
    QFont f = font;
    f.setPixelSize(std::max(1, roundEven(points * 20.0)));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// Collects one series' curve as polylines and dots. On the screen only the first, the
// lowest, the highest and the last point of each pixel column are kept: the pixels drawn
// are those of the whole curve, at a fraction of the points.
class CurveBuilder {
public:
    explicit CurveBuilder(bool thin) : m_thin(thin) {}

    void moveTo(QPointF p) {
        endLine();
        add(p);
    }
    void lineTo(QPointF p) { add(p); }
    void dot(QPointF p) {
        endLine();
        if (m_thin && !m_dots.isEmpty() && pixelOf(m_dots.last()) == pixelOf(p))
            return;
        m_dots.append(p);
    }
    void endLine() {
        flushColumn();
        if (m_line.size() > 1)
            m_lines.push_back(m_line);
        else if (m_line.size() == 1)
            m_dots.append(m_line.first());
        m_line.clear();
    }
    void draw(QPainter &painter) {
        endLine();
        for (const QPolygonF &line : m_lines)
            painter.drawPolyline(line);
        if (!m_dots.isEmpty())
            painter.drawPoints(m_dots);
    }

private:
    static QPoint pixelOf(QPointF p) { return {int(std::floor(p.x())), int(std::floor(p.y()))}; }
    void append(QPointF p) {
        if (m_line.isEmpty() || m_line.last() != p)
            m_line.append(p);
    }
    void add(QPointF p) {
        if (!m_thin) {
            append(p);
            return;
        }
        const int column = int(std::floor(p.x()));
        if (!m_columnOpen || column != m_column) {
            flushColumn();
            m_columnOpen = true;
            m_column = column;
            m_first = m_low = m_high = m_last = p;
            m_lowSeq = m_highSeq = m_seq = 0;
            return;
        }
        ++m_seq;
        if (p.y() < m_low.y()) {
            m_low = p;
            m_lowSeq = m_seq;
        }
        if (p.y() > m_high.y()) {
            m_high = p;
            m_highSeq = m_seq;
        }
        m_last = p;
    }
    void flushColumn() {
        if (!m_columnOpen)
            return;
        m_columnOpen = false;
        append(m_first);
        append(m_lowSeq <= m_highSeq ? m_low : m_high);
        append(m_lowSeq <= m_highSeq ? m_high : m_low);
        append(m_last);
    }

    bool m_thin;
    std::vector<QPolygonF> m_lines;
    QPolygonF m_line;
    QPolygonF m_dots;
    bool m_columnOpen = false;
    int m_column = 0;
    QPointF m_first, m_low, m_high, m_last;
    int m_lowSeq = 0, m_highSeq = 0, m_seq = 0;
};

// One paint of the graph: the drawing object's state (fore colour, pen width, current
// position, font) as the layout, scales, curves and marks use it.
class GraphPainter {
public:
    GraphPainter(GraphModel &model, const GraphSurface &surface, const QFont &font)
        : m(model), s(surface), p(*surface.painter), m_points(pointSize(font)),
          m_font(twipsFont(font, m_points)), m_measure(m_font, p.device()),
          m_tppx(float(TwipsPerPixelX())), m_tppy(float(TwipsPerPixelY())) {
        // The picture's pixels are screen pixels.
        const QSizeF size =
            s.picture ? QSizeF(p.device()->width() * m_tppx, p.device()->height() * m_tppy)
                      : SurfaceSizeTwips(p.device());
        m_scaleWidth = float(size.width());
        m_scaleHeight = float(size.height());
        if (s.picture) {
            m_sx = 1.0 / m_tppx;
            m_sy = 1.0 / m_tppy;
        } else {
            m_sx = p.device()->logicalDpiX() / kTwipsPerInch;
            m_sy = p.device()->logicalDpiY() / kTwipsPerInch;
        }
    }

    GraphPenPosition run() {
        p.save();
        p.scale(m_sx, m_sy);
        p.setRenderHint(QPainter::Antialiasing, !s.picture);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setBrush(Qt::NoBrush);
        p.setFont(m_font);
        m.CalcLayout(m_measure, {s.picture, m_scaleWidth, m_scaleHeight});
        if (m.XScale() > 0) {
            drawScale();
            drawSamples();
            drawEvents();
        }
        p.restore();
        return {m_cx, m_cy};
    }

private:
    // A pen of a width in screen pixels: device pixels on the picture, twips elsewhere.
    QPen pen(const QColor &color, float screenPixels, Qt::PenStyle style = Qt::SolidLine) const {
        QPen result(color);
        result.setStyle(style);
        if (s.picture) {
            result.setCosmetic(true);
            result.setWidthF(std::max(1.0f, screenPixels));
        } else {
            result.setWidthF(std::max(1.0f, screenPixels) * m_tppx);
            result.setCapStyle(Qt::RoundCap);
            result.setJoinStyle(Qt::RoundJoin);
        }
        return result;
    }
    void line(QPointF a, QPointF b, qint32 color, Qt::PenStyle style = Qt::SolidLine) {
        p.setPen(pen(GraphColor(color), m_drawWidth, style));
        p.drawLine(a, b);
    }
    float textWidth(const QString &text) {
        auto it = m_widths.constFind(text);
        if (it == m_widths.constEnd())
            it = m_widths.insert(text, m_measure.TextWidth(text));
        return *it;
    }
    // Prints at the current position in the fore colour; the position moves to the start
    // of the next line.
    // Pen and brush changes cost the raster engine; the marks repeat the same ones.
    void usePen(const QPen &wanted) {
        if (p.pen() != wanted)
            p.setPen(wanted);
    }
    void useBrush(const QBrush &wanted) {
        if (p.brush() != wanted)
            p.setBrush(wanted);
    }
    void print(const QString &text) {
        if (p.pen().color() != GraphColor(m_fore))
            p.setPen(GraphColor(m_fore));
        if (m_deviceSpace)
            p.drawStaticText(QPointF(m_cx * m_sx, m_cy * m_sy), staticText(text));
        else
            p.drawText(QPointF(m_cx, m_cy + m_ascent), text);
        m_cx = 0;
        m_cy += m_measure.TextHeight(text);
    }
    // A text laid out once per paint, drawn in device pixels (the picture's marks).
    const QStaticText &staticText(const QString &text) {
        auto it = m_staticTexts.find(text);
        if (it == m_staticTexts.end()) {
            QStaticText laidOut(text);
            laidOut.setTextFormat(Qt::PlainText);
            laidOut.prepare(QTransform(), p.font());
            it = m_staticTexts.insert(text, laidOut);
        }
        return *it;
    }
    // The picture's many marks are drawn in device pixels, without the twips scale: the
    // same corners, the text in the same font at the device's size.
    void enterDeviceSpace(const QFont &twips, double points) {
        if (!s.picture)
            return;
        p.save();
        p.resetTransform();
        QFont device = twips;
        device.setPointSizeF(points);
        p.setFont(device);
        m_deviceSpace = true;
    }
    void leaveDeviceSpace() {
        if (!m_deviceSpace)
            return;
        p.restore();
        m_deviceSpace = false;
        m_staticTexts.clear();
    }
    void setFont(const QFont &font) {
        p.setFont(font);
        m_measure = TwipsTextMeasure(font, p.device());
        m_ascent = m_measure.Ascent();
        m_widths.clear();
    }

    void drawScale();
    void drawTimeLabels(float top, float height, qint32 grid);
    void drawYLabels();
    void drawSamples();
    void drawEvents();
    void drawMark(float x, float y, qint16 dir, qint32 color);

    GraphModel &m;
    const GraphSurface &s;
    QPainter &p;
    double m_points;
    QFont m_font;
    TwipsTextMeasure m_measure;
    float m_ascent = m_measure.Ascent();
    QHash<QString, float> m_widths;
    QHash<QString, QStaticText> m_staticTexts;
    bool m_deviceSpace = false;
    float m_tppx;
    float m_tppy;
    double m_sx = 1;
    double m_sy = 1;
    float m_scaleWidth = 0;
    float m_scaleHeight = 0;
    qint32 m_fore = 0;
    float m_drawWidth = 1;
    float m_cx = 0;
    float m_cy = 0;
};

void GraphPainter::drawScale() {
    const float l = m.PlotLeft(), t = m.PlotTop(), w = m.PlotWidth(), h = m.PlotHeight();
    const qint32 background =
        s.printer ? 0xFFFFFF
                  : (s.background.red() | s.background.green() << 8 | s.background.blue() << 16);
    m_drawWidth = m.ScaleLineWidth;
    p.setPen(pen(GraphColor(m.ScaleColor), m_drawWidth));
    p.drawRect(QRectF(l, t, w, h));
    m_fore = m.ScaleColor;

    const float digitsHeight = m_measure.TextHeight(QStringLiteral("8888"));
    const auto title = [&](const QString &text, float y) {
        if (text.isEmpty())
            return;
        m_cx = (m_scaleWidth - m_measure.TextWidth(text)) / 2;
        m_cy = y;
        print(text);
    };
    title(m.TitleTop, t - 1.5f * digitsHeight);
    title(m.TitleBottom, t + h + 1.5f * digitsHeight);

    const qint32 grid = BlendColor(background, m_fore, 0.8f);
    drawTimeLabels(t, h, grid);

    for (int v = 1; v <= 9; ++v) {
        const float y = h / 10 * float(v) + t;
        line({l - 4 * m_tppx, y}, {l, y}, m_fore);
        line({l + w + 4 * m_tppx, y}, {l + w, y}, m_fore);
        line({l, y}, {l + w, y}, grid, Qt::DashDotDotLine);
    }
    drawYLabels();
}

void GraphPainter::drawTimeLabels(float t, float h, qint32 grid) {
    const int n = m.usedSamples();
    const float minX = m.MinX(), maxX = m.MaxX();
    const int count = roundEven((maxX - minX) / (m.PosXStp() / float(m.Zoom())));
    int step = count == 0 ? 0 : roundEven(double(n) / count);
    if (step <= 0)
        step = 1;
    // A label at either end of the axis is moved inward rather than cut off at the edge
    // of the drawing area.
    const float areaLeft = s.picture ? 0 : m.SetDrawLeft;
    const float areaRight = s.picture ? m_scaleWidth : m.SetDrawLeft + m.SetDrawWidth;
    float end = 0;
    for (int u = 0; u <= n - 1; u += step) {
        const float x = float(m.ElapsedSec(u));
        if (!(minX <= x && x <= maxX))
            continue;
        const float xp = m.xPos(x);
        const QString text = Date(m.valueX(qint16(u))).format(kGraphQtFormatX);
        const float w = textWidth(text);
        const float start = std::max(areaLeft, std::min(xp - w / 2, areaRight - w - m_tppx));
        if (!(end < start))
            continue;
        line({xp, t + h}, {xp, t + h + 40}, m_fore);
        m_cx = start;
        m_cy = t + h + 80;
        print(text);
        end = start + w / 2 + 1.125f * w / 2;
        if (x != minX && x != maxX)
            line({xp, t}, {xp, t + h}, grid, Qt::DashDotDotLine);
    }
}

void GraphPainter::drawYLabels() {
    float k = 120;
    const float halfDigits = m_measure.TextHeight(QStringLiteral("00000")) / 2;
    for (int slot = 0; slot < m.SampleDataCount(); ++slot) {
        const GraphSeries &series = m.series(slot);
        if (!series.Visible)
            continue;
        const int labels =
            series.PosYStp == 0 ? 0 : roundEven((series.MaxY - series.MinY) / series.PosYStp);
        m_fore = series.Color;
        // A long name stays on the drawing object rather than losing its first letters.
        const bool small = series.Name.size() > 3;
        if (small)
            setFont(twipsFont(m_font, m_points / 3 * 2));
        m_cx = std::max(0.0f, k + 530 - m_measure.TextWidth(series.Name));
        m_cy = m.SetDrawTop + 2 * m_tppy;
        print(series.Name);
        if (small)
            setFont(m_font);
        for (int j = 0; j <= labels; ++j) {
            const float v = float(j) * series.PosYStp + series.MinY;
            const QString text = FormatNumber(v, series.FormatY);
            m_cx = k + 530 - textWidth(text);
            m_cy = m.yPos(v, qint16(slot)) - halfDigits;
            print(text);
        }
        k += 530;
    }
}

void GraphPainter::drawSamples() {
    m_drawWidth = m.DrawLineWidth;
    const float minX = m.MinX(), maxX = m.MaxX();
    const float bottom = m.PlotTop() + m.PlotHeight();
    const double sx = s.picture ? m_sx : 1.0;
    const double sy = s.picture ? m_sy : 1.0;
    if (s.picture) {
        p.save();
        p.resetTransform();
    }
    for (int slot = 0; slot < m.SampleDataCount(); ++slot) {
        const GraphSeries &series = m.series(slot);
        if (!series.Visible || series.LastIndex <= 0)
            continue;
        const auto at = [&](int sample, float value) {
            const float x = m.xPos(float(m.ElapsedSec(sample)));
            const float y = bottom - (value - series.MinY) * series.YScale;
            return QPointF(x * sx, y * sy);
        };
        CurveBuilder curve(s.picture && s.thin);
        bool open = false;
        const auto [first, end] = m.samplesWithin(series.LastIndex - 1, minX, maxX);
        for (int j = first; j < end; ++j) {
            const float x = float(m.ElapsedSec(j));
            if (!(minX <= x && x < maxX)) {
                curve.endLine();
                open = false;
                continue;
            }
            const float v = series.Values[std::size_t(j)];
            const float next = series.Values[std::size_t(j) + 1];
            if (IsMissingSample(next)) {
                curve.dot(at(j, v));
                open = false;
            } else if (IsMissingSample(v)) {
                curve.moveTo(at(j, next));
                curve.lineTo(at(j + 1, next));
                open = true;
            } else {
                if (!open)
                    curve.moveTo(at(j, v));
                curve.lineTo(at(j + 1, next));
                open = true;
            }
        }
        p.setPen(pen(GraphColor(series.Color), m_drawWidth));
        curve.draw(p);
    }
    if (s.picture)
        p.restore();
}

void GraphPainter::drawMark(float x, float y, qint16 dir, qint32 color) {
    // On the screen the corners are device pixels; on paper twips, drawn through the same
    // scale as everything else so that a mark sits on its text.
    const int dx = s.picture ? roundEven(m_tppx) : 1;
    const int dy = s.picture ? roundEven(m_tppy) : 1;
    const std::array<QPoint, 3> corners = TrianglePoints(x, y, dir, kMarkSize, dx, dy);
    m_fore = color;
    usePen(pen(GraphColor(color), m.DrawLineWidth));
    useBrush(GraphColor(color));
    if (s.picture && !m_deviceSpace) {
        const QTransform twips = p.worldTransform();
        p.resetTransform();
        p.drawPolygon(corners.data(), 3);
        p.setTransform(twips);
    } else {
        p.drawPolygon(corners.data(), 3);
    }
}

void GraphPainter::drawEvents() {
    QFont flagFont = m_font;
    flagFont.setBold(false);
    setFont(twipsFont(flagFont, m_points - 3.5));
    enterDeviceSpace(flagFont, m_points - 3.5);
    const float t = m.PlotTop(), h = m.PlotHeight();
    const float minX = m.MinX(), maxX = m.MaxX();
    const int count = m.SampleDataCount();
    const int half = roundEven(count / 2.0);
    // A flag text goes on its row's side of the mark; where an earlier text is in the way,
    // on the other side; where both are taken it is left out, its mark still drawn.
    MarkTextPlaces places(textWidth(QStringLiteral(" ")));
    const auto printFlag = [&](const QString &text, float xp, float top, float otherTop) {
        const float width = textWidth(text);
        const float left = xp - width / 2;
        const float height = m_measure.TextHeight(text);
        const QRectF *place =
            places.take(QRectF(left, top, width, height), QRectF(left, otherTop, width, height));
        if (!place)
            return;
        m_cx = left;
        m_cy = float(place->y());
        print(text);
    };
    for (int slot = 0; slot < count; ++slot) {
        const SeriesEvents &events = m.events(slot);
        if (!events.EventVisible)
            continue;
        const qint32 color = m.series(slot).Color;
        const bool upper = slot < half;
        const float row = upper ? t + (float(slot) / 2 + 1) * kMarkRowDistance
                                : t + h - (float(slot) / 2 + 2) * kMarkRowDistance;
        for (int g = 0; g < m.usedEvents(slot); ++g) {
            const float x = float(events.Marks[std::size_t(g)].ElapsedSec);
            const QString &text = events.Flags[std::size_t(g)];
            if (!(minX <= x && x <= maxX) || text.isEmpty())
                continue;
            const float xp = m.xPos(x);
            drawMark(xp, row, 0, color);
            m.setMarkerY(slot, row);
            printFlag(text, xp, upper ? row - 240 : row + 120, upper ? row + 120 : row - 240);
        }
    }
    const CommonEventList &common = m.commonEvents();
    if (common.EventVisible) {
        const float row = t + h - 300;
        const int last = std::min(m.usedSamples(), kGraphEvents);
        for (int j = 0; j < last; ++j) {
            const float x = float(m.ElapsedSec(j));
            const QString &text = common.Flags[std::size_t(j)];
            if (!(minX <= x && x <= maxX) || text.isEmpty())
                continue;
            const float xp = m.xPos(x);
            drawMark(xp, row, 1, kCommonMarkColor);
            m.setCommonMarkerY(row);
            printFlag(text, xp, t + h - 180, row - 240);
        }
    }
    p.setBrush(Qt::NoBrush);
    leaveDeviceSpace();
    setFont(m_font);
}

} // namespace

QColor GraphColor(qint32 rgb) {
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

qint32 BlendColor(qint32 c1, qint32 c2, float ratio) {
    qint32 result = 0;
    for (int shift : {0, 8, 16}) {
        const int a = (c1 >> shift) & 0xFF;
        const int b = (c2 >> shift) & 0xFF;
        result |= roundEven(float(a - b) * ratio + float(b)) << shift;
    }
    return result;
}

QFont TwipsFont(const QFont &font, double pointDelta) {
    return twipsFont(font, pointSize(font) + pointDelta);
}

TwipsTextMeasure::TwipsTextMeasure(const QFont &twipsFont, QPaintDevice *device)
    : m_metrics(twipsFont, device) {}

float TwipsTextMeasure::TextWidth(const QString &text) const {
    return float(m_metrics.horizontalAdvance(text));
}

float TwipsTextMeasure::TextHeight(const QString &) const {
    return float(m_metrics.height());
}

float TwipsTextMeasure::Ascent() const {
    return float(m_metrics.ascent());
}

std::array<QPoint, 3> TrianglePoints(float x, float y, qint16 dir, float size, int dx, int dy) {
    const float halfBase = 0.83f * size;
    const float height = dir != 0 ? 2.2f * size : -2.2f * size;
    const int tipShift = dir != 0 ? 1 : -1;
    const auto point = [&](float px, float py) {
        return QPoint(roundEven(px / float(dx)), roundEven(py / float(dy)));
    };
    QPoint tip = point(x, y);
    tip.ry() += tipShift;
    return {tip, point(x - halfBase, y + height), point(x + halfBase, y + height)};
}

GraphPenPosition DrawGraph(GraphModel &model, const GraphSurface &surface, const QFont &font) {
    return GraphPainter(model, surface, font).run();
}

QSizeF SurfaceSizeTwips(const QPaintDevice *device) {
    if (!device)
        return {};
    return {device->width() * kTwipsPerInch / device->logicalDpiX(),
            device->height() * kTwipsPerInch / device->logicalDpiY()};
}

} // namespace tq
