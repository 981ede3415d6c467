// Reloading the longest interval trend for display, and importing a full event, snapshot,
// history and power-event image into a fresh database and into one that already holds
// about 100,000 event rows of other instruments (an import's cost must not grow with the
// database).

#include "bench_support.h"
#include "core/database.h"
#include "core/instrument/clsInstrument.h"
#include "core/log_schema.h"
#include "core/program_state.h"
#include "logs/trend/clsInterval.h"
#include "logs/trend/trend_file.h"
#include "program_folder.h"
#include "ui/main/import_pipeline.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

// A program folder of its own that builds fixture images into it.
class ProgramFolder : public tq::test::NewProgramFolder {
public:
    // Builds the image of a description into the folder and returns its path.
    QString image(const QJsonObject &description, const QString &name) const {
        const QString json =
            tq::bench::WriteDescription(description, path(name + QStringLiteral(".json")));
        const QString out = path(name + QStringLiteral(".DAT"));
        return tq::bench::BuildImage(json, out) ? out : QString();
    }
    static bool import(const QString &image) {
        return tq::RunImports(image, std::make_shared<tq::clsInstrument>(),
                              tq::ProgramStoreContext())
            .EveryImportSucceeded();
    }
    static qint64 eventRows() {
        tq::Database db(tq::Globals().DatabasePath);
        return db
            .scalar(QStringLiteral("Select (Select Count(*) From Alarm_Event) + "
                                   "(Select Count(*) From Trouble_Event) + "
                                   "(Select Count(*) From Power_Event)"))
            .toLongLong();
    }
};

// The log of 54,001 samples: the reload reads the whole trend file and, as a log of more
// samples than the table shows at once, keeps the condensed view of it.
void BM_ReloadLongestInterval(benchmark::State &state) {
    const ProgramFolder folder;
    const QString image = folder.path(QStringLiteral("full_rings.DAT"));
    if (!tq::bench::BuildImage(tq::bench::Fixture(QStringLiteral("full_rings.json")), image) ||
        !ProgramFolder::import(image)) {
        state.SkipWithError("the image could not be imported");
        return;
    }
    const qint64 seqNo = tq::Database(tq::Globals().DatabasePath)
                             .scalar(QStringLiteral("Select SeqNo From Log_head Where Types = ? "
                                                    "Order By Dcount Desc Limit 1"),
                                     {int(tq::LogType::IntervalTrend)})
                             .toLongLong();
    qint32 samples = 0;
    for (auto _ : state) {
        tq::clsInterval log;
        log.setSeqNo(seqNo);
        log.setContext(tq::ProgramStoreContext());
        log.ReLoad(tq::Globals().CondensedView);
        samples = log.DataCount();
        benchmark::DoNotOptimize(samples);
    }
    tq::Globals().CondensedView = false; // the reload turned it on
    state.counters["shown"] = samples;
}

// A stored interval trend whose trend file holds 1,000,000 records (12 MB, a run of 500
// equal values then a change), reloaded condensed as a log of more samples than the table
// holds: the reload keeps at most 54,001 entries and reads the file a block at a time, so
// its memory does not grow with the file.
void BM_ReloadOfAHugeTrendFile(benchmark::State &state) {
    constexpr qint32 kRecords = 1000000;
    const ProgramFolder folder;
    const tq::Date start = tq::Date::fromParts(2024, 1, 1);
    tq::TrendFileWriter samples;
    for (qint32 n = 1; n <= kRecords; ++n)
        samples.PutTrendPoint(n, start.addSeconds(qint64(n) * 10), float((n / 500) % 7));
    tq::MakeTrendFolders(tq::Globals().DataFolder, QStringLiteral("01/24"));
    {
        QFile file(tq::TrendFilePath(tq::Globals().DataFolder, QStringLiteral("01/24"),
                                     QStringLiteral("ivHUGE")));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(samples.records()) != samples.records().size()) {
            state.SkipWithError("the trend file could not be written");
            return;
        }
    }
    samples.clear();
    tq::Database(tq::Globals().DatabasePath)
        .execute(QStringLiteral("Insert Into Log_head (SeqNo, Names, FolderID, Dates, Dcount, "
                                "Types) Values (1, 'ivHUGE', '01/24', ?, ?, 1)"),
                 {tq::DateParam(start), kRecords});
    double growth = 0;
    qint32 kept = 0;
    for (auto _ : state) {
        tq::bench::ResetPeakResident();
        const double before = tq::bench::ResidentMB();
        tq::clsInterval log;
        log.setSeqNo(1);
        log.setContext(tq::ProgramStoreContext());
        log.ReLoad(tq::Globals().CondensedView);
        kept = log.DataCount();
        growth = std::max(growth, tq::bench::PeakResidentMB() - before);
    }
    tq::Globals().CondensedView = false; // the reload turned it on
    state.counters["file_MB"] = double(kRecords) * tq::kTrendRecordSize / (1024 * 1024);
    state.counters["kept"] = kept;
    state.counters["growth_MB"] = growth;
}

// state.range(0): the event rows of other instruments in the database before each import.
void BM_ImportIntoFilledDatabase(benchmark::State &state) {
    const ProgramFolder folder;
    const QString image =
        folder.image(tq::bench::FullBlockAreas(QStringLiteral("B1")), QStringLiteral("B1"));
    for (int n = 1; ProgramFolder::eventRows() < state.range(0); ++n) {
        const QString name = QStringLiteral("P%1").arg(n);
        if (!ProgramFolder::import(folder.image(tq::bench::FullBlockAreas(name), name))) {
            state.SkipWithError("the database could not be filled");
            return;
        }
    }
    const QString database = tq::Globals().DatabasePath;
    const QString filled = folder.path(QStringLiteral("filled.mdb"));
    QFile::copy(database, filled);
    state.counters["rows_before"] = double(ProgramFolder::eventRows());
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(database);
        QFile::copy(filled, database);
        state.ResumeTiming();
        if (!ProgramFolder::import(image))
            state.SkipWithError("an import failed");
    }
    state.counters["rows_after"] = double(ProgramFolder::eventRows());
}

BENCHMARK(BM_ReloadLongestInterval)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReloadOfAHugeTrendFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportIntoFilledDatabase)
    ->Arg(0)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
