#include "logs/events/clsAlarmEvent.h"
#include "logs/events/clsTroubleEvent.h"

namespace tq {

namespace {

const GasEventKind kAlarmEvents{LogType::AlarmEvents, QStringLiteral("Alarm Events"),
                                QStringLiteral("Alarm_Event"), QStringLiteral("ae"), false};
const GasEventKind kTroubleEvents{LogType::TroubleEvents, QStringLiteral("Trouble Events"),
                                  QStringLiteral("Trouble_Event"), QStringLiteral("te"), true};

} // namespace

clsAlarmEvent::clsAlarmEvent() : GasEventLog(kAlarmEvents) {}
clsTroubleEvent::clsTroubleEvent() : GasEventLog(kTroubleEvents) {}

} // namespace tq
