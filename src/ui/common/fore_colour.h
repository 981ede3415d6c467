#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace tq {

// A control's text colour (a check box's caption in its curve's colour).
inline void SetForeColour(QWidget &control, const QColor &colour) {
    QPalette palette = control.palette();
    palette.setColor(QPalette::WindowText, colour);
    control.setPalette(palette);
}

} // namespace tq
