#pragma once

#include <QColor>

namespace tq {

// A colour of the settings file (red in the low byte) and back.
inline QColor ColorFromSettings(qint32 value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
inline qint32 ColorToSettings(const QColor &color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

} // namespace tq
