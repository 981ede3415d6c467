#pragma once

#include <QColor>

namespace tq {

// Colours of the communication log's lines.
inline const QColor kLogGreen{0, 192, 0};      // starts and successes
inline const QColor kLogRed{255, 0, 0};        // failures, cancels and warnings
inline const QColor kLogNoData{192, 64, 64};   // a log family without data
inline const QColor kLogBlue{0, 0, 255};       // the connection line
inline const QColor kLogAutoStart{128, 32, 0}; // the automatic mode's start line
inline const QColor kLogAutoEnd{32, 128, 0};   // the automatic mode's end line

// A status lamp's fill and border.
struct LampColors {
    QColor fill;
    QColor border;
};

inline const LampColors kLampOnColors{{0, 255, 0}, {0, 192, 0}};
inline const LampColors kLampOffColors{{160, 160, 160}, {128, 128, 128}};
inline const LampColors kLampErrorColors{{254, 0, 0}, {192, 0, 0}}; // red 254, not 255

// A colour of the settings file (red in the low byte) and back.
inline QColor ColorFromSettings(qint32 value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
inline qint32 ColorToSettings(const QColor &color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

} // namespace tq
