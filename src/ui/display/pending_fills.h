#pragma once

// Stand-ins for the summary and record-table fills until they land: the same
// declarations, doing nothing.

#include "ui/display/data_view_logs.h"

namespace tq {

class FlexGrid;

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

} // namespace tq
