#include "block_times.h"

#include "link/uclPvif.h"

#include <algorithm>
#include <cmath>

namespace tq::bench {

namespace {

const QString kDumpStart = QStringLiteral("Get FLASH Image");

} // namespace

BlockTimes::BlockTimes(uclPvif &link) {
    m_clock.start();
    connect(&link, &uclPvif::DumpMessage, this, [this](const QString &message) {
        if (message == kDumpStart) {
            m_start = m_clock.nsecsElapsed();
            m_blocks.clear();
        } else if (message.startsWith(kDumpStart)) {
            m_blocks.push_back(m_clock.nsecsElapsed());
        }
    });
}

double BlockTimes::totalSeconds() const {
    return m_blocks.empty() ? 0.0 : double(m_blocks.back() - m_start) / 1e9;
}

std::vector<double> BlockTimes::blockMilliseconds() const {
    std::vector<double> times;
    qint64 previous = m_start;
    for (qint64 at : m_blocks) {
        times.push_back(double(at - previous) / 1e6);
        previous = at;
    }
    return times;
}

Spread SpreadOf(std::vector<double> values) {
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    const auto at = [&values](double fraction) {
        const auto index = std::size_t(std::ceil(fraction * double(values.size()))) - 1;
        return values[std::min(index, values.size() - 1)];
    };
    return {values.front(), at(0.5), at(0.9), values.back()};
}

} // namespace tq::bench
