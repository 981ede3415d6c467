// Plot rectangle, X window and the Y scale of every series.
#include "graph/graph_model.h"

#include <algorithm>
#include <cmath>

namespace tq {

namespace {

constexpr float kLeftMargin = 710;
constexpr float kTopMargin = 120;
constexpr float kReservePerSeries = 240;

} // namespace

void GraphModel::CalcLayout(const GraphTextMeasure &measure, const GraphArea &area) {
    m_formatX = kGraphFormatX;
    const int titles = int(!TitleTop.isEmpty()) + int(!TitleBottom.isEmpty());
    float reserve = 0;
    for (int s = 0; s < SampleDataCount(); ++s)
        reserve += measure.TextWidth(m_series[std::size_t(s)].FormatY) + kReservePerSeries;
    reserve *= 2;

    // One title line is measured on the bottom title, also for the top margin.
    const float titleHeight = measure.TextHeight(TitleBottom);
    const float left = area.OnPicture ? 0 : SetDrawLeft;
    const float top = area.OnPicture ? 0 : SetDrawTop;
    const float width = area.OnPicture ? area.ScaleWidth : SetDrawWidth;
    const float height = area.OnPicture ? area.ScaleHeight : SetDrawHeight;
    m_plotLeft = left + kLeftMargin;
    m_plotTop = top + kTopMargin + (titles > 0 ? titleHeight : 0);
    m_plotWidth = width - reserve;
    m_plotHeight =
        height - measure.TextHeight(QStringLiteral("8")) - (titles + 1) * titleHeight - kTopMargin;
    if (m_plotWidth <= 0)
        m_plotWidth = 1;
    if (m_plotHeight <= 0)
        m_plotHeight = 1;

    if (m_maxX == 0)
        m_minX = 0;
    if (m_maxX <= 0 || m_minX >= m_maxX) {
        const int n = usedSamples();
        qint32 largest = m_elapsed[0];
        for (int i = 1; i < n; ++i)
            largest = std::max(largest, m_elapsed[std::size_t(i)]);
        m_maxX = float(largest);
    }
    m_posXStp = (m_maxX - m_minX) / 10;
    m_xScale = m_maxX == m_minX ? 0 : m_plotWidth / (m_maxX - m_minX);
    CalcScaleY();
}

void GraphModel::CalcScaleY() {
    const std::size_t n = std::size_t(usedSamples());
    for (int s = 0; s < SampleDataCount(); ++s) {
        GraphSeries &series = m_series[std::size_t(s)];
        const float step = series.FullScale >= 10 ? 10.0f : 1.0f;
        const auto begin = series.Values.begin();
        const auto [lo, hi] =
            n > 0 ? std::minmax_element(begin, begin + std::ptrdiff_t(n)) : std::pair{begin, begin};
        if (series.MaxY == 0) {
            const float m = *lo;
            if (m >= 0)
                series.MinY = 0;
            else if (m >= kMissingSample)
                series.MinY = -float(std::nearbyint(1.2 * -m));
            else
                series.MinY = -float(std::nearbyint(-m));
        }
        if (series.MaxY <= 0 || series.MinY >= series.MaxY) {
            const float m = *hi;
            if (m > kMissingSample) {
                const double q = std::trunc(std::nearbyint(1.2 * m) / step);
                series.MaxY = float(step * (q + 1));
            } else {
                series.MaxY = 0;
            }
        }
        series.PosYStp = (series.MaxY - series.MinY) / 10;
        series.YScale = series.MaxY == series.MinY ? 0 : m_plotHeight / (series.MaxY - series.MinY);
    }
}

} // namespace tq
