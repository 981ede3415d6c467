#include "event_fixtures.h"

#include "core/gas_format.h"
#include "logs/events/clsAlarmEvent.h"
#include "logs/events/clsTroubleEvent.h"
#include "logs/trend/log_items.h"

namespace tq::test {
namespace {

using H = LogHeaderItem;
using G = GasInfoItem;

QVariant header(const GasEventLog &log, H item) {
    return log.GasBaseInfo(qint32(item));
}
QVariant gas(const GasEventLog &log, G item) {
    return log.GasListInfo(0, qint32(item));
}

// Decodes the block's header and records as the area reader does.
void decode(GasEventLog &log, const EventBlockSpec &layout) {
    const QByteArray block = EventBlock(layout);
    qint32 st = 0;
    log.SetHeader(block, st);
    ASSERT_EQ(st + 2, EventRecordStart(layout));
    st += 2;
    for (qsizetype i = 0; i < layout.records.size(); ++i)
        log.SetData(block, st);
}

TEST(GasEventHeaderTest, DecodesIdentityGasAndDate) {
    EventBlockSpec layout;
    layout.gases[0].format = 0x12; // P = 2, %LEL
    layout.gases[0].full = 0x2710;
    layout.gases[0].levels = {0x0064, 0xFEFE, 0xFFFF, 0xDDDD};
    layout.gases[0].ratio = 0xFFFF;
    layout.serial = QByteArray("ABCDEFGH1234\x03xyzabcd");
    clsAlarmEvent log;
    decode(log, layout);
    EXPECT_EQ(header(log, H::LogNo).toInt(), 7);
    EXPECT_EQ(header(log, H::UserID).toString(), QStringLiteral("USER1"));
    EXPECT_EQ(header(log, H::StationID).toString(), QStringLiteral("ST1"));
    EXPECT_EQ(log.header().SerialNo, QStringLiteral("ABCDEFGH1234        "));
    EXPECT_EQ(header(log, H::SerialNo).toString(), QStringLiteral("ABCDEFGH1234"));
    EXPECT_EQ(header(log, H::Interval).toInt(), 60);
    EXPECT_EQ(header(log, H::Dates).value<Date>(), Date::fromParts(2020, 3, 31, 23, 59, 0));
    EXPECT_EQ(gas(log, G::Point).toInt(), 2);
    EXPECT_EQ(gas(log, G::Unit).toString(), QStringLiteral("%LEL"));
    EXPECT_FLOAT_EQ(gas(log, G::Full).toFloat(), 100.0f);
    EXPECT_FLOAT_EQ(gas(log, G::Warning).toFloat(), 1.0f);
    EXPECT_FLOAT_EQ(gas(log, G::Alarm).toFloat(), -118.0f);
    EXPECT_FLOAT_EQ(gas(log, G::Stel).toFloat(), -101.0f);
    EXPECT_FLOAT_EQ(gas(log, G::Twa).toFloat(), -121.0f);
    EXPECT_FLOAT_EQ(gas(log, G::Ratio).toFloat(), DecodeRawCount(65535) / 100.0f);
    EXPECT_TRUE(gas(log, G::Enable).toBool());
    // No name, folder or sampling flag comes from an event block.
    EXPECT_EQ(header(log, H::Names).toString(), QString());
    EXPECT_EQ(header(log, H::Sampling).toInt(), 0);
}

struct EndCodeCase {
    quint8 endCode;
    bool rangeBlock;
};

class EventEndCodeTest : public ::testing::TestWithParam<EndCodeCase> {};

TEST_P(EventEndCodeTest, OnlyRangeEndCodesReadSixRangeItems) {
    EventBlockSpec layout;
    layout.endCode = GetParam().endCode;
    layout.ranges = {0xDDDD, 2, 3, 4, 5, 6}; // taken as they are: no reading codes
    layout.records = {{0x70, 0x00}};
    clsTroubleEvent log;
    decode(log, layout);
    const std::array<qint32, 6> expected = GetParam().rangeBlock
                                               ? std::array<qint32, 6>{0xDDDD, 2, 3, 4, 5, 6}
                                               : std::array<qint32, 6>{};
    for (qint32 i = 0; i < 6; ++i)
        EXPECT_EQ(header(log, H(qint32(H::LEL_lo) + i)).toInt(), expected[i]) << i;
    EXPECT_EQ(log.Dates(0), Date::fromParts(2020, 3, 31, 23, 59, 0));
}

INSTANTIATE_TEST_SUITE_P(EndCodes, EventEndCodeTest,
                         ::testing::Values(EndCodeCase{8, true}, EndCodeCase{40, true},
                                           EndCodeCase{72, true}, EndCodeCase{9, false},
                                           EndCodeCase{41, false}, EndCodeCase{73, false},
                                           EndCodeCase{0, false}, EndCodeCase{0xFF, false}));

TEST(GasEventHeaderTest, SlotOneIsDecodedButNotReachable) {
    for (quint8 code : {quint8(35), quint8(67)}) {
        EventBlockSpec layout;
        layout.gases = {GasBlockSpec{}, GasBlockSpec{}};
        layout.gases[1].code = code;
        layout.gases[1].name = "H2S";
        clsAlarmEvent log;
        decode(log, layout);
        EXPECT_EQ(log.gas(1).Name, QStringLiteral("H2S"));
        EXPECT_FALSE(log.GasListInfo(1, 0).isValid()); // Empty
    }
}

TEST(GasEventHeaderTest, SlotTwoFailsAfterTheEarlierFields) {
    for (quint8 code : {quint8(4), quint8(36), quint8(68)}) {
        EventBlockSpec layout;
        layout.gases = {GasBlockSpec{}, GasBlockSpec{}};
        layout.gases[1].code = code;
        clsAlarmEvent log;
        const QByteArray block = EventBlock(layout);
        qint32 st = 0;
        EXPECT_THROW(log.SetHeader(block, st), TqError);
        EXPECT_EQ(header(log, H::LogNo).toInt(), 7);
        EXPECT_EQ(header(log, H::Interval).toInt(), 60);
        EXPECT_EQ(gas(log, G::Name).toString(), QStringLiteral("CH4"));
    }
}

TEST(GasEventHeaderTest, BlankSerialAndImpossibleDate) {
    EventBlockSpec layout;
    layout.serial = QByteArray(20, '\0');
    layout.user = "";
    layout.date = QByteArray("\x14\x0D\x20\x00\x00\x00", 6); // month 13
    layout.records = {{0x70, 0x20}, {0x7F, 0x00}, {0x71, 0x06}};
    clsTroubleEvent log;
    decode(log, layout);
    EXPECT_EQ(log.header().SerialNo, QString(20, '-'));
    EXPECT_EQ(log.header().UserID, QString(16, '-'));
    ASSERT_EQ(log.DataCount(), 3);
    const struct {
        qint16 gasNo, events;
    } expected[] = {{0, ReadingCode::FailAlkaline}, {15, ReadingCode::Normal}, {1, -193}};
    for (qint32 i = 0; i < 3; ++i) {
        EXPECT_EQ(log.GasNo(i), expected[i].gasNo);
        EXPECT_EQ(log.Events(i), expected[i].events);
        EXPECT_EQ(log.Dates(i), Date::emptyLogDate());
    }
}

TEST(GasEventLogTest, TheEntryTableHolds1025Records) {
    clsAlarmEvent log;
    const QByteArray record("\x70\x00", 2);
    for (qint32 i = 0; i < 1025; ++i) {
        qint32 st = 0;
        log.SetData(record, st);
    }
    qint32 st = 0;
    EXPECT_THROW(log.SetData(record, st), TqError);
    EXPECT_EQ(log.DataCount(), 1025);
    qint32 past = 1; // a record that does not fit in the block
    EXPECT_THROW(log.SetData(record, past), TqError);
}

TEST(GasEventLogTest, AccessorsOutsideTheTableAnswerDefaults) {
    clsTroubleEvent log;
    log.setDates(1023, Date::fromParts(2021, 1, 2));
    EXPECT_EQ(log.Dates(1023), Date::fromParts(2021, 1, 2));
    EXPECT_NEAR(log.Dates(1024).days(), Date::now().days(), 1.0 / 24);
    EXPECT_NEAR(log.Dates(-1).days(), Date::now().days(), 1.0 / 24);
    EXPECT_EQ(log.DateTimes(1024), Date(0.0));
    log.setGasNo(2000, 5);
    EXPECT_EQ(log.GasNo(2000), 0);
    log.setDataCount(5000);
    EXPECT_EQ(log.DataCount(), 1024);
    log.setDataCount(-3);
    EXPECT_EQ(log.DataCount(), -3);
    EXPECT_TRUE(IsNullVariant(log.GasBaseInfo(3)));
    EXPECT_TRUE(IsNullVariant(log.GasBaseInfo(18)));
    log.setGasBaseInfo(3, QVariant::fromValue(Date::fromParts(2020, 1, 1)));
    EXPECT_TRUE(IsNullVariant(log.GasBaseInfo(3)));
}

TEST(GasEventLogTest, ClearDatasKeepsLogNoErrorAndKey) {
    clsAlarmEvent log;
    decode(log, EventBlockSpec{});
    log.setError(true);
    log.setKey(QStringLiteral("1 L"));
    log.setGasNo(0, 1);
    log.ClearDatas();
    EXPECT_EQ(header(log, H::LogNo).toInt(), 7);
    EXPECT_TRUE(log.Error());
    EXPECT_EQ(log.Key(), QStringLiteral("1 L"));
    EXPECT_EQ(log.GasNo(0), 0);
    EXPECT_EQ(log.DataCount(), 0);
    EXPECT_EQ(header(log, H::SerialNo).toString(), QString(20, '-'));
    EXPECT_FLOAT_EQ(gas(log, G::Full).toFloat(), -101.0f);
    EXPECT_EQ(gas(log, G::Point).toInt(), -101);
    EXPECT_EQ(gas(log, G::MaxDate).value<Date>(), Date::emptyLogDate());
}

} // namespace
} // namespace tq::test
