#pragma once

namespace tq {

class FlexGrid;
class clsAlarm;
class clsInterval;

// The switches that shape the interval trend's record table.
struct IntervalTableOptions {
    bool eventOnly = false;     // the Event Only box: event rows only
    bool debugMode = false;     // unit changes listed as rows of their own
    bool condensedView = false; // the log was loaded condensed
};

// The record table of an interval trend: samples and events merged in time order, numbered
// from 1, event cells in their status colour. Unit changes are hidden unless in debug mode;
// a failure event that ends the recording (fix001) ends the listing at its time, the rows
// after it staying empty. Also writes the summary's Sampling Date/Time (when the listing
// ended early and the log has an end date) and Data Count (without the hidden unit changes)
// again. Walks the log's merge cursor (getOrder), hence the log is not const.
void FillIntervalTable(FlexGrid &table, FlexGrid &summary, clsInterval &log,
                       const IntervalTableOptions &options);

// The record table of an alarm trend: every sample numbered from 1, the row of the alarm
// moment (row 361) red in its time and value cells.
void FillAlarmTable(FlexGrid &table, const clsAlarm &log);

// Scrolls the alarm moment's row to the middle of the laid-out table: TopRow 1, then with B
// the last row shown, TopRow 361 - B / 2 + 1 rounded to the nearest whole row, halves to even.
void ScrollAlarmRowToMiddle(FlexGrid &table);

} // namespace tq
