#pragma once

#include <QString>

namespace tq::bench {

// The complete flash dump through the window, by Complete Download and by the automatic
// mode, each beside the reference client's dump of the same simulator in the same run
// (paced at `baud` when it is not empty). Prints both times, their ratio and the spread
// of the window's block times; the exit status of the program.
int WindowDump(const QString &baud);

} // namespace tq::bench
