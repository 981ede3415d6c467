#include "logs/trend/clsInterval.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "logs/trend/gas_title.h"
#include "logs/trend/log_items.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

const Date kStart = Date::fromParts(2021, 3, 5, 10, 0, 0);

// A log as its header would leave it: start 10:00:00, interval 60 s, slot 0 with one decimal.
class IntervalLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.setGasBaseInfo(qint32(LogHeaderItem::Dates), QVariant::fromValue(kStart));
        log.setGasBaseInfo(qint32(LogHeaderItem::Interval), 60);
        log.setGasListInfo(0, qint32(GasInfoItem::Point), 1);
    }
    bool record(std::initializer_list<int> raw) {
        qint32 st = 0;
        const bool decoded = log.SetData(bytes(raw), st);
        EXPECT_EQ(st, 4);
        return decoded;
    }
    QList<float> values() const {
        QList<float> out;
        for (qint64 n = 1; n <= log.pendingSamples().recordCount(); ++n)
            out.append(GetTrendPoint(log.pendingSamples().records(), n));
        return out;
    }

    clsInterval log;
};

TEST_F(IntervalLogTest, SampleRunsAndEvents) {
    EXPECT_TRUE(record({0x00, 0x64, 0x80, 0x03}));
    EXPECT_EQ(values(), QList<float>({10, 10, 10}));
    EXPECT_EQ(GetTrendTime(log.pendingSamples().records(), 1), kStart.addSeconds(60));
    EXPECT_EQ(GetTrendTime(log.pendingSamples().records(), 3), kStart.addSeconds(180));

    EXPECT_TRUE(record({0x00, 0x1E, 0x0F, 0x01}));
    EXPECT_TRUE(record({0x03, 0xE8, 0x00, 0x02}));
    ASSERT_EQ(log.EventCount(), 2);
    EXPECT_EQ(log.EventDateTimes(0), kStart.addSeconds(210));
    EXPECT_EQ(log.GasEvent(0, 0).toFloat(), ReadingCode::Warning);
    EXPECT_EQ(log.EventDateTimes(1), kStart.addSeconds(220));
    EXPECT_EQ(log.GasEvent(0, 1).toFloat(), ReadingCode::Alarm);

    EXPECT_TRUE(record({0xDD, 0xDD, 0x80, 0x02}));
    EXPECT_TRUE(record({0xFF, 0xFF, 0x80, 0x01}));
    EXPECT_TRUE(record({0x00, 0x00, 0x80, 0x01})); // a true zero
    EXPECT_TRUE(record({0x00, 0x05, 0x80, 0x00})); // a run of 0 writes nothing
    EXPECT_EQ(values(), QList<float>({10, 10, 10, -121, -121, -101, 0}));
}

TEST_F(IntervalLogTest, RecordsThatCannotBeDecodedAreSkipped) {
    struct Case {
        const char *name;
        QByteArray raw;
    };
    const std::vector<Case> cases = {
        {"sample of slot 5", bytes({0x00, 0x10, 0x85, 0x01})},
        {"event of slot 2", bytes({0x00, 0x10, 0x02, 0x01})},
        {"record past the buffer", bytes({0x00, 0x10, 0x80})},
    };
    for (const Case &c : cases) {
        qint32 st = 0;
        EXPECT_FALSE(log.SetData(c.raw, st)) << c.name;
        EXPECT_EQ(st, 4) << c.name;
    }
    log.setGasBaseInfo(qint32(LogHeaderItem::Interval), 0);
    EXPECT_FALSE(record({0x03, 0xE8, 0x00, 0x02})); // an offset above 900 without interval
    EXPECT_EQ(log.EventCount(), 0);
}

TEST_F(IntervalLogTest, SamplesOfOtherSlotsNeverOverwriteSlotZero) {
    record({0x00, 0x64, 0x80, 0x02});
    const QByteArray before = log.pendingSamples().records();
    record({0x00, 0x05, 0x81, 0x03}); // slot 1
    EXPECT_EQ(log.pendingSamples().records(), before);
    record({0x00, 0x64, 0x80, 0x01});
    EXPECT_EQ(values(), QList<float>({10, 10, 10}));
}

TEST_F(IntervalLogTest, SlotWithoutGasInformationHasNoValues) {
    log.setGasListInfo(0, qint32(GasInfoItem::Point), -101);
    EXPECT_TRUE(record({0x00, 0x64, 0x80, 0x01}));
    EXPECT_EQ(values(), QList<float>({-101}));
}

