#pragma once

#include <QByteArray>
#include <QString>

namespace tq {

// Replaces the file at `path` with `bytes`: written under a temporary name in the same
// folder and renamed over the old file only when every byte is on disk, so a failure
// (a full disk, a folder that cannot be written) leaves the old file as it was.
// Throws TqError(File) on failure.
void WriteFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace tq
