#pragma once

#include "core/date.h"

#include <QList>
#include <QString>

namespace tq {

// One line of a trend's raw CSV export: a time and the text written after it.
struct RawExportLine {
    Date time;
    QString text;
};

// The path of a trend's raw export: appFolder/<name>.csv, the name cleaned as a trend
// file's name so that a log name from detector data never leaves the program folder.
QString RawExportPath(const QString &appFolder, const QString &names);

// Replaces the raw export in appFolder of the log named names with one "time,text" line per entry,
// the time in the system's general date form, lines ending in CR LF. Throws TqError(File).
void WriteRawExport(const QString &appFolder, const QString &names,
                    const QList<RawExportLine> &lines);

} // namespace tq
