#include "history_fixtures.h"

#include "core/errors.h"
#include "logs/events/clsHistorys.h"

#include <QFile>

namespace tq::test {
namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (const int v : values)
        bytes += char(v);
    return bytes;
}

QByteArray DateBytes(int year, int month, int day, int hour, int minute, int second) {
    return Bytes({year - 2000, month, day, hour, minute, second});
}

QByteArray Calibration(int before, int after) {
    return Bytes({0x60, before >> 8, before & 0xFF, after >> 8, after & 0xFF});
}

QByteArray SensorChange(quint8 slot, const QByteArray &model, const QByteArray &serial) {
    return char(0x80 + slot) + model.leftJustified(10, ' ') + serial.leftJustified(10, ' ');
}

EventBlockSpec Header(const QByteArray &user = "U1",
                      const QByteArray &date = DateBytes(2024, 2, 28, 9, 15, 0)) {
    EventBlockSpec layout = OneGasHeader();
    layout.user = user;
    layout.station = "S1";
    layout.serial = "N1";
    layout.date = date;
    return layout;
}

// A history decoded from one block for the store, with an instrument, as the import hands it
// over.
clsHistory Decoded(const StoreContext &store, const EventBlockSpec &layout,
                   const QByteArray &records) {
    const QByteArray block = BlockWithRecords(layout, records);
    clsHistory history;
    qint32 st = 0;
    history.SetHeader(block, st);
    st += 2;
    while (st < block.size() && quint8(block.at(st)) != 0xFF)
        history.SetData(block, st);
    history.setInstrument(std::make_shared<clsInstrument>());
    history.setContext(store);
    return history;
}

class HistoryStoreTest : public LogStoreTest {};

TEST_F(HistoryStoreTest, FirstStoreWritesHeadAndDetailRows) {
    Decoded(store, Header(), Calibration(500, 522)).HistoryUpdate();
    EXPECT_EQ(rows("Log_Head", "SeqNo=1 And Names='Calibration Histories' And Types=3 And "
                               "Sampling=0 And FolderID='-----' And UserID='U1' And "
                               "StationID='S1' And SerialNo='N1' And Gas1Name='CH4' And "
                               "Gas1Max=-101 And Gas1MaxDate='1900-01-01 00:00:00'"),
              1);
    EXPECT_EQ(rows("cHistory", "SeqNo=1 And RelNo=1 And UserID='U1' And StationID='S1' And "
                               "SerialNo='N1' And Dates='2024-02-28 09:15:00' And "
                               "Gas1Name='CH4' And Gas1Desit=0.1 And Gas1Point=1 And "
                               "Gas1Unit='%LEL' And Gas1Enable=1 And Gas1Before=50 And "
                               "Gas1After=52.2"),
              1);
}

TEST_F(HistoryStoreTest, StoresCollectUnderOneHeadPerIdentityAndKind) {
    Decoded(store, Header(), Calibration(500, 522)).HistoryUpdate();
    Decoded(store, Header(), Calibration(500, 522)).HistoryUpdate(); // the same download again
    EXPECT_EQ(rows("Log_Head"), 1);
    EXPECT_EQ(rows("cHistory"), 1);

    EventBlockSpec later = Header("U1", DateBytes(2024, 3, 1, 8, 0, 0));
    later.logNo = 9;
    Decoded(store, later, Calibration(100, 101)).HistoryUpdate();
    EXPECT_EQ(rows("Log_Head", "SeqNo=1 And LogNo=9"), 1);
    EXPECT_EQ(rows("cHistory", "SeqNo=2 And RelNo=1 And Dates='2024-03-01 08:00:00'"), 1);

    Decoded(store, Header("U2"), Calibration(500, 522)).HistoryUpdate();
    EXPECT_EQ(rows("Log_Head", "SeqNo=2 And UserID='U2'"), 1);
    EXPECT_EQ(rows("cHistory", "SeqNo=3 And RelNo=2"), 1);

    Decoded(store, Header("U3"), {}).HistoryUpdate(); // no entry: a calibration head alone
    EXPECT_EQ(rows("Log_Head", "SeqNo=3 And Types=3"), 1);
    EXPECT_EQ(rows("cHistory"), 3);
}

