#include "core/database.h"
#include "core/date.h"
#include "core/gui/flex_grid.h"
#include "core/id_helpers.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "grid_rows.h"
#include "logs/trend/trend_file.h"
#include "stored_logs.h"
#include "ui/display/log_summary.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>

namespace tq {
namespace {

using test::HeadRow;

QString M(int id) {
    return LoadMessage(id);
}

class LogSummaryTest : public test::StoredLogsTest {
protected:
    // A trend head with its gas columns.
    qint64 storeTrend(int type, const QString &names, bool gasOn = true,
                      const QVariant &last = QStringLiteral("2009-05-01 12:00:00")) {
        const qint64 seqNo = store({.type = type, .names = names, .sampling = 1});
        db().execute(
            QStringLiteral("Update Log_head Set Last = ?, Dcount = 720, Interval = 60, "
                           "Gas1Enable = ?, Gas1Name = 'CH4', Gas1Unit = '%LEL', Gas1Full = 100, "
                           "Gas1Point = 1, Gas1Avr = 12.5, Gas1Max = 150, Gas1MaxDate = "
                           "'2009-05-01 11:00:00', Gas1Warning = 10, Gas1Alarm = 20, Gas1STEL = "
                           "-101, Gas1TWA = 0 Where SeqNo = ?"),
            {last, gasOn, seqNo});
        return seqNo;
    }
    void trendFile(const QString &names, float value) {
        QByteArray records(720 * kTrendRecordSize, '\0');
        for (int n = 0; n < 720; ++n)
            std::memcpy(records.data() + n * kTrendRecordSize + 8, &value, sizeof value);
        const QString file = TrendFilePath(Globals().DataFolder, QStringLiteral("05/09"), names);
        QDir().mkpath(QFileInfo(file).path());
        test::writeFile(file, records);
    }
    QStringList summary(const QString &key, bool *buttons = nullptr) {
        const bool enabled = FillLogSummary(grid, db(), key);
        if (buttons)
            *buttons = enabled;
        return test::GridRows(grid);
    }

