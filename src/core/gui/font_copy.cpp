#include "core/gui/font_copy.h"

#include <QFont>

namespace tq {

void CopyFont(QFont &target, const QFont &source) {
    target.setBold(source.bold());
    target.setItalic(source.italic());
    target.setFamily(source.family());
    if (source.pointSizeF() > 0)
        target.setPointSizeF(source.pointSizeF());
    else
        target.setPixelSize(source.pixelSize());
    target.setStrikeOut(source.strikeOut());
    target.setUnderline(source.underline());
    target.setWeight(source.weight());
}

} // namespace tq
