// The page layouts: summary block, record tables, histories, the Last Calibration list and
// the event logs, with their page breaks.
#include "print_fixtures.h"
#include "print_test_support.h"

#include "core/gas_format.h"
#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "logs/events/clsSnapShot.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/clsInterval.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace tq {
namespace {

using test::H;
using test::kRow;
using test::PrintCall;
using test::W;

const Date kStart = Date::fromParts(2024, 3, 5, 8, 30, 15);

template <typename Log> void fillHead(Log &log) {
    test::FillPrintedHead(log, {.name = QStringLiteral("iv05083015_SN0042"),
                                .start = kStart,
                                .user = QStringLiteral("USER-1"),
                                .station = QStringLiteral("ST-9"),
                                .serial = QStringLiteral("SN0042"),
                                .interval = 60,
                                .average = 12.46f,
                                .maximum = 600,
                                .maximumAt = Date::fromParts(2024, 3, 5, 9, 0, 0),
                                .warning = 50,
                                .alarm = -1,
                                .stel = ReadingCode::Warning,
                                .twa = 25});
}

// The request of a log the print job reads from the database.
PrintRequest storedLog(qint32 kind, qint64 seqNo) {
    PrintRequest request;
    request.DataType = kind;
    request.SeqNo = seqNo;
    return request;
}

QString general(const Date &date) {
    return date.generalDate();
}

class PrintLayoutTest : public test::PrintTest {
protected:
    // Prints the request's pages on a fresh recording printer.
    const test::Recording &pages(const PrintRequest &request) {
        record = test::Recording();
        test::RecordingSurface surface(record);
        frmPrint print;
        print.setRequest(request);
        print.PrintPages(surface);
        return record;
    }
    // The page's lines below the title line.
    QStringList body(int page = 1) const { return record.lines(page).mid(1); }
    QList<PrintCall> rules() const { return record.of(PrintCall::Line); }

