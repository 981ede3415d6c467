#include "core/safe_file.h"

#include "core/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace tq {

namespace {

[[noreturn]] void systemFailure() {
    throw TqError(ErrorKind::File, QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

QString FileFailure(QFileDevice &file) {
    // A write that stops part-way (the disk fills, the file-size limit is reached) reports
    // no reason of its own: Qt then gives the last one it had, mostly "Unknown error". The
    // system says why only when a write of what is left fails at once.
    QString reason = file.errorString();
    qint64 left = file.bytesToWrite();
    while (left > 0) {
        file.unsetError();
        if (file.flush())
            break;
        reason = file.errorString();
        const qint64 now = file.bytesToWrite();
        if (now >= left)
            break; // nothing more went out: this failure is the system's own
        left = now;
    }
    return reason;
}

void WriteAll(QIODevice &device, const QByteArray &bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        // A short write is followed by another: the failure comes with its reason.
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            auto *file = qobject_cast<QFileDevice *>(&device);
            throw TqError(ErrorKind::File, file ? FileFailure(*file) : device.errorString());
        }
        done += written;
    }
}

void WriteWholeFile(const QString &path, const std::function<void(QIODevice &)> &write) {
    // An uncommitted QSaveFile removes its temporary file when it goes.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TqError(ErrorKind::File, file.errorString());
    try {
        write(file);
    } catch (const TqError &error) {
        if (error.kind() == ErrorKind::File && file.error() != QFileDevice::NoError)
            throw TqError(ErrorKind::File, FileFailure(file));
        throw;
    }
    // QSaveFile::commit() does not notice an error of its own final flush (a short write
    // at a file-size limit), so flush and check here before the rename.
    if (!file.flush() || file.error() != QFileDevice::NoError)
        throw TqError(ErrorKind::File, FileFailure(file));
    if (!file.commit())
        throw TqError(ErrorKind::File, file.errorString());
}

void PlaceFinishedFile(const QString &finished, const QString &target) {
    QFile file(finished);
    if (!file.open(QIODevice::ReadOnly))
        throw TqError(ErrorKind::File, file.errorString());
    if (::fsync(file.handle()) != 0)
        systemFailure();
    file.close();
    QFile::setPermissions(finished, QFileInfo::exists(target)
                                        ? QFile::permissions(target)
                                        : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                              QFile::WriteUser | QFile::ReadGroup |
                                              QFile::ReadOther);
    if (std::rename(QFile::encodeName(finished).constData(),
                    QFile::encodeName(target).constData()) != 0)
        systemFailure();
}

void WriteFileAtomically(const QString &path, const QByteArray &bytes) {
    try {
        WriteWholeFile(path, [&](QIODevice &device) { WriteAll(device, bytes); });
    } catch (const TqError &error) {
        throw TqError(ErrorKind::File,
                      QStringLiteral("Cannot write %1: %2").arg(path, error.message()));
    }
}

} // namespace tq
