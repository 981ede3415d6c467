#include "ui/display/browse_data.h"

#include "core/database.h"
#include "core/gui/flex_grid.h"
#include "core/program_state.h"
#include "ui/display/data_view_logs.h"
#include "ui/display/event_tables.h"
#include "ui/display/history_tables.h"
#include "ui/display/view_summary.h"

namespace tq {
namespace {

// Switches the table's redrawing off for a fill (when there is one) and on again, with one
// refresh, however the fill ends.
class RedrawPause {
public:
    RedrawPause(FlexGrid &table, bool filling) : m_table(table) {
        if (filling)
            m_table.SetRedraw(false);
    }
    ~RedrawPause() {
        m_table.SetRedraw(true);
        m_table.Refresh();
    }
    RedrawPause(const RedrawPause &) = delete;
    RedrawPause &operator=(const RedrawPause &) = delete;

private:
    FlexGrid &m_table;
};

void fillTable(FlexGrid &summary, FlexGrid &table, DataViewLogs &logs,
               const BrowseDataRequest &request) {
    switch (request.logType) {
    case 1:
        FillIntervalTable(table, summary, logs.ViewInterval, request.interval);
        break;
    case 2:
        FillAlarmTable(table, logs.ViewAlarm);
        break;
    case 3:
    case 10:
        FillHistoryTable(table, logs.ViewHistory, request.logType == 10);
        break;
    case 11:
        FillSnapShotTable(table, logs.ViewSnapShot);
        break;
    case 5:
    case 6:
    case 7: {
        Database db(Globals().DatabasePath);
        FillEventTable(table, db, request.seqNo, request.logType);
        break;
    }
    case 12: {
        Database db(Globals().DatabasePath);
        FillSensorChangeTable(table, summary, db, request.seqNo);
        break;
    }
    default:
        break;
    }
}

} // namespace

bool ShowBrowseData(FlexGrid &summary, FlexGrid &table, DataViewLogs &logs,
                    const BrowseDataRequest &request) {
    const bool shown = FillViewSummary(summary, request.logType, logs);
    const RedrawPause pause(table, request.tableSelected);
    if (request.tableSelected)
        fillTable(summary, table, logs, request);
    // A bar-hole trend has no record table.
    if (request.logType == 9)
        table.Clear();
    return shown;
}

} // namespace tq
