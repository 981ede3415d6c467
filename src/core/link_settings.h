#pragma once

#include <QString>

namespace tq {

// The settings the link control is handed by its owner, instead of reading the program's
// variables: where it keeps its serial log and how it times its exchanges.
struct LinkSettings {
    QString AppFolder;      // the folder of SerialLog.log
    qint16 CommTimeout = 0; // seconds without a reply before a frame is sent again
    qint16 CommRetry = 0;   // how often a frame is sent again
    qint16 CommDelay = 0;   // 100 ms ticks between a data clear's write and its confirm
};

} // namespace tq
