#pragma once

#include "core/log_collection.h"
#include "logs/events/block_area.h"
#include "logs/trend/flash_image.h"
#include "logs/trend/trend_collection.h"

#include <exception>

namespace tq {

// The collection of a family whose area holds one log per 256-byte block (alarm, trouble
// and power events, snapshots, histories). Members are keyed by BlockKey of their block.
// A concrete collection names its family and decodes one block into one member.
template <typename Log>
class BlockLogCollection : public LogCollection, public TrendCollection<Log> {
public:
    // Loads the image file and reads the family's area; False when the file cannot be
    // loaded (missing, or not a whole flash image) or a block fails (see below).
    bool ReadBinaryLog(const QString &imagePath) override {
        try {
            return ReadBinaryLog(FlashImage::load(imagePath));
        } catch (const std::exception &) {
            return false;
        }
    }

    // Reads the family's area block by block: each written block is decoded into the
    // member under its key, made with SeqNo 0 when missing (a member already there, from
    // an earlier reading, is decoded into again). True when the whole area was walked,
    // also when no block is written. A block whose decoding fails ends the walk with
    // False: the members decoded before stay, the failing one is removed, so that a
    // half-decoded log is never stored.
    bool ReadBinaryLog(const FlashImage &image) {
        for (qint32 offset = m_area.first; offset <= m_area.lastUnit(); offset += kLogBlockSize) {
            const QByteArray block = image.ReadImageBytes(offset, kLogBlockSize);
            if (!IsBlockWritten(block, m_mark))
                continue;
            const QString key = BlockKey(offset);
            typename TrendCollection<Log>::ItemPtr member = this->Item(key);
            if (!member) {
                member = this->Add(key, 0);
                member->setInstrument(this->Instruments());
            }
            try {
                decodeBlock(*member, block);
            } catch (const std::exception &) {
                this->Remove(key);
                return false;
            }
        }
        return true;
    }

protected:
    BlockLogCollection(FlashArea area, BlockMark mark) : m_area(area), m_mark(mark) {}

    // Decodes one written block into its member; any exception marks the block as failed.
    virtual void decodeBlock(Log &member, const QByteArray &block) const = 0;

private:
    FlashArea m_area;
    BlockMark m_mark;
};

} // namespace tq
