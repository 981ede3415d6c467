#include "core/database.h"
#include "core/errors.h"
#include "core/instrument/clsInstrument.h"
#include "trend_test_support.h"

#include <QFile>

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

// The instrument model's two operations on the log database.
class InstrumentRecordsTest : public test::TrendStoreTest {
protected:
    QString path() const { return store.DatabasePath; }
    // The SeqNo and user of every cLatestHist row, in key order.
    std::vector<std::pair<qint64, QString>> latest() const {
        Database db(path());
        std::vector<std::pair<qint64, QString>> out;
        for (const DbRow &row : db.query("Select SeqNo, UserID From cLatestHist Order By SeqNo"))
            out.emplace_back(row.integer("SeqNo"), row.text("UserID"));
        return out;
    }
};

TEST_F(InstrumentRecordsTest, LoadDatabaseReadsTheLogsInstrumentWithDefaultsForNulls) {
    {
        Database db(path());
        db.execute(
            "Insert Into Log_head (SeqNo, UserID, StationID, SerialNo, Interval, Gas1Name, "
            "Gas1Desit, Gas1Point, Gas1Unit, Gas1Full, Gas1Enable, Gas1Max, Gas1Min, Gas1Avr, "
            "Gas1MaxDate, Gas1Warning, Gas1Alarm, Gas1TWA) Values (1, ' U1 ', 'S1', 'N''1', 60, "
            "'CH4', 0.5, 1, '%LEL ', 100, 0, 12.5, 1, 3, ?, 10, 20, 5)",
            {QVariant::fromValue(Date::fromParts(2024, 1, 2, 3, 4, 5))});
        db.execute("Insert Into Log_head (SeqNo) Values (2)");
    }
    clsInstrument instrument;
    instrument.setCalLimit(9);
    instrument.ClearChangeFlags();
    instrument.LoadDatabase(path(), 1);
    EXPECT_EQ(instrument.UserID(), "U1");
    EXPECT_EQ(instrument.StationID(), "S1");
    EXPECT_EQ(instrument.SerialNo(), "N'1");
    EXPECT_EQ(instrument.Intervals(), 60);
    EXPECT_EQ(instrument.GasName(0), "CH4");
    EXPECT_FLOAT_EQ(instrument.GasDesit(0), 0.5f);
    EXPECT_EQ(instrument.GasPoint(0), 1);
    EXPECT_EQ(instrument.GasUnit(0), "%LEL ");
    EXPECT_FLOAT_EQ(instrument.GasFullScale(0), 100.0f);
    EXPECT_FALSE(instrument.GasEnabled(0));
    EXPECT_FLOAT_EQ(instrument.LogMax(0), 12.5f);
    EXPECT_EQ(instrument.LogMaxDate(0), Date::fromParts(2024, 1, 2, 3, 4, 5));
    EXPECT_EQ(instrument.LogMinDate(0).days(), -101.0);
    // The levels the log was recorded with; a Null level is not set.
    EXPECT_FLOAT_EQ(instrument.Warning(0), 10.0f);
    EXPECT_FLOAT_EQ(instrument.Alarm(0), 20.0f);
    EXPECT_FLOAT_EQ(instrument.Twa(0), 5.0f);
    EXPECT_FLOAT_EQ(instrument.Stel(0), -101.0f);
    EXPECT_FALSE(instrument.Change_Warn(0));
    EXPECT_EQ(instrument.CalLimit(), 9); // not a stored-log field
    EXPECT_FALSE(instrument.Change_UserID());
    EXPECT_FALSE(instrument.Change_Interval());
    EXPECT_FALSE(instrument.Change_GasEnable(0));

    EXPECT_TRUE(instrument.LoadDatabase(path(), 2));
    EXPECT_EQ(instrument.GasName(0), "*");
    EXPECT_EQ(instrument.GasUnit(0), " ");
    EXPECT_TRUE(instrument.GasEnabled(0));
    EXPECT_FLOAT_EQ(instrument.LogMax(0), -101.0f);
    EXPECT_FLOAT_EQ(instrument.Warning(0), -101.0f);
    EXPECT_EQ(instrument.UserID(), QString(16, '-'));

    const clsInstrument before = instrument;
    EXPECT_FALSE(instrument.LoadDatabase(path(), 3)); // no such row
    EXPECT_EQ(instrument.UserID(), before.UserID());
    EXPECT_EQ(instrument.GasName(0), before.GasName(0));
    EXPECT_FALSE(instrument.LoadDatabase(dir.filePath("none.mdb"), 1)); // no database
    EXPECT_EQ(instrument.UserID(), before.UserID());
}

TEST_F(InstrumentRecordsTest, HistoryUpdateKeepsOneRowPerDetector) {
    clsInstrument first;
    first.setUserID("A'1");
    clsInstrument second;
    second.setUserID("B");
    EXPECT_FALSE(first.HistoryUpdate(path()));
    EXPECT_EQ(latest(), (std::vector<std::pair<qint64, QString>>{{1, "A'1"}}));
    first.HistoryUpdate(path());
    EXPECT_EQ(latest(), (std::vector<std::pair<qint64, QString>>{{1, "A'1"}}));
    second.HistoryUpdate(path());
    first.HistoryUpdate(path());
    EXPECT_EQ(latest(), (std::vector<std::pair<qint64, QString>>{{2, "B"}, {3, "A'1"}}));
    EXPECT_FALSE(first.HistoryUpdate(dir.filePath("none.mdb")));
}

TEST_F(InstrumentRecordsTest, HistoryUpdateStoresBlankIdentitiesAndExactValues) {
    clsInstrument instrument;
    instrument.setGasName(0, "O2");
    instrument.setCalibBefore(0, 20.9f);
    instrument.setCalibDate(0, Date::fromParts(2024, 3, 15, 14, 5, 9));
    instrument.HistoryUpdate(path());
    Database db(path());
    const QList<DbRow> rows = db.query("Select * From cLatestHist");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].text("UserID"), QString(16, '-'));
    EXPECT_EQ(rows[0].text("StationID"), QString(16, '-'));
    EXPECT_EQ(rows[0].text("SerialNo"), QString(20, '-'));
    EXPECT_DOUBLE_EQ(rows[0].real("Gas1Before"), 20.9);
    EXPECT_EQ(rows[0].date("Gas1CalDate"), Date::fromParts(2024, 3, 15, 14, 5, 9));
    EXPECT_EQ(rows[0].text("Gas1Name"), "O2");
}

// A failing insert leaves the detector's old row in place.
TEST_F(InstrumentRecordsTest, HistoryUpdateIsOneStep) {
    clsInstrument instrument;
    instrument.setUserID("KEEP");
    instrument.HistoryUpdate(path());
    {
        Database db(path());
        db.execute("Create Trigger NoInsert Before Insert On cLatestHist "
                   "Begin Select Raise(Abort, 'refused'); End");
    }
    EXPECT_THROW(instrument.HistoryUpdate(path()), TqError);
    EXPECT_EQ(latest(), (std::vector<std::pair<qint64, QString>>{{1, "KEEP"}}));
}

} // namespace
} // namespace tq
