#include "ui/display/trend_file_notice.h"

#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "logs/trend/trend_file.h"

namespace tq {

void TellTrendFileFault(const TrendFileCheck &check) {
    if (const int message = TrendFileFaultMessage(check))
        ShowMessage({message, LoadMessage(message, {check.path}), LoadMessage(5151),
                     BoxIcon::Warning, BoxButtons::Ok});
}

} // namespace tq
