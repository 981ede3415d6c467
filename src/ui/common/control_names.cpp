#include "ui/common/control_names.h"

namespace tq {

QString IndexedName(const char *name, int index) {
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

} // namespace tq
