#include "core/date.h"
#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "grid_rows.h"
#include "stored_logs.h"
#include "ui/display/event_tables.h"

namespace tq {
namespace {

QString at(int hour, int minute) {
    return Date::fromParts(2009, 5, 1, hour, minute).toSqlText();
}
// The heading row: "No", "Date/Time" in the active language, then the log's own columns.
QString heading(const char *columns) {
    return LoadMessage(5620) + "|" + LoadMessage(5621) + "|" + QLatin1String(columns);
}
QString shown(int hour, int minute) {
    return Date::fromParts(2009, 5, 1, hour, minute).generalDate();
}

class EventTableTest : public test::StoredLogsTest {
protected:
    void add(const char *insert, qint64 seqNo, int hour, int minute) {
        db().execute(QLatin1String(insert), {seqNo, at(hour, minute)});
    }
    FlexGrid table;
    FlexGrid summary;
};

TEST_F(EventTableTest, EventLogsListNewestFirstNumberedFromOne) {
    const struct {
        int type;
        const char *insert;
        QString heading;
        QString record;
    } cases[] = {
        {5,
         "Insert Into Alarm_Event (RelNo, Dates, GasName, Alarm_Type) Values (?, ?, 'CH4', -104)",
         heading("Gas|Event"), QStringLiteral("CH4|ALARM")},
        {6,
         "Insert Into Trouble_Event (RelNo, Dates, GasName, Alarm_Type) Values (?, ?, 'BODY', "
         "-132)",
         heading("Gas/Body|Event"), QStringLiteral("BODY|Fail(Sens.)")},
        {7, "Insert Into Power_Event (RelNo, Dates, Power_Type) Values (?, ?, 0)", heading("Power"),
         QStringLiteral("OFF")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.type);
        // Keys above 32767 list their rows too.
        for (const qint64 seqNo : {qint64(0), qint64(40000 + 100 * c.type)}) {
            const qint64 log = store({.type = c.type, .seqNo = seqNo});
            add(c.insert, log, 10, 5);
            add(c.insert, log, 10, 10);
            add(c.insert, log, 10, 0);
            add(c.insert, log + 1, 11, 0); // another log's record
            FillEventTable(table, db(), log, c.type);
            EXPECT_EQ(test::GridRows(table),
                      (QStringList{c.heading, "1|" + shown(10, 10) + "|" + c.record,
                                   "2|" + shown(10, 5) + "|" + c.record,
                                   "3|" + shown(10, 0) + "|" + c.record}));
            EXPECT_EQ(table.ColAlignment(0), FlexAlign::CenterCenter);
            EXPECT_EQ(table.ColAlignment(1), FlexAlign::LeftCenter);
            EXPECT_EQ(table.ColAlignment(table.Cols() - 1), FlexAlign::LeftCenter);
            EXPECT_EQ(table.CellAlignment(0, 1), FlexAlign::CenterCenter);
            EXPECT_EQ(table.MergeCells(), FlexMerge::RestrictRows);
        }
    }
}

TEST_F(EventTableTest, PowerOnAndLogsWithoutRowsOrHead) {
    const char *power = "Insert Into Power_Event (RelNo, Dates, Power_Type) Values (?, ?, 1)";
    const qint64 log = store({.type = 7});
    add(power, log, 9, 0);
    FillEventTable(table, db(), log, 7);
    EXPECT_EQ(test::GridRows(table).value(1), "1|" + shown(9, 0) + "|ON");

    const qint64 empty = store({.type = 5});
    FillEventTable(table, db(), empty, 5);
    EXPECT_EQ(test::GridRows(table), QStringList{heading("Gas|Event")});

    // Records whose head row is gone are not listed, not even under the key 0.
    add(power, 0, 9, 0);
    add(power, 555, 9, 0);
    FillEventTable(table, db(), 555, 7);
    EXPECT_EQ(test::GridRows(table), QStringList{heading("Power")});
}

TEST_F(EventTableTest, SensorChangesFillTheirTableAndTheSummary) {
    const char *insert = "Insert Into SensorChange (RelNo, Dates, Gas1Model, Gas1SerialNO, "
                         "Gas1Name, Gas1Unit, Gas1Full, Gas1Point) Values (?, ?, 'M1', 'S9', "
                         "'H2S', 'ppm', 200, 0)";
    for (const qint64 seqNo : {qint64(0), qint64(70000)}) {
        const qint64 log = store({.serial = QStringLiteral("A77"),
                                  .user = QStringLiteral("U-9"),
                                  .type = 12,
                                  .dates = at(12, 30),
                                  .seqNo = seqNo});
        add(insert, log, 8, 0);
        add(insert, log, 9, 0);
        FillSensorChangeTable(table, summary, db(), log);
        EXPECT_EQ(test::GridRows(table), (QStringList{heading("Model|SensorNO|Gas"),
                                                      "1|" + shown(9, 0) + "|M1|S9|H2S(200ppm)",
                                                      "2|" + shown(8, 0) + "|M1|S9|H2S(200ppm)"}));
        EXPECT_EQ(table.ColAlignment(4), FlexAlign::CenterCenter);
        EXPECT_EQ(table.ColAlignment(3), FlexAlign::LeftCenter);
        EXPECT_EQ(
            test::GridRows(summary),
            (QStringList{LoadMessage(5604) + "|" + LoadMessage(5605), LoadMessage(5608) + "|A77",
                         LoadMessage(5610) + "|U-9", LoadMessage(5668) + "|" + shown(12, 30)}));
        EXPECT_EQ(summary.CellAlignment(1, 1), FlexAlign::LeftCenter);
        EXPECT_EQ(summary.CellAlignment(0, 1), FlexAlign::CenterCenter);
    }
    // No head row: an empty summary and no records.
    add(insert, 0, 8, 0);
    FillSensorChangeTable(table, summary, db(), 999);
    EXPECT_EQ(test::GridRows(summary), QStringList{LoadMessage(5604) + "|" + LoadMessage(5605)});
    EXPECT_EQ(test::GridRows(table), QStringList{heading("Model|SensorNO|Gas")});
}

// A value that is not there, or does not fit its field, is an empty cell: never "OFF", a
// gas title of a full scale 0 or a date of 1899.
TEST_F(EventTableTest, WhatIsNotThereIsAnEmptyCell) {
    const struct {
        int type;
        const char *insert;
        QString record;
    } cases[] = {
        {7, "Insert Into Power_Event (RelNo, Dates, Power_Type) Values (?, ?, Null)",
         QStringLiteral("")},
        {5,
         "Insert Into Alarm_Event (RelNo, Dates, GasName, Alarm_Type) Values (?, ?, 'CH4', Null)",
         QStringLiteral("CH4|")},
        {6,
         "Insert Into Trouble_Event (RelNo, Dates, GasName, Alarm_Type) Values (?, ?, 'CO', "
         "65429)",
         QStringLiteral("CO|")},
        {12,
         "Insert Into SensorChange (RelNo, Dates, Gas1Model, Gas1SerialNO, Gas1Name, "
         "Gas1Unit, Gas1Full, Gas1Point) Values (?, ?, 'M1', 'S9', 'H2S', 'ppm', Null, 0)",
         QStringLiteral("M1|S9|")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.type);
        const qint64 log = store({.type = c.type});
        add(c.insert, log, 10, 5);
        db().execute(QString::fromLatin1(c.insert).replace(QLatin1String("(?, ?,"), "(?, Null,"),
                     {log});
        if (c.type == 12)
            FillSensorChangeTable(table, summary, db(), log);
        else
            FillEventTable(table, db(), log, c.type);
        const QStringList rows = test::GridRows(table);
        ASSERT_EQ(rows.size(), 3);
        EXPECT_EQ(rows[1], "1|" + shown(10, 5) + "|" + c.record);
        EXPECT_EQ(rows[2], "2||" + c.record) << "a Null date";
    }
}

TEST_F(EventTableTest, AFillReplacesTheFormerTableWhole) {
    table.SetCols(6);
    table.SetRows(9);
    table.SetCellBackColor(0, 1, QColor(255, 0, 0));
    table.SetTextMatrix(5, 5, QStringLiteral("old"));
    FillEventTable(table, db(), store({.type = 6}), 6);
    EXPECT_EQ(test::GridRows(table), QStringList{heading("Gas/Body|Event")});
    EXPECT_FALSE(table.CellBackColor(0, 1).isValid());
}

} // namespace
} // namespace tq
