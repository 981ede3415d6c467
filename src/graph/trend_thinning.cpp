#include "graph/trend_thinning.h"

#include <algorithm>

namespace tq {
namespace {

std::vector<qint32> changePoints(std::span<const float> values) {
    const auto count = static_cast<qint32>(values.size());
    std::vector<qint32> points;
    for (qint32 s = 0; s < count; ++s) {
        if (s == 0 || s == count - 1 || values[s] != values[s - 1] || values[s + 1] != values[s])
            points.push_back(s);
    }
    return points;
}

} // namespace

std::vector<qint32> ThinTrendSamples(std::span<const float> values, qint32 maxPoints) {
    std::vector<qint32> points = changePoints(values);
    if (static_cast<qint64>(points.size()) <= maxPoints)
        return points;
    // Between the first and the last sample each group gives at most two points.
    const qint64 inner = static_cast<qint64>(points.size()) - 2;
    const qint64 groups = std::max<qint64>(0, (maxPoints - 2) / 2);
    std::vector<qint32> kept{points.front()};
    for (qint64 g = 0; g < groups; ++g) {
        const auto begin = points.begin() + 1 + g * inner / groups;
        const auto end = points.begin() + 1 + (g + 1) * inner / groups;
        const auto byValue = [&](qint32 a, qint32 b) { return values[a] < values[b]; };
        // The first lowest and the first highest, so equal values keep their earliest.
        const auto low = std::min_element(begin, end, byValue);
        const auto high = std::max_element(begin, end, byValue);
        kept.push_back(std::min(*low, *high));
        if (*low != *high)
            kept.push_back(std::max(*low, *high));
    }
    kept.push_back(points.back());
    return kept;
}

} // namespace tq