TEST_F(HistoryStoreTest, SensorChangesOfOneDateAreAllStored) {
    const QByteArray records =
        SensorChange(0, "MODEL-A", "SER-1") + SensorChange(0, "MODEL-B", "SER-2");
    Decoded(store, Header(), records).HistoryUpdate();
    Decoded(store, Header(), records).HistoryUpdate();
    EXPECT_EQ(rows("Log_Head", "Names='Sensor Change' And Types=12 And Sampling=2"), 1);
    EXPECT_EQ(rows("SensorChange"), 2);
    EXPECT_EQ(rows("SensorChange", "Gas1Change=0 And Gas1Model='MODEL-B   ' And "
                                   "Gas1SerialNO='SER-2     ' And Gas1Full=10"),
              1);
}

TEST_F(HistoryStoreTest, BumpTestsKeepTheirJudgement) {
    Decoded(store, Header(), Bytes({0x70, 0x00, 0x64, 0x00, 0x65, 0x01})).HistoryUpdate();
    EXPECT_EQ(rows("Log_Head", "Names='Bump Test' And Types=10 And Sampling=1"), 1);
    EXPECT_EQ(rows("Bump", "Gas1Before=10 And Gas1After=10.1 And Gas1Judge=2"), 1);
}

TEST_F(HistoryStoreTest, IdentifiersAndEmptyTexts) {
    EventBlockSpec layout = Header("O'Neil");
    layout.station = "";
    layout.gases[0].name = "";
    layout.gases[0].format = 0x41; // unit " "
    Decoded(store, layout, Calibration(1, 2)).HistoryUpdate();
    Decoded(store, layout, Calibration(1, 2)).HistoryUpdate();
    EXPECT_EQ(rows("Log_Head"), 1);
    EXPECT_EQ(value("Select Gas1Name From Log_Head").toString(), " ");
    EXPECT_EQ(value("Select Gas1Name From cHistory").toString(), "");
    EXPECT_EQ(rows("cHistory", "UserID='O''Neil' And StationID='----------------'"), 1);
}

TEST_F(HistoryStoreTest, KeysGoPast32767) {
    Database(dbPath).execute("Insert Into Log_Head (SeqNo, Types) Values (70000, 1)");
    Database(dbPath).execute("Insert Into cHistory (SeqNo, RelNo) Values (40000, 70000)");
    Decoded(store, Header(), Calibration(1, 2)).HistoryUpdate();
    EXPECT_EQ(rows("Log_Head", "SeqNo=70001 And Types=3"), 1);
    EXPECT_EQ(rows("cHistory", "SeqNo=40001 And RelNo=70001"), 1);
}

TEST_F(HistoryStoreTest, FailedStoreKeepsTheOldHead) {
    Decoded(store, Header(), Calibration(1, 2)).HistoryUpdate();
    const QString dates = value("Select Dates From Log_Head").toString();
    Database(dbPath).execute("Drop Table cHistory");
    EventBlockSpec later = Header("U1", DateBytes(2024, 3, 1, 8, 0, 0));
    later.logNo = 9;
    EXPECT_THROW(Decoded(store, later, Calibration(1, 2)).HistoryUpdate(), TqError);
    EXPECT_EQ(rows("Log_Head", "SeqNo=1 And LogNo=7"), 1);
    EXPECT_EQ(value("Select Dates From Log_Head").toString(), dates);

    clsHistory noInstrument = Decoded(store, Header("U9"), Calibration(1, 2));
    noInstrument.setInstrument(nullptr);
    EXPECT_THROW(noInstrument.HistoryUpdate(), TqError);
    EXPECT_EQ(rows("Log_Head"), 1);
}

class HistoryReloadTest : public LogStoreTest {};

