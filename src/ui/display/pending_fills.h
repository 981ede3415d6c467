#pragma once

// Stand-ins for the summary, record-table and graph fills until they land: the same
// declarations, doing nothing.

#include "ui/display/data_view_logs.h"

#include <QColor>
#include <QString>
#include <QStringList>

namespace tq {

class FlexGrid;
class uclVtmGraph;

struct IntervalTableOptions {
    bool eventOnly = false;
    bool debugMode = false;
    bool condensedView = false;
};
void FillAlarmTable(FlexGrid &table, const clsAlarm &log);
void ScrollAlarmRowToMiddle(FlexGrid &table);

struct BrowseDataRequest {
    qint32 logType = 0;
    qint64 seqNo = 0;
    bool tableSelected = false;
    IntervalTableOptions interval;
};
bool ShowBrowseData(FlexGrid &summary, FlexGrid &table, DataViewLogs &logs,
                    const BrowseDataRequest &request);

struct TrendGraphBoxes {
    QString gasTitle;
    QColor gasColour;
    bool gasEnabled = false;
    QStringList zoomEntries;
};
struct TrendGraphOptions {
    bool eventBox = false;
    bool cursorBox = false;
};
TrendGraphBoxes ShowTrendGraph(uclVtmGraph &graph, qint32 logType, DataViewLogs &logs,
                               const TrendGraphOptions &options);

} // namespace tq
