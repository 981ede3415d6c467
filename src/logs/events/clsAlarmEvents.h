#pragma once

#include "logs/events/clsAlarmEvent.h"
#include "logs/events/gas_event_collection.h"

namespace tq {

// The alarm-event logs of the area 0x50000..0x5FFFF. Text record codes "CA".."CD",
// "C0".."C4" (event lines need 25 characters).
class clsAlarmEvents : public GasEventCollection<clsAlarmEvent, LogFamily::AlarmEvent> {
public:
    clsAlarmEvents() : GasEventCollection(FlashAreas::AlarmEvents, QChar('C'), 4, 25) {}
};

} // namespace tq
