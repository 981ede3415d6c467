#pragma once

#include "link/uclPvif.h"

namespace tq {

// Reaches into the link control for tests: drives its timers and shows its private state.
class uclPvifProbe {
public:
    static void tick(uclPvif &link, int ticks = 1) {
        for (int i = 0; i < ticks; ++i)
            link.tmrTimer_Timer();
    }
    static void densityTick(uclPvif &link) { link.tmrDenst_Timer(); }
    // The 100 ms tick every millisecond, so waits on ticks pass quickly.
    static void fastTicks(uclPvif &link) { link.m_timer.setInterval(1); }
    static qint32 linkState(const uclPvif &link) { return link.m_context.LinkState; }
    static QByteArray receiveBuffer(const uclPvif &link) { return link.m_receiveBuffer; }
    static ReplyContext &context(uclPvif &link) { return link.m_context; }
    static void setConfirmLimit(uclPvif &link, qint64 ms) { link.m_confirmLimitMs = ms; }
};

} // namespace tq
