// Importing a flash image whose trend rings are full, and one whose event, snapshot,
// history and power-event areas are full: into a fresh database, and again into the same
// database (every log a duplicate).

#include "core/log_schema.h"
#include "core/program_state.h"
#include "link/clsInstrument.h"
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

QString toolsFolder() {
    return QFileInfo(QStringLiteral(__FILE__)).absoluteDir().filePath(QStringLiteral("../tools"));
}

// A description whose five block areas have every block written, each block a log of its
// own date.
QString fullBlockAreas(const QString &folder) {
    constexpr int kBlocks = 256;
    const QDateTime first(QDate(2024, 1, 1), QTime(0, 0));
    QJsonObject description;
    QJsonArray power, snapshots, alarms, troubles, histories;
    for (int block = 0; block < kBlocks; ++block) {
        const QString date = first.addSecs(3600LL * block).toString("yyyy-MM-dd hh:mm:ss");
        const QJsonObject head{{"log_no", block + 1}, {"serial", "B1"}, {"date", date}};
        power.append(QJsonObject{{"counter", block + 1}, {"date", date}, {"on", block % 2 == 0}});
        QJsonObject snapshot = head;
        snapshot["value"] = block % 100;
        snapshots.append(snapshot);
        QJsonArray events, records;
        for (int i = 0; i < 40; ++i)
            events.append(QJsonObject{{"gas", 0}, {"status", 1 + i % 6}});
        for (int i = 0; i < 30; ++i)
            records.append(QJsonObject{
                {"calibration", QJsonObject{{"slot", 0}, {"before", 40 + i}, {"after", 50}}}});
        QJsonObject alarm = head;
        alarm["events"] = events;
        alarms.append(alarm);
        troubles.append(alarm);
        QJsonObject history = head;
        history["records"] = records;
        histories.append(history);
    }
    description["power_events"] = power;
    description["snapshots"] = snapshots;
    description["alarm_events"] = alarms;
    description["trouble_events"] = troubles;
    description["histories"] = histories;
    const QString path = QDir(folder).filePath(QStringLiteral("full_blocks.json"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QJsonDocument(description).toJson());
    return path;
}

// Gives the path of an image description, given the program folder.
using Description = QString (*)(const QString &folder);

// A program folder holding the image of a description; the database is made by freshDatabase.
class ProgramFolder {
public:
    explicit ProgramFolder(Description description) {
        tq::ProgramState &g = tq::Globals();
        g.AppFolder = g.DataLocation = m_dir.path();
        g.DataFolder = m_dir.filePath(QStringLiteral("Data"));
        g.DatabasePath = m_dir.filePath(QStringLiteral("TQ6200.mdb"));
        g.CondensedView = false;
        g.ExportRawData = false;
        QProcess builder;
        builder.start(QStringLiteral("python3"),
                      {QDir(toolsFolder()).filePath(QStringLiteral("tq6200_image.py")),
                       description(m_dir.path()), image()});
        builder.waitForFinished(120000);
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
        return tq::RunImports(image(), std::make_shared<tq::clsInstrument>())
            .EveryImportSucceeded();
    }

private:
    QTemporaryDir m_dir;
};

QString fullRings(const QString &) {
    return QDir(toolsFolder()).filePath(QStringLiteral("fixtures/full_rings.json"));
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
}

void BM_ImportAgain(benchmark::State &state, Description description) {
    const ProgramFolder folder(description);
    folder.freshDatabase();
    folder.import();
    for (auto _ : state) {
        if (!folder.import())
            state.SkipWithError("an import failed");
    }
}

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

// The database layer needs an application object.
int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
