#include "graph/mark_text_places.h"

#include <algorithm>

namespace tq {

bool MarkTextPlaces::clear(const QRectF &place) const {
    const QRectF wide = place.adjusted(-m_gap, 0, m_gap, 0);
    return std::none_of(m_taken.begin(), m_taken.end(),
                        [&](const QRectF &taken) { return taken.intersects(wide); });
}

const QRectF *MarkTextPlaces::take(const QRectF &first, const QRectF &second) {
    for (const QRectF *place : {&first, &second}) {
        if (clear(*place)) {
            m_taken.push_back(*place);
            return place;
        }
    }
    return nullptr;
}

} // namespace tq
