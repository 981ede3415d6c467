// Importing a flash image with every area full (the largest download there is), one whose
// trend rings are full, and one whose event, snapshot, history and power-event areas are
// full: into a fresh database, and again into the same database (every log a duplicate).
// peak_MB is the process's peak so far: run one benchmark alone (--benchmark_filter) to
// read the memory of that import.

#include "bench_support.h"
#include "core/instrument/clsInstrument.h"
#include "core/log_schema.h"
#include "core/program_state.h"
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

#include <memory>

namespace {

// The full block areas as a description file in the program folder.
QString fullBlockAreas(const QString &folder) {
    return tq::bench::WriteDescription(tq::bench::FullBlockAreas(QStringLiteral("B1")),
                                       QDir(folder).filePath(QStringLiteral("full_blocks.json")));
}

// Gives the path of an image description, given the program folder.
using Description = QString (*)(const QString &folder);

// A program folder holding the image of a description; the database is made by freshDatabase.
class ProgramFolder {
public:
    explicit ProgramFolder(Description description) {
        tq::test::UseProgramFolder(m_dir.path());
        tq::bench::BuildImage(description(m_dir.path()), image());
    }
    QString image() const { return m_dir.filePath(QStringLiteral("TQ6200.DAT")); }
    void freshDatabase() const {
        const tq::ProgramState &g = tq::Globals();
        QFile::remove(g.DatabasePath);
        QDir(g.DataFolder).removeRecursively();
        QDir().mkpath(g.DataFolder);
        tq::CreateLogDatabase(g.DatabasePath);
    }
    bool import() const {
        return tq::RunImports(image(), std::make_shared<tq::clsInstrument>(),
                              tq::ProgramStoreContext())
            .EveryImportSucceeded();
    }

private:
    QTemporaryDir m_dir;
};

QString fullRings(const QString &) {
    return tq::bench::Fixture(QStringLiteral("full_rings.json"));
}

QString fullCapacity(const QString &) {
    return tq::bench::Fixture(QStringLiteral("full_capacity.json"));
}

void BM_ImportFresh(benchmark::State &state, Description description) {
    const ProgramFolder folder(description);
    for (auto _ : state) {
        state.PauseTiming();
        folder.freshDatabase();
        state.ResumeTiming();
        if (!folder.import())
            state.SkipWithError("an import failed");
    }
    state.counters["peak_MB"] = tq::bench::PeakMemoryMB();
}

void BM_ImportAgain(benchmark::State &state, Description description) {
    const ProgramFolder folder(description);
    folder.freshDatabase();
    folder.import();
    for (auto _ : state) {
        if (!folder.import())
            state.SkipWithError("an import failed");
    }
    state.counters["peak_MB"] = tq::bench::PeakMemoryMB();
}

BENCHMARK_CAPTURE(BM_ImportFresh, full_capacity, fullCapacity)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_ImportAgain, full_capacity, fullCapacity)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_ImportFresh, full_rings, fullRings)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_ImportAgain, full_rings, fullRings)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_ImportFresh, full_block_areas, fullBlockAreas)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_ImportAgain, full_block_areas, fullBlockAreas)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