    test::Recording record;
};

TEST_F(PrintLayoutTest, TheIntervalSummaryListsIdentityAndGasRows) {
    clsInterval log;
    fillHead(log);
    log.setDataCount(3);
    log.setEventCount(2);
    PrintRequest request;
    request.DataType = 9; // the block alone
    request.IntervalData = &log;
    pages(request);
    const QString to = LoadMessage(5676);
    EXPECT_EQ(body(), (QStringList{
                          LoadMessage(5604) + "|" + LoadMessage(5605),
                          LoadMessage(5606) + "|iv05083015_SN0042",
                          LoadMessage(5607) + "|" + general(kStart) + to,
                          LoadMessage(5608) + "|SN0042",
                          LoadMessage(5609) + "|ST-9",
                          LoadMessage(5610) + "|USER-1",
                          "-----|-----",
                          LoadMessage(5612) + "|60",
                          LoadMessage(5750) + "|CO(500.0ppm)",
                          LoadMessage(5613) + "|12.5 ppm",
                          LoadMessage(5614) + "|OVER",
                          LoadMessage(5663) + "|03/05 09:00:00",
                          LoadMessage(5615) + "|*****",
                          LoadMessage(5664) + "|*****",
                          LoadMessage(5642) + "|50.0 ppm",
                          LoadMessage(5643) + "|OVER",
                          LoadMessage(5644) + "|WARNING",
                          LoadMessage(5645) + "|25.0 ppm",
                      }));
    // Heading at a twentieth of the height, a thin rule under it and one before the gas
    // rows, the thick rule at the end.
    const PrintCall heading = record.find(LoadMessage(5604));
    EXPECT_DOUBLE_EQ(heading.y, H / 20);
    EXPECT_DOUBLE_EQ(heading.x, 0.02 * W);
    ASSERT_EQ(rules().size(), 3);
    EXPECT_DOUBLE_EQ(rules()[0].y, H / 20 + kRow + 30);
    EXPECT_DOUBLE_EQ(rules()[0].x, 0);
    EXPECT_DOUBLE_EQ(rules()[0].x2, W);
    EXPECT_EQ(rules()[0].pen, 1);
    EXPECT_EQ(rules()[1].pen, 1);
    EXPECT_EQ(rules()[2].pen, 4);
    EXPECT_DOUBLE_EQ(record.find(QStringLiteral("iv05083015_SN0042")).y, rules()[0].y + kRow)
        << "one empty row under the rule";
    EXPECT_DOUBLE_EQ(record.find(QStringLiteral("SN0042")).x, 0.25 * W) << "identity: left";
    const QString ppm = QStringLiteral("12.5 ppm");
    EXPECT_DOUBLE_EQ(record.find(ppm).x, 0.25 * W + (0.15 * W - ppm.size() * 90) / 2)
        << "gas values centred between 0.25 W and 0.40 W";
    EXPECT_DOUBLE_EQ(record.find(LoadMessage(5613)).x, 0.02 * W);
}

TEST_F(PrintLayoutTest, IntervalSummaryEdgeCases) {
    clsInterval log;
    fillHead(log);
    log.setDataCount(3);
    log.setEventCount(2);
    PrintRequest request;
    request.DataType = 1;
    request.IntervalData = &log;
    FlexGrid grid;
    request.frmObj = &grid;
    pages(request);
    EXPECT_TRUE(body().contains(LoadMessage(5607) + "|" + general(kStart) + LoadMessage(5676)))
        << "no end date: the start and \" to \"";
    EXPECT_TRUE(body().contains(LoadMessage(5611) + "|5")) << "samples plus events";

    log.setGasListInfo(0, qint32(GasInfoItem::Enable), false);
    pages(request);
    for (int label : {5613, 5614, 5663, 5642, 5643, 5644, 5645})
        EXPECT_TRUE(body().contains(LoadMessage(label) + "|-----")) << label;
    EXPECT_TRUE(body().contains(LoadMessage(5615) + "|*****"));
    EXPECT_TRUE(body().contains(LoadMessage(5664) + "|*****"));

    log.setGasListInfo(0, qint32(GasInfoItem::Enable), true);
    log.setGasListInfo(0, qint32(GasInfoItem::Full), -101);
    pages(request);
    for (int label : {5613, 5614, 5642, 5643, 5644, 5645})
        EXPECT_TRUE(body().contains(LoadMessage(label) + "|-----")) << label;
}

TEST_F(PrintLayoutTest, AlarmAndSnapshotSummaries) {
    clsAlarm alarm;
    fillHead(alarm);
    alarm.setDataCount(720);
    FlexGrid grid;
    PrintRequest request;
    request.DataType = 2;
    request.AlarmData = &alarm;
    request.frmObj = &grid;
    pages(request);
    EXPECT_TRUE(body().contains(LoadMessage(5616) + "|" + general(kStart)));
    EXPECT_TRUE(body().contains(LoadMessage(5611) + "|720"));
    for (int label : {5613, 5614, 5615, 5663, 5664})
        EXPECT_TRUE(record.find(LoadMessage(label)).text.isEmpty()) << label;
    EXPECT_TRUE(body().contains(LoadMessage(5645) + "|25.0 ppm"));
    alarm.setGasBaseInfo(qint32(LogHeaderItem::Sampling), 2);
    pages(request);
    EXPECT_TRUE(body().contains(LoadMessage(5607) + "|" + general(kStart)));
    EXPECT_EQ(record.texts().first(), QStringLiteral("TQ-6200 Data Logger  (Interval Trend)"));

    clsSnapShot snap;
    fillHead(snap);
    request.DataType = 11;
    request.SnapData = &snap;
    grid.SetRows(3);
    pages(request);
    const QStringList block = body().mid(0, 6);
    EXPECT_EQ(block,
              (QStringList{LoadMessage(5604) + "|" + LoadMessage(5605),
                           LoadMessage(5606) + "|iv05083015_SN0042",
                           LoadMessage(5607) + "|" + general(kStart), LoadMessage(5608) + "|SN0042",
                           LoadMessage(5609) + "|ST-9", LoadMessage(5610) + "|USER-1"}));
    // Heading rule, thin rule, thick rule 30 twips lower, then the table's rule.
    ASSERT_GE(rules().size(), 3);
    EXPECT_EQ(rules()[2].pen, 4);
    EXPECT_DOUBLE_EQ(rules()[2].y, rules()[1].y + 30);
}

// A record table as the Data View page fills it: number, date, reading.
void fillTable(FlexGrid &grid, int rows, int colouredEvery = 0) {
    grid.SetRows(rows + 1);
    grid.SetCols(3);
    grid.SetTextMatrix(0, 0, QStringLiteral("GRID-HEAD"));
    for (int r = 1; r <= rows; ++r) {
        grid.SetTextMatrix(r, 0, QString::number(r));
        grid.SetTextMatrix(r, 1,
                           QStringLiteral("03/05 08:%1").arg(r % 60, 2, 10, QLatin1Char('0')));
        const bool event = colouredEvery > 0 && r % colouredEvery == 0;
        grid.SetTextMatrix(r, 2, event ? QStringLiteral("ALARM") : QStringLiteral("1.5"));
        if (event)
            grid.SetCellBackColor(r, 2, QColor(255, 0, 0));
    }
}

TEST_F(PrintLayoutTest, TrendTablesCopyTheRecordTable) {
    clsAlarm alarm;
    fillHead(alarm);
    FlexGrid grid;
    fillTable(grid, 720);
    PrintRequest request;
    request.DataType = 2;
    request.AlarmData = &alarm;
    request.frmObj = &grid;
    pages(request);
    QStringList numbers;
    for (int page = 1; page <= record.pages(); ++page) {
        for (const PrintCall &call : record.of(PrintCall::Text)) {
            if (call.page == page && call.x < 0.10 * W && call.text.toInt() > 0)
                numbers.append(call.text);
        }
    }
    QStringList expected;
    for (int r = 1; r <= 720; ++r)
        expected.append(QString::number(r));
    EXPECT_EQ(numbers, expected) << "every row once, in order";
    EXPECT_FALSE(record.texts().contains(QStringLiteral("GRID-HEAD")));
    EXPECT_DOUBLE_EQ(record.find(QStringLiteral("03/05 08:01")).x, 0.10 * W) << "date at the edge";
    // The alarm line directly under row 361, at the row spacing.
    const PrintCall row361 = record.find(QStringLiteral("361"));
    const PrintCall row362 = record.find(QStringLiteral("362"));
    bool found = false;
    for (const PrintCall &line : rules()) {
        if (line.page == row361.page && line.y == row361.y + kRow) {
            found = true;
            EXPECT_EQ(line.pen, 1);
            EXPECT_DOUBLE_EQ(line.x2, W);
        }
    }
    EXPECT_TRUE(found);
    if (row362.page == row361.page) {
        EXPECT_DOUBLE_EQ(row362.y, row361.y + kRow);
    }

    fillTable(grid, 360);
    pages(request);
    for (const PrintCall &line : rules()) {
        const PrintCall heading = record.find(LoadMessage(5620), line.page);
        EXPECT_LE(line.y, heading.y + kRow + 30) << "no line among the rows";
    }
}

TEST_F(PrintLayoutTest, IntervalTablesPrintEventsFromTheEdgeAndBreakPages) {
    clsInterval log;
    fillHead(log);
    FlexGrid grid;
    fillTable(grid, 300, 7);
    PrintRequest request;
    request.DataType = 1;
    request.IntervalData = &log;
    request.frmObj = &grid;
    pages(request);
    const PrintCall event = record.find(QStringLiteral("ALARM"));
    EXPECT_DOUBLE_EQ(event.x, 0.28 * W);
    const PrintCall reading = record.find(QStringLiteral("1.5"));
    EXPECT_DOUBLE_EQ(reading.x, 0.28 * W + (0.22 * W - 270) / 2);
    const QString date = QStringLiteral("03/05 08:01");
    EXPECT_DOUBLE_EQ(record.find(date).x, 0.10 * W + (0.18 * W - date.size() * 90) / 2);

    ASSERT_GT(record.pages(), 2);
    // A continuation page: title, then at a tenth of the width the heading and its rule,
    // then the next row.
    const QStringList page2 = record.lines(2);
    EXPECT_EQ(page2[0],
              QStringLiteral("TQ-6200 Data Logger  (Interval Trend)|") + dialogs.now.generalDate());
    const PrintCall heading = record.find(LoadMessage(5620), 2);
    EXPECT_EQ(heading.page, 2);
    EXPECT_DOUBLE_EQ(heading.y, 0.1 * W);
    const PrintCall firstRow = record.after(LoadMessage(5620), 2, 3);
    EXPECT_DOUBLE_EQ(firstRow.y, 0.1 * W + kRow + 30);
    // The last row of page 1 and the first of page 2 follow each other.
    int lastOnPage1 = 0;
    for (const PrintCall &call : record.of(PrintCall::Text)) {
        if (call.page == 1 && call.x < 0.10 * W)
            lastOnPage1 = std::max(lastOnPage1, call.text.toInt());
    }
    EXPECT_EQ(firstRow.text.toInt(), lastOnPage1 + 1);

    // When the page fills exactly at the last row, no empty page follows.
    fillTable(grid, lastOnPage1, 7);
    pages(request);
    EXPECT_EQ(record.pages(), 1);
    EXPECT_TRUE(record.of(PrintCall::Page).isEmpty());

    // An empty table: the heading and its rule.
    grid.SetRows(1);
    pages(request);
    EXPECT_EQ(body().mid(body().size() - 1),
              QStringList{LoadMessage(5620) + "|" + LoadMessage(5621) + "|CO(500.0ppm)"});
}

TEST_F(PrintLayoutTest, SnapshotTablesPrintTheirTwoRows) {
    clsSnapShot snap;
    fillHead(snap);
    FlexGrid grid;
    fillTable(grid, 2);
    PrintRequest request;
    request.DataType = 11;
    request.SnapData = &snap;
    request.frmObj = &grid;
    pages(request);
    EXPECT_EQ(body().mid(body().size() - 2),
              (QStringList{"1|03/05 08:01|1.5", "2|03/05 08:02|1.5"}));
}

class HistoryPrintTest : public PrintLayoutTest {
protected:
    void addEntry(const char *table, qint64 relNo, const Date &date, float before, float after,
                  int judge = 0) {
        Database db(Globals().DatabasePath);
        if (QLatin1String(table) == QLatin1String("Bump"))
            db.execute(QStringLiteral("INSERT INTO Bump (RelNo, Dates, Gas1Before, Gas1After, "
                                      "Gas1Judge) VALUES (?, ?, ?, ?, ?)"),
                       {relNo, DateParam(date), before, after, judge});
        else
            db.execute(QStringLiteral("INSERT INTO cHistory (RelNo, Dates, Gas1Before, "
                                      "Gas1After) VALUES (?, ?, ?, ?)"),
                       {relNo, DateParam(date), before, after});
    }
};

TEST_F(HistoryPrintTest, CalibrationEntriesTakeTwoRowsAndBumpTestsThree) {
    const Date midnight = Date::fromParts(2024, 2, 1);
    addHead(3, 40000, midnight, QStringLiteral("CO"), 500, 1, QStringLiteral("ppm"));
    addEntry("cHistory", 40000, Date::fromParts(2024, 1, 2, 10, 0, 0), 12.5f, 50);
    addEntry("cHistory", 40000, Date::fromParts(2024, 1, 9), ReadingCode::FailSpan, 50);
    pages(storedLog(3, 40000));
    EXPECT_EQ(body(), (QStringList{
                          LoadMessage(5604) + "|" + LoadMessage(5605),
                          LoadMessage(5608) + "|SN0042",
                          LoadMessage(5609) + "|ST-9",
                          LoadMessage(5610) + "|USER-1",
                          LoadMessage(5668) + "|" + general(midnight),
                          LoadMessage(5620) + "|" + LoadMessage(5621) + "|CO(500.0ppm)",
                          "1|" + general(Date::fromParts(2024, 1, 9)) + "|" + LoadMessage(5633) +
                              "|Fail(Span)",
                          LoadMessage(5634) + "|50.0 ppm",
                          "2|" + general(Date::fromParts(2024, 1, 2, 10, 0, 0)) + "|" +
                              LoadMessage(5633) + "|12.5 ppm",
                          LoadMessage(5634) + "|50.0 ppm",
                      }));
    EXPECT_EQ(general(midnight).contains(QLatin1Char(':')), false) << "midnight: the date alone";
    EXPECT_DOUBLE_EQ(record.find(QStringLiteral("SN0042")).x, 0.28 * W);
    EXPECT_DOUBLE_EQ(record.find(LoadMessage(5633)).x, 0.28 * W);
    ASSERT_EQ(rules().size(), 3);
    EXPECT_EQ(rules().back().pen, 4) << "the closing rule";

    addHead(10, 7, midnight, QStringLiteral("CO"), 500, 1, QStringLiteral("ppm"));
    addEntry("Bump", 7, Date::fromParts(2024, 1, 3), 48, 50, 2);
    addEntry("Bump", 7, Date::fromParts(2024, 1, 2), 10, 50, 1);
    addEntry("Bump", 7, Date::fromParts(2024, 1, 1), 10, 50, 0);
    pages(storedLog(10, 7));
    const QStringList rows = body().mid(6);
    EXPECT_EQ(
        rows,
        (QStringList{
            "1|" + general(Date::fromParts(2024, 1, 3)) + "|" + LoadMessage(5682) + "|48.0 ppm",
            LoadMessage(5681) + "|50.0 ppm", LoadMessage(5683) + "|PASS",
            "2|" + general(Date::fromParts(2024, 1, 2)) + "|" + LoadMessage(5682) + "|10.0 ppm",
            LoadMessage(5681) + "|50.0 ppm", LoadMessage(5683) + "|FAIL",
            "3|" + general(Date::fromParts(2024, 1, 1)) + "|" + LoadMessage(5682) + "|10.0 ppm",
            LoadMessage(5681) + "|50.0 ppm", LoadMessage(5683) + "|-----"}));
}

TEST_F(HistoryPrintTest, HistoriesWithoutEntriesOrGasAndLongOnes) {
    addHead(3, 5, kStart);
    pages(storedLog(3, 5));
    EXPECT_EQ(body().last(), LoadMessage(5620) + "|" + LoadMessage(5621) + "|----(---)");
    ASSERT_EQ(rules().size(), 3);
    EXPECT_DOUBLE_EQ(rules()[2].y, rules()[1].y + kRow + 30) << "rule, one empty row, closing";

    addEntry("cHistory", 5, kStart, 12.5f, 50);
    pages(storedLog(3, 5));
    EXPECT_EQ(body().last(), LoadMessage(5634) + "|-----");

    addHead(3, 6, kStart, QStringLiteral("CO"), 500, 1, QStringLiteral("ppm"));
    for (int i = 0; i < 60; ++i)
        addEntry("cHistory", 6, kStart.addSeconds(-i * 3600), 1, 2);
    pages(storedLog(3, 6));
    ASSERT_GT(record.pages(), 1);
    const QStringList page2 = record.lines(2);
    EXPECT_EQ(page2[1], LoadMessage(5620) + "|" + LoadMessage(5621) + "|CO(500.0ppm)");
    EXPECT_TRUE(page2[2].startsWith(QStringLiteral("%1|").arg(body().size() / 2 - 4)) ||
                page2[2].contains(QLatin1Char('|')));
    // Entries never split: every page ends with an After row.
    EXPECT_TRUE(body().last().startsWith(LoadMessage(5634)));
    const PrintCall heading2 = record.find(LoadMessage(5620), 2);
    EXPECT_DOUBLE_EQ(heading2.y, 0.1 * W);
    const PrintCall next = record.after(LoadMessage(5620), 2, 3);
    EXPECT_DOUBLE_EQ(next.y, 0.1 * W + kRow + 30) << "no empty row after the repeated heading";
    int lastOnPage1 = 0;
    for (const PrintCall &call : record.of(PrintCall::Text)) {
        if (call.page == 1 && call.x < 0.10 * W && call.y > 0.3 * H)
            lastOnPage1 = std::max(lastOnPage1, call.text.toInt());
    }
    EXPECT_EQ(next.text.toInt(), lastOnPage1 + 1) << "numbers go on";
}

TEST_F(PrintLayoutTest, TheLastCalibrationListPrintsTheGridsSixColumns) {
    FlexGrid grid;
    grid.SetRows(1);
    grid.SetCols(8);
    const QStringList heading{"No.", "SerialNo", "UserID", "StationID", "CO", "Last Download"};
    for (int c = 0; c < 6; ++c)
        grid.SetTextMatrix(0, c, heading[c]);
    grid.SetTextMatrix(0, 6, QStringLiteral("HIDDEN"));
    PrintRequest request;
    request.DataType = frmPrint::kLastCalibration;
    request.frmObj = &grid;
    pages(request);
    EXPECT_EQ(body(), QStringList{heading.join(QLatin1Char('|'))});
    ASSERT_EQ(rules().size(), 2);
    EXPECT_DOUBLE_EQ(rules()[0].y, H / 20 + 30);
    EXPECT_DOUBLE_EQ(record.find(QStringLiteral("No.")).y, H / 20 + 30 + kRow);
    EXPECT_EQ(rules()[1].pen, 4);

    grid.SetRows(201);
    for (int r = 1; r <= 200; ++r) {
        grid.SetTextMatrix(r, 0, QString::number(r));
        grid.SetTextMatrix(r, 1, QStringLiteral("SN%1").arg(r));
    }
    pages(request);
    EXPECT_FALSE(record.texts().contains(QStringLiteral("HIDDEN")));
    EXPECT_DOUBLE_EQ(record.find(QStringLiteral("SN1")).x, 0.10 * W);
    EXPECT_DOUBLE_EQ(record.find(QStringLiteral("1")).x, 0.02 * W + (0.08 * W - 90) / 2);
    EXPECT_DOUBLE_EQ(record.find(QStringLiteral("SerialNo")).x, 0.10 * W + (0.18 * W - 8 * 90) / 2);
    ASSERT_GT(record.pages(), 1);
    // No rule under the first page's heading; one under every later one.
    const PrintCall heading2 = record.find(QStringLiteral("No."), 2);
    EXPECT_EQ(heading2.page, 2);
    EXPECT_DOUBLE_EQ(heading2.y, 0.1 * W);
    int page2Rules = 0;
    for (const PrintCall &line : rules()) {
        if (line.page == 2 && line.pen == 1) {
            ++page2Rules;
            EXPECT_DOUBLE_EQ(line.y, 0.1 * W + kRow + 30);
        }
    }
    EXPECT_EQ(page2Rules, 1);
    int page1Rules = 0;
    for (const PrintCall &line : rules())
        page1Rules += line.page == 1 ? 1 : 0;
    EXPECT_EQ(page1Rules, 1);
}

// Every printed text is kept a blank's width (90 twips at 9 points) clear of the next text
// on its line and stays on the page: long dates centred before an event word, general dates
// before a label, two date columns side by side.
void expectNoTextRunsIntoTheNext(const test::Recording &record, const char *what) {
    const auto width = [](const PrintCall &call) {
        return call.text.size() * 10 * call.size * call.scaleX;
    };
    QList<PrintCall> texts = record.of(PrintCall::Text);
    std::sort(texts.begin(), texts.end(), [](const PrintCall &a, const PrintCall &b) {
        return std::tie(a.page, a.y, a.x) < std::tie(b.page, b.y, b.x);
    });
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const PrintCall &call = texts[i];
        EXPECT_LE(call.x + width(call), W + 1e-6) << what << ": " << call.text.toStdString();
        if (i + 1 < texts.size() && texts[i + 1].page == call.page && texts[i + 1].y == call.y) {
            EXPECT_LE(call.x + width(call) + 90, texts[i + 1].x + 1e-6)
                << what << ": " << call.text.toStdString() << " runs into "
                << texts[i + 1].text.toStdString();
        }
    }
}

