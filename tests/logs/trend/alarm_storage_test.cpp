#include "alarm_test_support.h"

#include "core/database.h"
#include "core/errors.h"
#include "logs/trend/clsAlarms.h"
#include "logs/trend/log_items.h"
#include "logs/trend/raw_export.h"
#include "logs/trend/trend_file.h"

#include <QDirIterator>
#include <QFile>
#include <QJsonArray>

namespace tq {
namespace {

using H = LogHeaderItem;
using G = GasInfoItem;

class AlarmStorage : public test::AlarmFolderTest {
protected:
    void SetUp() override {
        AlarmFolderTest::SetUp();
        instrument->setRomNumber(321);
    }

    static QJsonObject log(const QString &serial, const QString &date, const QJsonValue &samples,
                           const QJsonObject &extra = {}) {
        QJsonObject entry = extra;
        entry["serial"] = serial;
        entry["date"] = date;
        entry["interval"] = 10;
        entry["samples"] = samples;
        return entry;
    }
    static QJsonObject cycling(const QJsonArray &values) {
        return QJsonObject{{"values", values}, {"count", 720}};
    }
    static QJsonObject ring(const QJsonArray &logs) {
        return QJsonObject{{"alarm", QJsonObject{{"logs", logs}}}};
    }

    // Reads the image into a fresh collection and stores every log, as the import does.
    clsAlarms import(const QString &image, bool readable = true) {
        clsAlarms alarms;
        alarms.setContext(store);
        EXPECT_EQ(alarms.ReadBinaryLog(image), readable);
        for (const clsAlarms::LogPtr &item : alarms) {
            item->setInstrument(instrument);
            item->Update();
        }
        return alarms;
    }

