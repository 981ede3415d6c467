#pragma once

#include "core/date.h"

#include <QString>
#include <QStringList>

namespace tq {

// One line of an export file: the cells joined by the separator. A cell that holds the
// separator, a double quote, CR or LF is written between double quotes with its inner
// quotes doubled, so that no name or identifier can shift the columns of its line.
QString JoinCells(const QStringList &cells, const QString &separator);

// A date as export files write it: "yyyy/mm/dd hh:nn:ss", the same in every locale.
QString ExportDate(const Date &date);

// An event time of the levels row: "mm/dd hh:nn:ss"; "-----" for the level -118 and
// "*****" for the empty log date. The separators are fixed, whatever the locale.
QString ExportEventTime(float level, const Date &time);

// The decimal mark of every number in an export file.
inline const QString kExportDecimalMark = QStringLiteral(".");

} // namespace tq
