#include "ui/common/control_names.h"

#include "core/gui/layout_geometry.h"

#include <algorithm>

namespace tq {

QString IndexedName(const char *name, int index) {
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

double FittedWidth(const QWidget *control) {
    return std::max(W(control), double(PixelsToTwipsX(control->sizeHint().width())));
}

} // namespace tq
