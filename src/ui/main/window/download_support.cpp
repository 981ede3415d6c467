#include "ui/main/window/download_support.h"

#include "core/gui/dialogs.h"
#include "core/messages.h"

#include <cmath>

namespace tq {

bool AskYesNo(int message) {
    return ShowMessage({message, LoadMessage(message), LoadMessage(message + 1), BoxIcon::Question,
                        BoxButtons::YesNo}) == BoxAnswer::Yes;
}

bool ClockWarningDue(const Date &sysDateOffset) {
    return std::abs(sysDateOffset.days()) > 1.0;
}

} // namespace tq
