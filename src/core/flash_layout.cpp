#include "core/flash_layout.h"

#include "core/errors.h"

#include <QByteArray>
#include <QFile>

namespace tq {

void FillImageFile(const QString &path, qint32 count) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) ||
        file.write(QByteArray(count, char(kErasedByte))) != count)
        throw TqError(
            ErrorKind::File,
            QStringLiteral("Cannot write the image file %1: %2").arg(path, file.errorString()));
}

} // namespace tq
