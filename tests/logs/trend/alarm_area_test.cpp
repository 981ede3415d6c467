#include "alarm_test_support.h"

#include "core/errors.h"
#include "logs/trend/alarm_area.h"
#include "logs/trend/clsAlarms.h"
#include "logs/trend/log_header.h"

#include <QJsonArray>

#include <vector>

namespace tq {
namespace {

using test::AlarmFolderTest;

constexpr qint32 S = kAlarmSectorSize;
constexpr qint32 kFirst = 0x10000;

struct WalkCase {
    const char *name;
    RingBounds bounds;
    QList<qint32> sectors;
};

TEST(AlarmRing, WalkOrder) {
    const std::vector<WalkCase> cases = {
        {"empty ring", {0x10000, 0x10000, 0}, {}},
        {"no erased sector", {-1, -1, 1}, {}},
        {"one sector", {0x16000, 0x16000, 1}, {0x16000}},
        {"not wrapped",
         {0x10000, 0x28000, 1},
         {0x10000, 0x13000, 0x16000, 0x19000, 0x1C000, 0x1F000, 0x22000, 0x25000, 0x28000}},
        {"wrapped, erased first", {0x22000, 0x2B000, 2}, {0x22000, 0x25000, 0x28000, 0x2B000}},
        {"wrapped inside",
         {0x1C000, 0x16000, 3},
         {0x1C000, 0x1F000, 0x22000, 0x25000, 0x28000, 0x2B000, 0x10000, 0x13000, 0x16000}},
        {"start inside a sector", {0x10010, 0x13000, 1}, {0x10000, 0x13000}},
        {"end beyond the area", {0x28000, 0x40000, 1}, {0x28000, 0x2B000}},
        {"state 3 end past start",
         {0x22000, 0x28000, 3},
         {0x22000, 0x25000, 0x28000, 0x2B000, 0x10000, 0x13000, 0x16000, 0x19000, 0x1C000,
          0x1F000}},
    };
    for (const WalkCase &c : cases)
        EXPECT_EQ(AlarmRingSectors(c.bounds), c.sectors) << c.name;
}

TEST(AlarmRing, SampleSectorStaysInTheRing) {
    EXPECT_EQ(AlarmSampleSector(0), 0x10000);
    EXPECT_EQ(AlarmSampleSector(2), 0x16000);
    EXPECT_EQ(AlarmSampleSector(9), 0x2B000);
    for (const qint32 n : {10, 12, 0xFFFF, -1})
        EXPECT_THROW(AlarmSampleSector(n), TqError) << n;
}

class AlarmReading : public AlarmFolderTest {
protected:
    void SetUp() override {
        AlarmFolderTest::SetUp();
        alarms.setContext(store);
    }
    // A log of the given serial number and alarm time with 720 samples of one value.
    static QJsonObject log(const QString &serial, const QString &date, double value = 1) {
        return QJsonObject{{"serial", serial},
                           {"date", date},
                           {"samples", QJsonObject{{"values", QJsonArray{value}}, {"count", 720}}}};
    }
    static QJsonObject ring(const QJsonArray &logs, int firstSector = 0) {
        return QJsonObject{{"alarm", QJsonObject{{"first_sector", firstSector}, {"logs", logs}}}};
    }
    QStringList read(const QJsonObject &description, bool expected) {
        EXPECT_EQ(alarms.ReadBinaryLog(buildImage(description)), expected);
        QStringList keys;
        for (qint64 i = 1; i <= alarms.Count(); ++i)
            keys.append(alarms.Item(i)->Key());
        return keys;
    }
    static QString serialOf(const clsAlarms::LogPtr &log) {
        return log->GasBaseInfo(qint32(LogHeaderItem::SerialNo)).toString();
    }

