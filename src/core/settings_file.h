#pragma once

#include <QString>

namespace tq {

// The settings file TQ6200.ini in the program folder: the program's own options between
// runs. LoadSettings reads it into the program-wide variables (start-up values must be
// set first: a key the file lacks keeps its value); SaveSettings writes it whole.

QString SettingsFilePath();

// Reads the file when it exists. Never fails: a line that cannot be used is skipped and
// the lines after it are still read.
void LoadSettings();

// Writes the file under a temporary name and moves it over the old one, so a failed
// write keeps the old file. Throws TqError(File) on failure.
void SaveSettings();

// The reversible scrambling of the program password (applied twice in the file).
QString ScrambleText(const QString &text);
QString UnscrambleText(const QString &text);

// The largest reply time-out, in seconds, that the link control can count in ticks.
inline constexpr qint16 kMaxCommTimeout = 3276;

} // namespace tq
