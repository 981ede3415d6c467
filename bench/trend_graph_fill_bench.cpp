// The Data View page's graph fill of the longest interval trend a log reloads whole: 54,000
// samples, all values different (so thinning works over the whole log), and 2,048 events,
// reloaded from a database and its trend file, filled into a shown graph of 1280 x 720 and
// drawn. Wall time; the work is one thread.
#include "core/database.h"
#include "core/date.h"
#include "core/gas_format.h"
#include "core/log_schema.h"
#include "core/program_state.h"
#include "graph/uclVtmGraph.h"
#include "logs/trend/trend_file.h"
#include "program_folder.h"
#include "ui/display/trend_graph_fill.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>

namespace {

using namespace tq;

constexpr int kSamples = 54000;
constexpr int kEvents = 2048;
const QString kFolder = QStringLiteral("06/15");
const QString kNames = QStringLiteral("A1234_150623_0800");

// A stored interval trend in a fresh program folder; the log objects reload it.
struct StoredTrend {
    StoredTrend() {
        Database db(Globals().DatabasePath);
        const Date start = Date::fromParts(2015, 6, 23, 8, 0, 0);
        db.execute(QStringLiteral("Insert Into Log_Head (SeqNo, Types, Names, Dates, FolderID, "
                                  "Dcount, Gas1Enable, Gas1Name, Gas1Unit, Gas1Full, Gas1Point) "
                                  "Values (1, 1, ?, ?, ?, ?, 1, 'H2S', 'ppm', 100, 1)"),
                   {kNames, start.toSqlText(), kFolder, kSamples});
        TrendFileWriter file;
        for (int n = 1; n <= kSamples; ++n)
            file.PutTrendPoint(n, start.addSeconds(60LL * n), 5 + 0.0013f * float(n));
        MakeTrendFolders(Globals().DataFolder, kFolder);
        QFile trend(TrendFilePath(Globals().DataFolder, kFolder, kNames));
        if (!trend.open(QIODevice::WriteOnly) || trend.write(file.records()) < 0)
            qFatal("cannot write the trend file");
        trend.close();
        const std::array<qint16, 4> codes{ReadingCode::Warning, ReadingCode::Alarm,
                                          ReadingCode::Over, ReadingCode::Normal};
        Transaction transaction(db);
        for (int e = 0; e < kEvents; ++e)
            db.execute(QStringLiteral("Insert Into Interval_Event (SeqNo, RelNo, Datetimes, "
                                      "BaseDate, Gas1Event) Values (?, 1, ?, ?, ?)"),
                       {e + 1, start.addSeconds(60LL * (e * 26 + 1) + 30).toSqlText(),
                        start.toSqlText(), codes[std::size_t(e) % codes.size()]});
        transaction.commit();
        logs.ViewInterval.ClearDatas();
        logs.ViewInterval.setSeqNo(1);
        logs.ViewInterval.setContext(tq::ProgramStoreContext());
        logs.ViewInterval.ReLoad(tq::Globals().CondensedView);
        if (logs.ViewInterval.DataCount() != kSamples || logs.ViewInterval.EventCount() != kEvents)
            qFatal("the fixture did not reload whole");
    }
    test::NewProgramFolder folder;
    DataViewLogs logs;
};

void BM_IntervalTrendGraphFill(benchmark::State &state) {
    StoredTrend stored;
    uclVtmGraph graph;
    graph.setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
    graph.resize(1280, 720);
    graph.show();
    QApplication::processEvents();
    for (auto _ : state)
        ShowTrendGraph(graph, 1, stored.logs, {true, true});
    state.counters["points"] = graph.SampleCount();
    state.counters["marks"] = graph.EventCount(0);
}
BENCHMARK(BM_IntervalTrendGraphFill)->Unit(benchmark::kMillisecond);

} // namespace
