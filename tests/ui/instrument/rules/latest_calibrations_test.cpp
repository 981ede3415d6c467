#include "ui/instrument/rules/latest_calibrations.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace tq {
namespace {

const Date kNow = Date::fromParts(2024, 6, 15, 12, 0, 0);

// An entry downloaded `downloadDaysAgo` and calibrated `calibratedDaysAgo` with a limit
// of 90 days.
LatestCalibration entry(const QString &serial, double calibratedDaysAgo, double downloadDaysAgo = 1,
                        bool enabled = true) {
    LatestCalibration e;
    e.SerialNo = serial;
    e.UserID = QStringLiteral("USER");
    e.StationID = QStringLiteral("ST");
    e.WriteDates = kNow.addSeconds(-qint64(downloadDaysAgo * 86400));
    e.CalLimit = 90;
    e.Gas1Name = QStringLiteral("CO");
    e.Gas1Point = 1;
    e.Gas1Enable = enabled;
    e.Gas1CalDate = kNow.addSeconds(-qint64(calibratedDaysAgo * 86400));
    e.Gas1Before = 48.5f;
    e.Gas1After = 50;
    e.Gas1AutoCal = -101;
    return e;
}

QStringList column(const LatestCalList &list, int col) {
    QStringList out;
    for (const LatestCalRow &r : list.rows)
        out.append(r.cells.value(col));
    return out;
}

TEST(LatestCalList, NeedCalibrationListsOnlyDueEntriesByTheirPlace) {
    const QList<LatestCalibration> entries = {
        entry("A", 10),           entry("B", 95), entry("C", 10, 100),
        entry("D", 10, 1, false), entry("E", 86), // 4 days left, window 7
    };
    const LatestCalList need = BuildLatestCalList(entries, LatestCalView::NeedCalibration, 7, kNow);
    EXPECT_EQ(column(need, 0), (QStringList{"2", "5"}));
    EXPECT_EQ(need.rows[0].marks[4], ListMark::Red);
    EXPECT_EQ(need.rows[1].marks[4], ListMark::Orange);
    EXPECT_EQ(need.headings, LoadMessage(5661, {QStringLiteral("CO")}).split(QLatin1Char('|')));

    const LatestCalList dates =
        BuildLatestCalList(entries, LatestCalView::CalibrationDate, 7, kNow);
    EXPECT_EQ(column(dates, 0), (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(dates.rows[3].cells[4], QStringLiteral("-----")) << "gas not in use";
    EXPECT_EQ(dates.rows[3].marks[4], ListMark::None);
    EXPECT_EQ(dates.rows[2].marks[5], ListMark::StaleDownload) << "downloaded 100 days ago";
    EXPECT_EQ(dates.rows[0].marks[5], ListMark::None);
    EXPECT_EQ(dates.rows[0].cells[4], entries[0].Gas1CalDate.generalDate());
    EXPECT_EQ(dates.rows[0].cells[5], entries[0].WriteDates.generalDate());
}

TEST(LatestCalList, CalibrationRecordShowsReadingsAndDueText) {
    const QList<LatestCalibration> entries = {entry("A", 10), entry("B", 95),
                                              entry("C", 10, 1, false)};
    const LatestCalList list =
        BuildLatestCalList(entries, LatestCalView::CalibrationRecord, 7, kNow);
    EXPECT_EQ(list.headings, LoadMessage(5662).split(QLatin1Char('|')));
    EXPECT_EQ(list.rows[0].cells, (QStringList{"1", "A", "USER", "ST", "CO", "48.5", "50.0",
                                               "-----", LoadMessage(5638, {80})}));
    EXPECT_EQ(list.rows[0].marks[8], ListMark::None);
    EXPECT_EQ(list.rows[1].cells[8], LoadMessage(5637));
    EXPECT_EQ(list.rows[1].marks[8], ListMark::Red);
    EXPECT_EQ(list.rows[2].cells.mid(4), (QStringList{"CO", "-----", "-----", "-----", "-----"}));
}

TEST(LatestCalList, EmptyTableHeadings) {
    EXPECT_TRUE(BuildLatestCalList({}, LatestCalView::NeedCalibration, 7, kNow).headings.isEmpty());
    EXPECT_EQ(BuildLatestCalList({}, LatestCalView::CalibrationRecord, 7, kNow).headings.size(), 9);
}

class LatestCalDatabaseTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        CreateLogDatabase(db);
        add("O'NEIL", "U'1", "ST1", Date::fromParts(2024, 1, 2));
        add("O'NEIL", "U'1", "ST2", Date::fromParts(2024, 1, 3));
        add("SN2", "U'1", "ST1", Date::fromParts(2024, 1, 1));
    }
    void add(const QString &serial, const QString &user, const QString &station, Date written) {
        Database(db).execute(
            QStringLiteral("INSERT INTO cLatestHist (SerialNo, UserID, StationID, WriteDates, "
                           "Gas1Enable) VALUES (?, ?, ?, ?, ?)"),
            {serial, user, station, DateParam(written), true});
    }
    QString db = path(QStringLiteral("TQ6200.mdb"));
};

TEST_F(LatestCalDatabaseTest, ReadsNewestFirstAndDeletesOnlyTheRowPicked) {
    QList<LatestCalibration> entries = ReadLatestCalibrations(db);
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].StationID, QStringLiteral("ST2"));
    EXPECT_EQ(entries[2].SerialNo, QStringLiteral("SN2"));
    EXPECT_TRUE(entries[0].Gas1Enable);
    EXPECT_EQ(entries[0].Gas1CalDate, Date::noDate()) << "a Null date reads as no date";

    DeleteLatestCalibration(db, entries[1]); // O'NEIL / U'1 / ST1
    entries = ReadLatestCalibrations(db);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].StationID, QStringLiteral("ST2")) << "the other station stays";
    EXPECT_EQ(entries[1].SerialNo, QStringLiteral("SN2"));
}

TEST_F(LatestCalDatabaseTest, AMissingDatabaseIsAnErrorToTheCaller) {
    EXPECT_THROW(ReadLatestCalibrations(path(QStringLiteral("none.mdb"))), TqError);
}

} // namespace
} // namespace tq
