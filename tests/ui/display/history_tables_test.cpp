#include "core/date.h"
#include "core/gas_format.h"
#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "grid_rows.h"
#include "logs/events/clsHistory.h"
#include "logs/events/clsSnapShot.h"
#include "logs/trend/log_header.h"
#include "stored_logs.h"
#include "ui/display/history_tables.h"

namespace tq {
namespace {

QString at(int hour) {
    return Date::fromParts(2009, 5, 1, hour).toSqlText();
}
QString shown(int hour) {
    return Date::fromParts(2009, 5, 1, hour).generalDate();
}
QString heading() {
    return LoadMessage(5620) + "|" + LoadMessage(5621) + "||CH4(100.0%LEL)";
}

class HistoryTableTest : public test::StoredLogsTest {
protected:
    // A stored history of `type` with one CH4 gas, reloaded as the Data View page does.
    const clsHistory &reload(int type, const char *insert,
                             const std::vector<std::tuple<int, float, float, int>> &entries) {
        const qint64 seqNo = store({.type = type});
        db().execute(QStringLiteral("Update Log_head Set Gas1Name = 'CH4', Gas1Unit = '%LEL', "
                                    "Gas1Full = 100, Gas1Point = 1 Where SeqNo = ?"),
                     {seqNo});
        for (const auto &[hour, before, after, judge] : entries) {
            QVariantList values{seqNo, at(hour), before, after};
            if (type == 10)
                values << judge;
            db().execute(QLatin1String(insert), values);
        }
        log.setSeqNo(seqNo);
        log.setContext(ProgramStoreContext());
        EXPECT_TRUE(log.ReLoad());
        return log;
    }
    bool shaded(int row, int col) const { return table.CellBackColor(row, col).isValid(); }
    clsHistory log;
    FlexGrid table;
};

TEST_F(HistoryTableTest, CalibrationEntriesTakeTwoRowsWordsLeftNumbersWithUnit) {
    const char *insert =
        "Insert Into cHistory (RelNo, Dates, Gas1Before, Gas1After) Values (?, ?, ?, ?)";
    FillHistoryTable(table, reload(3, insert, {{9, -104, 50, 0}, {10, -101, 49.5f, 0}}), false);
    const QString before = LoadMessage(5633);
    const QString after = LoadMessage(5634);
    EXPECT_EQ(test::GridRows(table),
              (QStringList{heading(), "1|" + shown(10) + "|" + before + "|-----",
                           "||" + after + "|49.5 %LEL", "2|" + shown(9) + "|" + before + "|ALARM",
                           "||" + after + "|50.0 %LEL"}));
    const struct {
        int row;
        FlexAlign align;
    } value[] = {{1, FlexAlign::CenterCenter},
                 {2, FlexAlign::CenterCenter},
                 {3, FlexAlign::LeftCenter},
                 {4, FlexAlign::CenterCenter}};
    for (const auto &v : value)
        EXPECT_EQ(table.CellAlignment(v.row, 3), v.align) << v.row;
    EXPECT_EQ(table.CellAlignment(1, 0), FlexAlign::CenterCenter);
    EXPECT_EQ(table.CellAlignment(1, 1), FlexAlign::LeftCenter);
    EXPECT_EQ(table.CellAlignment(0, 1), FlexAlign::CenterCenter);
    for (int r = 1; r <= 4; ++r) {
        EXPECT_FALSE(shaded(r, 0)) << r;
        for (int c = 1; c < 4; ++c)
            EXPECT_EQ(shaded(r, c), r % 2 == 1) << r << "," << c;
    }
    EXPECT_EQ(table.CellBackColor(1, 1), QColor(240, 240, 240));
}

TEST_F(HistoryTableTest, BumpTestsTakeThreeRowsTheJudgeRowPlain) {
    const char *insert = "Insert Into Bump (RelNo, Dates, Gas1Before, Gas1After, Gas1Judge) "
                         "Values (?, ?, ?, ?, ?)";
    FillHistoryTable(table, reload(10, insert, {{9, 48, 50, 1}, {10, 51, 50, 0}}), true);
    const QString result = LoadMessage(5682);
    const QString gas = LoadMessage(5681);
    const QString judge = LoadMessage(5683);
    EXPECT_EQ(test::GridRows(table),
              (QStringList{heading(), "1|" + shown(10) + "|" + result + "|51.0 %LEL",
                           "||" + gas + "|50.0 %LEL", "||" + judge + "|-----",
                           "2|" + shown(9) + "|" + result + "|48.0 %LEL", "||" + gas + "|50.0 %LEL",
                           "||" + judge + "|FAIL"}));
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(shaded(r, 2), r % 3 != 0) << r;
    EXPECT_EQ(table.CellAlignment(6, 3), FlexAlign::LeftCenter);
    EXPECT_EQ(table.CellAlignment(3, 3), FlexAlign::CenterCenter);

    FillHistoryTable(table, reload(10, insert, {{8, 48, 50, 2}}), true);
    EXPECT_EQ(test::GridRows(table).value(3), "||" + judge + "|PASS");
}

TEST_F(HistoryTableTest, AHistoryWithoutEntriesShowsItsHeadingAlone) {
    table.SetRows(9);
    table.SetCellBackColor(4, 2, QColor(1, 2, 3));
    FillHistoryTable(table, reload(3, "", {}), false);
    EXPECT_EQ(test::GridRows(table), QStringList{heading()});
}

TEST(SnapShotTable, TheReadingAndItsAlarmStatusInItsColour) {
    const struct {
        const char *name;
        float value;
        int flags;
        QString reading;
        QString status;
        QColor colour;
    } cases[] = {
        {"an alarm", 52.5f, 0x02, QStringLiteral("52.5 %LEL"), QStringLiteral("ALARM"),
         QColor(255, 0, 0)},
        {"no data", 3, 0xFF, QStringLiteral("3.0 %LEL"), QStringLiteral("-----"), QColor()},
        {"no alarm", 0, 0x00, QStringLiteral("0.0 %LEL"), QStringLiteral("-----"), QColor()},
        {"over the full scale", 120, 0x80, QStringLiteral("OVER"), QStringLiteral("OVER"),
         QColor(255, 64, 64)},
        {"a warning", 20, 0x01, QStringLiteral("20.0 %LEL"), QStringLiteral("WARNING"),
         QColor(255, 128, 0)},
        {"a status reading", -132, 0x08, FormatGasValue(-132, 1), QStringLiteral("STEL"),
         QColor(255, 192, 192)},
        {"flags beyond 16 bits", 3, 65429, QStringLiteral("3.0 %LEL"), QString(), QColor()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        clsSnapShot log;
        log.setGasListInfo(0, qint32(GasInfoItem::Name), QStringLiteral("CH4"));
        log.setGasListInfo(0, qint32(GasInfoItem::Unit), QStringLiteral("%LEL"));
        log.setGasListInfo(0, qint32(GasInfoItem::Full), 100);
        log.setGasListInfo(0, qint32(GasInfoItem::Point), 1);
        log.setGasBaseInfo(qint32(LogHeaderItem::Dates),
                           QVariant::fromValue(Date::fromParts(2009, 5, 1, 10)));
        log.setGasValue(0, c.value);
        log.setGasEvent(0, 0, c.flags);
        FlexGrid table;
        FillSnapShotTable(table, log);
        EXPECT_EQ(
            test::GridRows(table),
            (QStringList{LoadMessage(5620) + "|" + LoadMessage(5621) + "|CH4(100.0%LEL)",
                         "1|" + Date::fromParts(2009, 5, 1, 10).generalDate() + "|" + c.reading,
                         "||" + c.status}));
        EXPECT_EQ(table.CellBackColor(2, 2), c.colour);
        EXPECT_FALSE(table.CellBackColor(1, 2).isValid());
        EXPECT_EQ(table.CellAlignment(1, 1), FlexAlign::LeftCenter);
        EXPECT_EQ(table.CellAlignment(1, 2), FlexAlign::CenterCenter);
    }
}

} // namespace
} // namespace tq
