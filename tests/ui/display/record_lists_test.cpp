#include "core/database.h"
#include "core/date.h"
#include "core/gui/flex_grid.h"
#include "grid_rows.h"
#include "stored_logs.h"
#include "ui/display/log_summary.h"

namespace tq {
namespace {

using test::HeadRow;

// The general date of record i (record i is i hours after midnight, the newest the largest).
QString recordDate(int i) {
    return Date::fromParts(2009, 5, 1, i).generalDate();
}
QString recordDateText(int i) {
    return Date::fromParts(2009, 5, 1, i).toSqlText();
}

class RecordListTest : public test::StoredLogsTest {
protected:
    QStringList list(qint64 seqNo, const char *letter) {
        FillLogSummary(grid, db(), QStringLiteral("%1 %2").arg(seqNo).arg(QLatin1String(letter)));
        return test::GridRows(grid);
    }
    qint64 head(int type, bool gas = true) {
        const qint64 seqNo = store({.type = type});
        if (gas)
            db().execute(QStringLiteral("Update Log_head Set Gas1Name = 'CH4', Gas1Unit = '%LEL', "
                                        "Gas1Full = 100, Gas1Point = 1 Where SeqNo = ?"),
                         {seqNo});
        return seqNo;
    }
    FlexGrid grid;
};

TEST_F(RecordListTest, TenRecordsAllShowElevenEndInTheirTotal) {
    struct Family {
        const char *letter;
        int type;
        QString insert; // ? RelNo, ? Dates
        QStringList headings;
        QString record; // the text of a record row, with %1 for its date
        int rowsOfEleven;
        QString closing;
    };
    const std::vector<Family> families{
        {"Q",
         12,
         "Insert Into SensorChange (RelNo, Dates, Gas1Model, Gas1SerialNO, Gas1Name, Gas1Unit, "
         "Gas1Full, Gas1Point) Values (?, ?, 'M1', 'S9', 'H2S', 'ppm', 200, 0)",
         {"DateTime", "Model", "SensorNO", "Gas"},
         "%1|M1|S9|H2S(200ppm)",
         11,
         "...|Total 11 Datas||"},
        {"P",
         7,
         "Insert Into Power_Event (RelNo, Dates, Power_Type) Values (?, ?, 1)",
         {"DateTime", "Power"},
         "%1|ON",
         11,
         "...|Total 11 Datas"},
        {"W",
         6,
         "Insert Into Trouble_Event (RelNo, Dates, GasName, Alarm_Type) Values (?, ?, 'CH4', -132)",
         {"DateTime", "Gas/Body", "Event"},
         "%1|CH4|Fail(Sens.)",
         11,
         "...|Total|11 Datas"},
        {"V",
         5,
         "Insert Into Alarm_Event (RelNo, Dates, GasName, Alarm_Type) Values (?, ?, 'CH4', -104)",
         {"DateTime", "Gas", "Event"},
         "%1|CH4|ALARM",
         11,
         "...|Total|11 Datas"},
        {"H",
         3,
         "Insert Into cHistory (RelNo, Dates, Gas1Before, Gas1After, Gas1Unit) Values (?, ?, 50, "
         "-101, '%LEL')",
         {"DateTime", "Gas", "Before", "After"},
         "%1|CH4(100.0%LEL)|50.0 %LEL|----- ",
         14,
         "...|Total|11|Datas"},
        {"b",
         10,
         "Insert Into Bump (RelNo, Dates, Gas1Before, Gas1After, Gas1Unit, Gas1Judge) Values (?, "
         "?, 48, -118, '%LEL', 2)",
         {"DateTime", "Gas", "Test Result", "Concentration", "Judge"},
         "%1|CH4(100.0%LEL)|48.0 %LEL|----- %LEL|PASS",
         14,
         "...|Total|11|Datas|"},
    };
    for (const Family &f : families) {
        SCOPED_TRACE(f.letter);
        for (int count : {10, 11}) {
            const qint64 seqNo = head(f.type);
            for (int i = 1; i <= count; ++i)
                db().execute(f.insert, {seqNo, recordDateText(i)});
            const QStringList rows = list(seqNo, f.letter);
            EXPECT_EQ(rows.front(), f.headings.join(QLatin1Char('|')));
            const int shown = count == 10 ? 10 : (f.rowsOfEleven == 11 ? 8 : 10);
            ASSERT_EQ(rows.size(), count == 10 ? 11 : f.rowsOfEleven);
            for (int r = 1; r <= shown; ++r)
                EXPECT_EQ(rows[r], f.record.arg(recordDate(count + 1 - r))) << r;
            if (count == 11) {
                const QString empty(f.headings.size() - 1, u'|');
                for (int r = shown + 1; r < rows.size() - 1; ++r)
                    EXPECT_EQ(rows[r], empty) << r;
                EXPECT_EQ(rows.back(), f.closing);
            }
            for (int r = 0; r < grid.Rows(); ++r)
                EXPECT_FALSE(grid.MergeRow(r));
        }
    }
}

TEST_F(RecordListTest, EdgeRecords) {
    // A bump test without a first reading, a calibration value of -101.
    const qint64 bump = head(10);
    db().execute(QStringLiteral("Insert Into Bump (RelNo, Dates, Gas1Before, Gas1After, "
                                "Gas1Unit, Gas1Judge) Values (?, ?, -101, 50, '%LEL', 2)"),
                 {bump, recordDateText(1)});
    EXPECT_EQ(list(bump, "b").value(1),
              recordDate(1) + QStringLiteral("|CH4(100.0%LEL)|----- |50.0 %LEL|-----"));
    // A head without a gas: dashes in the value columns, no judgement.
    const qint64 noGas = head(10, false);
    db().execute(QStringLiteral("Insert Into Bump (RelNo, Dates, Gas1Before, Gas1After, "
                                "Gas1Unit, Gas1Judge) Values (?, ?, 40, 50, '%LEL', 1)"),
                 {noGas, recordDateText(2)});
    EXPECT_EQ(list(noGas, "b").value(1), recordDate(2) + QStringLiteral("|----(---)|-----|-----|"));
    // A log without records: its headings and one empty row; a power-off event.
    const qint64 power = head(7);
    EXPECT_EQ(list(power, "P"), (QStringList{"DateTime|Power", "|"}));
    db().execute(
        QStringLiteral("Insert Into Power_Event (RelNo, Dates, Power_Type) Values (?, ?, 0)"),
        {power, recordDateText(3)});
    EXPECT_EQ(list(power, "P").value(1), recordDate(3) + QStringLiteral("|OFF"));
}

} // namespace
} // namespace tq
