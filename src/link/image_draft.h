#pragma once

#include <QString>

namespace tq {

// The flash image while it is downloaded: a file beside the image file, its name with
// ".part" added, that takes the image file's place only when every block arrived and was
// stored. Dropped otherwise, so a failed or cancelled download leaves the last complete
// image as it was, byte for byte.
class ImageDraft {
public:
    // A draft left by a download that never ended (the program killed) is dropped first.
    explicit ImageDraft(QString image);
    // Removes the draft unless it was placed.
    ~ImageDraft();
    ImageDraft(const ImageDraft &) = delete;
    ImageDraft &operator=(const ImageDraft &) = delete;

    const QString &path() const { return m_draft; }

    // Starts the draft as a copy of the image file, for a download of some blocks only.
    // Throws TqError(File).
    void copyImage();
    // The draft, on disk, becomes the image file in one step, with the image file's
    // permissions when there was one. Throws TqError(File); the image file stays as it was.
    void place();

private:
    QString m_image;
    QString m_draft;
    bool m_placed = false;
};

} // namespace tq
