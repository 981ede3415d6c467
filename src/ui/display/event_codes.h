#pragma once

#include <QColor>

namespace tq {

// The background a status code gives a cell of a record table; an invalid colour keeps the
// grid's default. A "no reading" code (-101) or 0 stays grey only where the cell already had
// a colour of its own (`current` valid), so a gap inside a coloured run keeps the run visible.
QColor GetCodeColor(qint32 code, const QColor &current);

// Whether an event of an interval trend lets its record listing go on; False ends the
// listing at the event's time. A sensor failure (-132) ends it only once samples are listed.
bool fix001(qint32 eventCode, qint64 listedSamples);

} // namespace tq
