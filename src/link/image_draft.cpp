#include "link/image_draft.h"

#include "core/errors.h"
#include "core/safe_file.h"

#include <QFile>

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
    try {
        PlaceFinishedFile(m_draft, m_image);
    } catch (const TqError &error) {
        cannotWrite(m_image, error.message());
    }
    m_placed = true;
}

} // namespace tq