TEST_F(HistoryPrintTest, NoPrintedTextRunsIntoTheNext) {
    const QString longDate = QStringLiteral("12/28/2026 10:53:55 AM");
    clsInterval log;
    fillHead(log);
    FlexGrid table;
    fillTable(table, 40, 3);
    for (int r = 1; r <= 40; ++r)
        table.SetTextMatrix(r, 1, r % 2 ? longDate : QStringLiteral("2026/12/28 10:53:55"));
    PrintRequest interval;
    interval.DataType = 1;
    interval.IntervalData = &log;
    interval.frmObj = &table;
    pages(interval);
    expectNoTextRunsIntoTheNext(record, "interval table");
    const PrintCall narrowed = record.find(longDate);
    EXPECT_DOUBLE_EQ(narrowed.x, 0.10 * W) << "too wide to centre: from the column's edge";
    EXPECT_LT(narrowed.scaleX, 1.0);

    const Date late = Date::fromParts(2026, 12, 28, 10, 53, 55);
    addHead(3, 8, late, QStringLiteral("CO"), 500, 1, QStringLiteral("ppm"));
    addEntry("cHistory", 8, late, 12.5f, 50);
    pages(storedLog(3, 8));
    expectNoTextRunsIntoTheNext(record, "calibration history");
    addHead(10, 9, late, QStringLiteral("CO"), 500, 1, QStringLiteral("ppm"));
    addEntry("Bump", 9, late, 48, 50, 2);
    pages(storedLog(10, 9));
    expectNoTextRunsIntoTheNext(record, "bump test");

    FlexGrid list;
    list.SetRows(3);
    list.SetCols(6);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 6; ++c)
            list.SetTextMatrix(r, c,
                               c >= 4 && r > 0 ? longDate : QStringLiteral("SN-LONG-%1").arg(c));
    PrintRequest lastCal;
    lastCal.DataType = frmPrint::kLastCalibration;
    lastCal.frmObj = &list;
    pages(lastCal);
    expectNoTextRunsIntoTheNext(record, "Last Calibration list");
    EXPECT_EQ(record.find(longDate).x, 0.64 * W);
}

