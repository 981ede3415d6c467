#include "core/database.h"
#include "core/errors.h"
#include "core/gas_format.h"
#include "logs/trend/clsInterval.h"
#include "logs/trend/trend_file.h"
#include "trend_test_support.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace tq {
namespace {

const Date kStart = Date::fromParts(2024, 6, 1, 8, 0, 0);

class IntervalReloadTest : public test::TrendStoreTest {
protected:
    // A stored log (SeqNo 1) named iv01080000_R1 in the folder 06/24 with these samples.
    void storeLog(const std::vector<float> &values, qint64 dcount = 0) {
        TrendFileWriter samples;
        for (qint32 n = 1; n <= qint32(values.size()); ++n)
            samples.PutTrendPoint(n, kStart.addSeconds(60 * n), values[n - 1]);
        QDir().mkpath(store.DataFolder + "/24/06");
        test::writeFile(trendFile("06/24", "iv01080000_R1"), samples.records());
        Database db(store.DatabasePath);
        db.execute("Delete From Log_head");
        db.execute(
            "Insert Into Log_head (SeqNo, Names, FolderID, Dates, Dcount) Values (1, ?, ?, ?, ?)",
            {"iv01080000_R1", "06/24", QVariant::fromValue(kStart), dcount});
    }
    std::vector<float> reloaded() {
        log.ClearDatas();
        log.setSeqNo(1);
        log.setContext(store);
        log.ReLoad(condensed);
        std::vector<float> out;
        for (qint32 i = 0; i < log.DataCount(); ++i)
            out.push_back(log.GasValue(0, i).toFloat());
        return out;
    }

