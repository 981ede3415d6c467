#include "logs/trend/clsIntervals.h"

#include "core/errors.h"
#include "logs/trend/flash_image.h"

#include <utility>

namespace tq {

namespace {

constexpr qint32 kPage = FlashAreas::IntervalTrend.unit;
constexpr qint32 kRecordSize = 4;

// EE EE at the read index. One byte before the page end cannot hold a pair.
bool atMark(const RingWalk &walk) {
    return walk.index + 1 < kPage && quint8(walk.buffer[walk.index]) == kMarkByte &&
           quint8(walk.buffer[walk.index + 1]) == kMarkByte;
}

// The block kind byte of the mark at the read index; -1 when it would lie past the page.
qint32 blockKind(const RingWalk &walk) {
    return walk.index + 4 < kPage ? quint8(walk.buffer[walk.index + 4]) : -1;
}

bool isHeaderKind(qint32 kind) {
    return kind == 0x00 || kind == 0x40;
}

bool isTrailerKind(qint32 kind) {
    return (kind >= 0x20 && kind <= 0x25) || (kind >= 0x60 && kind <= 0x65);
}

bool atErased(const RingWalk &walk) {
    return quint8(walk.buffer[walk.index]) == kErasedByte;
}

} // namespace

bool clsIntervals::ReadBinaryLog(const QString &imagePath) {
    try {
        return ReadBinaryLog(FlashImage::load(imagePath));
    } catch (const TqError &) {
        return false;
    }
}

bool clsIntervals::ReadBinaryLog(const FlashImage &image) {
    std::shared_ptr<clsInterval> decoding; // the log whose header or trailer is being read
    try {
        const RingBounds bounds = FindIntervalRing(image);
        if (bounds.start < 0 || bounds.state == 0)
            return true; // an erased ring holds no data
        RingWalk walk = StartIntervalWalk(image, bounds);
        const auto nextPage = [&] {
            reportProgress();
            return NextRingBlock(image, walk);
        };
        std::shared_ptr<clsInterval> open;
        for (;;) {
            if (atMark(walk)) {
                const qint32 kind = blockKind(walk);
                if (isHeaderKind(kind)) {
                    // Keyed by the header's own offset, so two logs that begin in one page
                    // are both kept.
                    const QString key = QString::number(walk.position + walk.index) + " L";
                    decoding = Item(key);
                    if (!decoding)
                        decoding = Add(key, 0);
                    decoding->ClearDatas();
                    decoding->setKey(key);
                    decoding->SetHeader(walk.buffer, walk.index);
                    open = std::exchange(decoding, nullptr);
                } else if (isTrailerKind(kind) && open) {
                    decoding = std::exchange(open, nullptr);
                    decoding->SetTrailer(walk.buffer, walk.index);
                    decoding = nullptr;
                } else if (open && kind >= 0) {
                    walk.index += 2;
                    bool more = true;
                    while (more && !atMark(walk)) {
                        if (walk.index + kRecordSize <= kPage)
                            open->SetData(walk.buffer, walk.index);
                        if (walk.index + kRecordSize > kPage || atErased(walk))
                            more = nextPage();
                    }
                    if (!more && walk.passedEnd)
                        break;
                } else if (!nextPage()) {
                    break; // a trailer without its log, or no block at all
                }
            } else if (!nextPage()) {
                break;
            }
            if ((walk.index >= kPage || atErased(walk)) && !nextPage())
                break;
        }
        return true;
    } catch (const TqError &) {
        if (decoding)
            decoding->setError(true);
        return false;
    }
}

} // namespace tq