class EventPrintTest : public PrintLayoutTest {
protected:
    void addEvent(const char *table, qint64 relNo, const Date &date, int code,
                  const QString &gas = QStringLiteral("CO(500.0ppm)")) {
        Database(Globals().DatabasePath)
            .execute(QStringLiteral("INSERT INTO %1 (RelNo, GasNo, GasName, Alarm_Type, Dates) "
                                    "VALUES (?, 0, ?, ?, ?)")
                         .arg(QLatin1String(table)),
                     {relNo, gas, code, DateParam(date)});
    }
};

TEST_F(EventPrintTest, AlarmEventsOfAKeyAbove32767NewestFirst) {
    const Date download = Date::fromParts(2024, 4, 1);
    addHead(5, 40000, download);
    const Date t1 = Date::fromParts(2024, 3, 1, 10, 0, 0);
    addEvent("Alarm_Event", 40000, t1, ReadingCode::Alarm);
    addEvent("Alarm_Event", 40000, t1, ReadingCode::Warning); // the same second: stored order
    addEvent("Alarm_Event", 40000, Date::fromParts(2024, 3, 2), ReadingCode::NoValue);
    addEvent("Alarm_Event", 1, t1, ReadingCode::Alarm); // another log's
    pages(storedLog(5, 40000));
    EXPECT_EQ(body(), (QStringList{
                          LoadMessage(5604) + "|" + LoadMessage(5605),
                          LoadMessage(5608) + "|SN0042",
                          LoadMessage(5609) + "|ST-9",
                          LoadMessage(5610) + "|USER-1",
                          LoadMessage(5668) + "|" + general(download),
                          LoadMessage(5620) + "|" + LoadMessage(5621) + "|Gas|Event",
                          "1|" + general(Date::fromParts(2024, 3, 2)) + "|CO(500.0ppm)",
                          "2|" + general(t1) + "|CO(500.0ppm)|ALARM",
                          "3|" + general(t1) + "|CO(500.0ppm)|WARNING",
                      }));
    // The head block: its heading centred, labels and values from their column edges.
    EXPECT_DOUBLE_EQ(record.find(LoadMessage(5608)).x, 0.02 * W);
    EXPECT_DOUBLE_EQ(record.find(QStringLiteral("SN0042")).x, 0.40 * W);
    EXPECT_DOUBLE_EQ(record.find(QStringLiteral("1")).x, 0.02 * W + (0.08 * W - 90) / 2);
    EXPECT_DOUBLE_EQ(record.find(QStringLiteral("ALARM")).x, 0.55 * W);
    EXPECT_DOUBLE_EQ(record.find(LoadMessage(5604)).y, 0.02 * H + 10 + 180 + 2 * kRow)
        << "after the two empty rows";
    ASSERT_EQ(rules().size(), 2);
    EXPECT_DOUBLE_EQ(rules()[1].y, record.find(QStringLiteral("Gas")).y + kRow + 30);
}

