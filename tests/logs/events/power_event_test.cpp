#include "event_fixtures.h"

#include "logs/events/clsPowerEvent.h"
#include "logs/trend/log_items.h"

namespace tq::test {
namespace {

struct PowerBlockCase {
    const char *name;
    QByteArray bytes;
    qint32 logCnt;
    Date date;
    bool on;
};

class PowerBlockTest : public ::testing::TestWithParam<PowerBlockCase> {};

TEST_P(PowerBlockTest, DecodesTheRecord) {
    const PowerBlockCase &c = GetParam();
    clsPowerEvent log;
    log.SetData(c.bytes.leftJustified(256, char(0xFF)));
    EXPECT_EQ(log.DataCount(), 1);
    EXPECT_EQ(log.LogCnt(0), c.logCnt);
    EXPECT_EQ(log.Dates(0), c.date);
    EXPECT_EQ(log.Flags(0), c.on);
}

const Date kMarch31 = Date::fromParts(2020, 3, 31, 23, 59, 0);

INSTANTIATE_TEST_SUITE_P(
    Records, PowerBlockTest,
    ::testing::Values(
        PowerBlockCase{"on", QByteArray("\x00\x07\x14\x03\x1F\x17\x3B\x00\x01", 9), 7, kMarch31,
                       true},
        PowerBlockCase{"kind2", QByteArray("\x00\x07\x14\x03\x1F\x17\x3B\x00\x02", 9), 7, kMarch31,
                       false},
        PowerBlockCase{"kindFF", QByteArray("\x00\x07\x14\x03\x1F\x17\x3B\x00\xFF", 9), 7, kMarch31,
                       false},
        PowerBlockCase{"badDate", QByteArray("\x00\x01\xFF\xFF\xFF\xFF\xFF\xFF\x01", 9), 1,
                       Date::emptyLogDate(), true},
        PowerBlockCase{"unsigned", QByteArray("\xFF\xFE\x14\x03\x1F\x17\x3B\x00\x01", 9), 65534,
                       kMarch31, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PowerEventTest, EntryTableBoundsAndAccessorDefaults) {
    clsPowerEvent log;
    const QByteArray block = PowerBlock(3, QByteArray("\x14\x01\x01\x00\x00\x00", 6), 1);
    for (qint32 i = 0; i < 1025; ++i)
        log.SetData(block);
    EXPECT_THROW(log.SetData(block), TqError);
    EXPECT_EQ(log.DataCount(), 1025);
    EXPECT_EQ(log.LogCnt(1023), 3);
    EXPECT_EQ(log.LogCnt(1024), 0); // filled, but out of the accessors' reach
    EXPECT_EQ(log.LogCnt(-1), 0);
    EXPECT_EQ(log.Dates(1024), Date(0.0));
    EXPECT_FALSE(log.Flags(1024));
    log.setDataCount(5000);
    EXPECT_EQ(log.DataCount(), 1024);
    log.setDataCount(-3);
    EXPECT_EQ(log.DataCount(), -3);
    EXPECT_THROW(log.SetData(block), TqError);
    log.ClearDatas();
    EXPECT_THROW(log.SetData(QByteArray(4, '\0')), TqError); // shorter than a record
    EXPECT_EQ(log.DataCount(), 0);
}

TEST(PowerEventTest, HeaderAccessors) {
    clsPowerEvent log;
    EXPECT_FALSE(log.GasListInfo(1, 0).isValid());
    EXPECT_TRUE(IsNullVariant(log.GasListInfo(0, 16)));
    EXPECT_TRUE(IsNullVariant(log.GasBaseInfo(3)));
    EXPECT_EQ(log.GasBaseInfo(4).toString(), QString(16, '-'));
    EXPECT_THROW(log.setGasBaseInfo(1, 40000), TqError);
    EXPECT_THROW(log.setGasBaseInfo(1, QStringLiteral("abc")), TqError);
    log.setError(true);
    log.ClearDatas();
    EXPECT_FALSE(log.Error());
}

} // namespace
} // namespace tq::test