TEST_F(HistoryReloadTest, CalibrationRoundTrip) {
    Decoded(store, Header(), Calibration(500, 522)).HistoryUpdate();
    clsHistory view;
    view.setContext(store);
    view.setSeqNo(1);
    ASSERT_TRUE(view.ReLoad());
    EXPECT_EQ(view.DataCount(), 1);
    EXPECT_EQ(view.Dates(0), Date::fromParts(2024, 2, 28, 9, 15, 0));
    EXPECT_FLOAT_EQ(view.Before(0, 0), 50.0f);
    EXPECT_FLOAT_EQ(view.After(0, 0), 52.2f);
    EXPECT_EQ(view.GasName(0, 0), "CH4");
    EXPECT_EQ(view.entry(0, 0).SeqNo, 1);
    EXPECT_FLOAT_EQ(view.Judge(0, 0), 0.0f);
    EXPECT_EQ(view.header().UserID, "U1");
    EXPECT_EQ(view.header().FolderID, "-----");
    EXPECT_EQ(view.gas(0).Unit, "%LEL");
    EXPECT_EQ(view.gas(0).Point, 1);
}

TEST_F(HistoryReloadTest, BumpRowsComeNewestFirst) {
    Database db(dbPath);
    db.execute("Insert Into Log_Head (SeqNo, Types, UserID) Values (4, 10, '  U4 ')");
    db.execute("Insert Into Bump (SeqNo, RelNo, Dates, Gas1Judge) Values "
               "(1, 4, '2024-01-01 10:00:00', 2), (2, 4, '2024-01-01 12:00:00', Null), "
               "(3, 4, '2024-01-01 11:00:00', 1)");
    clsHistory view;
    view.setContext(store);
    view.setSeqNo(4);
    ASSERT_TRUE(view.ReLoad());
    EXPECT_EQ(view.header().UserID, "U4");
    ASSERT_EQ(view.DataCount(), 3);
    EXPECT_EQ(view.Dates(0), Date::fromParts(2024, 1, 1, 12, 0, 0));
    EXPECT_EQ(view.Dates(1), Date::fromParts(2024, 1, 1, 11, 0, 0));
    EXPECT_EQ(view.Dates(2), Date::fromParts(2024, 1, 1, 10, 0, 0));
    EXPECT_FLOAT_EQ(view.Judge(0, 0), -101.0f);
    EXPECT_FLOAT_EQ(view.Judge(0, 1), 1.0f);
    EXPECT_FLOAT_EQ(view.Before(0, 0), -101.0f);
}

TEST_F(HistoryReloadTest, MoreRowsThanTheTableKeepsTheNewest) {
    Database db(dbPath);
    db.execute("Insert Into Log_Head (SeqNo, Types) Values (1, 3)");
    const Date first = Date::fromParts(2024, 1, 1);
    Transaction transaction(db);
    for (int i = 0; i < 400; ++i)
        db.execute("Insert Into cHistory (SeqNo, RelNo, Dates, Gas1Before) Values (?, 1, ?, ?)",
                   {i + 1, QVariant::fromValue(first.addSeconds(i * 60)), float(i)});
    transaction.commit();
    clsHistory view;
    view.setContext(store);
    view.setSeqNo(1);
    ASSERT_TRUE(view.ReLoad());
    EXPECT_EQ(view.DataCount(), clsHistory::kEntries);
    EXPECT_FLOAT_EQ(view.Before(0, 0), 399.0f);
    EXPECT_FLOAT_EQ(view.Before(0, 300), 99.0f);
}

TEST_F(HistoryReloadTest, MissingHeadShowsNothingOfTheLogBefore) {
    Decoded(store, Header(), Calibration(500, 522)).HistoryUpdate();
    clsHistory view;
    view.setContext(store);
    view.setSeqNo(1);
    ASSERT_TRUE(view.ReLoad());
    view.setSeqNo(8);
    EXPECT_FALSE(view.ReLoad());
    EXPECT_EQ(view.DataCount(), 0);
    EXPECT_EQ(view.header().UserID, QString(16, '-'));
    EXPECT_FLOAT_EQ(view.Before(0, 0), -101.0f);
    QFile::remove(dbPath);
    EXPECT_FALSE(view.ReLoad());
}

// Characters 3-8 the date, 9-14 the time, 15-19 and 20-24 the readings, 25-34 the name.
QString Line(const QString &date, const QString &time, const QString &before, const QString &after,
             const QString &name = QStringLiteral("CH4")) {
    return QStringLiteral("01") + date + time + before + after + name.leftJustified(10, ' ');
}

class HistoryLineTest : public LogStoreTest {};

