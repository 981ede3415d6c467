#pragma once

#include "ui/display/data_view_logs.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace tq {

class clsAlarm;
class uclVtmGraph;

// The graph's boxes by index: 0 to 4 the gas curves, then Event and Cursor.
inline constexpr int kEventBox = 5;
inline constexpr int kCursorBox = 6;

// What the page's boxes and zoom list show after a fill.
struct TrendGraphBoxes {
    QString gasTitle;        // chkBrowse(0) caption: GetGasTitle(log, 0)
    QColor gasColour;        // chkBrowse(0) fore colour: GraphColors(0)
    bool gasEnabled = false; // chkBrowse(0) ticked and visible
    QStringList zoomEntries; // cmbBrowse entries; the page selects entry 0
};

// The state of the page's Event and Cursor boxes, which a fill follows and never resets.
struct TrendGraphOptions {
    bool eventBox = false;
    bool cursorBox = false;
};

// Clears `graph` and fills it from the interval (logType 1, logs.ViewInterval) or alarm (2,
// logs.ViewAlarm) trend: series, titles, points, marks, SampleCount, SampleVisible/EventVisible
// of series 0 (and the common "Alarm" mark list 1000 of an alarm trend) as the boxes' click
// handlers would set them, CursorVisible from the Cursor box, Zoom 1 over the whole range,
// automatic Y, Refresh. The page sets its boxes and zoom list from the result with their
// signals blocked. Any other logType leaves the graph empty.
TrendGraphBoxes ShowTrendGraph(uclVtmGraph &graph, qint32 logType, DataViewLogs &logs,
                               const TrendGraphOptions &options);

// The same fill for an alarm trend held outside the page's log objects (the data view
// window's own).
TrendGraphBoxes ShowAlarmTrendGraph(uclVtmGraph &graph, const clsAlarm &log,
                                    const TrendGraphOptions &options);

// What a change of graph box `index` does to the graph: a gas box (0 to 4) shows or hides
// its curve, and its marks while the Event box is ticked; the Event box (5) shows or hides
// the marks of every series, curves that are off included, and the common marks; the Cursor
// box (6) the cursor. False for any other index (nothing changed). The caller redraws.
bool ApplyGraphBox(uclVtmGraph &graph, int index, bool ticked, bool eventBoxTicked);

} // namespace tq
