#include "core/program_title.h"

#include "core/messages.h"

namespace tq {

QString ProgramPartNumber() {
    return LoadMessage(101) == QLatin1String("JP") ? QStringLiteral("07318")
                                                   : QStringLiteral("07319");
}

QString ProgramWindowTitle() {
    return LoadMessage(5001) + QStringLiteral(" [P.No.") + ProgramPartNumber() + QLatin1Char(']');
}

} // namespace tq