    QStringList trendFiles() {
        QStringList files;
        QDirIterator it(store.DataFolder, {"*.Dat"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(QDir(store.DataFolder).relativeFilePath(it.next()));
        files.sort();
        return files;
    }
    clsAlarm reload(qint64 seqNo) {
        clsAlarm alarm;
        alarm.setContext(store);
        alarm.ClearDatas();
        alarm.setSeqNo(seqNo);
        alarm.ReLoad();
        return alarm;
    }

    std::shared_ptr<clsInstrument> instrument = std::make_shared<clsInstrument>();
};

TEST_F(AlarmStorage, StoreAndReloadRoundTrip) {
    const QJsonObject gas{{"name", "CH4"}, {"decimals", 1},     {"unit", "%LEL"},
                          {"full", 100},   {"resolution", 0.1}, {"warning", 10},
                          {"alarm", 20},   {"stel", "FF FF"},   {"twa", "FE FE"}};
    const QJsonObject extra{{"user", "ALICE"},
                            {"station", "TANK-7"},
                            {"lunch_break", 1},
                            {"range", QJsonArray{0, 100, 0, 500, 0, 25}},
                            {"gases", QJsonArray{gas}}};
    const clsAlarms decoded =
        import(buildImage(ring({log("X1", "2024-05-06 12:00:00",
                                    cycling({1.0, 1.5, 0.0, "DD DD", QJsonValue::Null}), extra),
                                log("X2", "2024-05-07 09:30:00", cycling({2}))})));
    ASSERT_EQ(decoded.Count(), 2);
    EXPECT_EQ(rows("Log_Head"), 2);
    EXPECT_EQ(rows("Alarm_Data"), 0); // a decoded log keeps its samples in its trend file
    EXPECT_EQ(trendFiles(), QStringList({"24/05/al06120000_X1.Dat", "24/05/al07093000_X2.Dat"}));
    EXPECT_EQ(QFileInfo(store.DataFolder + "/24/05/al06120000_X1.Dat").size(), 8640);

    Database db(store.DatabasePath);
    const DbRow head = db.query("Select * From Log_Head Where SeqNo=1").first();
    EXPECT_EQ(head.integer("Types"), 2);
    EXPECT_EQ(head.integer("RomNum"), 321);
    EXPECT_EQ(head.integer("Dcount"), 720);
    EXPECT_EQ(head.integer("LunchBreak"), 1);
    EXPECT_EQ(head.integer("ppm_hi"), 500);
    EXPECT_TRUE(head.boolean("Gas1Enable"));

    const clsAlarm stored = reload(1);
    const clsAlarms::LogPtr original = decoded.Item(1);
    for (const H item : {H::Names, H::Dates, H::UserID, H::StationID, H::SerialNo, H::FolderID,
                         H::Interval, H::Sampling})
        EXPECT_EQ(stored.GasBaseInfo(qint32(item)), original->GasBaseInfo(qint32(item)))
            << int(item);
    for (qint32 item = 0; item <= qint32(G::Ratio); ++item)
        EXPECT_EQ(stored.GasListInfo(0, item), original->GasListInfo(0, item)) << item;
    ASSERT_EQ(stored.DataCount(), 720);
    EXPECT_EQ(stored.DateTimes(360), Date::fromParts(2024, 5, 6, 12, 0, 0));
    EXPECT_EQ(stored.DateTimes(0), Date::fromParts(2024, 5, 6, 11, 0, 0));
    const std::vector<float> values = {1.0f, 1.5f, 0.0f, -121.0f, -101.0f};
    for (qint32 k = 0; k < 10; ++k)
        EXPECT_FLOAT_EQ(stored.value(0, k), values[k % 5]) << k;
}

TEST_F(AlarmStorage, SecondImportStoresNothing) {
    const QString image = buildImage(ring({log("D1", "2024-05-06 12:00:00", cycling({1})),
                                           log("D1", "2024-05-06 13:00:00", cycling({2}))}));
    import(image);
    const QByteArray before = test::readFile(store.DataFolder + "/24/05/al06120000_D1.Dat");
    import(image);
    EXPECT_EQ(rows("Log_Head"), 2);
    EXPECT_EQ(trendFiles().size(), 2);
    EXPECT_EQ(test::readFile(store.DataFolder + "/24/05/al06120000_D1.Dat"), before);
}

// Identifiers go to the database as bound values and never into a path.
TEST_F(AlarmStorage, QuotesAndSlashesInIdentifiers) {
    const QJsonObject ids{{"user", "O'Brien"}, {"station", "Tank 'A'/2"}};
    const QString image =
        buildImage(ring({log("../SN'01/A", "2024-05-01 10:30:00", cycling({5}), ids)}));
    import(image);
    import(image);
    EXPECT_EQ(rows("Log_Head"), 1);
    EXPECT_EQ(trendFiles(), QStringList({"24/05/al01103000_.._SN'01_A.Dat"}));
    const clsAlarm stored = reload(1);
    EXPECT_EQ(stored.GasBaseInfo(qint32(H::UserID)).toString(), "O'Brien");
    EXPECT_EQ(stored.GasBaseInfo(qint32(H::SerialNo)).toString(), "../SN'01/A");
    EXPECT_EQ(stored.DataCount(), 720);
}

// Same alarm time and serial number, another station: not a duplicate, but the same name.
TEST_F(AlarmStorage, SameNameKeepsBothTrendFiles) {
    import(buildImage(ring({log("S1", "2024-05-06 12:00:00", cycling({1}),
                                {{ "station",
                                   "EAST" }})})));
    import(buildImage(ring({log("S1", "2024-05-06 12:00:00", cycling({2}),
                                {{ "station",
                                   "WEST" }})})));
    EXPECT_EQ(rows("Log_Head"), 2);
    EXPECT_EQ(trendFiles(), QStringList({"24/05/al06120000_S1.Dat", "24/05/al06120000_S1_2.Dat"}));
    EXPECT_FLOAT_EQ(reload(1).value(0, 0), 1);
    EXPECT_FLOAT_EQ(reload(2).value(0, 0), 2);
}

TEST_F(AlarmStorage, FailedStoreLeavesNeitherRowsNorFile) {
    clsAlarms alarms;
    alarms.setContext(store);
    ASSERT_TRUE(
        alarms.ReadBinaryLog(buildImage(ring({log("T1", "2024-05-06 12:00:00", cycling({1}))}))));
    const clsAlarms::LogPtr item = alarms.Item(1);
    item->setInstrument(instrument);
    item->setDataCount(3);
    {
        Database db(store.DatabasePath);
        db.execute("Drop Table Alarm_Data");
    }
    EXPECT_THROW(item->Update(), TqError);
    EXPECT_EQ(rows("Log_Head"), 0);
    EXPECT_TRUE(trendFiles().isEmpty());
}

TEST_F(AlarmStorage, FailedReadingStoresTheLogsBeforeTheFailure) {
    const QJsonObject slot2{{"gases", QJsonArray{QJsonObject{{"slot", 2}}}}};
    import(buildImage(ring({log("G1", "2024-02-01 11:00:00", cycling({1})),
                            log("G2", "2024-02-02 11:00:00", cycling({3}), slot2),
                            log("G3", "2024-02-03 11:00:00", cycling({4}))})),
           false);
    EXPECT_EQ(rows("Log_Head"), 1);
    EXPECT_EQ(trendFiles(), QStringList({"24/02/al01110000_G1.Dat"}));
}

TEST_F(AlarmStorage, WhatIsNotStored) {
    clsAlarms alarms;
    alarms.setContext(store);
    ASSERT_TRUE(
        alarms.ReadBinaryLog(buildImage(ring({log("E1", "2024-05-06 12:00:00", cycling({1}))}))));
    const clsAlarms::LogPtr item = alarms.Item(1);
    EXPECT_THROW(item->Update(), TqError); // no instrument
    item->setInstrument(instrument);
    item->setError(true);
    item->Update();
    EXPECT_EQ(rows("Log_Head"), 0);
    EXPECT_TRUE(trendFiles().isEmpty());

    item->setError(false);
    QFile::remove(store.DatabasePath);
    EXPECT_THROW(item->Update(), TqError);
    EXPECT_TRUE(trendFiles().isEmpty());
}

TEST_F(AlarmStorage, SampleRowsOfAFilledTable) {
    clsAlarm alarm;
    alarm.setContext(store);
    alarm.setInstrument(instrument);
    alarm.setGasBaseInfo(qint32(H::Dates), QVariant::fromValue(Date::fromParts(2024, 1, 2)));
    for (qint32 j = 0; j < 3; ++j) {
        alarm.setDateTimes(j, Date::fromParts(2024, 1, 2, 0, 0, j));
        alarm.setValue(0, j, 1.5f * j);
    }
    alarm.setDataCount(3);
    alarm.Update();
    alarm.setGasBaseInfo(qint32(H::Dates), QVariant::fromValue(Date::fromParts(2024, 1, 3)));
    alarm.Update();
    Database db(store.DatabasePath);
    const QList<DbRow> data = db.query("Select * From Alarm_Data Order By SeqNo");
    ASSERT_EQ(data.size(), 6);
    for (qint32 j = 0; j < 6; ++j) {
        EXPECT_EQ(data[j].integer("SeqNo"), j + 1);
        EXPECT_EQ(data[j].integer("RelNo"), j / 3 + 1);
        EXPECT_DOUBLE_EQ(data[j].real("Gas1Value"), 1.5 * (j % 3));
    }
    // A log without a name has no trend file; blanks stand for the empty texts.
    const DbRow head = db.query("Select * From Log_Head Where SeqNo=1").first();
    EXPECT_EQ(head.text("Names"), " ");
    EXPECT_EQ(head.text("FolderID"), " ");
    EXPECT_EQ(head.text("UserID"), QString(16, QChar('-')));
    EXPECT_EQ(head.integer("Dcount"), 0);
    EXPECT_TRUE(trendFiles().isEmpty());
}

// An alarm trend has 720 samples: a longer file (the 721 records the text-line decoder can
// write, or more) loads its first 720, and no reading beyond them is made up.
TEST_F(AlarmStorage, ReloadStopsAtTheTable) {
    QDir().mkpath(store.DataFolder + "/24/02");
    {
        Database db(store.DatabasePath);
        db.execute(
            "Insert Into Log_Head(SeqNo,Names,FolderID,Types) Values (5,'alLONG','02/24',2)");
    }
    for (const qint32 records : {721, 800}) {
        TrendFileWriter samples;
        for (qint32 n = 1; n <= records; ++n)
            samples.PutTrendPoint(n, Date::fromParts(2024, 2, 1).addSeconds(n), float(n));
        test::writeFile(trendFile("02/24", "alLONG"), samples.records());
        const clsAlarm stored = reload(5);
        EXPECT_EQ(stored.DataCount(), clsAlarm::kMaxDataCount) << records;
        EXPECT_FLOAT_EQ(stored.value(0, 719), 720);
        EXPECT_EQ(stored.DateTimes(719), Date::fromParts(2024, 2, 1).addSeconds(720));
        EXPECT_EQ(stored.trendFileCheck().state, TrendFileState::Read);
    }
}

// Record 2 was never written; the file ends in a record cut short after 7 bytes, which is
// damage: the whole records before it load, and the log says its file is damaged.
TEST_F(AlarmStorage, ReloadOfGapsAndAnIncompleteRecord) {
    TrendFileWriter samples;
    samples.PutTrendPoint(1, Date::fromParts(2024, 2, 1), 0); // stored as -100
    samples.PutTrendPoint(3, Date::fromParts(2024, 2, 1, 0, 0, 20), 4);
    QDir().mkpath(store.DataFolder + "/24/02");
    test::writeFile(trendFile("02/24", "alGAP"), samples.records() + QByteArray(7, '\x01'));
    {
        Database db(store.DatabasePath);
        db.execute("Insert Into Log_Head(SeqNo,Names,FolderID,Types) Values (3,'alGAP','02/24',2)");
    }
    const clsAlarm stored = reload(3);
    ASSERT_EQ(stored.DataCount(), 3);
    EXPECT_FLOAT_EQ(stored.value(0, 0), 0);
    EXPECT_FLOAT_EQ(stored.value(0, 1), -101);
    EXPECT_FLOAT_EQ(stored.value(0, 2), 4);
    EXPECT_EQ(stored.trendFileCheck().state, TrendFileState::Damaged);
    EXPECT_EQ(stored.trendFileCheck().path, trendFile("02/24", "alGAP"));
}

TEST_F(AlarmStorage, ReloadOfNullColumns) {
    {
        Database db(store.DatabasePath);
        db.execute("Insert Into Log_Head(SeqNo,Types) Values (9,2)");
    }
    clsAlarm alarm;
    alarm.setContext(store);
    alarm.setSeqNo(9);
    // The trend file "Name None" does not exist: the log reloads with its head and no samples.
    alarm.ReLoad();
    EXPECT_EQ(alarm.DataCount(), 0);
    EXPECT_EQ(alarm.trendFileCheck().state, TrendFileState::Missing);
    EXPECT_EQ(alarm.GasBaseInfo(qint32(H::Names)).toString(), "Name None");
    EXPECT_EQ(alarm.GasBaseInfo(qint32(H::FolderID)).toString(), "00/00");
    EXPECT_EQ(alarm.GasBaseInfo(qint32(H::UserID)).toString(), QString(16, QChar('-')));
    EXPECT_FLOAT_EQ(alarm.GasListInfo(0, qint32(G::Full)).toFloat(), -101);
    EXPECT_EQ(alarm.GasListInfo(0, qint32(G::MaxDate)).value<Date>(), Date::noDate());
    EXPECT_TRUE(alarm.GasListInfo(0, qint32(G::Enable)).toBool());

    // A file that is there but cannot be read is an error, not an empty log.
    QDir().mkpath(trendFile("00/00", "Name None"));
    EXPECT_THROW(alarm.ReLoad(), TqError);
}

TEST_F(AlarmStorage, ReloadWithoutDatabaseReadsNothing) {
    QFile::remove(store.DatabasePath);
    store.ExportRawData = true;
    clsAlarm alarm;
    alarm.setContext(store);
    alarm.setSeqNo(1);
    alarm.ReLoad();
    EXPECT_EQ(alarm.DataCount(), 0);
    EXPECT_FALSE(QFile::exists(RawExportPath(store.AppFolder, "")));
}

TEST_F(AlarmStorage, RawExportHoldsOneLinePerSample) {
    const QJsonObject oneDecimal{{"gases", QJsonArray{QJsonObject{{"decimals", 1}}}}};
    import(buildImage(ring({log("R1", "2024-05-06 12:00:00", cycling({1.5, 0, 2}), oneDecimal)})));
    store.ExportRawData = true;
    reload(1);
    const QStringList lines =
        QString::fromUtf8(test::readFile(path("al06120000_R1.csv"))).split("\r\n");
    ASSERT_EQ(lines.size(), 721); // 720 lines and the empty text after the last CR LF
    EXPECT_EQ(lines[360], Date::fromParts(2024, 5, 6, 12).generalDate() + "," +
                              QString::number(1.5).replace('.', QLocale::system().decimalPoint()));
    EXPECT_EQ(lines[361].section(',', -1), "0");
    EXPECT_TRUE(lines[720].isEmpty());
}

} // namespace
} // namespace tq
