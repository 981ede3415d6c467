#include "event_fixtures.h"

#include "core/database.h"
#include "logs/events/clsAlarmEvent.h"
#include "logs/events/clsPowerEvent.h"
#include "logs/events/clsTroubleEvent.h"
#include "logs/trend/log_items.h"

#include <QFile>

namespace tq::test {
namespace {

using H = LogHeaderItem;
using G = GasInfoItem;

class EventReloadTest : public EventDatabaseTest {
protected:
    void execute(const QString &sql, const QVariantList &params = {}) {
        Database db(dbPath);
        db.execute(sql, params);
    }
};

TEST_F(EventReloadTest, AStoredAlarmLogReloadsItsHeadAndGas) {
    auto stored = std::make_shared<clsAlarmEvent>();
    stored->setContext(store);
    EventBlockSpec layout;
    layout.user = "O'Neil";
    layout.records = {{0x70, 0x00}};
    const QByteArray block = EventBlock(layout);
    qint32 st = 0;
    stored->SetHeader(block, st);
    st += 2;
    stored->SetData(block, st);
    stored->Update();

    clsAlarmEvent log;
    log.setContext(store);
    log.setSeqNo(1);
    ASSERT_TRUE(log.ReLoad());
    EXPECT_EQ(log.GasBaseInfo(qint32(H::Names)).toString(), QStringLiteral("Alarm Events"));
    EXPECT_EQ(log.GasBaseInfo(qint32(H::UserID)).toString(), QStringLiteral("O'Neil"));
    EXPECT_EQ(log.GasBaseInfo(qint32(H::FolderID)).toString(), QStringLiteral("-----"));
    EXPECT_EQ(log.GasBaseInfo(qint32(H::Interval)).toInt(), 60);
    EXPECT_EQ(log.GasBaseInfo(qint32(H::LogNo)).toInt(), 0); // never reloaded
    EXPECT_EQ(log.GasListInfo(0, qint32(G::Name)).toString(), QStringLiteral("CH4"));
    EXPECT_FLOAT_EQ(log.GasListInfo(0, qint32(G::Warning)).toFloat(), 10.0f);
    EXPECT_FLOAT_EQ(log.GasListInfo(0, qint32(G::Stel)).toFloat(), -101.0f); // not read
    EXPECT_EQ(log.GasListInfo(0, qint32(G::Unit)).toString(), QString());    // not read
    EXPECT_EQ(log.DataCount(), 0); // the entries stay in the database
}

// Reads a head row of the store whose columns are all Null.
template <typename Log> void expectNullDefaults(const StoreContext &store, bool readsPowerColumns) {
    Log log;
    log.setContext(store);
    log.setSeqNo(5);
    ASSERT_TRUE(log.ReLoad());
    EXPECT_EQ(log.GasBaseInfo(qint32(H::Names)).toString(), QStringLiteral("Name None"));
    EXPECT_NEAR(log.GasBaseInfo(qint32(H::Dates)).template value<Date>().days(), Date::now().days(),
                1.0 / 24);
    EXPECT_EQ(log.GasBaseInfo(qint32(H::UserID)).toString(), QString(16, '-'));
    EXPECT_EQ(log.GasBaseInfo(qint32(H::SerialNo)).toString(), QString(20, '-'));
    EXPECT_EQ(log.GasBaseInfo(qint32(H::FolderID)).toString(), QStringLiteral("00/00"));
    EXPECT_EQ(log.GasBaseInfo(qint32(H::Interval)).toInt(), 0);
    EXPECT_FLOAT_EQ(log.GasListInfo(0, qint32(G::Full)).toFloat(), -101.0f);
    EXPECT_EQ(log.GasListInfo(0, qint32(G::Point)).toInt(), -101);
    EXPECT_EQ(log.GasListInfo(0, qint32(G::MaxDate)).template value<Date>(), Date::noDate());
    EXPECT_TRUE(log.GasListInfo(0, qint32(G::Enable)).toBool());
    // Range items: -101 where the class reads them, the cleared 0 where it does not.
    EXPECT_EQ(log.GasBaseInfo(qint32(H::LEL_lo)).toInt(), readsPowerColumns ? -101 : 0);
}

TEST_F(EventReloadTest, NullColumnsGiveTheirDefaults) {
    execute("Insert Into Log_Head (SeqNo) Values (5)");
    expectNullDefaults<clsAlarmEvent>(store, false);
    expectNullDefaults<clsTroubleEvent>(store, false);
    expectNullDefaults<clsPowerEvent>(store, true);
}

TEST_F(EventReloadTest, IdentifiersAreTrimmedOrDashed) {
    execute("Insert Into Log_Head (SeqNo, UserID, StationID) Values (3, '  Bob  ', '   ')");
    clsTroubleEvent log;
    log.setContext(store);
    log.setSeqNo(3);
    ASSERT_TRUE(log.ReLoad());
    EXPECT_EQ(log.header().UserID, QStringLiteral("Bob"));
    EXPECT_EQ(log.header().StationID, QString(16, '-'));
}

TEST_F(EventReloadTest, AMissingHeadRowIsReportedAndLeavesNoEarlierLog) {
    execute("Insert Into Log_Head (SeqNo, Names, UserID) Values (1, 'Alarm Events', 'Ann')");
    clsAlarmEvent log;
    log.setContext(store);
    log.setSeqNo(1);
    ASSERT_TRUE(log.ReLoad());
    log.setSeqNo(99);
    EXPECT_FALSE(log.ReLoad());
    EXPECT_EQ(log.SeqNo(), 99);
    EXPECT_EQ(log.header().Names, QString());
    EXPECT_EQ(log.header().UserID, QString(16, '-'));
}

TEST_F(EventReloadTest, AMissingDatabaseChangesNothingAndFailsNothing) {
    QFile::remove(dbPath);
    clsPowerEvent log;
    log.setContext(store);
    log.setSeqNo(1);
    EXPECT_FALSE(log.ReLoad());
}

} // namespace
} // namespace tq::test
