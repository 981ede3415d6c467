#include "ui/common/column_widths.h"

#include "core/gui/flex_grid.h"
#include "core/gui/twips.h"

#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace tq {

namespace {

using Widths = std::vector<std::optional<double>>;

// Column fractions of the grid's width; the caller rounds them.
Widths fractions(std::initializer_list<double> values) {
    Widths out;
    for (double v : values)
        out.push_back(v);
    return out;
}

// First column `first`, then `count` columns of `each`.
Widths firstAndShares(double first, int count, double each) {
    Widths out{first};
    out.insert(out.end(), std::size_t(std::max(count, 0)), each);
    return out;
}

// The share of one of the n - 1 columns after the first (none when there is only one).
double shareAfterFirst(double rest, int n) {
    return n > 1 ? rest / (n - 1) : 0;
}

Widths instGrid(int n, const QString &language) {
    if (language != QLatin1String("EN") && language != QLatin1String("JP"))
        return {};
    if (n == 5)
        return fractions({0.19, 0.25, 0.12, 0.12});
    if (n == 6)
        return fractions({0.19, 0.25, 0.12, 0.12, 0.12});
    return {};
}

Widths logGrid(int n, const QString &language) {
    const bool english = language == QLatin1String("EN");
    switch (n) {
    case 2:
        return fractions({0.3});
    case 3:
        return fractions({0.3, 0.7 / 2});
    case 4:
        return fractions({0.3, 0.7 / 3, 0.7 / 3});
    case 5:
        return english ? firstAndShares(0.25, 3, 0.7 / 4) : firstAndShares(0.2, 3, 0.8 / 4);
    case 7:
        return english ? Widths{} : firstAndShares(0.2, 5, 0.8 / 6);
    default:
        return {};
    }
}

Widths browseGrid(int n, bool dataViewWindow) {
    switch (n) {
    case 2:
        return fractions({0.29});
    case 3:
        return fractions({0.29, 0.71 / 2});
    case 4:
        return fractions({0.07, 0.22, 0.71 / 2});
    case 5:
        return fractions({0.1, 0.3, 0.2, 0.2});
    case 6:
        return fractions({0.07, 0.19, 0.74 / 4, 0.74 / 4, 0.74 / 4});
    case 7:
        return fractions({0.07, 0.22, 0.14, 0.14, 0.14, 0.14});
    case 8: {
        // The window's first two columns are wider and its six value columns narrower.
        Widths all = dataViewWindow ? fractions({0.07, 0.19}) : fractions({0.05, 0.19});
        all.insert(all.end(), 6, dataViewWindow ? 0.74 / 6 : 0.75 / 6);
        return all;
    }
    case 9:
        return fractions({0.05, 0.16, 0.07, 0.12, 0.12, 0.12, 0.12, 0.12});
    default:
        return {};
    }
}

} // namespace

std::vector<std::optional<double>> ColumnWidths(LayoutGrid grid, int n, double width,
                                                const QString &language) {
    Widths share;
    switch (grid) {
    case LayoutGrid::Inst:
        share = instGrid(n, language);
        break;
    case LayoutGrid::InstSensor:
        // The last column (TWA) keeps its share: narrowed to 100 twips, as first laid out,
        // its values could not be read.
        if (n >= 1)
            share = firstAndShares(0.25, n - 1, shareAfterFirst(0.75, n));
        break;
    case LayoutGrid::Log:
        share = logGrid(n, language);
        break;
    case LayoutGrid::Browse:
    case LayoutGrid::DataViewBrowse:
        share = browseGrid(n, grid == LayoutGrid::DataViewBrowse);
        break;
    case LayoutGrid::Summary:
        if (n >= 2)
            share = firstAndShares(0.26, n - 2, shareAfterFirst(0.74, n));
        break;
    case LayoutGrid::DataViewSummary:
        // A quarter of the rest for each column between the first and the last.
        if (n >= 2)
            share = firstAndShares(0.26, n - 2, 0.74 / 4);
        break;
    case LayoutGrid::History:
        if (n >= 1)
            share = firstAndShares(0.06, n - 1, shareAfterFirst(0.94, n));
        break;
    case LayoutGrid::Option:
        if (n >= 1 && (language == QLatin1String("EN") || language == QLatin1String("JP"))) {
            const double first = language == QLatin1String("EN") ? 0.15 : 0.13;
            // The last column (Auto Cal.) keeps its share, as that of the alarm-level grid.
            share = firstAndShares(first, n - 1, shareAfterFirst(1 - first, n));
        }
        break;
    case LayoutGrid::Cal:
        share = fractions({0.3, 0.1, 0.3});
        break;
    }
    share.resize(std::min<std::size_t>(share.size(), std::size_t(std::max(n, 0))));
    for (auto &value : share)
        if (value)
            value = std::nearbyint(*value * width); // halves to even
    return share;
}

