#include "ui/common/frame_caption.h"

#include <QGroupBox>

namespace tq {

void SetFrameCaptionStyle(QGroupBox &frame) {
    frame.setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.6em; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 2px; }"));
}

} // namespace tq
