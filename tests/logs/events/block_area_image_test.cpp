// The five block areas read from images of the image builder: record kinds, reading codes,
// impossible dates, blank identifiers, empty areas and the corruptions of a block.

#include "test_support.h"

#include "logs/events/clsAlarmEvents.h"
#include "logs/events/clsHistorys.h"
#include "logs/events/clsPowerEvents.h"
#include "logs/events/clsSnapShots.h"
#include "logs/events/clsTroubleEvents.h"
#include "logs/trend/log_items.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <functional>
#include <vector>

namespace tq::test {
namespace {

const QString kBlank16(16, QLatin1Char('-'));
const QString kBlank20(20, QLatin1Char('-'));

// What an alarm- or trouble-event area read gives.
struct GasEventArea {
    bool ok = false;
    std::vector<std::shared_ptr<GasEventLog>> logs;
};

template <class Collection> GasEventArea readGasEvents(const QString &image) {
    Collection area;
    GasEventArea result;
    result.ok = area.ReadBinaryLog(image);
    for (qint64 i = 1; i <= area.Count(); ++i)
        result.logs.push_back(area.Item(i));
    return result;
}

struct GasEventFamily {
    const char *name;
    const char *areaKey; // the builder's name of the area
    std::function<GasEventArea(const QString &)> read;
};

class GasEventAreaTest : public ::testing::TestWithParam<GasEventFamily> {
protected:
    // The image of an area holding the given blocks.
    static QString image(const QJsonArray &blocks) {
        const QJsonObject description{{QString::fromLatin1(GetParam().areaKey), blocks}};
        return BuildImage(QString::fromUtf8(QJsonDocument(description).toJson()));
    }
    static GasEventArea read(const QJsonArray &blocks) { return GetParam().read(image(blocks)); }
    static QJsonObject event(int gas, int status) {
        return QJsonObject{{"gas", gas}, {"status", status}};
    }
    static QJsonObject block(const QJsonArray &events) {
        return QJsonObject{{"serial", "X1"}, {"date", "2024-05-01 10:00:00"}, {"events", events}};
    }
};

TEST_P(GasEventAreaTest, EveryRecordKindAndABlankHeader) {
    QJsonObject first = block(
        {event(0, 1), event(1, 2), event(15, 6), event(5, 3)}); // gas 5: no slot the program shows
    first["user"] = "ALICE";
    first["gases"] = QJsonArray{QJsonObject{{"slot", 0}}, QJsonObject{{"slot", 1}}};
    const QJsonObject blank{{"date", QJsonArray{21, 13, 1, 0, 0, 0}},
                            {"events", QJsonArray{event(0, 0)}}};
    const GasEventArea area = read({first, blank});
    ASSERT_TRUE(area.ok);
    ASSERT_EQ(area.logs.size(), 2u);
    const GasEventLog &log = *area.logs[0];
    EXPECT_EQ(log.header().UserID, QStringLiteral("ALICE"));
    ASSERT_EQ(log.DataCount(), 4);
    const std::vector<qint16> gasNumbers{0, 1, 15, 5};
    for (qint32 i = 0; i < 4; ++i) {
        EXPECT_EQ(log.GasNo(i), gasNumbers[i]) << i;
        EXPECT_EQ(log.Dates(i), Date::fromParts(2024, 5, 1, 10, 0, 0)) << i;
    }
    const GasEventLog &other = *area.logs[1];
    EXPECT_EQ(other.header().UserID, kBlank16);
    EXPECT_EQ(other.header().StationID, kBlank16);
    EXPECT_EQ(other.header().SerialNo, kBlank20);
    EXPECT_EQ(other.header().Dates, Date::emptyLogDate());
    EXPECT_EQ(other.Dates(0), Date::emptyLogDate());
}

TEST_P(GasEventAreaTest, AFullBlockWithoutTerminatorEndsAtTheBlockEnd) {
    QJsonArray events; // records from byte 96 to the block's last byte
    for (int i = 0; i < (256 - 96) / 2; ++i)
        events.append(event(0, 1 + i % 6));
    const GasEventArea area = read({block(events), block({event(1, 2)})});
    ASSERT_TRUE(area.ok);
    ASSERT_EQ(area.logs.size(), 2u);
    EXPECT_EQ(area.logs[0]->DataCount(), events.size());
    EXPECT_EQ(area.logs[1]->DataCount(), 1);
    EXPECT_EQ(area.logs[1]->GasNo(0), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Families, GasEventAreaTest,
    ::testing::Values(GasEventFamily{"alarm", "alarm_events", readGasEvents<clsAlarmEvents>},
                      GasEventFamily{"trouble", "trouble_events", readGasEvents<clsTroubleEvents>}),
    [](const auto &info) { return std::string(info.param.name); });

// What a read of an area with log headers gives: the result and the keys of its members.
struct AreaRead {
    bool ok = false;
    QStringList keys;
};

template <class Collection> AreaRead readKeys(const QString &image) {
    Collection area;
    AreaRead result;
    result.ok = area.ReadBinaryLog(image);
    for (qint64 i = 1; i <= area.Count(); ++i)
        result.keys << area.Item(i)->Key();
    return result;
}

struct HeaderFamily {
    const char *name;
    const char *areaKey;
    qint32 area;      // the area's offset in the image
    const char *body; // the JSON members of a sound block after its header
    std::function<AreaRead(const QString &)> read;
};

class HeaderFamilyTest : public ::testing::TestWithParam<HeaderFamily> {};

// A block whose header names gas slot 2 fails half-way: the logs before it are kept, the
// failing one and those after it are not.
TEST_P(HeaderFamilyTest, ABlockFailingHalfWayKeepsTheLogsBeforeIt) {
    const HeaderFamily &family = GetParam();
    const QJsonObject body = QJsonDocument::fromJson(family.body).object();
    QJsonObject sound = body;
    sound["serial"] = "X1";
    QJsonObject bad = sound;
    bad["gases"] = QJsonArray{QJsonObject{{"slot", 0}}, QJsonObject{{"slot", 2}}};
    const QJsonObject description{
        {QString::fromLatin1(family.areaKey), QJsonArray{sound, bad, sound}}};
    const AreaRead read =
        family.read(BuildImage(QString::fromUtf8(QJsonDocument(description).toJson())));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.keys, QStringList{QStringLiteral("%1 L").arg(family.area)});
}

INSTANTIATE_TEST_SUITE_P(
    Families, HeaderFamilyTest,
    ::testing::Values(
        HeaderFamily{"alarm", "alarm_events", 0x50000, R"({"events": [{"gas": 0, "status": 1}]})",
                     readKeys<clsAlarmEvents>},
        HeaderFamily{"trouble", "trouble_events", 0x60000,
                     R"({"events": [{"gas": 15, "status": 6}]})", readKeys<clsTroubleEvents>},
        HeaderFamily{"snapshot", "snapshots", 0x30000, R"({"value": 5})", readKeys<clsSnapShots>},
        HeaderFamily{"history", "histories", 0x70000,
                     R"({"records": [{"calibration": {"before": 1, "after": 2}}]})",
                     readKeys<clsHistorys>}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(BlockAreaImageTest, AnErasedImageIsNoDataInEveryArea) {
    const QString image = BuildImage(QStringLiteral("erased"));
    clsAlarmEvents alarms;
    clsTroubleEvents troubles;
    clsPowerEvents powers;
    clsSnapShots snapshots;
    clsHistorys histories;
    EXPECT_TRUE(alarms.ReadBinaryLog(image));
    EXPECT_TRUE(troubles.ReadBinaryLog(image));
    EXPECT_TRUE(powers.ReadBinaryLog(image));
    EXPECT_TRUE(snapshots.ReadBinaryLog(image));
    EXPECT_TRUE(histories.ReadBinaryLog(image));
    EXPECT_EQ(alarms.Count() + troubles.Count() + powers.Count() + snapshots.Count() +
                  histories.Count(),
              0);
}

TEST(BlockAreaImageTest, PowerEventsOfTheFixture) {
    clsPowerEvents powers;
    ASSERT_TRUE(powers.ReadBinaryLog(BuildImage(QStringLiteral("events_basic"))));
    ASSERT_EQ(powers.Count(), 3);
    EXPECT_EQ(powers.Item(1)->Dates(0), Date::fromParts(2024, 5, 1, 8, 0, 0));
    EXPECT_TRUE(powers.Item(1)->Flags(0));
    EXPECT_FALSE(powers.Item(2)->Flags(0));
    EXPECT_EQ(powers.Item(3)->Key(), QStringLiteral("1280 L")); // block 5
    EXPECT_EQ(powers.Item(3)->LogCnt(0), 3);
    EXPECT_EQ(powers.Item(3)->Dates(0), Date::emptyLogDate());
}

struct ReadingCase {
    const char *pair;
    float value;
};
const std::vector<ReadingCase> kReadingCodes{
    {"DD DD", -121.0f}, {"FE FE", -118.0f}, {"FF FF", -101.0f}, {"01 F4", 50.0f}};
const QJsonArray kOneDecimalGas{
    QJsonObject{{"name", "CH4"}, {"decimals", 1}, {"unit", "%LEL"}, {"full", 100}}};

TEST(BlockAreaImageTest, SnapshotReadingCodesBlankIdsAndImpossibleDates) {
    QJsonArray blocks;
    for (const ReadingCase &c : kReadingCodes)
        blocks.append(QJsonObject{{"gases", kOneDecimalGas},
                                  {"date", QJsonArray{255, 255, 255, 255, 255, 255}},
                                  {"value", c.pair}});
    clsSnapShots snapshots;
    ASSERT_TRUE(snapshots.ReadBinaryLog(
        BuildImage(QString::fromUtf8(QJsonDocument(QJsonObject{{"snapshots", blocks}}).toJson()))));
    ASSERT_EQ(snapshots.Count(), qint64(kReadingCodes.size()));
    for (size_t i = 0; i < kReadingCodes.size(); ++i) {
        const auto snap = snapshots.Item(qint64(i) + 1);
        EXPECT_FLOAT_EQ(snap->GasValue(0), kReadingCodes[i].value) << kReadingCodes[i].pair;
        EXPECT_EQ(snap->header().UserID, kBlank16);
        EXPECT_EQ(snap->header().SerialNo, kBlank20);
        EXPECT_EQ(snap->header().Dates, Date::emptyLogDate());
    }
}

TEST(BlockAreaImageTest, HistoryReadingCodesBlankIdsAndImpossibleDates) {
    QJsonArray blocks;
    for (const ReadingCase &c : kReadingCodes) {
        const QJsonObject calibration{{"slot", 0}, {"before", c.pair}, {"after", c.pair}};
        blocks.append(
            QJsonObject{{"gases", kOneDecimalGas},
                        {"date", QJsonArray{21, 13, 1, 0, 0, 0}},
                        {"records", QJsonArray{QJsonObject{{"calibration", calibration}}}}});
    }
    clsHistorys histories;
    ASSERT_TRUE(histories.ReadBinaryLog(
        BuildImage(QString::fromUtf8(QJsonDocument(QJsonObject{{"histories", blocks}}).toJson()))));
    ASSERT_EQ(histories.Count(), qint64(kReadingCodes.size()));
    for (size_t i = 0; i < kReadingCodes.size(); ++i) {
        const auto history = histories.Item(qint64(i) + 1);
        EXPECT_EQ(history->kind(), HistoryKind::Calibration);
        EXPECT_FLOAT_EQ(history->Before(0, 0), kReadingCodes[i].value) << kReadingCodes[i].pair;
        EXPECT_FLOAT_EQ(history->After(0, 0), kReadingCodes[i].value) << kReadingCodes[i].pair;
        EXPECT_EQ(history->GasBaseInfo(qint32(LogHeaderItem::UserID)).toString(), kBlank16);
        EXPECT_EQ(history->GasBaseInfo(qint32(LogHeaderItem::SerialNo)).toString(), kBlank20);
        EXPECT_EQ(history->Dates(0), Date::emptyLogDate());
    }
}

} // namespace
} // namespace tq::test
