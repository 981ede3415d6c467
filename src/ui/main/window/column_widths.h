#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace tq {

// The grids of the main window whose column widths the layout derives from their width.
enum class LayoutGrid { Inst, InstSensor, Log, Browse, Summary, History, Option, Cal };

// The column widths, in whole twips, that the layout gives a grid of `width` twips and
// `columns` columns, for the message table's language code ("EN" or "JP"). An element
// without a value is a column that keeps its width; the result may be shorter than the
// column count (the columns after it keep theirs too).
std::vector<std::optional<double>> ColumnWidths(LayoutGrid grid, int columns, double width,
                                                const QString &languageCode);

} // namespace tq