    clsAlarms alarms;
};

TEST_F(AlarmReading, ErasedRingIsNoDataNotAFailure) {
    EXPECT_TRUE(read({}, true).isEmpty());
}

TEST_F(AlarmReading, RingWithoutErasedSectorFails) {
    QJsonArray logs;
    for (int i = 0; i < 10; ++i)
        logs.append(log("F1", QStringLiteral("2024-01-0%1 10:00:00").arg(i % 9 + 1)));
    EXPECT_TRUE(read(ring(logs), false).isEmpty());
}

TEST_F(AlarmReading, KeysFollowTheHeaderSectors) {
    const QStringList keys =
        read(ring({log("A1", "2024-05-06 12:00:00"), log("A2", "2024-05-06 13:00:00"),
                   log("A3", "2024-05-06 14:00:00")}),
             true);
    EXPECT_EQ(keys, QStringList({"65536 L", "77824 L", "90112 L"}));
    EXPECT_EQ(serialOf(alarms.Item("77824 L")), "A2");
    EXPECT_EQ(alarms.Item("77824 L"), alarms.Item(2));
    EXPECT_EQ(alarms.Item("1 L"), nullptr);
}

TEST_F(AlarmReading, WrappedRingIsReadOldestFirst) {
    QJsonArray logs;
    for (int i = 0; i < 5; ++i)
        logs.append(
            log(QStringLiteral("W%1").arg(i), QStringLiteral("2024-03-0%1 08:00:00").arg(i + 1)));
    // Sectors 7, 8, 9, 0, 1 written, 2 to 6 erased.
    const QStringList keys = read(ring(logs, 7), true);
    EXPECT_EQ(keys, QStringList({QString::number(kFirst + 7 * S) + " L",
                                 QString::number(kFirst + 8 * S) + " L",
                                 QString::number(kFirst + 9 * S) + " L", "65536 L", "77824 L"}));
    EXPECT_EQ(serialOf(alarms.Item(5)), "W4");
}

TEST_F(AlarmReading, RingWhoseFirstSectorIsErased) {
    const QStringList keys =
        read(ring({log("E1", "2024-03-01 08:00:00"), log("E2", "2024-03-02 08:00:00")}, 1), true);
    EXPECT_EQ(keys, QStringList({"77824 L", "90112 L"}));
}

TEST_F(AlarmReading, SectorWithoutHeaderIsPassedOver) {
    const QStringList keys =
        read(ring({log("P1", "2024-05-06 12:00:00"), QJsonObject{{"bytes", "12 34 56"}},
                   log("P3", "2024-05-06 14:00:00")}),
             true);
    EXPECT_EQ(keys, QStringList({"65536 L", "90112 L"}));
}

TEST_F(AlarmReading, SamplesComeFromTheSectorTheBlockNumberNames) {
    QJsonObject moved = log("M1", "2024-05-06 12:00:00", 7);
    moved["sector"] = 2;
    moved["block_no"] = 4;
    read(ring({moved}), true);
    const clsAlarms::LogPtr item = alarms.Item("90112 L");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GasBaseInfo(qint32(LogHeaderItem::LogNo)).toInt(), 4);
    EXPECT_FLOAT_EQ(GetTrendPoint(item->pendingSamples().records(), 1), 7);
}

// A damaged block ends the reading: the logs before it are kept, the damaged one is not.
TEST_F(AlarmReading, DamagedHeaderEndsTheReading) {
    QJsonObject beyond = log("B2", "2024-06-01 11:00:00");
    beyond["block_no"] = 12;
    QJsonObject slot2 = log("G2", "2024-06-01 11:00:00");
    slot2["gases"] = QJsonArray{QJsonObject{{"slot", 2}, {"name", "H2S"}}};
    for (const QJsonObject &damaged : {beyond, slot2}) {
        alarms.Clear();
        const QStringList keys = read(
            ring({log("OK", "2024-06-01 10:00:00"), damaged, log("L3", "2024-06-01 12:00:00")}),
            false);
        ASSERT_EQ(keys, QStringList({"65536 L", "77824 L"}));
        EXPECT_FALSE(alarms.Item(1)->Error());
        EXPECT_TRUE(alarms.Item(2)->Error()) << serialOf(alarms.Item(2)).toStdString();
    }
}

TEST_F(AlarmReading, HeaderWithoutSlot0GasDoesNotEndTheReading) {
    QJsonObject noGas = log("N1", "2024-07-01 11:00:00");
    noGas["gases"] = QJsonArray{};
    noGas["samples"] = QJsonArray{0, 7, "DD DD", QJsonValue::Null};
    EXPECT_EQ(read(ring({noGas, log("N2", "2024-07-01 12:00:00", 8)}), true).size(), 2);
    const QByteArray &records = alarms.Item(1)->pendingSamples().records();
    EXPECT_FLOAT_EQ(GetTrendPoint(records, 2), -101); // a count without decimals to scale it
    EXPECT_FLOAT_EQ(GetTrendPoint(records, 3), -121);
    EXPECT_FLOAT_EQ(GetTrendPoint(records, 4), -101);
}

TEST_F(AlarmReading, MissingOrShortImageFails) {
    EXPECT_FALSE(alarms.ReadBinaryLog(path("missing.bin")));
    EXPECT_FALSE(alarms.ReadBinaryLog(buildImage(QJsonObject{{"size", 1000}})));
    EXPECT_EQ(alarms.Count(), 0);
}

} // namespace
} // namespace tq