QByteArray statistics(int code, std::initializer_list<int> avr) {
    return bytes({code}) + bytes(avr) + bytes({0x01, 0x2C}) + bytes({21, 3, 5, 10, 5, 0}) +
           bytes({0x00, 0x0A}) + bytes({0xDD, 0xDD, 0, 0, 0, 0});
}

TEST_F(IntervalLogTest, TrailerStatisticsAndEndDate) {
    const QByteArray trailer = bytes({0xEE, 0xEE, 0, 0}) + statistics(0x20, {0x01, 0x2C}) +
                               statistics(0x07, {0xFE, 0xFE}) + bytes({0x26, 21, 3, 5, 11, 0, 0});
    qint32 st = 0;
    EXPECT_FALSE(log.SetTrailer(trailer, st));
    EXPECT_EQ(st, trailer.size());
    // The entry with an unknown code belongs to the slot before it.
    EXPECT_FLOAT_EQ(log.gas(0).Avr, -118.0f);
    EXPECT_FLOAT_EQ(log.gas(0).Max, 30.0f);
    EXPECT_EQ(log.gas(0).MaxDate, Date::fromParts(2021, 3, 5, 10, 5, 0));
    EXPECT_FLOAT_EQ(log.gas(0).Min, 1.0f);
    EXPECT_EQ(log.gas(0).MinDate.days(), 2.0);
    EXPECT_EQ(log.header().Last, Date::fromParts(2021, 3, 5, 11, 0, 0));
    EXPECT_FALSE(log.header().StoredValueSeen); // not in sampling mode

    const QByteArray badSlot = bytes({0xEE, 0xEE, 0, 0}) + statistics(0x22, {0, 0});
    st = 0;
    EXPECT_THROW(log.SetTrailer(badSlot, st), TqError);
    st = 0;
    EXPECT_THROW(log.SetTrailer(trailer.left(trailer.size() - 1), st), TqError);
}

TEST_F(IntervalLogTest, SamplingModeNeedsOneNumericStatistic) {
    log.setGasBaseInfo(qint32(LogHeaderItem::Sampling), 1);
    const QByteArray coded =
        bytes({0xEE, 0xEE, 0,    0,    0x60, 0xFF, 0xFF, 0xFF, 0xFF, 0xDD, 0xDD, 0, 0, 0, 0,
               0xFF, 0xFF, 0xDD, 0xDD, 0,    0,    0,    0,    0x66, 0xDD, 0xDD, 0, 0, 0, 0});
    qint32 st = 0;
    log.SetTrailer(coded, st);
    EXPECT_FALSE(log.header().StoredValueSeen);
    QByteArray numeric = coded;
    numeric[7] = 0x00; // the maximum becomes 00 FF
    st = 0;
    log.SetTrailer(numeric, st);
    EXPECT_TRUE(log.header().StoredValueSeen);
}

TEST(IntervalObjectTest, FreshObject) {
    clsInterval log;
    EXPECT_EQ(log.GasBaseInfo(6).toString(), QString(20, '-'));
    EXPECT_EQ(log.GasBaseInfo(2).value<Date>().days(), 2.0);
    EXPECT_EQ(log.GasListInfo(0, 3).toInt(), -101);
    EXPECT_TRUE(IsEmptyVariant(log.GasListInfo(1, 0)));
    EXPECT_TRUE(IsNullVariant(log.GasBaseInfo(18)));
    EXPECT_EQ(GetGasTitle(log, 0), "----(---)");
}

TEST(IntervalObjectTest, AddEventsSharesAnEntryPerTimeAcrossSlots) {
    clsInterval log;
    const Date t = Date::fromParts(2021, 1, 1, 10, 0, 0);
    EXPECT_EQ(log.AddEvents(0, t, -103, t), 0);
    EXPECT_EQ(log.AddEvents(0, t, -104, t), 1);
    EXPECT_EQ(log.AddEvents(1, t, -105, t), 1);
    EXPECT_EQ(log.EventCount(), 2);
    EXPECT_EQ(log.GasEvent(1, 1).toFloat(), -105.0f);
    EXPECT_EQ(log.GasEvent(1, 0).toFloat(), -101.0f);
    EXPECT_THROW(log.AddEvents(2, t, -103, t), TqError);
    EXPECT_THROW(log.GasEvent(2, 0), TqError);
    EXPECT_TRUE(IsEmptyVariant(log.GasEvent(0, 2)));

    for (int i = 2; i < clsInterval::kEventEntries; ++i)
        log.AddEvents(0, t.addSeconds(i), -103, t);
    EXPECT_THROW(log.AddEvents(0, t.addSeconds(5000), -103, t), TqError);
}

