#include "core/database.h"
#include "core/errors.h"
#include "logs/trend/clsIntervals.h"
#include "logs/trend/log_items.h"
#include "trend_test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace tq {
namespace {

class IntervalStorageTest : public test::TrendStoreTest {
protected:
    void SetUp() override {
        TrendStoreTest::SetUp();
        instrument->setRomNumber(4321);
    }
    // Reads a fixture image and stores every log; the collection.
    std::unique_ptr<clsIntervals> import(const QString &description) {
        auto logs = std::make_unique<clsIntervals>();
        logs->setContext(store);
        logs->ReadBinaryLog(image(description));
        for (const auto &log : *logs) {
            log->setInstrument(instrument);
            log->Update();
        }
        return logs;
    }
    // Every file in the data folder, relative to it, as one text.
    std::string files() const {
        QStringList out;
        QDirIterator it(store.DataFolder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            out.append(QDir(store.DataFolder).relativeFilePath(it.next()));
        out.sort();
        return out.join(", ").toStdString();
    }
    QString trendFile(const QString &relative) const {
        return store.DataFolder + QLatin1Char('/') + relative;
    }
    std::shared_ptr<clsInterval> reload(qint64 seqNo) {
        auto log = std::make_shared<clsInterval>();
        log->setContext(store);
        log->ClearDatas();
        log->setSeqNo(seqNo);
        bool condensed = false;
        log->ReLoad(condensed);
        return log;
    }

    std::shared_ptr<clsInstrument> instrument = std::make_shared<clsInstrument>();
};

TEST_F(IntervalStorageTest, StoredLogsReloadWithTheirHeaderSamplesAndEvents) {
    const auto logs = import(test::ImageFixture("interval_basic.json"));
    EXPECT_EQ(rows("Log_head"), 3);
    EXPECT_EQ(rows("Log_head", "Types=1"), 2);
    EXPECT_EQ(rows("Log_head", "Types=9 And Sampling=1"), 1);
    EXPECT_EQ(rows("Log_head", "RomNum=4321"), 3);
    EXPECT_EQ(rows("Interval_Event"), 3);
    EXPECT_EQ(rows("Interval_Data"), 0);
    EXPECT_EQ(QFileInfo(trendFile("21/03/iv05140709_X1.Dat")).size(), 13 * 12);

    Database db(store.DatabasePath);
    const qint64 key =
        db.scalar("Select SeqNo From Log_head Where Names='iv05140709_X1'").toLongLong();
    EXPECT_EQ(db.scalar("Select Dcount From Log_head Where SeqNo=?", {key}).toLongLong(), 15);

    const clsInterval &stored = *logs->Item(1);
    const auto loaded = reload(key);
    for (qint32 code = 0; code <= 17; ++code) {
        if (code == qint32(LogHeaderItem::LogNo))
            continue; // not stored back into the object
        EXPECT_EQ(loaded->GasBaseInfo(code), stored.GasBaseInfo(code)) << "header item " << code;
    }
    for (qint32 code = 0; code <= 15; ++code)
        EXPECT_EQ(loaded->GasListInfo(0, code), stored.GasListInfo(0, code)) << "gas item " << code;
    ASSERT_EQ(loaded->DataCount(), 13);
    EXPECT_EQ(loaded->ValueCount(), 13);
    const QList<float> expected = {10, 10, 10, 12.5, -121, -121, -118, -101, 0, 0.5, 3, 3, 4};
    for (qint32 i = 0; i < 13; ++i) {
        EXPECT_FLOAT_EQ(loaded->GasValue(0, i).toFloat(), expected[i]) << i;
        EXPECT_EQ(loaded->DateTimes(i), stored.header().Dates.addSeconds(60 * (i + 1))) << i;
    }
    ASSERT_EQ(loaded->EventCount(), 2);
    for (qint32 j = 0; j < 2; ++j) {
        EXPECT_EQ(loaded->EventDateTimes(j), stored.EventDateTimes(j));
        EXPECT_EQ(loaded->GasEvent(0, j), stored.GasEvent(0, j));
    }
}

TEST_F(IntervalStorageTest, ASecondImportStoresNothingNew) {
    import(test::ImageFixture("interval_basic.json"));
    const std::string before = files();
    const QByteArray samples = test::readFile(trendFile("21/03/iv05140709_X1.Dat"));
    import(test::ImageFixture("interval_basic.json"));
    EXPECT_EQ(rows("Log_head"), 3);
    EXPECT_EQ(rows("Interval_Event"), 3);
    EXPECT_EQ(files(), before);
    EXPECT_EQ(test::readFile(trendFile("21/03/iv05140709_X1.Dat")), samples);
}

TEST_F(IntervalStorageTest, IdentifiersWithQuotesAndSlashesAreStoredFoundAndKeptInData) {
    import(test::ImageFixture("ids_quote_slash.json"));
    EXPECT_EQ(rows("Log_head"), 2);
    Database db(store.DatabasePath);
    EXPECT_EQ(
        db.scalar("Select Count(*) From Log_head Where UserID=? And StationID=? And SerialNo=?",
                  {"O'Brien", "Tank 'A'/2", "SN'01/A"})
            .toLongLong(),
        1);
    EXPECT_EQ(files(), "24/05/iv01100000_SN'01_A.Dat, 24/05/iv01110000_.._.._x'--.Dat");
    EXPECT_TRUE(QFileInfo::exists(trendFile("24/05/iv01100000_SN'01_A.Dat")));
    EXPECT_TRUE(QFileInfo::exists(trendFile("24/05/iv01110000_.._.._x'--.Dat")));
    import(test::ImageFixture("ids_quote_slash.json"));
    EXPECT_EQ(rows("Log_head"), 2);
}

// A log that fails to store leaves neither rows nor a trend file, and no other log's file
// is touched.
TEST_F(IntervalStorageTest, AFailedStoreLeavesNothingBehind) {
    {
        Database db(store.DatabasePath);
        db.execute("Create Trigger NoEvents Before Insert On Interval_Event "
                   "Begin Select Raise(Abort, 'refused'); End");
    }
    auto logs = std::make_unique<clsIntervals>();
    logs->setContext(store);
    ASSERT_TRUE(logs->ReadBinaryLog(image(test::ImageFixture("interval_basic.json"))));
    auto first = logs->Item(1);
    first->setInstrument(instrument);
    EXPECT_THROW(first->Update(), TqError);
    EXPECT_EQ(rows("Log_head"), 0);
    EXPECT_EQ(files(), "");
}

TEST_F(IntervalStorageTest, ALogOfAStoredLogsNameGetsANameOfItsOwn) {
    const QString description = R"({"interval": {"logs": [
        {"user": "ONE", "serial": "S1", "date": "2024-02-03 04:05:06", "body": [{"samples": [1, 2]}]},
        {"user": "TWO", "serial": "S1", "date": "2024-02-03 04:05:06", "body": [{"samples": [3]}]}]}})";
    import(description);
    EXPECT_EQ(rows("Log_head"), 2);
    EXPECT_EQ(QFileInfo(trendFile("24/02/iv03040506_S1.Dat")).size(), 24);
    EXPECT_EQ(QFileInfo(trendFile("24/02/iv03040506_S1_2.Dat")).size(), 12);
    EXPECT_EQ(rows("Log_head", "Names='iv03040506_S1_2' And UserID='TWO'"), 1);
}

