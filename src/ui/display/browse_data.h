#pragma once

#include "ui/display/trend_tables.h"

#include <QtGlobal>

namespace tq {

class FlexGrid;
struct DataViewLogs;

// What the Data View page asks of a fill: the selected log and the page's switches.
struct BrowseDataRequest {
    qint32 logType = 0;
    qint64 seqNo = 0;
    bool tableSelected = false;      // the Table option rather than Graph
    IntervalTableOptions interval{}; // Event Only box, debug mode, condensed view
};

// Fills the summary grid for the selected log (FillViewSummary) and, while Table is
// selected, its record table from the log's object in `logs` or, for event and
// sensor-change logs (types 5, 6, 7, 12), from the database at DatabasePath, which is
// opened only for them. A bar-hole trend (type 9) leaves the table cleared whichever option
// is selected; with Graph selected every other table keeps its content. The table's
// redrawing is off during the fill and on again, with one refresh, at the end, also when
// a fill throws (the TqError then passes on). The alarm table is not scrolled here: the
// page calls ScrollAlarmRowToMiddle once the table is laid out. Returns FillViewSummary's
// result: false when the page is to hide the summary grid.
bool ShowBrowseData(FlexGrid &summary, FlexGrid &table, DataViewLogs &logs,
                    const BrowseDataRequest &request);

} // namespace tq
