// The Data View page's record table of the longest interval trend listed whole: 54,000
// samples, all values different, and 2,048 events (56,049 rows with the heading). Timed
// are the fill from View Data (redrawing off, fill, redrawing on and the view shown again),
// the Event Only box ticked and unticked on the filled table, and reading every cell's text
// and colour as printing and export do.

#include "core/database.h"
#include "core/gui/flex_grid.h"
#include "core/log_schema.h"
#include "core/program_state.h"
#include "logs/trend/trend_file.h"
#include "program_folder.h"
#include "ui/display/browse_data.h"
#include "ui/display/data_view_logs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr qint32 kSamples = 54000;
constexpr qint32 kEvents = 2048;
constexpr int kRows = 1 + kSamples + kEvents;

// A program folder holding the one stored trend, loaded into the page's objects once.
class StoredTrend {
public:
    StoredTrend() {
        store();
        logs.ViewInterval.ClearDatas();
        logs.ViewInterval.setSeqNo(1);
        logs.ViewInterval.setContext(tq::ProgramStoreContext());
        logs.ViewInterval.ReLoad(tq::Globals().CondensedView);
    }
    bool complete() const {
        return logs.ViewInterval.DataCount() == kSamples &&
               logs.ViewInterval.EventCount() == kEvents;
    }

    tq::DataViewLogs logs;

private:
    void store() {
        const QString folder = QStringLiteral("06/24");
        const QString name = QStringLiteral("iv01080000_B1");
        const tq::Date start = tq::Date::fromParts(2024, 6, 1, 8, 0, 0);
        tq::TrendFileWriter samples;
        for (qint32 n = 1; n <= kSamples; ++n)
            samples.PutTrendPoint(n, start.addSeconds(10 * qint64(n)), 0.01f * float(n));
        tq::MakeTrendFolders(tq::Globals().DataFolder, folder);
        QFile file(tq::TrendFilePath(tq::Globals().DataFolder, folder, name));
        if (file.open(QIODevice::WriteOnly))
            file.write(samples.records());
        file.close();
        tq::Database db(tq::Globals().DatabasePath);
        db.execute(QStringLiteral("Insert Into Log_head (SeqNo, Types, Names, FolderID, Dates, "
                                  "Last, Dcount, Interval, Gas1Name, Gas1Full, Gas1Point, "
                                  "Gas1Unit, Gas1Enable, Gas1Ratio) Values (1, 1, ?, ?, ?, ?, ?, "
                                  "10, 'CH4', 1000, 2, '%LEL', 1, 0)"),
                   {name, folder, tq::DateParam(start),
                    tq::DateParam(start.addSeconds(10 * qint64(kSamples))), kSamples});
        // Alarm, status and event codes that never end the listing, one every 26 samples.
        const qint32 codes[] = {-102, -103, -104, -105, -106, -107, -170, -171, -193};
        tq::Transaction transaction(db);
        for (qint32 j = 0; j < kEvents; ++j)
            db.execute(QStringLiteral("Insert Into Interval_Event (RelNo, Datetimes, BaseDate, "
                                      "Gas1Event) Values (1, ?, ?, ?)"),
                       {tq::DateParam(start.addSeconds(10 * qint64(26 * j + 5) + 3)),
                        tq::DateParam(start), codes[j % std::size(codes)]});
        transaction.commit();
    }

    tq::test::NewProgramFolder m_folder;
};

StoredTrend &trend() {
    static StoredTrend stored;
    return stored;
}

// The page's two grids, shown.
struct Page {
    Page() {
        summary.resize(400, 300);
        table.resize(800, 600);
        summary.show();
        table.show();
    }
    bool show(bool eventOnly) {
        const bool shown = tq::ShowBrowseData(summary, table, trend().logs,
                                              {.logType = 1,
                                               .seqNo = 1,
                                               .tableSelected = true,
                                               .interval = {.eventOnly = eventOnly}});
        QApplication::processEvents();
        return shown;
    }
    tq::FlexGrid summary;
    tq::FlexGrid table;
};

// View Data with Table selected: the empty table of a new page filled whole and shown. The
// first page is made and filled untimed, so that the fonts, styles and locale data the
// first grid loads are not counted.
void BM_FillIntervalTable(benchmark::State &state) {
    if (!trend().complete()) {
        state.SkipWithError("the trend was not stored");
        return;
    }
    Page().show(false);
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<Page>();
        QApplication::processEvents();
        state.ResumeTiming();
        page->show(false);
        state.PauseTiming();
        if (page->table.Rows() != kRows)
            state.SkipWithError("the table was not listed whole");
        page.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_FillIntervalTable)->Unit(benchmark::kMillisecond);

// The Event Only box changed on the filled table: state.range(0) 1 ticks it, 0 unticks it.
void BM_EventOnly(benchmark::State &state) {
    const bool eventOnly = state.range(0) != 0;
    Page page;
    for (auto _ : state) {
        state.PauseTiming();
        page.show(!eventOnly);
        state.ResumeTiming();
        page.show(eventOnly);
    }
    if (page.table.Rows() != (eventOnly ? 1 + kEvents : kRows))
        state.SkipWithError("the table has the wrong rows");
}
BENCHMARK(BM_EventOnly)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Every cell's text and background of the filled table, as printing and export read them.
void BM_ReadEveryCell(benchmark::State &state) {
    Page page;
    page.show(false);
    qint64 coloured = 0;
    for (auto _ : state) {
        qint64 characters = 0;
        coloured = 0;
        for (int r = 0; r < page.table.Rows(); ++r)
            for (int c = 0; c < page.table.Cols(); ++c) {
                characters += page.table.TextMatrix(r, c).size();
                coloured += page.table.CellBackColor(r, c).isValid();
            }
        benchmark::DoNotOptimize(characters);
    }
    state.counters["coloured"] = double(coloured);
}
BENCHMARK(BM_ReadEveryCell)->Unit(benchmark::kMillisecond);

} // namespace
