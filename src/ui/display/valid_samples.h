#pragma once

#include <QtGlobal>

namespace tq {

class clsInterval;

// The usable samples of a loaded interval trend: readings of 0 or above and over-range
// readings (-107) of its gas; 0 when the gas is not enabled.
qint32 CountValidSamples(const clsInterval &log);

} // namespace tq
