#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace tq {

class FlexGrid;

// The grids of the main window whose column widths the layout derives from their width.
// DataViewBrowse and DataViewSummary are the data view window's record table and summary,
// which share the Data View page's fractions but for eight columns and the summary's shares.
enum class LayoutGrid {
    Inst,
    InstSensor,
    Log,
    Browse,
    Summary,
    History,
    Option,
    Cal,
    DataViewBrowse,
    DataViewSummary
};

// The column widths, in whole twips, that the layout gives a grid of `width` twips and
// `columns` columns, for the message table's language code ("EN" or "JP"). An element
// without a value is a column that keeps its width; the result may be shorter than the
// column count (the columns after it keep theirs too).
std::vector<std::optional<double>> ColumnWidths(LayoutGrid grid, int columns, double width,
                                                const QString &languageCode);

// Sets the grid's column widths by ColumnWidths from its inner width (less a shown
// vertical scroll bar), so columns that fill it need no horizontal scroll bar.
void ApplyColumnWidths(FlexGrid &grid, LayoutGrid kind, const QString &languageCode);

// Column widths of `shares` (pixels) moved towards what each column's texts need: a
// column too narrow for its texts takes room from columns wider than theirs, never more
// than they can spare, so the columns keep their sum; where the spare room is not enough,
// each narrow column gets its part of it. Shares that fit everything are kept.
std::vector<int> FitToContents(const std::vector<int> &shares, const std::vector<int> &needs);

} // namespace tq
