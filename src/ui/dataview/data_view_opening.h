#pragma once

#include <QIcon>

#include <array>

namespace tq {

// What the data view window takes from the window that opens it, at every opening: the
// opener's outer size in twips, whether its summary grid is shown, its Table and Graph
// options, its seven graph boxes (0 to 4 the gas curves, 5 Event, 6 Cursor) and its four
// trend images.
struct DataViewOpening {
    double width = 0;
    double height = 0;
    bool summaryVisible = true;
    std::array<bool, 2> options{true, false};
    std::array<bool, 7> boxes{};
    QIcon Interval0;
    QIcon IntervalG;
    QIcon Alarm0;
    QIcon AlarmG;
};

} // namespace tq
