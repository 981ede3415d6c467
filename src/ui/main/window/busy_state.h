#pragma once

#include <QtGlobal>

namespace tq {

// The codes of WorkState, what the main window is busy with. A code is a plain value, not
// a stack: an operation inside another leaves Idle behind.
enum BusyState : qint32 {
    Idle = 0,
    LoggerDownload = 1, // also the dump-list download of the Set page
    ZeroCalibration = 3,
    SpanCalibration = 4,
    CompleteDownload = 5,
    AutomaticMode = 6,
    WritingExport = 8,
};

} // namespace tq
