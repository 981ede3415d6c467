// Zoom window, scroll bar, cursor keys, mouse, mark search and coordinate conversions.
#include "graph/graph_model.h"

#include "core/date.h"
#include "core/gas_format.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tq {

namespace {

// Nearest whole number, halves to the even one.
int roundEven(double value) {
    return int(std::nearbyint(value));
}

constexpr qint16 kKeyLeft = 37;
constexpr qint16 kKeyUp = 38;
constexpr qint16 kKeyRight = 39;
constexpr qint16 kKeyDown = 40;

} // namespace

void GraphModel::setZoom(qint16 zoom) {
    const int n = usedSamples();
    // Factors below 1 give no window; with fewer than 2 samples there is none to zoom.
    if (n < 2 || zoom < 1)
        return;
    m_zoom = zoom;
    const double span = double(n) / zoom;
    m_scroll.Visible = zoom > 1;
    m_scroll.Minimum = 0;
    // However large the factor, the window keeps two samples and the bar a range.
    m_scroll.Maximum = std::clamp(roundEven(n - span - 1), 0, n - 2);
    const int windowLast = std::clamp(roundEven(span - 1), 1, n - 1);
    m_scroll.LargeChange = windowLast;
    m_scroll.SmallChange = 1;
    setScrollValue(0);
    m_minX = 0;
    m_maxX = float(m_elapsed[std::size_t(windowLast)]);
}

void GraphModel::setScrollValue(int value) {
    value = std::clamp(value, m_scroll.Minimum, std::max(m_scroll.Minimum, m_scroll.Maximum));
    if (value == m_scroll.Value)
        return;
    m_scroll.Value = value;
    applyScrollWindow();
    if (onScrollMoved)
        onScrollMoved();
}

void GraphModel::applyScrollWindow() {
    const int n = usedSamples();
    if (n < 2)
        return;
    const int v = std::clamp(m_scroll.Value, 0, n - 2);
    // The window ends on a sample in use, at least one after its first.
    const int last = std::clamp(roundEven(double(n) / std::max<int>(m_zoom, 1) + v), v + 1, n - 1);
    m_minX = float(m_elapsed[std::size_t(v)]);
    m_maxX = float(m_elapsed[std::size_t(last)]);
}

bool GraphModel::MoveCursorByKey(qint16 keyCode, qint16 shift, float pictureHeightPixels) {
    const int n = usedSamples();
    const float h = pictureHeightPixels;
    const bool shifted = (shift & 1) != 0;
    const float step = shifted ? 10.0f : 1.0f;
    switch (keyCode) {
    case kKeyLeft:
        if (shifted ? m_cursorIndex >= 10 : m_cursorIndex > 0) {
            m_cursorIndex -= step;
            return true;
        }
        return false;
    case kKeyRight:
        if (shifted ? m_cursorIndex < float(n - 11) : m_cursorIndex < float(n - 1)) {
            m_cursorIndex += step;
            return true;
        }
        return false;
    case kKeyUp:
        if (m_labelOffset > -h) {
            m_labelOffset -= step;
            return true;
        }
        return false;
    case kKeyDown:
        if (m_labelOffset < h) {
            m_labelOffset += step;
            return true;
        }
        return false;
    default:
        return false;
    }
}

void GraphModel::MoveCursorToX(float x) {
    const qint32 index = FindSampleIndex(xData(x));
    // Without samples there is nothing to select: the cursor stays.
    if (index >= 0)
        m_cursorIndex = float(index);
}

qint32 GraphModel::FindSampleIndex(float x) const {
    const int n = usedSamples();
    if (x <= float(m_elapsed[0]))
        return 0;
    if (n > 0 && ascendingThrough(n - 1)) {
        const auto begin = m_elapsed.begin();
        const auto it = std::upper_bound(begin, begin + n, double(x),
                                         [](double v, qint32 s) { return v < double(s); });
        return it == begin + n ? n - 1 : qint32(it - begin);
    }
    for (int i = 0; i < n; ++i)
        if (float(m_elapsed[std::size_t(i)]) > x)
            return i;
    return n - 1;
}

