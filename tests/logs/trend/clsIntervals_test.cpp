#include "logs/trend/clsIntervals.h"

#include "core/gas_format.h"
#include "logs/trend/flash_image.h"
#include "trend_test_support.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace tq {
namespace {

class IntervalReaderTest : public test::TrendStoreTest {
protected:
    void SetUp() override {
        TrendStoreTest::SetUp();
        logs.setContext(store);
    }
    // Reads a fixture image into logs; the result of ReadBinaryLog.
    bool read(const QString &fixture) {
        return logs.ReadBinaryLog(image(test::ImageFixture(fixture)));
    }
    QString keyOf(qint32 offset) const { return QString::number(offset) + " L"; }
    // The decoded slot-0 samples of a log.
    QList<float> values(const clsInterval &log) const {
        QList<float> out;
        const QByteArray &records = log.pendingSamples().records();
        for (qint64 n = 1; n <= log.pendingSamples().recordCount(); ++n)
            out.append(GetTrendPoint(records, n));
        return out;
    }
    QStringList keys() const {
        QStringList out;
        for (const auto &item : logs)
            out.append(item->Key());
        return out;
    }

    clsIntervals logs;
};

TEST_F(IntervalReaderTest, DecodesHeadersSamplesEventsAndTrailers) {
    ASSERT_TRUE(read("interval_basic.json"));
    ASSERT_EQ(logs.Count(), 3);
    EXPECT_EQ(keys(), QStringList({keyOf(0x40000), keyOf(0x40100), keyOf(0x40200)}));

    const clsInterval &first = *logs.Item(keyOf(0x40000));
    const Date start = Date::fromParts(2021, 3, 5, 14, 7, 9);
    EXPECT_EQ(first.header().Names, "iv05140709_X1");
    EXPECT_EQ(first.header().FolderID, "03/21");
    EXPECT_EQ(first.header().UserID, "ALICE");
    EXPECT_EQ(first.header().StationID, "TANK-7");
    EXPECT_EQ(first.header().LunchBreak, 3);
    EXPECT_EQ(first.gas(0).Name, "CH4");
    EXPECT_FLOAT_EQ(first.gas(0).Stel, -101.0f);
    EXPECT_FLOAT_EQ(first.gas(0).Twa, -118.0f);
    EXPECT_FLOAT_EQ(first.gas(0).Ratio, 1.2f);
    EXPECT_EQ(values(first),
              QList<float>({10, 10, 10, 12.5, -121, -121, -118, -101, 0, 0.5, 3, 3, 4}));
    const QByteArray &records = first.pendingSamples().records();
    EXPECT_EQ(GetTrendTime(records, 1), start.addSeconds(60));
    EXPECT_EQ(GetTrendTime(records, 13), start.addSeconds(13 * 60));
    ASSERT_EQ(first.EventCount(), 2);
    EXPECT_EQ(first.EventDateTimes(0), start.addSeconds(3 * 60 + 30));
    EXPECT_EQ(first.GasEvent(0, 0).toFloat(), ReadingCode::Warning);
    EXPECT_EQ(first.EventDateTimes(1), start.addSeconds(10 * 60 + 1000 % 60));
    EXPECT_EQ(first.GasEvent(0, 1).toFloat(), ReadingCode::Alarm);
    EXPECT_FLOAT_EQ(first.gas(0).Max, 12.5f);
    EXPECT_EQ(first.header().Last, start.addSeconds(13 * 60));
    QDir data(store.DataFolder);
    EXPECT_TRUE(data.exists("21/03"));
    // Samples wait for the store: decoding writes no trend file.
    EXPECT_FALSE(QFileInfo::exists(data.filePath("21/03/iv05140709_X1.Dat")));

    const clsInterval &second = *logs.Item(keyOf(0x40100));
    EXPECT_EQ(second.header().SerialNo, "ABCDEFGHIJKL" + QString(8, ' '));
    EXPECT_EQ(second.header().Dates.days(), Date::emptyLogDate().days());
    EXPECT_EQ(second.header().Names, "iv01000000_ABCDEFGHIJKL" + QString(8, ' '));
    EXPECT_EQ(second.header().UserID, QString(16, '-'));
    EXPECT_EQ(second.header().Sampling, 1);
    EXPECT_TRUE(second.header().StoredValueSeen);
    EXPECT_EQ(second.header().ppm_hi, 2000);
    EXPECT_EQ(second.header().vol_lo, -121);
    EXPECT_EQ(second.header().vol_hi, 65535);
    EXPECT_EQ(values(second), QList<float>({1, 2, 3, 4, 5}));

    // Slot-1 samples are counted but never land in the slot-0 records.
    const clsInterval &third = *logs.Item(keyOf(0x40200));
    EXPECT_EQ(third.pendingSamples().recordCount(), 340);
    EXPECT_EQ(values(third).first(), 20.9f);
    EXPECT_EQ(values(third).last(), 19.0f);
    EXPECT_EQ(GetTrendTime(third.pendingSamples().records(), 340),
              Date::fromParts(2021, 3, 6, 8, 0, 0).addSeconds(340 * 30));
    EXPECT_TRUE(third.gas(1).Enable);
    EXPECT_EQ(third.gas(1).Name, "CO");
}

TEST_F(IntervalReaderTest, AnErasedRingIsNoDataAndAShortFileFails) {
    EXPECT_TRUE(read("erased.json"));
    EXPECT_EQ(logs.Count(), 0);
    EXPECT_FALSE(read("short_file.json"));
    EXPECT_EQ(logs.Count(), 0);
    EXPECT_FALSE(logs.ReadBinaryLog(dir.filePath("missing.DAT")));
}

TEST_F(IntervalReaderTest, TwoHeadersInOnePageAreBothKept) {
    ASSERT_TRUE(read("two_headers_one_page.json"));
    EXPECT_EQ(keys(), QStringList({keyOf(0x40000), keyOf(0x4008E), keyOf(0x40200)}));
    EXPECT_EQ(logs.Item(keyOf(0x40000))->header().UserID, "FIRST");
    EXPECT_EQ(values(*logs.Item(keyOf(0x40000))), QList<float>({1, 2, 3}));
    EXPECT_EQ(logs.Item(keyOf(0x4008E))->header().UserID, "SECOND");
    EXPECT_EQ(values(*logs.Item(keyOf(0x4008E))), QList<float>({4, 5, 6, 7}));
}

TEST_F(IntervalReaderTest, WrappedRingStartsMidPageAndReadsEachByteOnce) {
    ASSERT_TRUE(read("wrapped_rings.json"));
    // The tail of the overwritten log has no header: nothing is made of it.
    EXPECT_EQ(keys(), QStringList({keyOf(0x4FC3A), keyOf(0x40700)}));
    const clsInterval &wrapped = *logs.Item(keyOf(0x4FC3A));
    EXPECT_EQ(wrapped.pendingSamples().recordCount(), 602);
    EXPECT_EQ(wrapped.EventCount(), 1);
    EXPECT_EQ(logs.Item(keyOf(0x40700))->pendingSamples().recordCount(), 1440);
}

TEST_F(IntervalReaderTest, AStateTwoWalkStaysInsideTheIntervalArea) {
    ASSERT_TRUE(read("first_unit_erased.json"));
    // The alarm-event block at 0x50000 looks like a header but lies outside the ring.
    EXPECT_EQ(keys(), QStringList({keyOf(0x40100), keyOf(0x40200)}));
}

TEST_F(IntervalReaderTest, OrphanTailAndPageEndMark) {
    ASSERT_TRUE(read("orphan_tail.json"));
    EXPECT_EQ(keys(), QStringList({keyOf(0x40300), keyOf(0x40400)}));
    EXPECT_EQ(logs.Item(keyOf(0x40300))->EventCount(), 1);

    clsIntervals other;
    other.setContext(store);
    ASSERT_TRUE(other.ReadBinaryLog(image(test::ImageFixture("page_end_mark.json"))));
    ASSERT_EQ(other.Count(), 2);
    EXPECT_EQ(other.Item(1)->pendingSamples().recordCount(), 43);
    EXPECT_EQ(other.Item(1)->header().Last.days() > Date::emptyLogDate().days(), true);
    EXPECT_EQ(other.Item(2)->pendingSamples().recordCount(), 2);
}

TEST_F(IntervalReaderTest, AHeaderWithoutSlotZeroGasDoesNotEndTheWalk) {
    ASSERT_TRUE(read("no_slot0_gas.json"));
    ASSERT_EQ(logs.Count(), 2);
    EXPECT_EQ(values(*logs.Item(1)), QList<float>({-101, -101, -101}));
    EXPECT_FALSE(logs.Item(1)->Error());
    EXPECT_EQ(values(*logs.Item(2)), QList<float>({4, 5}));
}

// A damaged block ends the walk: the logs before it stay and are sound, the one that failed
// is marked so it is not stored, and nothing after it is read.
TEST_F(IntervalReaderTest, DamagedBlocksEndTheWalk) {
    struct Case {
        const char *fixture;
        QStringList keys;
    };
    const QList<Case> cases = {
        {"corrupt_gas_slot.json", {keyOf(0x40000), keyOf(0x40100)}},
        {"trailer_gas_slot.json", {keyOf(0x40000), keyOf(0x40100)}},
        {"header_past_page.json", {keyOf(0x40000), keyOf(0x400A6)}},
    };
    for (const Case &c : cases) {
        clsIntervals read;
        read.setContext(store);
        EXPECT_FALSE(read.ReadBinaryLog(image(test::ImageFixture(c.fixture)))) << c.fixture;
        QStringList found;
        for (const auto &item : read)
            found.append(item->Key());
        EXPECT_EQ(found, c.keys) << c.fixture;
        ASSERT_EQ(read.Count(), 2) << c.fixture;
        EXPECT_FALSE(read.Item(1)->Error()) << c.fixture;
        EXPECT_EQ(read.Item(1)->pendingSamples().recordCount(),
                  3 + 7 * (c.keys[1] == keyOf(0x400A6)))
            << c.fixture;
        EXPECT_TRUE(read.Item(2)->Error()) << c.fixture;
    }
}

TEST_F(IntervalReaderTest, NewLogsGetTheCollectionsInstrument) {
    auto instrument = std::make_shared<clsInstrument>();
    logs.setInstruments(instrument);
    ASSERT_TRUE(read("two_headers_one_page.json"));
    for (const auto &item : logs)
        EXPECT_EQ(item->Instrument(), instrument);
}

} // namespace
} // namespace tq
