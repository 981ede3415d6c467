// The Data View page at size, on the offscreen platform: 10,000 logs in Log_head, among them
// interval trends of 54,000 samples (listed whole) and 54,001 (condensed on load), all values
// different, with 2,048 events each, one of 500 samples for comparison, an alarm trend near
// an event, and an alarm-event log of 20,000 rows among 100,000. Timed are View Data to the
// filled page, the first switch to the table, the table's scrolling and relayout, the trend
// search, pointer moves over the table and the memory the page takes.

#include "bench_support.h"
#include "core/database.h"
#include "core/gui/flex_grid.h"
#include "core/log_schema.h"
#include "core/program_state.h"
#include "logs/trend/trend_file.h"
#include "program_folder.h"
#include "ui/display/data_view_page.h"
#include "ui/display/trend_search.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

namespace {

constexpr qint64 kFullLog = 1;      // 54,000 samples
constexpr qint64 kCondensedLog = 2; // 54,001 samples
constexpr qint64 kSmallLog = 3;     // 500 samples
constexpr qint64 kAlarmEvents = 4;  // 20,000 alarm events
constexpr qint64 kAlarmTrend = 5;   // near event 1000 of the full log
constexpr qint32 kEvents = 2048;
constexpr qint32 kInterval = 10;
const tq::Date kStart = tq::Date::fromParts(2024, 6, 1, 8, 0, 0);

// The time of event j of a trend: between two samples, one every 26.
tq::Date eventTime(qint32 j) {
    return kStart.addSeconds(qint64(kInterval) * (26 * j + 5) + 3);
}

QString numbers(int count) {
    return QStringLiteral("With Recursive n(i) As (Select 0 Union All Select i + 1 From n "
                          "Where i < %1) ")
        .arg(count - 1);
}

void storeTrend(tq::Database &db, qint64 seqNo, qint32 samples, qint32 events) {
    const QString folder = QStringLiteral("06/24");
    const QString name = QStringLiteral("iv%1_B1").arg(seqNo);
    tq::TrendFileWriter file;
    for (qint32 n = 1; n <= samples; ++n)
        file.PutTrendPoint(n, kStart.addSeconds(qint64(kInterval) * n), 0.01f * float(n));
    tq::MakeTrendFolders(tq::Globals().DataFolder, folder);
    QFile out(tq::TrendFilePath(tq::Globals().DataFolder, folder, name));
    if (out.open(QIODevice::WriteOnly))
        out.write(file.records());
    db.execute(QStringLiteral("Insert Into Log_head (SeqNo, Types, Names, SerialNo, FolderID, "
                              "Dates, Last, Dcount, Interval, Gas1Name, Gas1Full, Gas1Point, "
                              "Gas1Unit, Gas1Enable, Gas1Ratio, Gas1Max, Gas1Avr) Values (?, 1, "
                              "?, 'B1', ?, ?, ?, ?, ?, 'CH4', 1000, 2, '%LEL', 1, 0, 540, 270)"),
               {seqNo, name, folder, tq::DateParam(kStart),
                tq::DateParam(kStart.addSeconds(qint64(kInterval) * samples)), samples, kInterval});
    // WARNING, ALARM, OVER, NORMAL in turn: codes that never end the listing.
    constexpr qint32 codes[] = {-103, -104, -107, -102};
    for (qint32 j = 0; j < events; ++j)
        db.execute(QStringLiteral("Insert Into Interval_Event (RelNo, Datetimes, BaseDate, "
                                  "Gas1Event) Values (?, ?, ?, ?)"),
                   {seqNo, tq::DateParam(eventTime(j)), tq::DateParam(kStart), codes[j % 4]});
}

// The database and the page over it, made once and dropped before the application.
struct Fixture {
    Fixture() {
        tq::ProgramState &g = tq::Globals();
        tq::test::UseProgramFolder(dir.path());
        g.CompletelyView = true;
        g.TrendSearchBefore = -30;
        g.TrendSearchAfter = 45;
        tq::CreateLogDatabase(g.DatabasePath);
        tq::Database db(g.DatabasePath);
        tq::Transaction transaction(db);
        storeTrend(db, kFullLog, 54000, kEvents);
        storeTrend(db, kCondensedLog, 54001, kEvents);
        storeTrend(db, kSmallLog, 500, 0);
        db.execute(numbers(100000) +
                   QStringLiteral("Insert Into Alarm_Event (RelNo, GasNo, GasName, Alarm_Type, "
                                  "Dates) Select Case When i < 20000 Then 4 Else 100 + i % 9000 "
                                  "End, 0, 'CH4', -104, datetime('2024-06-01 08:00:00', '+' || "
                                  "i || ' seconds') From n"));
        db.execute(QStringLiteral("Insert Into Log_head (SeqNo, Types, Names, SerialNo, "
                                  "FolderID, Dates) Values (4, 5, 'AEVENT', 'B1', '06/24', ?)"),
                   {tq::DateParam(kStart)});
        db.execute(QStringLiteral("Insert Into Log_head (SeqNo, Types, Names, SerialNo, "
                                  "FolderID, Dates, Dcount) Values (5, 2, 'AL', 'B1', '06/24', ?, "
                                  "720)"),
                   {tq::DateParam(eventTime(1000).addSeconds(7))});
        // The other logs: alarm trends of 40 instruments over a year, and event logs.
        db.execute(numbers(9995) +
                   QStringLiteral("Insert Into Log_head (SeqNo, Types, Names, SerialNo, "
                                  "FolderID, Dates) Select 6 + i, Case i % 3 When 0 Then 2 When "
                                  "1 Then 5 Else 6 End, 'LOG' || i, 'SN' || (i % 40), '06/24', "
                                  "datetime('2024-01-01 00:00:00', '+' || (i * 3137) || ' "
                                  "seconds') From n"));
        transaction.commit();

        frame.resize(1280, 900);
        frame.show();
        page =
            std::make_unique<tq::DataViewPage>(&frame, selection, tq::DataViewPage::WindowHooks{});
        layOut(0);
    }
    void layOut(int wider) {
        page->layOut(18000 + wider, 12500, QStringLiteral("EN"));
        QApplication::processEvents();
    }
    // View Data on a log with the Table or the Graph option, the page shown.
    void viewData(qint64 seqNo, int type, bool graph = false) {
        page->optBrowse[graph ? 1 : 0]->setChecked(true);
        selection = {type, seqNo};
        page->cmdDetail_Click();
        layOut(0);
    }