QString GraphModel::CursorReadout() {
    const int n = usedSamples();
    int c = std::clamp(int(m_cursorIndex), 0, std::max(n - 1, 0));
    const auto x = [this](int i) { return float(m_elapsed[std::size_t(i)]); };
    // The cursor lands on the last sample at or before the window edge it left by, and
    // always on a sample in use.
    const auto pullTo = [&](float edge) {
        c = FindSampleIndex(edge);
        if (x(c) < edge)
            c = std::min(c + 1, n - 1);
        if (x(c) > edge)
            c = std::max(c - 1, 0);
    };
    if (n > 0) {
        if (x(c) < m_minX)
            pullTo(m_minX);
        else if (x(c) > m_maxX)
            pullTo(m_maxX);
    }
    m_cursorIndex = float(c);
    m_formatX = kGraphFormatX;

    static const QString lineEnd = QStringLiteral("\r\n");
    QString caption = QLatin1Char('[') + Date(m_dates[std::size_t(c)]).format(kGraphQtFormatX) +
                      QLatin1Char(']') + lineEnd;
    for (int s = 0; s < SampleDataCount(); ++s) {
        GraphSeries &series = m_series[std::size_t(s)];
        if (!series.Visible)
            continue;
        if (series.FormatY.isEmpty())
            series.FormatY = QStringLiteral("##0.0");
        const float value = series.Values[std::size_t(c)];
        caption += series.Name + QStringLiteral(" : ") +
                   (IsMissingSample(value) ? QStringLiteral("-----")
                                           : FormatNumber(value, series.FormatY)) +
                   lineEnd;
    }
    return caption;
}

CursorPlacement GraphModel::PlaceCursor(float labelWidth, float labelHeight, float tppx,
                                        float tppy) const {
    const std::size_t c = std::size_t(m_cursorIndex);
    const float t = m_plotTop;
    const float h = m_plotHeight;
    CursorPlacement p;
    p.LineX = xPos(float(m_elapsed[c]));
    p.LineTop = t + tppy;
    p.LineBottom = t + h - tppy;
    // The label's bottom sits at the lowest value under the cursor, kept on the plot.
    float lowest = t;
    for (int s = 0; s < SampleDataCount(); ++s)
        lowest = std::max(lowest, yPos(m_series[std::size_t(s)].Values[c], qint16(s)));
    lowest = std::min(lowest, t + h);
    p.LabelTop = lowest - labelHeight + m_labelOffset * tppy;
    const float x = float(m_elapsed[c]);
    p.LabelLeft =
        x <= m_minX + (m_maxX - m_minX) / 2 ? p.LineX + 2 * tppx : p.LineX - labelWidth - 2 * tppx;
    return p;
}

void GraphModel::SearchEvent(float valueX, qint32 valueY, double &evtDate, QString &evtName) const {
    double bestDate = 0;
    QString bestText;
    qint32 bestDx = 99999999;
    qint32 bestDy = 99999999;
    if (m_minX <= valueX && valueX <= m_maxX) {
        for (int s = 0; s < SampleDataCount(); ++s) {
            const SeriesEvents &events = m_events[std::size_t(s)];
            for (int g = 0; g < usedEvents(s); ++g) {
                if (events.Flags[std::size_t(g)].isEmpty())
                    continue;
                const EventMark &mark = events.Marks[std::size_t(g)];
                const double dx = std::fabs(double(mark.ElapsedSec) - valueX);
                const double dy = std::fabs(double(events.MarkerY) - valueY);
                if (dx < bestDx) {
                    bestDx = roundEven(dx);
                    bestDy = roundEven(dy);
                } else if (dx == bestDx && dy < bestDy) {
                    bestDy = roundEven(dy);
                } else {
                    continue;
                }
                bestDate = mark.X;
                bestText = events.Flags[std::size_t(g)];
            }
        }
    }
    if ((m_maxX - m_minX) / 40 > bestDx && bestDy < 180) {
        evtDate = bestDate;
        evtName = bestText;
    } else {
        evtDate = 0;
        evtName.clear();
    }
}

float GraphModel::xPos(float vals) const {
    return (vals - m_minX) * m_xScale + m_plotLeft;
}

float GraphModel::yPos(float vals, qint16 sampleNum) const {
    checkSlot(sampleNum);
    const GraphSeries &s = m_series[std::size_t(sampleNum)];
    return m_plotTop + m_plotHeight - (vals - s.MinY) * s.YScale;
}

float GraphModel::xData(float vals) const {
    if (m_xScale == 0)
        return m_minX;
    return (vals - m_plotLeft) / m_xScale + m_minX;
}

float GraphModel::yData(float vals, qint16 sampleNum) const {
    checkSlot(sampleNum);
    const GraphSeries &s = m_series[std::size_t(sampleNum)];
    if (s.YScale == 0)
        return s.MinY;
    return (m_plotTop + m_plotHeight - vals) / s.YScale + s.MinY;
}

} // namespace tq
