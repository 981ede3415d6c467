#include "ui/common/designed_controls.h"

namespace tq {

void ApplyDesign(QWidget *control, const Design &design) {
    if (design.width > 0 && design.height > 0)
        control->resize(TwipsToPixelsX(design.width), TwipsToPixelsY(design.height));
    if (design.left >= 0 && design.top >= 0)
        control->move(TwipsToPixelsX(design.left), TwipsToPixelsY(design.top));
}

} // namespace tq