    clsInterval log;
    bool condensed = false; // the viewer's condensed view
};

TEST_F(IntervalReloadTest, CondensedViewKeepsChangesAndTheirRunEnds) {
    struct Case {
        std::vector<float> stored;
        bool condensed;
        std::vector<float> kept;
    };
    const std::vector<Case> cases = {
        {{5, 5, 5, 7, 7}, true, {5, 5, 7, 7}},
        {{5, 7, 7, 7}, true, {5, 7, 7}},
        {{5}, true, {5}},
        {{4, 4, 4, 4}, true, {4, 4}},
        {{5, 5, 5, 7, 7}, false, {5, 5, 5, 7, 7}},
        {{0, 0, 3}, true, {0, 0, 3}},
    };
    for (const Case &c : cases) {
        storeLog(c.stored);
        condensed = c.condensed;
        EXPECT_EQ(reloaded(), c.kept);
        EXPECT_EQ(log.ValueCount(), log.DataCount());
        for (qint32 i = 0; i < log.DataCount(); ++i)
            EXPECT_EQ(log.DateTimes(i) > kStart, true);
    }
}

TEST_F(IntervalReloadTest, StoredZeroAndGapRecords) {
    TrendFileWriter samples;
    samples.PutTrendPoint(1, kStart, 0);
    samples.PutTrendPoint(3, kStart, 2.5f); // record 2 is a gap
    QDir().mkpath(store.DataFolder + "/24/06");
    test::writeFile(trendFile("06/24", "iv01080000_R1"), samples.records());
    Database db(store.DatabasePath);
    db.execute(
        "Insert Into Log_head (SeqNo, Names, FolderID) Values (1, 'iv01080000_R1', '06/24')");
    EXPECT_EQ(reloaded(), std::vector<float>({0, -101, 2.5f}));
}

// A log whose trend file is gone or cut short still opens with its head, its events and
// the samples that are there, and says what it found.
TEST_F(IntervalReloadTest, MissingOrShortTrendFileKeepsHeadAndEvents) {
    storeLog({1, 2, 3, 4});
    {
        Database db(store.DatabasePath);
        db.execute("Update Log_head Set UserID='ALICE'");
        db.execute("Insert Into Interval_Event (SeqNo, RelNo, Datetimes, BaseDate, Gas1Event) "
                   "Values (1, 1, ?, ?, -104)",
                   {QVariant::fromValue(kStart.addSeconds(90)), QVariant::fromValue(kStart)});
    }
    const QString file = trendFile("06/24", "iv01080000_R1");
    EXPECT_EQ(reloaded(), std::vector<float>({1, 2, 3, 4}));
    EXPECT_EQ(log.trendFileCheck().state, TrendFileState::Read);
    QFile::resize(file, 2 * kTrendRecordSize + 3);
    EXPECT_EQ(reloaded(), std::vector<float>({1, 2}));
    EXPECT_EQ(log.trendFileCheck().state, TrendFileState::Damaged) << "the third record is cut";
    ASSERT_TRUE(QFile::remove(file));
    EXPECT_TRUE(reloaded().empty());
    EXPECT_EQ(log.trendFileCheck().state, TrendFileState::Missing);
    EXPECT_EQ(log.trendFileCheck().path, file);
    EXPECT_EQ(log.GasBaseInfo(qint32(LogHeaderItem::UserID)).toString(), "ALICE");
    EXPECT_EQ(log.EventCount(), 1);
    EXPECT_FLOAT_EQ(log.GasEvent(0, 0).toFloat(), -104);
}

TEST_F(IntervalReloadTest, TablesStopAtTheirCapacity) {
    storeLog(std::vector<float>(clsInterval::kSampleEntries + 5, 1.0f));
    EXPECT_EQ(reloaded().size(), size_t(clsInterval::kSampleEntries));
    EXPECT_FALSE(condensed);
    // A count above the table forces the condensed view, and it stays on.
    {
        Database db(store.DatabasePath);
        db.execute("Update Log_head Set Dcount=?", {clsInterval::kSampleEntries});
    }
    EXPECT_EQ(reloaded().size(), 2u);
    EXPECT_TRUE(condensed);

    Database db(store.DatabasePath);
    Transaction t(db);
    for (qint32 j = 1; j <= clsInterval::kEventEntries + 3; ++j)
        db.execute("Insert Into Interval_Event (SeqNo, RelNo, Datetimes, BaseDate, Gas1Event) "
                   "Values (?, 1, ?, ?, -103)",
                   {j, QVariant::fromValue(kStart.addSeconds(j)), QVariant::fromValue(kStart)});
    t.commit();
    reloaded();
    EXPECT_EQ(log.EventCount(), clsInterval::kEventEntries);
    EXPECT_EQ(log.EventDateTimes(0), kStart.addSeconds(1));
    EXPECT_EQ(log.GasEvent(0, 2048).toFloat(), -103.0f);
}

// A log too long for the table asks for the condensed view as soon as its head is read, so
// the viewer keeps it even when the trend file then cannot be read.
TEST_F(IntervalReloadTest, TheCondensedViewOfALongLogOutlivesAFailedReload) {
    storeLog({1});
    {
        Database db(store.DatabasePath);
        db.execute("Update Log_head Set Dcount=?", {clsInterval::kSampleEntries});
    }
    const QString file = trendFile("06/24", "iv01080000_R1");
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QDir().mkpath(file)); // there, but not a file that can be read
    EXPECT_THROW(reloaded(), TqError);
    EXPECT_TRUE(condensed);
}

TEST_F(IntervalReloadTest, NullColumnsAndMissingRows) {
    {
        Database db(store.DatabasePath);
        db.execute("Insert Into Log_head (SeqNo, Names, FolderID) Values (1, '', Null)");
    }
    reloaded();
    EXPECT_EQ(log.GasBaseInfo(4).toString(), QString(16, '-'));
    EXPECT_EQ(log.GasBaseInfo(7).toString(), "00/00");
    EXPECT_EQ(log.GasBaseInfo(12).toInt(), -101);
    EXPECT_EQ(log.GasListInfo(0, 10).toBool(), true);
    EXPECT_EQ(log.GasListInfo(0, 8).value<Date>().days(), -101.0);
    EXPECT_EQ(log.DataCount(), 0);
    EXPECT_EQ(log.trendFileCheck().state, TrendFileState::None) << "a blank name has no file";

    // A Null name loads as "Name None", whose trend file does not exist: no samples.
    {
        Database db(store.DatabasePath);
        db.execute("Update Log_head Set Names=Null");
    }
    EXPECT_TRUE(reloaded().empty());
    EXPECT_EQ(log.GasBaseInfo(0).toString(), "Name None");

    // No row: the cleared object stays as it was.
    log.ClearDatas();
    log.setSeqNo(99);
    log.ReLoad(condensed);
    EXPECT_EQ(log.GasBaseInfo(0).toString(), "");
    EXPECT_EQ(log.DataCount(), 0);
}

