#pragma once

#include "logs/events/block_log_collection.h"
#include "logs/events/clsSnapShot.h"

namespace tq {

// The snapshots of a flash image: one member per written block of the snapshot area.
class clsSnapShots : public BlockLogCollection<clsSnapShot> {
public:
    clsSnapShots() : BlockLogCollection(FlashAreas::Snapshots, BlockMark::Signature) {}

    LogFamily family() const override { return LogFamily::Snapshot; }

protected:
    // The header, the two bytes after it, then the one snapshot record.
    void decodeBlock(clsSnapShot &member, const QByteArray &block) const override {
        qint32 st = 0;
        member.SetHeader(block, st);
        st += 2;
        member.SetData(block, st, 0);
    }
};

} // namespace tq
