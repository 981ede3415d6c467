#pragma once

#include <QString>
#include <QtGlobal>

namespace tq {

class Date;

// What a trend graph plots for a reading: the number the tables show for it with the gas's
// decimals, read back, so curve and table agree. Codes (-101 and below) are gaps, and so is
// a value that the tables write as a word. The screen and the printout plot through it.
float PlottedValue(float value, qint16 decimals);

// A sample's time in a trend graph's bottom title: "Medium Date" and " hh:mm:ss".
QString GraphTitleTime(const Date &time);

} // namespace tq
