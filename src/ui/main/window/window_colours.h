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

} // namespace tq
