#include "logs/trend/clsInterval.h"
#include "logs/trend/log_header.h"
#include "ui/display/valid_samples.h"

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

qint32 validSamples(const std::vector<float> &values, bool enabled) {
    clsInterval log;
    log.setGasListInfo(0, static_cast<qint32>(GasInfoItem::Enable), enabled);
    log.setDataCount(static_cast<qint32>(values.size()));
    for (qint32 i = 0; i < log.DataCount(); ++i)
        log.setGasValue(0, i, values[i]);
    return CountValidSamples(log);
}

TEST(CountValidSamples, CountsReadingsAndOverRangeOfAnEnabledGas) {
    const struct {
        const char *name;
        std::vector<float> values;
        bool enabled;
        qint32 expected;
    } cases[] = {
        {"no samples", {}, true, 0},
        {"four readings among gaps", {-101, 1, -101, 2.5f, -118, 0, -121, 7}, true, 4},
        {"over range counts", {-107, -107, 3, 4, 5}, true, 5},
        {"status words do not", {-102, -103, -104, -105, -106, -132, -170}, true, 0},
        {"a small negative reading does not", {-5, -0.5f, 0}, true, 1},
        {"a gas not enabled gives 0", {1, 2, 3, 4, 5, 6}, false, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(validSamples(c.values, c.enabled), c.expected);
    }
}

} // namespace
} // namespace tq
