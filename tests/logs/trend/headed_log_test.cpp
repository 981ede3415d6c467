#include "logs/trend/headed_log.h"
#include "logs/trend/log_items.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace tq {
namespace {

using H = LogHeaderItem;

class TestLog : public HeadedLog {
public:
    explicit TestLog(std::optional<LogHeaderItem> absentItem) : HeadedLog(absentItem) {}
};

// Only the item a kind of log does not have is hidden: it reads Null and a let leaves it
// alone; every other item reads and takes its value.
TEST(HeadedLog, OnlyTheAbsentItemIsHidden) {
    struct Case {
        std::optional<LogHeaderItem> absent;
        bool lastHidden;
        bool dcountHidden;
    };
    const std::vector<Case> cases = {
        {H::Last, true, false}, {H::Dcount, false, true}, {std::nullopt, false, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.absent ? qint32(*c.absent) : -1);
        TestLog log(c.absent);
        log.setGasBaseInfo(qint32(H::Dcount), 5);
        EXPECT_EQ(log.header().Dcount, c.dcountHidden ? 0 : 5);
        EXPECT_EQ(IsNullVariant(log.GasBaseInfo(qint32(H::Dcount))), c.dcountHidden);
        EXPECT_EQ(IsNullVariant(log.GasBaseInfo(qint32(H::Last))), c.lastHidden);
        EXPECT_EQ(log.GasBaseInfo(qint32(H::Interval)).toInt(), 0);
    }
}

TEST(HeadedLog, OnlyGasSlot0Answers) {
    TestLog log(std::nullopt);
    log.setGasListInfo(0, qint32(GasInfoItem::Name), QStringLiteral("CO"));
    log.setGasListInfo(1, qint32(GasInfoItem::Name), QStringLiteral("H2S"));
    EXPECT_EQ(log.GasListInfo(0, qint32(GasInfoItem::Name)).toString(), QStringLiteral("CO"));
    EXPECT_TRUE(IsEmptyVariant(log.GasListInfo(1, qint32(GasInfoItem::Name))));
    EXPECT_EQ(log.gas(1).Name, QString());
}

} // namespace
} // namespace tq