TEST_F(EventPrintTest, TroublePowerAndSensorLayouts) {
    addHead(6, 2, kStart);
    addEvent("Trouble_Event", 2, kStart, ReadingCode::FailFlow, QStringLiteral("Body"));
    pages(storedLog(6, 2));
    EXPECT_EQ(
        body().mid(5),
        (QStringList{LoadMessage(5620) + "|" + LoadMessage(5621) + "|Gas/Body|Event",
                     "1|" + general(kStart) + "|Body|" + StatusCodeText(ReadingCode::FailFlow)}));

    addHead(7, 3, kStart);
    Database db(Globals().DatabasePath);
    db.execute(QStringLiteral("INSERT INTO Power_Event (RelNo, Dates, Power_Type) VALUES "
                              "(3, ?, 1), (3, ?, 0)"),
               {DateParam(kStart), DateParam(kStart.addSeconds(-60))});
    pages(storedLog(7, 3));
    EXPECT_EQ(body().mid(5), (QStringList{LoadMessage(5620) + "|" + LoadMessage(5621) + "|Power",
                                          "1|" + general(kStart) + "|ON",
                                          "2|" + general(kStart.addSeconds(-60)) + "|OFF"}));

    addHead(12, 4, kStart);
    db.execute(QStringLiteral("INSERT INTO SensorChange (RelNo, Dates, Gas1Name, Gas1Unit, "
                              "Gas1Full, Gas1Point, Gas1Model, Gas1SerialNO) VALUES "
                              "(4, ?, 'H2S', 'ppm', 100, 1, 'ES-1827i', 'S123'), "
                              "(4, ?, '', '', 0, 0, 'ES-X', 'S9')"),
               {DateParam(kStart), DateParam(kStart.addSeconds(-60))});
    pages(storedLog(12, 4));
    EXPECT_EQ(body().mid(5),
              (QStringList{LoadMessage(5620) + "|" + LoadMessage(5621) + "|Model|SensorNO|Gas",
                           "1|" + general(kStart) + "|ES-1827i|S123|H2S(100.0ppm)",
                           "2|" + general(kStart.addSeconds(-60)) + "|ES-X|S9|----(---)"}));
    const QString gas = QStringLiteral("H2S(100.0ppm)");
    EXPECT_DOUBLE_EQ(record.find(gas).x, 0.70 * W + (0.15 * W - gas.size() * 90) / 2);

    // A log without entries: the head block alone; any other kind: two empty rows.
    addHead(5, 9, kStart);
    pages(storedLog(5, 9));
    EXPECT_EQ(body().last(), LoadMessage(5668) + "|" + general(kStart));
    EXPECT_EQ(rules().size(), 1);
    Globals().DatabasePath = path(QStringLiteral("missing.mdb"));
    pages(storedLog(8, 9));
    EXPECT_TRUE(body().isEmpty());
}