TEST(IntervalObjectTest, GetOrderMergesSamplesAndEvents) {
    clsInterval log;
    const Date ten = Date::fromParts(2021, 1, 1, 10, 0, 0);
    log.AddValue(0, ten, 1);
    log.AddValue(0, ten.addSeconds(60), 2);
    log.AddEvents(0, ten.addSeconds(60), -103, ten);
    log.setGetOrder(0);
    std::vector<qint32> order;
    for (qint32 o = log.getOrder(); o != 0; o = log.getOrder())
        order.push_back(o);
    EXPECT_EQ(order, std::vector<qint32>({1, 2, -1}));
    // An event wins a tie in SerchValue.
    EXPECT_EQ(log.SerchValue(ten.addSeconds(30)), -1);
    EXPECT_EQ(log.SerchDatas(ten.addSeconds(-1), 0), 0);
    EXPECT_EQ(log.SerchEvent(ten.addSeconds(60), 0), -1);

    clsInterval events;
    events.AddEvents(0, ten, -103, ten);
    events.AddEvents(0, ten.addSeconds(1), -103, ten);
    events.setGetOrder(0);
    EXPECT_EQ(events.getOrder(), -1);
    EXPECT_EQ(events.getOrder(), -2);
    EXPECT_EQ(events.getOrder(), 0);
}

TEST(IntervalObjectTest, PriorityEvent) {
    struct Case {
        qint32 newEvent, curEvent;
        bool expected;
    };
    for (const Case &c : std::vector<Case>{{-102, -103, true},
                                           {-104, -103, false},
                                           {-107, -104, true},
                                           {-103, -104, false},
                                           {-102, -105, false},
                                           {-105, -106, true},
                                           {-104, -106, false},
                                           {-106, -107, true},
                                           {-107, -107, false},
                                           {-110, -105, true},
                                           {-104, -102, true}})
        EXPECT_EQ(clsInterval::priorityEvent(c.newEvent, c.curEvent), c.expected)
            << c.newEvent << " over " << c.curEvent;
}

TEST(IntervalObjectTest, SampleTableAccessors) {
    clsInterval log;
    log.setDataCount(54000);
    EXPECT_EQ(log.DataCount(), 0);
    log.setDataCount(-1);
    EXPECT_EQ(log.DataCount(), 0);
    log.setDataCount(2);
    log.setGasValue(0, 1, 7.5);
    EXPECT_FLOAT_EQ(log.GasValue(0, 1).toFloat(), 7.5f);
    EXPECT_TRUE(IsEmptyVariant(log.GasValue(0, 2)));
    EXPECT_THROW(log.GasValue(5, 0), TqError);
    EXPECT_EQ(log.DateTimes(-1).days(), 0.0);
}

TEST(GasTitleTest, LogsInstrumentsAndOtherObjects) {
    clsInterval log;
    log.setGasListInfo(0, qint32(GasInfoItem::Name), "CH4");
    log.setGasListInfo(0, qint32(GasInfoItem::Full), 100);
    log.setGasListInfo(0, qint32(GasInfoItem::Point), 0);
    log.setGasListInfo(0, qint32(GasInfoItem::Unit), "%LEL");
    EXPECT_EQ(GetGasTitle(log, 0), "CH4(100%LEL)");
    EXPECT_EQ(GetGasTitle(log, 1), "----(---)");
    EXPECT_EQ(GetGasTitle(QString("not a log"), 0), "----(---)");

    clsInstrument instrument;
    instrument.setGasName(0, QString());
    EXPECT_EQ(GetGasTitle(instrument, 0), "----(---)");
    instrument.setGasName(0, "O2");
    instrument.setGasUnit(0, "vol%");
    instrument.setGasFullScale(0, 25);
    instrument.setGasPoint(0, 1);
    EXPECT_EQ(GetGasTitle(instrument, 0), "O2(25.0vol%)");
}

} // namespace
} // namespace tq
