#include "graph/mark_text_places.h"

#include <algorithm>
#include <cmath>

namespace tq {

template <typename Visit> void MarkTextPlaces::forColumns(const QRectF &place, Visit visit) const {
    const int first = int(std::floor((place.left() - m_gap) / kColumnWidth));
    const int last = int(std::floor((place.right() + m_gap) / kColumnWidth));
    for (int column = first; column <= last; ++column)
        visit(column);
}

bool MarkTextPlaces::clear(const QRectF &place) const {
    const QRectF wide = place.adjusted(-m_gap, 0, m_gap, 0);
    bool clear = true;
    forColumns(place, [&](int column) {
        const auto it = m_taken.constFind(column);
        if (clear && it != m_taken.constEnd())
            clear = std::none_of(it->begin(), it->end(),
                                 [&](const QRectF &taken) { return taken.intersects(wide); });
    });
    return clear;
}

const QRectF *MarkTextPlaces::take(const QRectF &first, const QRectF &second) {
    for (const QRectF *place : {&first, &second}) {
        if (clear(*place)) {
            forColumns(*place, [&](int column) { m_taken[column].push_back(*place); });
            return place;
        }
    }
    return nullptr;
}

} // namespace tq
