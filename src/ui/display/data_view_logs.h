#pragma once

#include "logs/events/clsAlarmEvent.h"
#include "logs/events/clsHistory.h"
#include "logs/events/clsPowerEvent.h"
#include "logs/events/clsSnapShot.h"
#include "logs/events/clsTroubleEvent.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/clsInterval.h"

namespace tq {

// The log objects of the Data View page, one per log family. The page loads the one of the
// selected log's family; the others keep their last content. The fills, the trend search,
// the export and the printout read the one that belongs to the selected LogType.
struct DataViewLogs {
    clsInterval ViewInterval;         // types 1 and 9
    clsAlarm ViewAlarm;               // type 2
    clsHistory ViewHistory;           // types 3 and 10
    clsAlarmEvent ViewAlarmEvent;     // type 5
    clsTroubleEvent ViewTroubleEvent; // type 6
    clsPowerEvent ViewPowerEvent;     // type 7
    clsSnapShot ViewSnapShot;         // type 11
};

} // namespace tq