TEST_F(IntervalReloadTest, RawExportWritesTheLoadedPointsAndEvents) {
    storeLog({1.5f, 0});
    {
        Database db(store.DatabasePath);
        db.execute("Insert Into Interval_Event (SeqNo, RelNo, Datetimes, BaseDate, Gas1Event) "
                   "Values (1, 1, ?, ?, -104)",
                   {QVariant::fromValue(kStart.addSeconds(90)), QVariant::fromValue(kStart)});
    }
    store.ExportRawData = true;
    reloaded();
    const QString expected =
        kStart.addSeconds(60).generalDate() + ",1.5\r\n" + kStart.addSeconds(120).generalDate() +
        ",0\r\n" + kStart.addSeconds(90).generalDate() + "," + FormatGasValue(-104, 0) + "\r\n";
    EXPECT_EQ(QString::fromUtf8(test::readFile(dir.filePath("iv01080000_R1.csv"))), expected);
}

// A record whose time is no trend time ends the samples there: those before it load, in
// order, and the log says its file is damaged; the merge with the events never sees it.
TEST_F(IntervalReloadTest, ADamagedRecordEndsTheSamples) {
    storeLog({1, 2, 3, 4, 5});
    QByteArray bytes = test::readFile(trendFile("06/24", "iv01080000_R1"));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(bytes.data() + 2 * kTrendRecordSize, &nan, sizeof nan); // record 3
    test::writeFile(trendFile("06/24", "iv01080000_R1"), bytes);
    {
        Database db(store.DatabasePath);
        db.execute("Insert Into Interval_Event (SeqNo, RelNo, Datetimes, BaseDate, Gas1Event) "
                   "Values (1, 1, ?, ?, -104)",
                   {QVariant::fromValue(kStart.addSeconds(150)), QVariant::fromValue(kStart)});
    }
    for (const bool condensedView : {false, true}) {
        condensed = condensedView;
        EXPECT_EQ(reloaded(), std::vector<float>({1, 2})) << condensedView;
        EXPECT_EQ(log.trendFileCheck().state, TrendFileState::Damaged);
        log.setGetOrder(0);
        EXPECT_EQ(log.getOrder(), 1);
        EXPECT_EQ(log.getOrder(), 2);
        EXPECT_EQ(log.getOrder(), -1);
        EXPECT_EQ(log.getOrder(), 0);
    }
}

