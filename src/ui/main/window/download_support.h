#pragma once

#include "core/date.h"

#include <QString>

namespace tq {

// Asks message `message` in a Yes/No box titled with the next message; true for Yes.
bool AskYesNo(int message);

// True when the detector's clock is more than a day off the PC's (PC time minus detector
// time, in days); exactly one day is not.
bool ClockWarningDue(const Date &sysDateOffset);

} // namespace tq
