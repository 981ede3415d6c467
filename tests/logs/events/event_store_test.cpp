#include "event_fixtures.h"

#include "core/database.h"
#include "core/gas_format.h"
#include "logs/events/clsAlarmEvent.h"
#include "logs/events/clsPowerEvent.h"
#include "logs/events/clsTroubleEvent.h"

namespace tq::test {
namespace {

class EventStoreTest : public EventDatabaseTest {
protected:
    void SetUp() override {
        EventDatabaseTest::SetUp();
        instrument = std::make_shared<clsInstrument>();
        instrument->setRomNumber(1234);
        instrument->setUserID(QStringLiteral("O'Neil"));
        instrument->setStationID(QStringLiteral("PLANT 'A'"));
        instrument->setSerialNo(QStringLiteral("SN9"));
    }

    // A log decoded from the block, as the area reader makes it.
    template <typename Log> std::shared_ptr<Log> decoded(const EventBlockSpec &layout) {
        auto log = std::make_shared<Log>();
        log->setInstrument(instrument);
        log->setContext(store);
        const QByteArray block = EventBlock(layout);
        qint32 st = 0;
        log->SetHeader(block, st);
        st += 2;
        for (qsizetype i = 0; i < layout.records.size(); ++i)
            log->SetData(block, st);
        return log;
    }

    std::shared_ptr<clsPowerEvent> power(const QList<QByteArray> &dates) {
        auto log = std::make_shared<clsPowerEvent>();
        log->setContext(store);
        log->setInstrument(instrument);
        quint16 counter = 1;
        for (const QByteArray &date : dates)
            log->SetData(PowerBlock(counter++, date, 1));
        return log;
    }

    QList<DbRow> rows(const QString &sql) {
        Database db(dbPath);
        return db.query(sql);
    }
    qint64 count(const QString &table) {
        Database db(dbPath);
        return db.scalar(QStringLiteral("Select Count(*) From ") + table).toLongLong();
    }

