#include "core/safe_file.h"

#include "core/errors.h"

#include <QSaveFile>

namespace tq {

void WriteWholeFile(const QString &path, const std::function<void(QIODevice &)> &write) {
    // An uncommitted QSaveFile removes its temporary file when it goes.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TqError(ErrorKind::File, file.errorString());
    try {
        write(file);
    } catch (const TqError &error) {
        // A buffered write that fails gives no reason; flushing what is left gives it.
        if (error.kind() == ErrorKind::File && file.error() != QFileDevice::NoError &&
            !file.flush())
            throw TqError(ErrorKind::File, file.errorString());
        throw;
    }
    // QSaveFile::commit() does not notice an error of its own final flush (a short write
    // at a file-size limit), so flush and check here before the rename.
    if (!file.flush() || file.error() != QFileDevice::NoError || !file.commit())
        throw TqError(ErrorKind::File, file.errorString());
}

void WriteFileAtomically(const QString &path, const QByteArray &bytes) {
    try {
        WriteWholeFile(path, [&](QIODevice &device) {
            if (device.write(bytes) != bytes.size())
                throw TqError(ErrorKind::File, device.errorString());
        });
    } catch (const TqError &error) {
        throw TqError(ErrorKind::File,
                      QStringLiteral("Cannot write %1: %2").arg(path, error.message()));
    }
}

} // namespace tq