    FlexGrid grid;
};

TEST_F(LogSummaryTest, FoldersAndOtherLettersGiveTheirShortForms) {
    const QStringList folder{M(5604) + "|" + M(5605), M(5622) + "|" + M(5623)};
    const QStringList reset{M(5105) + "|" + M(5106), "|"};
    const struct {
        const char *key;
        QStringList rows;
        bool buttons;
    } cases[] = {{"0 #", folder, false},     {"A1 S", folder, false},    {"B T", folder, false},
                 {"C U", folder, false},     {"05/09 M", folder, false}, {"05/09 I", folder, false},
                 {"05/09 A", folder, false}, {"05/09 R", folder, false}, {"05/09 X", folder, false},
                 {"05/09 J", reset, true},   {"05/09 N", reset, true},   {"05/09 O", reset, true},
                 {"5 Z", reset, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        bool buttons = !c.buttons;
        EXPECT_EQ(summary(QString::fromLatin1(c.key), &buttons), c.rows);
        EXPECT_EQ(buttons, c.buttons);
    }
}

TEST_F(LogSummaryTest, TrendSummariesShowValuesUnitsAndDashes) {
    const QString date = Date::fromParts(2009, 5, 1, 10, 20, 30).generalDate();
    const QString last = Date::fromParts(2009, 5, 1, 12).generalDate();
    const QString dashes20(20, u'-');
    const qint64 interval = storeTrend(1, QStringLiteral("IV1"));
    const qint64 barHole =
        storeTrend(9, QStringLiteral("BH1"), true, QStringLiteral("1900-01-01 00:00:00"));
    const qint64 off = storeTrend(1, QStringLiteral("OFF"), false, QVariant());
    const qint64 alarm = storeTrend(2, QStringLiteral("AL*1"));
    trendFile(QStringLiteral("AL*1"), 55.5f);
    const qint64 alarmOff = storeTrend(2, QStringLiteral("AL2"), false);
    db().execute(QStringLiteral("Update Log_head Set SerialNo = ' ' Where SeqNo = ?"), {alarmOff});

    const QStringList intervalRows{
        M(5604) + "|" + M(5605),
        M(5606) + "|IV1",
        M(5607) + "|" + date + M(5676) + last,
        M(5608) + "|A1234",
        M(5609) + "|ST-01",
        M(5610) + "|U-1",
        M(5611) + "|720",
        M(5612) + "|60",
        M(5750) + "|CH4(100.0%LEL)",
        M(5613) + "|12.5 %LEL",
        M(5614) + "|OVER",
        M(5663) + "|" + FormatEventTime(150, Date::fromParts(2009, 5, 1, 11)),
        M(5615) + "|*****",
        M(5664) + "|*****",
        M(5642) + "|10.0 %LEL",
        M(5643) + "|20.0 %LEL",
        M(5644) + "|-----",
        M(5645) + "|0.0 %LEL",
    };
    EXPECT_EQ(summary(QStringLiteral("%1 G").arg(interval)), intervalRows);

    QStringList barHoleRows = summary(QStringLiteral("%1 a").arg(barHole));
    EXPECT_EQ(barHoleRows.value(2), M(5607) + "|" + date + M(5676)); // the empty Last
    EXPECT_EQ(barHoleRows.value(6), QStringLiteral("-----|-----"));

    const QStringList offRows = summary(QStringLiteral("%1 G").arg(off));
    EXPECT_EQ(offRows.value(2), M(5607) + "|" + date + M(5676)); // a Null Last
    for (int r : {9, 10, 11, 14, 15, 16, 17})
        EXPECT_EQ(offRows.value(r).section('|', 1), QStringLiteral("-----")) << r;

    const QStringList alarmRows = summary(QStringLiteral("%1 K").arg(alarm));
    ASSERT_EQ(alarmRows.size(), 14);
    EXPECT_EQ(alarmRows[2], M(5616) + "|" + date);
    EXPECT_EQ(alarmRows[9], M(5605) + "|55.5 %LEL");
    EXPECT_EQ(alarmRows[12], M(5644) + "|-----");
    EXPECT_EQ(alarmRows[13], M(5645) + "|0.0 %LEL");

    // Gas off: STEL and TWA still show; no trend file: no reading.
    const QStringList alarmOffRows = summary(QStringLiteral("%1 K").arg(alarmOff));
    EXPECT_EQ(alarmOffRows[3], M(5608) + "|" + dashes20);
    EXPECT_EQ(alarmOffRows[9], M(5605) + "|-----");
    EXPECT_EQ(alarmOffRows[10], M(5642) + "|-----");
    EXPECT_EQ(alarmOffRows[13], M(5645) + "|0.0 %LEL");
    // A key that is no number reads no trend file of another log.
    EXPECT_EQ(summary(QStringLiteral("x K")),
              (QStringList{M(5604) + "|" + M(5605)} + QStringList(13, QStringLiteral("|"))));

    // The gas heading row is shaded; rows 1 to 7 merge, the others do not.
    summary(QStringLiteral("%1 G").arg(interval));
    EXPECT_EQ(grid.CellBackColor(8, 1), QColor(224, 224, 224));
    EXPECT_TRUE(grid.MergeRow(6));
    EXPECT_FALSE(grid.MergeRow(8));
    EXPECT_EQ(grid.CellAlignment(9, 1), FlexAlign::CenterCenter);
    EXPECT_EQ(grid.CellAlignment(11, 1), FlexAlign::LeftCenter);
}

TEST_F(LogSummaryTest, SnapshotSummaryTakesTheNewestReading) {
    const qint64 seqNo = storeTrend(11, QStringLiteral("SS1"));
    const QStringList empty = summary(QStringLiteral("%1 c").arg(seqNo));
    ASSERT_EQ(empty.size(), 10);
    EXPECT_EQ(empty[6], QStringLiteral("-----|-----"));
    EXPECT_EQ(empty[8], QStringLiteral("|"));
    for (const auto &[dates, value] :
         {std::pair{"2009-05-01 10:00:00", 5.0}, std::pair{"2009-05-02 10:00:00", 7.5}})
        db().execute(QStringLiteral("Insert Into SnapShot (RelNo, Dates, Gas1Name, Gas1Unit, "
                                    "Gas1Full, Gas1Point, Gas1val) Values (?, ?, 'O2', 'vol%', "
                                    "25, 1, ?)"),
                     {seqNo, QString::fromLatin1(dates), value});
    const QStringList rows = summary(QStringLiteral("%1 c").arg(seqNo));
    EXPECT_EQ(rows[8], M(5750) + "|O2(25.0vol%)");
    EXPECT_EQ(rows[9], M(5680) + "|7.5 vol%");
}

TEST_F(LogSummaryTest, NullColumnsGiveEmptyCells) {
    const qint64 seqNo = store({.names = QVariant(), .dates = QVariant()});
    const QStringList rows = summary(QStringLiteral("%1 G").arg(seqNo));
    EXPECT_EQ(rows[1], M(5606) + "|");
    EXPECT_EQ(rows[6], M(5611) + "|");
    EXPECT_EQ(rows[8], M(5750) + "|----(---)");
    EXPECT_EQ(rows[9], M(5613) + "|-----"); // gas off
}

} // namespace
} // namespace tq
