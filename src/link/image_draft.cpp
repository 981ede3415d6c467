#include "link/image_draft.h"

#include "core/errors.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace tq {

namespace {

[[noreturn]] void cannotWrite(const QString &path, const QString &reason) {
    throw TqError(ErrorKind::File, QStringLiteral("Cannot write %1: %2").arg(path, reason));
}

} // namespace

ImageDraft::ImageDraft(QString image)
    : m_image(std::move(image)), m_draft(m_image + QStringLiteral(".part")) {
    QFile::remove(m_draft);
}

ImageDraft::~ImageDraft() {
    if (!m_placed)
        QFile::remove(m_draft);
}

void ImageDraft::copyImage() {
    QFile image(m_image);
    if (!image.copy(m_draft))
        cannotWrite(m_draft, image.errorString());
}

void ImageDraft::place() {
    QFile draft(m_draft);
    // On disk before it replaces the image: a power cut after the rename finds it whole.
    if (!draft.open(QIODevice::ReadOnly) || ::fsync(draft.handle()) != 0)
        cannotWrite(m_image, draft.isOpen() ? QString::fromLocal8Bit(std::strerror(errno))
                                            : draft.errorString());
    draft.close();
    if (QFileInfo::exists(m_image))
        QFile::setPermissions(m_draft, QFile::permissions(m_image));
    // rename() replaces the image in one step: never a moment without either file.
    if (std::rename(QFile::encodeName(m_draft).constData(),
                    QFile::encodeName(m_image).constData()) != 0)
        cannotWrite(m_image, QString::fromLocal8Bit(std::strerror(errno)));
    m_placed = true;
}

} // namespace tq
