#pragma once

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
    bool clear(const QRectF &place) const;

    double m_gap;
    std::vector<QRectF> m_taken;
};

} // namespace tq