TEST_F(IntervalStorageTest, LogsThatAreNotStored) {
    auto logs = std::make_unique<clsIntervals>();
    logs->setContext(store);
    ASSERT_TRUE(logs->ReadBinaryLog(image(test::ImageFixture("interval_basic.json"))));
    auto log = logs->Item(1);
    // Without an instrument the store fails before any row.
    EXPECT_THROW(log->Update(), TqError);
    log->setInstrument(instrument);
    log->setError(true);
    log->Update();
    EXPECT_EQ(rows("Log_head"), 0);
    // A sampling-mode log without a numeric statistic does not even open the database.
    QFile::remove(store.DatabasePath);
    auto sampling = std::make_shared<clsInterval>();
    sampling->setContext(store);
    sampling->setGasBaseInfo(qint32(LogHeaderItem::Sampling), 1);
    sampling->setInstrument(instrument);
    EXPECT_NO_THROW(sampling->Update());
    EXPECT_THROW(log->Update(), TqError); // the database is gone
}

TEST_F(IntervalStorageTest, LogsWithoutSamplesOrName) {
    // A named log without a data block stores with zero samples.
    const QString description = R"({"interval": {"logs": [
        {"serial": "Z1", "date": "2024-03-01 00:00:00", "body": []}]}})";
    import(description);
    ASSERT_EQ(rows("Log_head"), 1);
    EXPECT_EQ(rows("Log_head", "Dcount=0"), 1);
    EXPECT_EQ(QFileInfo(trendFile("24/03/iv01000000_Z1.Dat")).size(), 0);

    auto unnamed = std::make_shared<clsInterval>();
    unnamed->setContext(store);
    unnamed->setInstrument(instrument);
    const Date t = Date::fromParts(2024, 3, 2);
    unnamed->setGasBaseInfo(qint32(LogHeaderItem::Dates), QVariant::fromValue(t));
    unnamed->AddEvents(0, t, -103, t);
    unnamed->Update();
    EXPECT_EQ(rows("Log_head", "Names=' ' And FolderID=' ' And Gas1Name=' ' And Dcount=1"), 1);
    EXPECT_EQ(rows("Interval_Event", "Gas1Event=-103"), 1);
}

TEST_F(IntervalStorageTest, KeysContinueFromTheTables) {
    {
        Database db(store.DatabasePath);
        db.execute("Insert Into Log_head (SeqNo, Names) Values (41, 'x')");
        db.execute("Insert Into Interval_Event (SeqNo, RelNo) Values (7, 41)");
    }
    import(test::ImageFixture("two_headers_one_page.json"));
    EXPECT_EQ(rows("Log_head", "SeqNo In (42, 43, 44)"), 3);
    EXPECT_EQ(rows("Interval_Event", "SeqNo=8 And RelNo=42"), 1);
}

} // namespace
} // namespace tq
