#pragma once

#include <QString>

#include <functional>

class QIODevice;

namespace tq {

// Writes a file whole: `write` fills a temporary file beside it, which replaces the file only
// once it is complete. On any failure (the file cannot be made, a write fails, `write`
// throws) the old file stays as it was and no temporary file remains; the failure passes on
// as TqError, one of File with the reason when the file itself failed.
void WriteWholeFile(const QString &path, const std::function<void(QIODevice &)> &write);

} // namespace tq
