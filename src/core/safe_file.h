#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace tq {

// Writes a file whole: `write` fills a temporary file in the same folder, which is renamed
// over the old file only when every byte is on disk. On any failure (the file cannot be
// made, a write or the final flush fails, `write` throws) the old file stays as it was and
// no temporary file remains; the failure passes on as TqError, of kind File with the reason
// when the file itself failed.
void WriteWholeFile(const QString &path, const std::function<void(QIODevice &)> &write);

// WriteWholeFile with `bytes`; the failure names the file. Throws TqError(File).
void WriteFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace tq