// The reader takes every time the detector's logs can hold, a record never written (all
// zero) among them, and stops at any other: one fixture record per fault.
TEST(TrendFileTest, TheReaderStopsAtTheFirstDamagedRecord) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double firstTime = Date::emptyLogDate().addSeconds(-360 * 65535).days();
    const double lastTime =
        Date::fromParts(2099, 12, 31, 23, 59, 59).addSeconds(54001ll * 65535).days();
    struct Case {
        const char *name;
        double days;
        bool sound;
    };
    const Case cases[] = {
        {"the detector's first day", Date::fromParts(2000, 1, 1).days(), true},
        {"its last second", Date::fromParts(2099, 12, 31, 23, 59, 59).days(), true},
        {"an alarm trend before an unread start", firstTime, true},
        {"an interval trend's last sample", lastTime, true},
        {"a record never written", 0.0, true},
        {"NaN", nan, false},
        {"infinite", inf, false},
        {"minus infinite", -inf, false},
        {"beyond 1e14 days", 1.5e14, false},
        {"before the earliest", firstTime - 1, false},
        {"after the latest", lastTime + 1, false},
        {"another century", Date::fromParts(2350, 1, 1).days(), false},
    };
    const QTemporaryDir folder;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TrendFileWriter w;
        w.PutTrendPoint(1, kStart, 7);
        w.PutTrendPoint(2, kStart, 8);
        QByteArray bytes = w.records() + w.records().left(kTrendRecordSize);
        std::memcpy(bytes.data() + kTrendRecordSize, &c.days, sizeof c.days);
        const QString file = folder.filePath("t.Dat");
        test::writeFile(file, bytes);
        TrendFileReader reader(file);
        std::vector<float> values;
        while (const std::optional<TrendPoint> p = reader.next())
            values.push_back(p->value);
        EXPECT_EQ(values, c.sound ? std::vector<float>({7, 8, 7}) : std::vector<float>({7}));
        EXPECT_EQ(reader.state(), c.sound ? TrendFileState::Read : TrendFileState::Damaged);
        EXPECT_FALSE(reader.next()) << "the reader stays at its end";
    }
    // A last record cut short is damage; a file that is not there is missing.
    const QString cut = folder.filePath("cut.Dat");
    test::writeFile(cut, QByteArray(kTrendRecordSize + 11, '\0'));
    TrendFileReader shortFile(cut);
    EXPECT_TRUE(shortFile.next());
    EXPECT_FALSE(shortFile.next());
    EXPECT_EQ(shortFile.check().state, TrendFileState::Damaged);
    EXPECT_EQ(shortFile.check().path, cut);
    TrendFileReader gone(folder.filePath("gone.Dat"));
    EXPECT_FALSE(gone.next());
    EXPECT_EQ(gone.state(), TrendFileState::Missing);
}

// A trend file that does not fit on the disk names the system's reason and leaves no file.
TEST(TrendFileTest, AStagedFileThatCannotBeWrittenNamesTheReason) {
    const QTemporaryDir folder;
    const QString tooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));
    for (const qsizetype size : {qsizetype(600), qsizetype(60000)}) {
        const test::FileSizeLimit full(100);
        try {
            StagedTrendFile staged(folder.filePath("t.Dat"), QByteArray(size, '\1'));
            ADD_FAILURE() << "the file was written";
        } catch (const TqError &e) {
            EXPECT_TRUE(e.message().endsWith(tooLarge)) << e.message().toStdString();
        }
    }
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(TrendFileTest, PathsStayInTheirFolder) {
    struct Case {
        QString names;
        QString file;
    };
    for (const Case &c : std::vector<Case>{{"iv05140709_AB*C", "iv05140709_AB_C"},
                                           {"iv05140709_../x", "iv05140709_.._x"},
                                           {"iv0514\\x\ty", "iv0514_x_y"},
                                           {"..", "__"}})
        EXPECT_EQ(TrendFileName(c.names), c.file) << c.names.toStdString();
    EXPECT_EQ(TrendFilePath("/d", "03/21", "iv05140709_AB*C"), "/d/21/03/iv05140709_AB_C.Dat");
}

TEST(TrendFileTest, RecordsAndValues) {
    TrendFileWriter w;
    EXPECT_THROW(w.PutTrendPoint(0, kStart, 1), TqError);
    w.PutTrendPoint(2, kStart, 0);
    EXPECT_EQ(w.recordCount(), 2);
    EXPECT_EQ(w.records().left(12), QByteArray(12, '\0'));
    EXPECT_FLOAT_EQ(GetTrendPoint(w.records(), 1), -101.0f);
    EXPECT_FLOAT_EQ(GetTrendPoint(w.records(), 2), 0.0f);
    EXPECT_FLOAT_EQ(GetTrendPoint(w.records(), 3), -101.0f);
    EXPECT_EQ(GetTrendTime(w.records(), 2), kStart);
    // Little-endian double day count and float, -100 for a true zero.
    EXPECT_EQ(w.records().mid(20, 4), QByteArray("\x00\x00\xC8\xC2", 4));
}

} // namespace
} // namespace tq