TEST_F(HistoryLineTest, LinesOfOneTimeShareAnEntry) {
    clsHistorys histories;
    histories.setContext(store);
    EXPECT_TRUE(histories.SetDatas(0, Line("240228", "091500", " 50.0", " 52.2"), false));
    EXPECT_TRUE(histories.SetDatas(1, Line("240228", "091500", "  1.0", "  2.0", "O2"), false));
    ASSERT_EQ(histories.Count(), 1);
    const auto member = histories.Item(clsHistorys::kLineMemberKey);
    ASSERT_TRUE(member);
    EXPECT_EQ(member->Dcount(), 1);
    EXPECT_EQ(member->Dates(0), Date::fromParts(2024, 2, 28, 9, 15, 0));
    EXPECT_FLOAT_EQ(member->After(0, 0), 52.2f);
    EXPECT_FLOAT_EQ(member->Before(1, 0), 1.0f);
    EXPECT_EQ(member->GasName(1, 0), "O2");
    EXPECT_FALSE(member->Error());
}

TEST_F(HistoryLineTest, ShortLinesAndUnknownSlotsAreRefused) {
    clsHistorys histories;
    histories.setContext(store);
    EXPECT_FALSE(histories.SetDatas(0, QString(20, '1'), true));
    const QString line = Line("240228", "091500", " 50.0", " 52.2");
    EXPECT_FALSE(histories.SetDatas(2, line, false));
    EXPECT_EQ(histories.FailLine(), "");
    EXPECT_FALSE(histories.SetDatas(-1, line, true));
    EXPECT_EQ(histories.FailLine(), "\r\n" + line);
    EXPECT_EQ(histories.Count(), 0);
}

TEST_F(HistoryLineTest, ImproperDatesAndCheckMode) {
    clsHistorys histories;
    histories.setContext(store);
    EXPECT_TRUE(histories.SetDatas(0, Line("240228", "091500", " 50.0", " 52.2"), true));
    const auto member = histories.Item(clsHistorys::kLineMemberKey);
    ASSERT_TRUE(member);
    EXPECT_EQ(member->Dcount(), 0);

    const QString badTime = Line("240301", "256100", "OVER ", " 52.2");
    EXPECT_TRUE(histories.SetDatas(0, badTime, false));
    EXPECT_TRUE(member->Error());
    ASSERT_EQ(member->Dcount(), 1);
    EXPECT_EQ(member->Dates(0), Date::fromParts(2024, 3, 1));
    EXPECT_FLOAT_EQ(member->Before(0, 0), -107.0f);
    EXPECT_EQ(readFile(path("SerialLog.log")),
              ("<<< improper date in clsHistory.SetDatas() >>> " + badTime + "\r\n").toUtf8());

    EXPECT_TRUE(histories.SetDatas(0, Line("241399", "091500", " 50.0", " 52.2"), false));
    EXPECT_EQ(member->Dcount(), 1); // no date, no entry
}

TEST_F(HistoryLineTest, LinesGoToTheirOwnMemberAndStopWhenFull) {
    clsHistorys histories;
    histories.setContext(store);
    histories.Add(QStringLiteral("327680 L"), 0);
    EXPECT_TRUE(histories.SetDatas(0, Line("240228", "091500", " 50.0", " 52.2"), false));
    EXPECT_EQ(histories.Count(), 2);
    const auto member = histories.Item(clsHistorys::kLineMemberKey);
    ASSERT_TRUE(member);
    const Date start = Date::fromParts(2024, 1, 1);
    for (int i = 1; i < clsHistory::kLineEntries; ++i) {
        const Date day = start.addDays(i);
        ASSERT_TRUE(
            histories.SetDatas(0, Line(day.format("yyMMdd"), "120000", " 50.0", " 52.2"), false));
    }
    EXPECT_EQ(member->Dcount(), clsHistory::kLineEntries);
    EXPECT_FALSE(histories.SetDatas(0, Line("250101", "000000", " 50.0", " 52.2"), false));
    EXPECT_TRUE(histories.SetDatas(1, Line("240228", "091500", "  1.0", "  2.0"), false));
    EXPECT_EQ(member->Dcount(), clsHistory::kLineEntries);
}

} // namespace
} // namespace tq::test
