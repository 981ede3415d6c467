#pragma once

#include "core/gui/flex_grid.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QString>

namespace tq::test {

// What keeps a shown grid's heading rows from being read, or an empty text when every
// heading row is drawn whole, right above the first scrolling row and inside the grid.
inline QString HeadingRowsFault(const FlexGrid &grid) {
    const int fixed = std::min(grid.FixedRows(), grid.Rows());
    if (fixed == 0)
        return {};
    const auto *heads = grid.findChild<QTableView *>(QStringLiteral("FlexGridHeadings"),
                                                     Qt::FindDirectChildrenOnly);
    if (heads == nullptr)
        return QStringLiteral("no heading view");
    if (!heads->isVisible())
        return QStringLiteral("heading view hidden");
    int height = 0;
    for (int row = 0; row < fixed; ++row)
        height += heads->rowHeight(row);
    const QRect area = heads->geometry();
    const QRect viewport = grid.viewport()->geometry();
    if (area.height() != height || height <= 0)
        return QStringLiteral("heading view %1 px high for %2 px of rows")
            .arg(area.height())
            .arg(height);
    if (!grid.rect().contains(area) || area.bottom() + 1 != viewport.top())
        return QStringLiteral("heading view at y %1, the rows start at y %2")
            .arg(area.top())
            .arg(viewport.top());
    if (heads->verticalScrollBar()->value() != 0 || heads->rowAt(0) != 0)
        return QStringLiteral("heading rows scrolled by %1")
            .arg(heads->verticalScrollBar()->value());
    return {};
}

} // namespace tq::test
