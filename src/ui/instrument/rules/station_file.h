#pragma once

#include <QString>
#include <QStringList>

namespace tq {

// The station list file: one line per station, its number, "," and its name, lines
// ending in CR LF, written in UTF-8.

inline constexpr int kStationNameLength = 16;

// A valid station name: at most 16 characters, each a blank, "-", "_", "/", a digit or
// an ASCII letter. The empty name is valid.
bool IsValidStationName(const QString &name);

// A failure the station-list commands tell: the message id and its parameters.
struct StationFileError {
    int messageId = 0; // 0: no failure
    QStringList params;

    // The message in the active language with its parameters.
    QString text() const;
};

struct StationFileImport {
    StationFileError error;
    QStringList names; // one per line read, at most 256
};

// Reads the names of a station list file, checked whole before anything is used. CR, CR LF
// and LF end a line; the text is UTF-8, else the
// active code page. A line's name is its second field, any further fields appended each
// after a ","; "," and Tab separate fields, runs of them count as one and leading ones are
// skipped. Reading stops after 256 lines, so a file of any size costs a few megabytes at
// most. A file that cannot be read (30303 with its name and the reason) or that is no
// station list gives no names: a UTF-16 or UTF-32 byte-order mark, a line of more than
// 4,096 characters, a control character other than Tab, or a line of more than 51
// fields (30304 with the file name, the line number and the cause).
StationFileImport ReadStationFile(const QString &path);

// Writes one line per name, numbered from 1, replacing the file only when the whole
// text was written; a failure (30302 with the file name and the reason) keeps the old file.
StationFileError WriteStationFile(const QString &path, const QStringList &names);

} // namespace tq
