#include "core/safe_file.h"

#include "core/errors.h"

#include <QSaveFile>

namespace tq {

void WriteFileAtomically(const QString &path, const QByteArray &bytes) {
    QSaveFile file(path);
    const auto fail = [&](const QString &reason) {
        file.cancelWriting();
        throw TqError(ErrorKind::File, QStringLiteral("Cannot write %1: %2").arg(path, reason));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    // QSaveFile::commit() does not notice an error of its own final flush (a short write
    // at a file-size limit), so flush and check here before the rename.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError || file.size() != bytes.size())
        fail(file.errorString());
    if (!file.commit())
        fail(file.errorString());
}

} // namespace tq
