#pragma once

#include <QColor>

namespace tq::PageColours {

// Cell marks of the instrument pages.
inline const QColor Red{255, 0, 0};              // a failed check, an overdue calibration
inline const QColor Orange{255, 128, 0};         // a calibration due soon
inline const QColor StaleDownload{255, 64, 224}; // a last download long ago
inline const QColor White{255, 255, 255};        // a valid station name

} // namespace tq::PageColours
