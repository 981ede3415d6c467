#pragma once

namespace tq {

struct TrendFileCheck;

// Tells in a box (message 30005 or 30006 with the file's path, titled "Data View") that
// the trend log just loaded had its trend file missing or damaged, so what the view shows
// is only what could be read. A sound file tells nothing.
void TellTrendFileFault(const TrendFileCheck &check);

} // namespace tq
