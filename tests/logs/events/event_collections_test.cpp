#include "event_fixtures.h"

#include "logs/events/clsAlarmEvents.h"
#include "logs/events/clsPowerEvents.h"
#include "logs/events/clsTroubleEvents.h"
#include "logs/trend/flash_image.h"

namespace tq::test {
namespace {

constexpr qint32 kAlarmArea = 0x50000;
constexpr qint32 kTroubleArea = 0x60000;

EventBlockSpec withRecords(QList<std::array<quint8, 2>> records) {
    EventBlockSpec layout;
    layout.records = std::move(records);
    return layout;
}

class EventCollectionTest : public EventDatabaseTest {};

TEST_F(EventCollectionTest, WrittenBlocksBecomeMembersInAreaOrder) {
    QByteArray image = ErasedImage();
    PutBlock(image, kAlarmArea, EventBlock(withRecords({{0x70, 0x00}})));
    PutBlock(image, kAlarmArea + 0x100, EventBlock(withRecords({{0x70, 0x01}, {0x71, 0x02}})));
    PutBlock(image, kTroubleArea, EventBlock(withRecords({{0x7F, 0x20}})));
    const QString file = imageFile(image);

    clsAlarmEvents alarms;
    alarms.setContext(store);
    ASSERT_TRUE(alarms.ReadBinaryLog(file));
    ASSERT_EQ(alarms.Count(), 2);
    EXPECT_EQ(alarms.Item(1)->Key(), QStringLiteral("327680 L"));
    EXPECT_EQ(alarms.Item(2)->Key(), QStringLiteral("327936 L"));
    EXPECT_EQ(alarms.Item(QStringLiteral("327680 L")), alarms.Item(1));
    EXPECT_EQ(alarms.Item(1)->DataCount(), 1);
    EXPECT_EQ(alarms.Item(2)->DataCount(), 2);
    EXPECT_EQ(alarms.Item(1)->SeqNo(), 0);

    clsTroubleEvents troubles; // the area alone decides the family
    ASSERT_TRUE(troubles.ReadBinaryLog(file));
    ASSERT_EQ(troubles.Count(), 1);
    EXPECT_EQ(troubles.Item(1)->Key(), QStringLiteral("393216 L"));
    EXPECT_EQ(troubles.Item(1)->GasNo(0), 15);
}

TEST_F(EventCollectionTest, PowerBlocksAreWrittenUnlessTheyBeginFfFf) {
    QByteArray image = ErasedImage();
    const QByteArray date("\x14\x03\x1F\x17\x3B\x00", 6);
    PutBlock(image, 0x000, PowerBlock(7, date, 1));
    PutBlock(image, 0x100, PowerBlock(0xFFFF, date, 1)); // erased mark: skipped
    PutBlock(image, 0x200, PowerBlock(0xFF00, date, 0)); // only FF FF marks an empty block
    clsPowerEvents powers;
    powers.setContext(store);
    ASSERT_TRUE(powers.ReadBinaryLog(imageFile(image)));
    ASSERT_EQ(powers.Count(), 2);
    EXPECT_EQ(powers.Item(1)->Key(), QStringLiteral("0 L"));
    EXPECT_EQ(powers.Item(2)->Key(), QStringLiteral("512 L"));
    EXPECT_EQ(powers.Item(2)->LogCnt(0), 0xFF00);
}

TEST_F(EventCollectionTest, ReadingTwiceAddsNoMemberButRepeatsTheRecords) {
    QByteArray image = ErasedImage();
    PutBlock(image, kAlarmArea, EventBlock(withRecords({{0x70, 0x00}, {0x70, 0x01}})));
    PutBlock(image, 0x000, PowerBlock(1, QByteArray("\x14\x01\x01\x00\x00\x00", 6), 1));
    const QString file = imageFile(image);
    clsAlarmEvents alarms;
    alarms.setContext(store);
    clsPowerEvents powers;
    powers.setContext(store);
    ASSERT_TRUE(alarms.ReadBinaryLog(file));
    ASSERT_TRUE(alarms.ReadBinaryLog(file));
    ASSERT_TRUE(powers.ReadBinaryLog(file));
    ASSERT_TRUE(powers.ReadBinaryLog(file));
    ASSERT_EQ(alarms.Count(), 1);
    EXPECT_EQ(alarms.Item(1)->DataCount(), 4);
    ASSERT_EQ(powers.Count(), 1);
    EXPECT_EQ(powers.Item(1)->DataCount(), 2);
}

TEST_F(EventCollectionTest, UnreadableImagesFail) {
    clsAlarmEvents alarms;
    alarms.setContext(store);
    EXPECT_FALSE(alarms.ReadBinaryLog(path(QStringLiteral("missing.DAT"))));
    const QString shortFile = path(QStringLiteral("short.DAT"));
    writeFile(shortFile, QByteArray(1000, char(0xFF)));
    EXPECT_FALSE(alarms.ReadBinaryLog(shortFile));
    EXPECT_EQ(alarms.Count(), 0);
}

TEST_F(EventCollectionTest, MembersGetTheCollectionsInstrument) {
    QByteArray image = ErasedImage();
    PutBlock(image, kAlarmArea, EventBlock(withRecords({{0x70, 0x00}})));
    clsAlarmEvents alarms;
    alarms.setContext(store);
    auto instrument = std::make_shared<clsInstrument>();
    alarms.setInstruments(instrument);
    ASSERT_TRUE(alarms.ReadBinaryLog(imageFile(image)));
    EXPECT_EQ(alarms.Item(1)->Instrument(), instrument);
}

TEST_F(EventCollectionTest, ClearItemAndSelection) {
    clsTroubleEvents troubles;
    troubles.setContext(store);
    for (const char *key : {"a L", "b L", "c L"})
        troubles.Add(QString::fromLatin1(key), 0);
    EXPECT_THROW(troubles.Add(QStringLiteral("b L"), 0), TqError);
    EXPECT_EQ(troubles.Item(qint64(0)), nullptr);
    EXPECT_EQ(troubles.Item(qint64(4)), nullptr);
    EXPECT_EQ(troubles.Item(QStringLiteral("x L")), nullptr);
    troubles.setSelectedItem(troubles.Item(2));
    EXPECT_EQ(troubles.SelectedItem(), troubles.Item(2));
    troubles.Clear();
    EXPECT_EQ(troubles.Count(), 0);
    EXPECT_THROW(troubles.SelectedItem(), TqError);
    EXPECT_THROW(troubles.Remove(QStringLiteral("a L")), TqError);
}

} // namespace
} // namespace tq::test