    std::shared_ptr<clsInstrument> instrument;
};

EventBlockSpec block(QList<std::array<quint8, 2>> records, QByteArray user = "USER1") {
    EventBlockSpec layout;
    layout.records = std::move(records);
    layout.user = std::move(user);
    return layout;
}

TEST_F(EventStoreTest, FirstAlarmStoreMakesTheHeadAndOneRowPerEntry) {
    decoded<clsAlarmEvent>(block({{0x70, 0x00}, {0x70, 0x01}}))->Update();
    const QList<DbRow> heads = rows(QStringLiteral("Select * From Log_Head"));
    ASSERT_EQ(heads.size(), 1);
    const DbRow &h = heads[0];
    EXPECT_EQ(h.integer("SeqNo"), 1);
    EXPECT_EQ(h.text("Names"), QStringLiteral("Alarm Events"));
    EXPECT_EQ(h.text("FolderID"), QStringLiteral("-----"));
    EXPECT_EQ(h.integer("Types"), 5);
    EXPECT_EQ(h.integer("LogNo"), 7);
    EXPECT_EQ(h.integer("RomNum"), 1234);
    EXPECT_EQ(h.text("UserID"), QStringLiteral("USER1"));
    EXPECT_EQ(h.text("Gas1Name"), QStringLiteral("CH4"));
    EXPECT_DOUBLE_EQ(h.real("Gas1Full"), 100.0);
    EXPECT_TRUE(h.boolean("Gas1Enable"));
    EXPECT_NEAR(h.date("Dates").days(), Date::now().days(), 1.0 / 24);
    const QList<DbRow> details = rows(QStringLiteral("Select * From Alarm_Event Order By SeqNo"));
    ASSERT_EQ(details.size(), 2);
    for (qint64 i = 0; i < 2; ++i) {
        EXPECT_EQ(details[i].integer("SeqNo"), i + 1);
        EXPECT_EQ(details[i].integer("RelNo"), 1);
        EXPECT_EQ(details[i].text("GasName"), MakeGasTitle("CH4", "%LEL", 100.0f, 1));
        EXPECT_EQ(details[i].date("Dates"), Date::fromParts(2020, 3, 31, 23, 59, 0));
    }
    EXPECT_EQ(details[0].integer("Alarm_Type"), ReadingCode::Normal);
    EXPECT_EQ(details[1].integer("Alarm_Type"), ReadingCode::Warning);
}

TEST_F(EventStoreTest, StoringTheSameBlockAgainOnlyReDatesTheHead) {
    auto log = decoded<clsAlarmEvent>(block({{0x70, 0x00}}));
    log->Update();
    {
        Database db(dbPath);
        db.execute(QStringLiteral("Update Log_Head Set Dates = ?"),
                   {QVariant::fromValue(Date::fromParts(2001, 1, 1))});
    }
    log->Update();
    EXPECT_EQ(count("Alarm_Event"), 1);
    EXPECT_EQ(count("Log_Head"), 1);
    EXPECT_GT(rows("Select Dates From Log_Head")[0].date("Dates"), Date::fromParts(2001, 1, 1));
}

TEST_F(EventStoreTest, TheHeadKeepsTheFirstBlocksGasInformation) {
    EventBlockSpec second = block({{0x70, 0x02}});
    second.gases[0].name = "CO";
    decoded<clsAlarmEvent>(block({{0x70, 0x00}}))->Update();
    decoded<clsAlarmEvent>(second)->Update();
    EXPECT_EQ(rows("Select Gas1Name From Log_Head")[0].text("Gas1Name"), QStringLiteral("CH4"));
    const QList<DbRow> details = rows("Select RelNo, GasName From Alarm_Event Order By SeqNo");
    ASSERT_EQ(details.size(), 2);
    EXPECT_EQ(details[1].integer("RelNo"), 1);
    EXPECT_TRUE(details[1].text("GasName").startsWith(QStringLiteral("CO(")));
}

TEST_F(EventStoreTest, DuplicateRecordsOfOneBlock) {
    const auto twice = block({{0x70, 0x00}, {0x70, 0x00}});
    decoded<clsAlarmEvent>(twice)->Update();
    EXPECT_EQ(count("Alarm_Event"), 1);

    decoded<clsTroubleEvent>(twice)->Update(); // under the head this store makes: both
    EXPECT_EQ(count("Trouble_Event"), 2);
    auto again = twice;
    again.date[5] = 1;                         // one second later
    decoded<clsTroubleEvent>(again)->Update(); // under an existing head: only the first
    EXPECT_EQ(count("Trouble_Event"), 3);

    const QByteArray date("\x14\x01\x01\x08\x00\x00", 6);
    power({date, date})->Update();
    EXPECT_EQ(count("Power_Event"), 1);
}

TEST_F(EventStoreTest, EachIdentityHasItsOwnHead) {
    decoded<clsAlarmEvent>(block({{0x70, 0x00}}, ""))->Update();
    decoded<clsAlarmEvent>(block({{0x70, 0x00}}, "O'Neil"))->Update();
    decoded<clsAlarmEvent>(block({{0x70, 0x01}}, "O'Neil"))->Update();
    const QList<DbRow> heads = rows("Select UserID From Log_Head Order By SeqNo");
    ASSERT_EQ(heads.size(), 2);
    EXPECT_EQ(heads[0].text("UserID"), QString(16, '-'));
    EXPECT_EQ(heads[1].text("UserID"), QStringLiteral("O'Neil"));
    EXPECT_EQ(count("Alarm_Event"), 3);
}

TEST_F(EventStoreTest, GasNumbersWithoutAHeading) {
    decoded<clsTroubleEvent>(block({{0x7F, 0x00}, {0x75, 0x00}}))->Update();
    // An alarm entry of gas 15 or of a slot the log cannot hold is stored with the empty
    // heading, and the entries after it are stored too.
    decoded<clsAlarmEvent>(block({{0x7F, 0x00}, {0x73, 0x01}, {0x70, 0x02}}))->Update();
    const QString empty = MakeGasTitle(QString(), QString(), 0, 0);
    const QList<DbRow> troubles = rows("Select GasName From Trouble_Event Order By SeqNo");
    ASSERT_EQ(troubles.size(), 2);
    EXPECT_EQ(troubles[0].text("GasName"), QStringLiteral("Body"));
    EXPECT_EQ(troubles[1].text("GasName"), empty);
    const QList<DbRow> alarms = rows("Select GasNo, GasName From Alarm_Event Order By SeqNo");
    ASSERT_EQ(alarms.size(), 3);
    EXPECT_EQ(alarms[0].integer("GasNo"), 15);
    EXPECT_EQ(alarms[0].text("GasName"), empty);
    EXPECT_EQ(alarms[1].text("GasName"), empty);
    EXPECT_EQ(alarms[2].text("GasName"), MakeGasTitle("CH4", "%LEL", 100.0f, 1));
}

TEST_F(EventStoreTest, KeysGrowPast16Bits) {
    {
        Database db(dbPath);
        db.execute("Insert Into Log_Head (SeqNo, Types) Values (70000, 1)");
        db.execute("Insert Into Alarm_Event (SeqNo, RelNo) Values (40000, 70000)");
    }
    decoded<clsAlarmEvent>(block({{0x70, 0x00}, {0x70, 0x01}}))->Update();
    const QList<DbRow> details = rows("Select SeqNo, RelNo From Alarm_Event Order By SeqNo");
    ASSERT_EQ(details.size(), 3);
    EXPECT_EQ(details[1].integer("SeqNo"), 40001);
    EXPECT_EQ(details[2].integer("SeqNo"), 40002);
    EXPECT_EQ(details[2].integer("RelNo"), 70001);
}

TEST_F(EventStoreTest, PowerEventsAreStoredUnderTheInstrument) {
    power({QByteArray("\x14\x01\x01\x08\x00\x00", 6), QByteArray("\x14\x01\x01\x09\x00\x00", 6)})
        ->Update();
    const DbRow h = rows("Select * From Log_Head")[0];
    EXPECT_EQ(h.text("Names"), QStringLiteral("Power Events"));
    EXPECT_EQ(h.integer("Types"), 7);
    EXPECT_EQ(h.text("UserID"), QStringLiteral("O'Neil"));
    EXPECT_EQ(h.text("StationID"), QStringLiteral("PLANT 'A'"));
    EXPECT_EQ(h.text("SerialNo"), QStringLiteral("SN9"));
    for (const char *zero : {"Interval", "Sampling", "Dcount", "LunchBreak", "LEL_lo", "vol_hi"})
        EXPECT_EQ(h.integer(zero), 0) << zero;
    EXPECT_EQ(h.text("Gas1Name"), QStringLiteral(" "));
    const QList<DbRow> details = rows("Select * From Power_Event Order By SeqNo");
    ASSERT_EQ(details.size(), 2);
    EXPECT_EQ(details[1].integer("LogCnt"), 2);
    EXPECT_TRUE(details[1].boolean("Power_Type"));
    EXPECT_EQ(details[1].integer("RelNo"), 1);

    power({QByteArray("\x14\x01\x01\x09\x00\x00", 6)})->Update(); // stored again: skipped
    EXPECT_EQ(count("Power_Event"), 2);
    EXPECT_EQ(count("Log_Head"), 1);
}

TEST_F(EventStoreTest, AFailedStoreLeavesNothing) {
    auto orphan = power({QByteArray("\x14\x01\x01\x08\x00\x00", 6)});
    orphan->setInstrument(nullptr);
    EXPECT_THROW(orphan->Update(), TqError);
    {
        Database db(dbPath);
        db.execute("Drop Table Alarm_Event");
    }
    EXPECT_THROW(decoded<clsAlarmEvent>(block({{0x70, 0x00}}))->Update(), TqError);
    EXPECT_EQ(count("Log_Head"), 0);
}

TEST_F(EventStoreTest, EmptyLogsAndTheErrorFlag) {
    clsAlarmEvent empty;
    empty.setContext(store);
    empty.Update();
    EXPECT_EQ(count("Log_Head"), 0);
    // A log whose text lines set Error still gets a head: no entry is stored under none.
    auto flagged = decoded<clsTroubleEvent>(block({{0x70, 0x00}}));
    flagged->setError(true);
    flagged->Update();
    EXPECT_EQ(rows("Select RelNo From Trouble_Event")[0].integer("RelNo"), 1);
    EXPECT_EQ(count("Log_Head"), 1);
}

} // namespace
} // namespace tq::test

