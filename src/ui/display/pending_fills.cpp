#include "ui/display/pending_fills.h"

namespace tq {

void FillAlarmTable(FlexGrid &, const clsAlarm &) {}
void ScrollAlarmRowToMiddle(FlexGrid &) {}
bool ShowBrowseData(FlexGrid &, FlexGrid &, DataViewLogs &, const BrowseDataRequest &request) {
    return request.logType != 0 && request.logType != 4 && request.logType != 8;
}

} // namespace tq
