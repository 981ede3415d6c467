// The Export command on the largest logs: the longest interval trend (54,001 samples, each
// a new reading, and 1,000 events) as written with filter entries 1 and 4, 20,000 alarm
// events of one log among 100,000 event rows, and the bitmap of a 1280 x 720 graph. Each
// file goes the command's whole way: Save As answered, the old file replaced when the new
// one is complete.

#include "bench_support.h"
#include "core/database.h"
#include "core/gas_format.h"
#include "core/gui/dialogs.h"
#include "core/log_schema.h"
#include "core/program_state.h"
#include "graph/uclVtmGraph.h"
#include "graph_fixture.h"
#include "logs/trend/clsInterval.h"
#include "logs/trend/log_head_row.h"
#include "logs/trend/trend_file.h"
#include "print/command/export_command.h"
#include "program_folder.h"
#include "ui/main/window/scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Save As answered with one file and entry, every question with Yes.
struct AnsweringDialogs : tq::test::ScriptedDialogs {
    AnsweringDialogs(const QString &path, int entry) { chosen = {path, entry}; }
};

using ProgramFolder = tq::test::NewProgramFolder;

// Runs the export of the source into `target` at every iteration.
void RunExports(benchmark::State &state, const tq::ExportSource &source, const QString &target) {
    AnsweringDialogs dialogs(target, 1);
    tq::ExportCommand command;
    for (auto _ : state) {
        if (command.Run(source) != tq::ExportOutcome::Written)
            state.SkipWithError("the export failed");
    }
}

constexpr qint32 kSamples = 54001;
constexpr qint32 kEvents = 1000;

// Stores the longest interval trend: a new reading at every sample (so the condensed view
// keeps every one) and a warning every 54 samples. Returns its key.
qint64 StoreLongestTrend() {
    const tq::Date start = tq::Date::fromParts(2024, 1, 1);
    tq::LogHeader header;
    header.Names = QStringLiteral("iv01000000_BENCH");
    header.FolderID = QStringLiteral("01/24");
    header.Dates = start;
    header.Last = start.addSeconds(qint64(kSamples - 1) * 10);
    header.UserID = QStringLiteral("BENCH");
    header.StationID = QStringLiteral("LONG RUN");
    header.SerialNo = QStringLiteral("TQ62-0001");
    header.Interval = 10;
    header.Dcount = kSamples + kEvents;
    tq::GasInfo gas;
    gas.Name = QStringLiteral("CH4");
    gas.Full = 100;
    gas.Point = 1;
    gas.Unit = QStringLiteral("%LEL");
    gas.Enable = true;
    gas.Max = 99.7f;
    gas.Min = 0.1f;
    gas.Avr = 50;
    gas.MaxDate = gas.MinDate = start;
    gas.Warning = 10;
    gas.Alarm = 20;

    tq::TrendFileWriter samples;
    for (qint32 i = 0; i < kSamples; ++i)
        samples.PutTrendPoint(i + 1, start.addSeconds(qint64(i) * 10), 0.1f + float(i % 997) / 10);
    tq::MakeTrendFolders(tq::Globals().DataFolder, header.FolderID);
    QFile file(tq::TrendFilePath(tq::Globals().DataFolder, header.FolderID, header.Names));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(samples.records()) != samples.records().size())
        return -1;
    file.close();

    tq::Database db(tq::Globals().DatabasePath);
    tq::Transaction transaction(db);
    const qint64 key = db.nextKey(QStringLiteral("Log_Head"));
    tq::InsertLogHead(db, key, header, gas, tq::LogType::IntervalTrend, 0);
    for (qint32 j = 0; j < kEvents; ++j)
        db.execute(QStringLiteral("Insert Into Interval_Event(SeqNo,RelNo,Datetimes,BaseDate,"
                                  "Gas1Event) Values (?,?,?,?,?)"),
                   {j + 1, key, tq::DateParam(start.addSeconds(qint64(j) * 540 + 5)),
                    tq::DateParam(start), tq::ReadingCode::Warning});
    transaction.commit();
    return key;
}

