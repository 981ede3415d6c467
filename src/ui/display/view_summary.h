#pragma once

#include <QString>
#include <QtGlobal>

namespace tq {

class Date;
class FlexGrid;
class clsAlarm;
struct DataViewLogs;

// Fills the Data View summary grid for logType from its object in `logs`: property/value
// rows of the trend (types 1, 9, 2), event and history (3, 5, 6, 7, 10) and snapshot (11)
// layouts. A never-loaded object shows its cleared values. Types 4, 8 and any unlisted type:
// the grid is cleared to one column and one row and the result is false (the page hides
// it). Type 12: the grid is left as it is (the sensor-change table fills it); true. Every
// other listed type: true (the page shows the grid again).
bool FillViewSummary(FlexGrid &summary, qint32 logType, const DataViewLogs &logs);

// Which level rows of an alarm trend's summary follow the gas's enable flag: on the Data
// View page the warning and alarm levels only (STEL and TWA always show their values), in
// the data view window all four.
enum class AlarmSummaryLevels { StelTwaAlways, FollowEnable };

// The alarm trend's summary (13 rows, the layout of FillViewSummary's type 2).
void FillAlarmSummary(FlexGrid &summary, const clsAlarm &log, AlarmSummaryLevels levels);

// Rows 2 and 6 of the interval summary, which the interval record table writes again.
inline constexpr int kSummaryPeriodRow = 2;
inline constexpr int kSummaryCountRow = 6;

} // namespace tq