    QTemporaryDir dir;
    QGroupBox frame;
    tq::LogSelection selection;
    std::unique_ptr<tq::DataViewPage> page;
};

Fixture &fixture() {
    return tq::bench::SharedFixture<Fixture>();
}

// View Data with Table to the filled, laid-out page: the full log, the condensed one, the
// small one.
void BM_ViewDataTable(benchmark::State &state) {
    Fixture &f = fixture();
    const qint64 seqNo = state.range(0);
    for (auto _ : state)
        f.viewData(seqNo, 1);
    state.counters["rows"] = f.page->vfgBrowse->Rows();
}
BENCHMARK(BM_ViewDataTable)
    ->Arg(kFullLog)
    ->Arg(kCondensedLog)
    ->Arg(kSmallLog)
    ->ArgName("log")
    ->Unit(benchmark::kMillisecond);

// View Data with Graph: the load and the graph fill.
void BM_ViewDataGraph(benchmark::State &state) {
    Fixture &f = fixture();
    for (auto _ : state)
        f.viewData(kFullLog, 1, true);
}
BENCHMARK(BM_ViewDataGraph)->Unit(benchmark::kMillisecond);

// The first switch to the table after a load on the graph fills it.
void BM_FirstSwitchToTable(benchmark::State &state) {
    Fixture &f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.viewData(kFullLog, 1, true);
        f.page->optBrowse[0]->setChecked(true);
        state.ResumeTiming();
        f.page->optBrowse_Click(0);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_FirstSwitchToTable)->Unit(benchmark::kMillisecond);

// The event table of 20,000 rows among 100,000.
void BM_ViewDataAlarmEvents(benchmark::State &state) {
    Fixture &f = fixture();
    for (auto _ : state)
        f.viewData(kAlarmEvents, 5);
    state.counters["rows"] = f.page->vfgBrowse->Rows();
}
BENCHMARK(BM_ViewDataAlarmEvents)->Unit(benchmark::kMillisecond);

// The memory the full page takes above the empty page, and its growth over ten more View
// Data, twice: the first ten settle the allocator, the second show any growth (run alone,
// --benchmark_filter=Memory, for a clean reading).
void BM_MemoryOfTenViewData(benchmark::State &state) {
    Fixture &f = fixture();
    f.viewData(kSmallLog, 1);
    const double empty = tq::bench::ResidentMB();
    std::array<double, 3> after{};
    for (auto _ : state) {
        for (double &reading : after) {
            for (int i = 0; i < (&reading == &after[0] ? 1 : 10); ++i)
                f.viewData(kFullLog, 1);
            reading = tq::bench::ResidentMB();
        }
    }
    state.counters["MB_above_empty"] = after[0] - empty;
    state.counters["MB_growth_first_ten"] = after[1] - after[0];
    state.counters["MB_growth_next_ten"] = after[2] - after[1];
}
BENCHMARK(BM_MemoryOfTenViewData)->Iterations(1)->Unit(benchmark::kMillisecond);

// The full (or the small) table: a page down with its repaint, a jump to a far row with its
// repaint, and a relayout of the page.
void filledTable(Fixture &f, qint64 seqNo) {
    if (f.selection.SelectedSeqNo != seqNo || !f.page->optBrowse[0]->isChecked())
        f.viewData(seqNo, 1);
}

void BM_PageDown(benchmark::State &state) {
    Fixture &f = fixture();
    filledTable(f, state.range(0));
    tq::FlexGrid &table = *f.page->vfgBrowse;
    table.SetTopRow(1);
    for (auto _ : state) {
        const int page = table.BottomRow() - table.TopRow();
        table.SetTopRow(table.BottomRow() + page < table.Rows() ? table.BottomRow() : 1);
        table.viewport()->repaint();
    }
    state.counters["rows"] = table.Rows();
}
BENCHMARK(BM_PageDown)
    ->Arg(kFullLog)
    ->Arg(kSmallLog)
    ->ArgName("log")
    ->Unit(benchmark::kMillisecond);

void BM_JumpToRow(benchmark::State &state) {
    Fixture &f = fixture();
    filledTable(f, state.range(0));
    tq::FlexGrid &table = *f.page->vfgBrowse;
    int step = 0;
    for (auto _ : state) {
        // Rows spread over the whole table, never the one shown.
        step = (step + 7919) % table.Rows();
        table.SetTopRow(std::max(1, step));
        table.viewport()->repaint();
    }
}
BENCHMARK(BM_JumpToRow)
    ->Arg(kFullLog)
    ->Arg(kSmallLog)
    ->ArgName("log")
    ->Unit(benchmark::kMillisecond);

void BM_Relayout(benchmark::State &state) {
    Fixture &f = fixture();
    filledTable(f, state.range(0));
    int wider = 0;
    for (auto _ : state) {
        wider = wider ? 0 : 600;
        f.layOut(wider);
    }
}
BENCHMARK(BM_Relayout)
    ->Arg(kFullLog)
    ->Arg(kSmallLog)
    ->ArgName("log")
    ->Unit(benchmark::kMillisecond);

// The search behind a press, the database opened as the press opens it.
void BM_FindAlarmTrendNear(benchmark::State &state) {
    fixture();
    qint64 found = 0;
    for (auto _ : state) {
        tq::Database db(tq::Globals().DatabasePath);
        found = tq::FindAlarmTrendNear(db, kFullLog, QStringLiteral("B1"), eventTime(1000));
    }
    if (found != kAlarmTrend)
        state.SkipWithError("the alarm trend was not found");
}
BENCHMARK(BM_FindAlarmTrendNear)->Unit(benchmark::kMicrosecond);

// 1,000 pointer moves over the full table's cells, events and samples; the database is
// named away meanwhile, so a move that read it would fail.
void BM_PointerMoves(benchmark::State &state) {
    Fixture &f = fixture();
    filledTable(f, kFullLog);
    tq::FlexGrid &table = *f.page->vfgBrowse;
    QWidget *viewport = table.viewport();
    const QString database = tq::Globals().DatabasePath;
    tq::Globals().DatabasePath = f.dir.filePath(QStringLiteral("away.mdb"));
    for (auto _ : state)
        for (int i = 0; i < 1000; ++i) {
            const QPointF at(viewport->width() * 0.6, (i * 7) % viewport->height());
            QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &move);
        }
    tq::Globals().DatabasePath = database;
}
BENCHMARK(BM_PointerMoves)->Unit(benchmark::kMillisecond);

} // namespace