// state.range(0): the filter entry (1 comma, 4 units in a column of their own).
void BM_ExportLongestIntervalTrend(benchmark::State &state) {
    const ProgramFolder folder;
    const qint64 key = StoreLongestTrend();
    // Loaded as the Data View page loads it.
    tq::clsInterval log;
    log.ClearDatas();
    log.setSeqNo(key);
    log.setContext(tq::ProgramStoreContext());
    log.ReLoad(tq::Globals().CondensedView);
    if (log.DataCount() != kSamples || log.EventCount() != kEvents) {
        state.SkipWithError("the trend did not load whole");
        return;
    }
    const QString target = folder.path(QStringLiteral("trend.csv"));
    AnsweringDialogs dialogs(target, int(state.range(0)));
    tq::ExportCommand command;
    tq::ExportSource source;
    source.logType = 1;
    source.seqNo = key;
    source.logs.interval = &log;
    double growth = 0;
    for (auto _ : state) {
        tq::bench::ResetPeakResident();
        const double before = tq::bench::ResidentMB();
        if (command.Run(source) != tq::ExportOutcome::Written)
            state.SkipWithError("the export failed");
        growth = std::max(growth, tq::bench::PeakResidentMB() - before);
    }
    tq::Globals().CondensedView = false; // the reload turned it on
    state.counters["file_MB"] = double(QFileInfo(target).size()) / (1024 * 1024);
    state.counters["growth_MB"] = growth;
}

constexpr int kEventLogs = 5;
constexpr int kRowsPerLog = 20000;

// Five alarm-event logs of 20,000 rows each; returns the key of the third.
qint64 StoreAlarmEvents() {
    tq::Database db(tq::Globals().DatabasePath);
    tq::Transaction transaction(db);
    const tq::Date start = tq::Date::fromParts(2024, 3, 1);
    qint64 row = 1;
    for (int n = 1; n <= kEventLogs; ++n) {
        db.execute(QStringLiteral("Insert Into Log_Head (SeqNo, Types, SerialNo, StationID, "
                                  "UserID, Dates) Values (?, 5, ?, 'STATION', 'USER', ?)"),
                   {n, QStringLiteral("SN%1").arg(n), tq::DateParam(start)});
        for (int i = 0; i < kRowsPerLog; ++i, ++row)
            db.execute(QStringLiteral("Insert Into Alarm_Event (SeqNo, RelNo, GasNo, GasName, "
                                      "Alarm_Type, Dates) Values (?, ?, 0, 'CO(500ppm)', ?, ?)"),
                       {row, n, -103 - i % 3, tq::DateParam(start.addSeconds(i * 7))});
    }
    transaction.commit();
    return 3;
}

void BM_ExportAlarmEvents(benchmark::State &state) {
    const ProgramFolder folder;
    const qint64 key = StoreAlarmEvents();
    const QString target = folder.path(QStringLiteral("events.csv"));
    tq::ExportSource source;
    source.logType = 5;
    source.seqNo = key;
    RunExports(state, source, target);
    state.counters["file_MB"] = double(QFileInfo(target).size()) / (1024 * 1024);
}

void BM_ExportGraphBitmap(benchmark::State &state) {
    const ProgramFolder folder;
    tq::uclVtmGraph graph;
    graph.setBorderStyle(0);
    graph.resize(1280, 720);
    tq::test::FillGraph(graph, tq::test::IntervalTrend(5000));
    tq::ExportSource source;
    source.logType = 1;
    source.graphView = true;
    source.graph = &graph;
    RunExports(state, source, folder.path(QStringLiteral("graph.bmp")));
    state.counters["width"] = graph.Picture().width();
    state.counters["height"] = graph.Picture().height();
}

BENCHMARK(BM_ExportLongestIntervalTrend)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportAlarmEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportGraphBitmap)->Unit(benchmark::kMillisecond);

} // namespace
