#pragma once

#include "core/date.h"

#include <QString>
#include <QtGlobal>

namespace tq {

// When a gas falls due for calibration: its latest calibration date plus the calibration
// limit in whole days. A date before the year 2000 counts as no date. `now` is the clock
// the caller compares with; limitDays the warning window (0: never due soon).

enum class CalDueState { InTime = 0, DueSoon = 1, Overdue = 2 };
enum class CalDueColor { None, Red, Orange };

bool IsUsableDate(const Date &date);
// (due date - now) in days, rounded to a whole number with halves to the even neighbour.
qint16 RemainingDays(const Date &calibDate, qint16 limit, const Date &now);
// The due state the Instrument Information page shows; the date is not tested.
CalDueState GetCalDueState(const Date &calibDate, qint16 limit, qint16 limitDays, const Date &now);
// The highlight of a latest-calibration cell: red when overdue or dated in the future,
// orange when due within the warning window; none for a disabled gas or no date.
CalDueColor GetCalDueColor(const Date &calibDate, qint16 limit, bool gasEnabled, qint16 limitDays,
                           const Date &now);
// The general date text of a usable date, else the empty text.
QString FormatValidDate(const Date &date);
// "Now" when overdue or dated in the future, else "Remaining n Day"; empty for no date.
QString FormatCalDue(const Date &calibDate, qint16 limit, const Date &now);

} // namespace tq
