#include "core/date.h"
#include "core/program_state.h"
#include "stored_logs.h"
#include "ui/display/trend_search.h"

#include <vector>

namespace tq {
namespace {

const Date kEvent = Date::fromParts(2009, 5, 1, 10, 0, 0);

struct Trend {
    qint64 offset; // seconds from the event
    bool otherSerial = false;
    int type = 2;
};

class TrendSearchTest : public test::StoredLogsTest {
protected:
    qint64 storeTrend(const QString &serial, const Trend &trend) {
        return store({.serial = trend.otherSerial ? serial + QStringLiteral("X") : serial,
                      .type = trend.type,
                      .dates = kEvent.addSeconds(trend.offset).toSqlText()});
    }
    qint64 search(const QString &serial, qint16 before, qint16 after, qint64 ownSeqNo) {
        Globals().TrendSearchBefore = before;
        Globals().TrendSearchAfter = after;
        return FindAlarmTrendNear(db(), ownSeqNo, serial, kEvent);
    }
};

TEST_F(TrendSearchTest, FindsTheNearestAlarmTrendOfTheInstrumentInTheWindow) {
    const struct {
        const char *name;
        qint16 before;
        qint16 after;
        std::vector<Trend> trends;
        int expected; // index into trends, -1 none
    } cases[] = {
        {"5 s after beats 10 s before", -30, 45, {{-10}, {5}}, 1},
        {"a tie goes to the earlier", -30, 45, {{-8}, {8}}, 0},
        {"a tie stored later-first", -30, 45, {{8}, {-8}}, 1},
        {"the lower bound is inside", -30, 45, {{-30}}, 0},
        {"the upper bound is inside", -30, 45, {{45}}, 0},
        {"beyond the lower bound", -30, 45, {{-31}}, -1},
        {"beyond the upper bound", -30, 45, {{46}}, -1},
        {"600 s never qualifies", -700, 700, {{600}, {-600}}, -1},
        {"599 s does", -700, 700, {{600}, {-599}}, 1},
        {"the same time", -30, 45, {{0}, {1}}, 0},
        {"another instrument", -30, 45, {{0, true}}, -1},
        {"another instrument nearer", -30, 45, {{0, true}, {20}}, 1},
        {"an interval trend is no alarm trend", -30, 45, {{0, false, 1}}, -1},
        {"an alarm-event log is not either", -30, 45, {{0, false, 5}}, -1},
        {"the window's end before its start", 30, -30, {{0}, {-20}, {20}}, -1},
        {"a window after the event", 10, 40, {{5}, {30}}, 1},
    };
    int serial = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString serialNo = QStringLiteral("S%1").arg(++serial);
        const qint64 own = store({.serial = serialNo, .type = 1, .dates = kEvent.toSqlText()});
        std::vector<qint64> seqNos;
        for (const Trend &trend : c.trends)
            seqNos.push_back(storeTrend(serialNo, trend));
        EXPECT_EQ(search(serialNo, c.before, c.after, own),
                  c.expected < 0 ? -1 : seqNos[c.expected]);
    }
}

TEST_F(TrendSearchTest, LeavesOutTheLogItSearchesFrom) {
    const QString serial = QStringLiteral("A1");
    const qint64 own = storeTrend(serial, {0});
    EXPECT_EQ(search(serial, -30, 45, own), -1);
    const qint64 other = storeTrend(serial, {40});
    EXPECT_EQ(search(serial, -30, 45, own), other);
}

TEST_F(TrendSearchTest, SerialNumbersWithQuotesSearchAsWritten) {
    for (const QString &serial : {QStringLiteral("O'BRIEN"), QStringLiteral("A' OR '1'='1"),
                                  QStringLiteral("%_*"), QStringLiteral("")}) {
        SCOPED_TRACE(serial.toStdString());
        const qint64 own = store({.serial = serial, .type = 1, .dates = kEvent.toSqlText()});
        const qint64 trend = storeTrend(serial, {3});
        EXPECT_EQ(search(serial, -30, 45, own), trend);
        // A trend of another instrument at the event itself stays out.
        storeTrend(serial, {0, true});
        EXPECT_EQ(search(serial, -30, 45, own), trend);
    }
}

TEST_F(TrendSearchTest, WindowsAcrossMidnightAndMonthEnds) {
    const QString serial = QStringLiteral("M1");
    const Date event = Date::fromParts(2009, 5, 31, 23, 59, 50);
    const qint64 own = store({.serial = serial, .type = 1, .dates = event.toSqlText()});
    const qint64 trend = store(
        {.serial = serial, .type = 2, .dates = Date::fromParts(2009, 6, 1, 0, 0, 20).toSqlText()});
    Globals().TrendSearchBefore = -30;
    Globals().TrendSearchAfter = 45;
    EXPECT_EQ(FindAlarmTrendNear(db(), own, serial, event), trend);
}

} // namespace
} // namespace tq
