#include "ui/common/latest_value_throttle.h"

namespace tq {

LatestValueThrottle::LatestValueThrottle(std::chrono::milliseconds interval, Show show,
                                         QObject *parent)
    : QObject(parent), m_show(std::move(show)), m_interval(interval) {
    m_later.setSingleShot(true);
    connect(&m_later, &QTimer::timeout, this, &LatestValueThrottle::Flush);
}

void LatestValueThrottle::Set(const QString &text) {
    const std::chrono::milliseconds shownAgo{m_sinceShown.isValid() ? m_sinceShown.elapsed() : 0};
    if (!m_sinceShown.isValid() || shownAgo >= m_interval) {
        showNow(text);
        return;
    }
    m_waiting = text;
    if (!m_later.isActive())
        m_later.start(m_interval - shownAgo);
}

void LatestValueThrottle::Flush() {
    if (m_waiting)
        showNow(*m_waiting);
}

void LatestValueThrottle::Drop() {
    m_waiting.reset();
    m_later.stop();
}

// By value: the text may be the waiting one, which Drop() forgets.
void LatestValueThrottle::showNow(QString text) {
    Drop();
    m_sinceShown.start();
    m_show(text);
}

} // namespace tq