namespace tq::test {
namespace {

// The stores of an import run on the session's one connection: a temporary trigger, which
// fires only for the connection that made it, sees every row they insert.
TEST_F(EventStoreTest, StoresInsideASessionUseItsConnection) {
    DatabaseSession session(dbPath);
    Database probe(dbPath);
    probe.execute(QStringLiteral("Create Temp Table Inserted (Name)"));
    const QStringList tables = {"Log_Head", "Alarm_Event", "Trouble_Event", "Power_Event"};
    for (const QString &table : tables)
        probe.execute(QStringLiteral("Create Temp Trigger Seen%1 After Insert On main.%1 "
                                     "Begin Insert Into Inserted Values ('%1'); End")
                          .arg(table));
    decoded<clsAlarmEvent>(block({{0x70, 0x00}, {0x70, 0x01}}))->Update();
    decoded<clsTroubleEvent>(block({{0x70, 0x00}}))->Update();
    power({QByteArray("\x14\x01\x01\x08\x00\x00", 6)})->Update();
    qint64 stored = 0;
    for (const QString &table : tables)
        stored += count(table);
    EXPECT_EQ(stored, 7);
    EXPECT_EQ(probe.scalar(QStringLiteral("Select Count(*) From Inserted")).toLongLong(), stored);
}

// Stored again, a log adds no row, and its head is re-dated only when the clock has moved
// on to another second since: a re-import of an unchanged image writes next to nothing.
TEST_F(EventStoreTest, StoringAgainWritesAtMostTheHeadsNewDate) {
    DatabaseSession session(dbPath);
    Database probe(dbPath);
    const auto alarm = decoded<clsAlarmEvent>(block({{0x70, 0x00}, {0x70, 0x01}}));
    const auto trouble = decoded<clsTroubleEvent>(block({{0x70, 0x00}}));
    const auto powerLog = power({QByteArray("\x14\x01\x01\x08\x00\x00", 6)});
    const auto storeAll = [&] {
        alarm->Update();
        trouble->Update();
        powerLog->Update();
    };
    const QString changes = QStringLiteral("Select total_changes()");
    const Date start = Date::now();
    storeAll();
    const qint64 first = probe.scalar(changes).toLongLong();
    constexpr int kRounds = 3;
    for (int round = 0; round < kRounds; ++round)
        storeAll();
    const qint64 secondsPassed = Date::now().totalSeconds() - start.totalSeconds();
    // Three heads, each re-dated at most once for every second that passed.
    EXPECT_LE(probe.scalar(changes).toLongLong() - first, 3 * secondsPassed);
    EXPECT_EQ(count("Log_Head"), 3);
    EXPECT_EQ(count("Alarm_Event") + count("Trouble_Event") + count("Power_Event"), 4);
}

// The head search and the duplicate tests must not scan their tables, so that a store's
// cost does not grow with the database.
TEST_F(EventStoreTest, LookupsUseIndexes) {
    const QStringList lookups = {
        "Select SeqNo From Log_Head Where SerialNo = 'a' And UserID = 'b' And StationID = 'c' "
        "And Types = 5",
        "Select GasNo, Alarm_Type From Alarm_Event Where RelNo = 1 And Dates = 'x'",
        "Select GasNo, Alarm_Type From Trouble_Event Where RelNo = 1 And Dates = 'x'",
        "Select SeqNo From Power_Event Where RelNo = 1 And Dates = 'x'"};
    Database db(dbPath);
    for (const QString &sql : lookups) {
        const QList<DbRow> plan = db.query(QStringLiteral("Explain Query Plan ") + sql);
        ASSERT_FALSE(plan.isEmpty());
        EXPECT_TRUE(plan[0].text("detail").contains(QStringLiteral("INDEX"))) << sql.toStdString();
    }
}

} // namespace
} // namespace tq::test