TEST_F(EventPrintTest, FortyThousandEventsPrintWholeOverPages) {
    addHead(5, 40000, kStart);
    {
        Database db(Globals().DatabasePath);
        Transaction transaction(db);
        for (int i = 0; i < 40000; ++i)
            db.execute(QStringLiteral("INSERT INTO Alarm_Event (RelNo, GasNo, GasName, "
                                      "Alarm_Type, Dates) VALUES (40000, 0, 'CO', -104, ?)"),
                       {DateParam(kStart.addSeconds(-i))});
        transaction.commit();
    }
    pages(storedLog(5, 40000));
    qint64 rows = 0;
    qint64 last = 0;
    for (const PrintCall &call : record.of(PrintCall::Text)) {
        if (call.text == QLatin1String("ALARM"))
            ++rows;
        if (call.x < 0.10 * W && call.text.toLongLong() > last)
            last = call.text.toLongLong();
    }
    EXPECT_EQ(rows, 40000);
    EXPECT_EQ(last, 40000);
    EXPECT_GT(record.pages(), 500);
    // Every continuation page: title, heading at a tenth of the width, rule.
    const PrintCall heading = record.find(LoadMessage(5620), record.pages());
    EXPECT_EQ(heading.page, record.pages());
    EXPECT_DOUBLE_EQ(heading.y, 0.1 * W);
}

} // namespace
} // namespace tq
