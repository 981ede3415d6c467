#pragma once

#include "logs/events/block_log_collection.h"
#include "logs/events/clsPowerEvent.h"
#include "logs/events/text_line_dispatch.h"

namespace tq {

// The power-event logs of the area 0x00000..0x0FFFF: one member per block whose first two
// bytes are not both FF, or built from "FD" text record lines.
class clsPowerEvents : public BlockLogCollection<clsPowerEvent> {
public:
    clsPowerEvents() : BlockLogCollection(FlashAreas::PowerEvents, BlockMark::NotErased) {}

    LogFamily family() const override { return LogFamily::PowerEvent; }

    // One text record line (TakeTextLine); "FD" lines of 24 characters or more are power
    // events, every other code is taken and ignored.
    bool SetDatas(const QString &vData, bool TestFlag) {
        static const QList<LineRecord<clsPowerEvent>> records = {
            {QStringLiteral("FD"), 24, &clsPowerEvent::SetDataF0}};
        return TakeTextLine(*this, vData, TestFlag, records);
    }

protected:
    void decodeBlock(clsPowerEvent &member, const QByteArray &block) const override {
        member.SetData(block);
    }
};

} // namespace tq
