#include "core/gui/flex_grid.h"
#include "core/id_helpers.h"
#include "core/messages.h"
#include "grid_rows.h"
#include "stored_trend.h"
#include "ui/display/data_view_logs.h"
#include "ui/display/view_summary.h"

namespace tq {
namespace {

using test::ShownAt;
using test::StoredInterval;

QString property(int heading, const QString &value) {
    return LoadMessage(heading) + "|" + value;
}

const QString kDashes = QStringLiteral("-----");
const QString kStars = QStringLiteral("*****");
const QString kSerialDashes = QString(20, QLatin1Char('-'));
const QString kIdDashes = QString(16, QLatin1Char('-'));

// The summary of the stored test trend (StoredInterval's head) with the texts that differ.
struct IntervalShown {
    QString period = ShownAt(0) + LoadMessage(5676) + ShownAt(3600);
    QString count = QStringLiteral("3");
    QString avg = QStringLiteral("12.5 %LEL");
    QString max = QStringLiteral("80.0 %LEL");
    QString maxDate = FormatEventTime(80, test::kTrendStart.addSeconds(90));
    QStringList levels{"10.0 %LEL", "50.0 %LEL", "25.0 %LEL", "-----"};
    bool barHole = false;
};

QStringList intervalRows(const IntervalShown &s) {
    return {property(5604, LoadMessage(5605)),
            property(5606, "iv01100000_A1"),
            property(5607, s.period),
            property(5608, "A1234"),
            property(5609, "ST-01"),
            property(5610, "U-1"),
            s.barHole ? kDashes + "|" + kDashes : property(5611, s.count),
            property(5612, "60"),
            property(5750, "CH4(100.0%LEL)"),
            property(5613, s.avg),
            property(5614, s.max),
            property(5663, s.maxDate),
            property(5615, kStars),
            property(5664, kStars),
            property(5642, s.levels[0]),
            property(5643, s.levels[1]),
            property(5644, s.levels[2]),
            property(5645, s.levels[3])};
}

class ViewSummaryTest : public test::StoredTrendTest {
protected:
    DataViewLogs logs;
    FlexGrid summary;
};

TEST_F(ViewSummaryTest, IntervalAndBarHoleTrends) {
    const StoredInterval base{.samples = {{60, 1}, {120, 2}}, .events = {{90, -104}}, .last = 3600};
    const auto with = [&](auto change) {
        StoredInterval t = base;
        change(t);
        return t;
    };
    const QStringList noLevels{kDashes, kDashes, kDashes, kDashes};
    const struct {
        const char *name;
        StoredInterval trend;
        int type;
        IntervalShown shown;
    } cases[] = {
        {"a full head", base, 1, {}},
        {"an empty end date leaves the period open",
         with([](StoredInterval &t) { t.last.reset(); }),
         1,
         {.period = ShownAt(0) + LoadMessage(5676)}},
        {"no maximum: Avg, Max and its time dashed, the levels still shown",
         with([](StoredInterval &t) { t.max = QVariant(); }),
         1,
         {.avg = kDashes, .max = kDashes, .maxDate = kDashes}},
        {"a maximum over the full scale reads OVER without a unit",
         with([](StoredInterval &t) { t.max = 120.0f; }),
         1,
         {.max = QStringLiteral("OVER"),
          .maxDate = FormatEventTime(120, test::kTrendStart.addSeconds(90))}},
        {"a gas that is off has no levels",
         with([](StoredInterval &t) { t.enabled = false; }),
         1,
         {.levels = noLevels}},
        {"a bar-hole trend dashes its count row", base, 9, {.barHole = true}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        storeInterval(c.trend, logs.ViewInterval);
        EXPECT_TRUE(FillViewSummary(summary, c.type, logs));
        EXPECT_EQ(test::GridRows(summary), intervalRows(c.shown));
    }
    // The layout's formats.
    EXPECT_EQ(summary.CellBackColor(8, 1), QColor(224, 224, 224));
    EXPECT_FALSE(summary.CellBackColor(8, 0).isValid());
    EXPECT_FALSE(summary.CellBackColor(9, 1).isValid());
    const struct {
        int row, col;
        FlexAlign align;
    } aligned[] = {{0, 0, FlexAlign::CenterCenter}, {0, 1, FlexAlign::CenterCenter},
                   {3, 1, FlexAlign::LeftCenter},   {7, 0, FlexAlign::LeftCenter},
                   {9, 1, FlexAlign::CenterCenter}, {11, 0, FlexAlign::LeftCenter},
                   {11, 1, FlexAlign::LeftCenter},  {12, 1, FlexAlign::CenterCenter},
                   {13, 1, FlexAlign::LeftCenter},  {17, 1, FlexAlign::CenterCenter}};
    for (const auto &a : aligned)
        EXPECT_EQ(summary.CellAlignment(a.row, a.col), a.align) << a.row << "," << a.col;
    EXPECT_EQ(summary.MergeCells(), FlexMerge::RestrictRows);
    for (int r = 0; r < summary.Rows(); ++r)
        EXPECT_EQ(summary.MergeRow(r), r <= 7) << r;
}

// An alarm trend's head in memory.
void alarmHead(clsAlarm &log, bool enabled) {
    log.ClearDatas();
    log.setGasBaseInfo(qint32(LogHeaderItem::Names), QStringLiteral("al01100000_A1"));
    log.setGasBaseInfo(qint32(LogHeaderItem::Dates), QVariant::fromValue(test::kTrendStart));
    log.setGasBaseInfo(qint32(LogHeaderItem::SerialNo), QStringLiteral("A1234"));
    log.setGasBaseInfo(qint32(LogHeaderItem::StationID), QStringLiteral("ST-01"));
    log.setGasBaseInfo(qint32(LogHeaderItem::UserID), QStringLiteral("U-1"));
    log.setGasBaseInfo(qint32(LogHeaderItem::Interval), 5);
    const std::pair<GasInfoItem, QVariant> gas[] = {
        {GasInfoItem::Name, QStringLiteral("H2S")},
        {GasInfoItem::Full, 30},
        {GasInfoItem::Point, 1},
        {GasInfoItem::Unit, QStringLiteral("ppm")},
        {GasInfoItem::Enable, enabled},
        {GasInfoItem::Warning, 5},
        {GasInfoItem::Alarm, 10},
        {GasInfoItem::Stel, 15},
        {GasInfoItem::Twa, -104},
    };
    for (const auto &[item, value] : gas)
        log.setGasListInfo(0, qint32(item), value);
    log.setDataCount(720);
}

TEST_F(ViewSummaryTest, AlarmTrendLevelsOnlyWhenTheGasIsOn) {
    for (const bool enabled : {true, false}) {
        SCOPED_TRACE(enabled);
        alarmHead(logs.ViewAlarm, enabled);
        EXPECT_TRUE(FillViewSummary(summary, 2, logs));
        EXPECT_EQ(test::GridRows(summary),
                  (QStringList{
                      property(5604, LoadMessage(5605)), property(5606, "al01100000_A1"),
                      property(5616, ShownAt(0)), property(5608, "A1234"), property(5609, "ST-01"),
                      property(5610, "U-1"), property(5611, "720"), property(5612, "5"),
                      property(5750, "H2S(30.0ppm)"), property(5642, enabled ? "5.0 ppm" : kDashes),
                      property(5643, enabled ? "10.0 ppm" : kDashes), property(5644, "15.0 ppm"),
                      property(5645, "ALARM")}));
        EXPECT_EQ(summary.CellBackColor(8, 1), QColor(224, 224, 224));
        EXPECT_EQ(summary.CellAlignment(11, 1), FlexAlign::CenterCenter);
        EXPECT_EQ(summary.CellAlignment(5, 1), FlexAlign::LeftCenter);
    }
}

TEST_F(ViewSummaryTest, EventHistoryAndSnapshotLayouts) {
    const auto identify = [](HeadedLog &log) {
        log.setGasBaseInfo(qint32(LogHeaderItem::Names), QStringLiteral("ss01100000_A1"));
        log.setGasBaseInfo(qint32(LogHeaderItem::Dates), QVariant::fromValue(test::kTrendStart));
        log.setGasBaseInfo(qint32(LogHeaderItem::SerialNo), QStringLiteral("A1234"));
        log.setGasBaseInfo(qint32(LogHeaderItem::StationID), QStringLiteral("ST-01"));
        log.setGasBaseInfo(qint32(LogHeaderItem::UserID), QStringLiteral("U-1"));
    };
    identify(logs.ViewHistory);
    identify(logs.ViewAlarmEvent);
    identify(logs.ViewTroubleEvent);
    identify(logs.ViewPowerEvent);
    identify(logs.ViewSnapShot);
    const QStringList identity{property(5604, LoadMessage(5605)), property(5608, "A1234"),
                               property(5609, "ST-01"), property(5610, "U-1")};
    for (const int type : {3, 5, 6, 7, 10}) {
        SCOPED_TRACE(type);
        EXPECT_TRUE(FillViewSummary(summary, type, logs));
        EXPECT_EQ(test::GridRows(summary), identity + QStringList{property(5668, ShownAt(0))});
        EXPECT_EQ(summary.CellAlignment(0, 1), FlexAlign::CenterCenter);
        EXPECT_EQ(summary.CellAlignment(3, 1), FlexAlign::LeftCenter);
        EXPECT_EQ(summary.CellAlignment(4, 1), FlexAlign::General);
    }
    EXPECT_TRUE(FillViewSummary(summary, 11, logs));
    EXPECT_EQ(test::GridRows(summary),
              (QStringList{property(5604, LoadMessage(5605)), property(5606, "ss01100000_A1"),
                           property(5607, ShownAt(0)), property(5608, "A1234"),
                           property(5609, "ST-01"), property(5610, "U-1")}));
    EXPECT_EQ(summary.CellAlignment(3, 0), FlexAlign::LeftCenter);
    EXPECT_EQ(summary.CellAlignment(4, 1), FlexAlign::General);
    // A trend layout before leaves no colour, alignment or merge behind.
    for (int r = 0; r < summary.Rows(); ++r)
        EXPECT_FALSE(summary.MergeRow(r)) << r;
}

TEST_F(ViewSummaryTest, NeverLoadedObjectsShowTheirClearedValues) {
    const QString empty = Date::emptyLogDate().generalDate();
    const QStringList identity{property(5608, kSerialDashes), property(5609, kIdDashes),
                               property(5610, kIdDashes)};
    const QString header = property(5604, LoadMessage(5605));
    const struct {
        int type;
        QStringList rows;
    } cases[] = {
        {1, QStringList{header, property(5606, ""), property(5607, empty + LoadMessage(5676))} +
                identity +
                QStringList{property(5611, "0"), property(5612, "0"), property(5750, "----(---)"),
                            property(5613, kDashes), property(5614, kDashes),
                            property(5663, kDashes), property(5615, kStars), property(5664, kStars),
                            property(5642, kDashes), property(5643, kDashes),
                            property(5644, kDashes), property(5645, kDashes)}},
        {2, QStringList{header, property(5606, ""), property(5616, empty)} + identity +
                QStringList{property(5611, "0"), property(5612, "0"), property(5750, "----(---)"),
                            property(5642, kDashes), property(5643, kDashes),
                            property(5644, kDashes), property(5645, kDashes)}},
        {5, QStringList{header} + identity + QStringList{property(5668, empty)}},
        {11, QStringList{header, property(5606, ""), property(5607, empty)} + identity},
    };
    const DataViewLogs fresh;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_TRUE(FillViewSummary(summary, c.type, fresh));
        EXPECT_EQ(test::GridRows(summary), c.rows);
    }
}

TEST_F(ViewSummaryTest, UnlistedTypesClearTheGridSensorChangesLeaveIt) {
    for (const int type : {0, 4, 8, 13, -1}) {
        SCOPED_TRACE(type);
        FillViewSummary(summary, 3, logs);
        summary.SetCellBackColor(1, 1, QColor(1, 2, 3));
        EXPECT_FALSE(FillViewSummary(summary, type, logs));
        EXPECT_EQ(summary.Rows(), 1);
        EXPECT_EQ(summary.Cols(), 1);
        EXPECT_EQ(summary.TextMatrix(0, 0), QString());
    }
    // Once hidden, a listed type fills it again and asks for it to be shown.
    EXPECT_TRUE(FillViewSummary(summary, 7, logs));
    EXPECT_EQ(summary.Rows(), 5);
    const QStringList before = test::GridRows(summary);
    EXPECT_TRUE(FillViewSummary(summary, 12, logs));
    EXPECT_EQ(test::GridRows(summary), before);
}

} // namespace
} // namespace tq
