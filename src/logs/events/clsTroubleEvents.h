#pragma once

#include "logs/events/clsTroubleEvent.h"
#include "logs/events/gas_event_collection.h"

namespace tq {

// The trouble-event logs of the area 0x60000..0x6FFFF. Text record codes "DA".."DD",
// "D0".."D5" (event lines need 24 characters).
class clsTroubleEvents : public GasEventCollection<clsTroubleEvent, LogFamily::TroubleEvent> {
public:
    clsTroubleEvents() : GasEventCollection(FlashAreas::TroubleEvents, QChar('D'), 5, 24) {}
};

} // namespace tq
