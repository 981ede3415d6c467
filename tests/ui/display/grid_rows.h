#pragma once

#include "core/gui/flex_grid.h"

#include <QStringList>

namespace tq::test {

// The grid's rows, cells joined by "|".
inline QStringList GridRows(const FlexGrid &grid) {
    QStringList rows;
    for (int r = 0; r < grid.Rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.Cols(); ++c)
            cells << grid.TextMatrix(r, c);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace tq::test
