#pragma once

#include <QString>

namespace tq {

// The name that an export proposes in its Save As dialog. A last export's name keeps an
// extension equal to the one of the view ("csv" for a table, "bmp" for the graph) in any
// case; another extension is replaced, and a name without one gets it. Before the first
// export: the program folder, one "/" and "Sample.csv" or "Sample.bmp".
QString ProposedExportName(const QString &lastExportFile, const QString &appFolder, bool bitmap);

// The Save As filter of an export: 5712 for the graph, 5704 (four entries, the fourth with
// the units in a column of their own) for a table of an interval or alarm trend, 5701 for
// any other table.
int ExportFilterMessage(qint32 logType, bool bitmap);

// A message's filter, description and pattern entries joined by bars, as the file chooser
// takes it: one entry per pair, the pattern in brackets after the description unless it
// stands there already. A description that is blank (the trailing "| " of 5712) is no
// entry.
QString ChooserFilter(const QString &messageFilter);

} // namespace tq
