#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <vector>

namespace tq {
class uclPvif;
}

namespace tq::bench {

// When a flash dump of the link started and when each of its blocks had arrived, taken
// from the link's progress messages (sent once per block, after the block was handled).
// A second attempt of the dump starts the record over.
class BlockTimes : public QObject {
public:
    explicit BlockTimes(uclPvif &link);

    // Seconds from the start of the dump to the last block.
    double totalSeconds() const;
    // Milliseconds each block took, from the one before (the first from the start).
    std::vector<double> blockMilliseconds() const;
    std::size_t blocks() const { return m_blocks.size(); }

private:
    QElapsedTimer m_clock;
    qint64 m_start = 0;
    std::vector<qint64> m_blocks; // nanoseconds on m_clock
};

// Smallest, median, 90th percentile and largest of a set of times.
struct Spread {
    double min = 0;
    double median = 0;
    double p90 = 0;
    double max = 0;
};
Spread SpreadOf(std::vector<double> values);

} // namespace tq::bench
