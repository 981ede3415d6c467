#pragma once

#include <QHash>
#include <QRectF>

#include <vector>

namespace tq {

// The places the flag texts of one paint have taken. Marks a few seconds apart on a long
// trend fall on nearly the same x, and texts drawn over each other read as one word; a
// text is only drawn where it stays clear of every text drawn before it.
class MarkTextPlaces {
public:
    // `gap` is the least room kept on either side of a text.
    explicit MarkTextPlaces(double gap) : m_gap(gap) {}

    // The first of the candidate places that is clear, taken; nullptr when none is.
    const QRectF *take(const QRectF &first, const QRectF &second);

private:
    // Taken places are kept by the columns of the plot they touch, so a look at a place
    // costs its neighbours only: a trend may carry thousands of marks.
    static constexpr double kColumnWidth = 1000;
    template <typename Visit> void forColumns(const QRectF &place, Visit visit) const;
    bool clear(const QRectF &place) const;

    double m_gap;
    QHash<int, std::vector<QRectF>> m_taken;
};

} // namespace tq