void ApplyColumnWidths(FlexGrid &grid, LayoutGrid kind, const QString &languageCode) {
    // Whether the vertical scroll bar takes its part of the width follows from the rows a
    // fill just added: its range is set by the layout at once, while it is shown or hidden
    // only at the next event.
    grid.TopRow(); // brings the view up to the grid's rows (a member that needs the layout)
    grid.doItemsLayout();
    const QScrollBar &bar = *grid.verticalScrollBar();
    const Qt::ScrollBarPolicy policy = grid.verticalScrollBarPolicy();
    const bool barShown = policy == Qt::ScrollBarAlwaysOn ||
                          (policy == Qt::ScrollBarAsNeeded && bar.maximum() > bar.minimum());
    int innerPixels = grid.width() - 2 * grid.frameWidth();
    if (barShown)
        innerPixels -= bar.isVisible() ? bar.width() : bar.sizeHint().width();
    const double inner = PixelsToTwipsX(innerPixels);
    const auto widths = ColumnWidths(kind, grid.Cols(), inner, languageCode);
    for (std::size_t i = 0; i < widths.size(); ++i)
        if (widths[i])
            grid.SetColWidth(int(i), int(std::lround(*widths[i])));
    // The last column takes what the others leave, so rounding never adds a horizontal
    // scroll bar and a column without a share of its own never leaves a gap or overflows.
    const int last = grid.Cols() - 1;
    if (widths.empty() || last < 1)
        return;
    int used = 0;
    for (int col = 0; col < last; ++col)
        used += grid.columnWidth(col);
    if (innerPixels - used > 0)
        grid.SetColWidth(last, PixelsToTwipsX(innerPixels - used));
}

std::vector<int> FitToContents(const std::vector<int> &shares, const std::vector<int> &needs) {
    std::vector<int> widths = shares;
    qint64 missing = 0;
    qint64 spare = 0;
    for (std::size_t i = 0; i < shares.size() && i < needs.size(); ++i) {
        if (needs[i] > shares[i])
            missing += needs[i] - shares[i];
        else
            spare += shares[i] - needs[i];
    }
    if (missing == 0 || spare == 0)
        return widths;
    const qint64 moved = std::min(missing, spare);
    qint64 given = 0;
    qint64 taken = 0;
    for (std::size_t i = 0; i < shares.size() && i < needs.size(); ++i) {
        if (needs[i] > shares[i]) {
            const qint64 part = (needs[i] - shares[i]) * moved / missing;
            widths[i] += int(part);
            given += part;
        } else {
            const qint64 part = (shares[i] - needs[i]) * moved / spare;
            widths[i] -= int(part);
            taken += part;
        }
    }
    // What the rounding left goes to the column that lacks most, or comes from the one
    // with most to spare, keeping the sum.
    const qint64 left = taken - given;
    if (left != 0) {
        const auto room = [&](std::size_t i) { return widths[i] - needs[i]; };
        std::size_t pick = 0;
        for (std::size_t i = 1; i < std::min(widths.size(), needs.size()); ++i)
            if (left > 0 ? room(i) < room(pick) : room(i) > room(pick))
                pick = i;
        widths[pick] += int(left);
    }
    return widths;
}

} // namespace tq
