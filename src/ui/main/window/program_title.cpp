#include "ui/main/window/program_title.h"

#include "core/messages.h"

namespace tq {

QString ProgramPartNumber() {
    return LoadMessage(101) == QLatin1String("JP") ? QStringLiteral("07318")
                                                   : QStringLiteral("07319");
}

} // namespace tq
