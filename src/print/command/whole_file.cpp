#include "print/command/whole_file.h"

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
    if (!file.commit())
        throw TqError(ErrorKind::File, file.errorString());
}

} // namespace tq
