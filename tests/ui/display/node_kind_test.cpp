#include "ui/display/node_kind.h"

#include <gtest/gtest.h>

namespace tq {
namespace {

// A stored log's key gives its SeqNo; folder, grouping and damaged keys give none.
TEST(StoredLogSeqNo, ReadsTheNumberOfAStoredLogsKeyOnly) {
    const struct {
        const char *key;
        std::optional<qint64> seqNo;
    } cases[] = {
        {"123 K", 123},
        {"40000 G", 40000},
        {"7 a", 7},
        {"A1234 S", std::nullopt},
        {"0 #", std::nullopt},
        {"x1 K", std::nullopt},
        {"12 A", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(StoredLogSeqNo(QString::fromLatin1(c.key)), c.seqNo) << c.key;
}

} // namespace
} // namespace tq
