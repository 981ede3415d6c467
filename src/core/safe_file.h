#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QFileDevice;
class QIODevice;

namespace tq {

// Writes a file whole: `write` fills a temporary file in the same folder, which is renamed
// over the old file only when every byte is on disk. On any failure (the file cannot be
// made, a write or the final flush fails, `write` throws) the old file stays as it was and
// no temporary file remains; the failure passes on as TqError, of kind File with the reason
// when the file itself failed.
void WriteWholeFile(const QString &path, const std::function<void(QIODevice &)> &write);

// Writes every byte to the device; a failure throws TqError(File) with the system's reason
// ("No space left on device", "File too large").
void WriteAll(QIODevice &device, const QByteArray &bytes);
// Why a file device failed, in the system's words: a write or flush that stopped part-way
// gives no reason of its own, so what is left is flushed again until the system says it.
QString FileFailure(QFileDevice &file);

// Puts a finished file (written beside target under another name) in target's place: it
// is synced to disk first, so a power cut after the rename finds it whole, gets the
// permissions of the file it replaces or those of an ordinary new file (a temporary file is
// its owner's alone), and replaces target in one rename, never leaving a moment without
// either file. Throws TqError(File) with the system's reason; target then stays as it was.
void PlaceFinishedFile(const QString &finished, const QString &target);

// WriteWholeFile with `bytes`; the failure names the file. Throws TqError(File).
void WriteFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace tq
