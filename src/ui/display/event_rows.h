#pragma once

#include "core/date.h"

#include <QString>

#include <optional>

namespace tq {

class clsInterval;

// The time of the interval-trend event that a record-table row lists, for the trend search:
// the first event of `log` whose time, written as the table writes it ("General Date"),
// and whose status word are the row's. The log's own time is returned, so no date text is
// read back; none when no event matches.
std::optional<Date> ListedEventTime(const clsInterval &log, const QString &dateText,
                                    const QString &eventText);

} // namespace tq
