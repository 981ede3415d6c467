// Deleting stored logs at size: 10,000 trend logs in 100 month folders of one serial number
// (5,000 interval and 5,000 alarm trends), 1,000,000 alarm-trend samples (200 per alarm
// trend, stored together as an import stores them) and 10,000 trend files: one log, a month
// folder of 100, the serial number's 10,000 and every log, and the look for an interrupted
// deletion that every opening of the program folder makes. Every timed deletion starts from
// a fresh copy of the fixture where it must.

#include "core/database.h"
#include "stored_logs_at_size.h"
#include "ui/browser/deletion_recovery.h"
#include "ui/browser/log_deletion.h"
#include "ui/browser/log_tree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kLogs = 10000;
constexpr int kFolders = 100;

// The month folder of log i: 100 folders "mm/yy" of 100 logs each.
QString folderOf(int i) {
    return tq::test::MonthFolderOf(i, kFolders);
}

void copyFolder(const QString &from, const QString &to) {
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo &entry :
         source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir())
            copyFolder(entry.filePath(), target);
        else
            QFile::copy(entry.filePath(), target);
    }
}

// The fixture built once; copies of it for the deletions.
class Fixture {
public:
    Fixture() {
        tq::test::MakeStoredLogs(m_template.path(), {.trendLogs = kLogs,
                                                     .folders = kFolders,
                                                     .firstSerialLogs = kLogs,
                                                     .alarmSamples = 200});
    }
    // A fresh copy; its database and data folder.
    void reset() {
        m_work = std::make_unique<QTemporaryDir>();
        copyFolder(m_template.path(), m_work->path());
    }
    QString database() const { return m_work->filePath(QStringLiteral("TQ6200.mdb")); }
    QString data() const { return m_work->filePath(QStringLiteral("Data")); }
    tq::LogTree tree() {
        tq::Database db(database());
        return tq::LogTree::Build(db, {true, false, false, false}, QStringLiteral("root"));
    }

private:
    QTemporaryDir m_template;
    std::unique_ptr<QTemporaryDir> m_work;
};

Fixture &fixture() {
    static Fixture f;
    return f;
}

void deleteKey(Fixture &f, const tq::LogTree &tree, const QString &key) {
    const tq::DeletionOutcome outcome = tq::DeleteStoredLogs(f.database(), f.data(), tree, key);
    if (!outcome.leftFiles.isEmpty())
        throw std::runtime_error("files were left");
}

// One log after another, from the full fixture.
void BM_DeleteOneLog(benchmark::State &state) {
    Fixture &f = fixture();
    f.reset();
    const tq::LogTree tree = f.tree();
    int seqNo = 0;
    for (auto _ : state) {
        ++seqNo;
        deleteKey(f, tree, QStringLiteral("%1 %2").arg(seqNo).arg(seqNo % 2 ? 'G' : 'K'));
    }
}
BENCHMARK(BM_DeleteOneLog)->Iterations(50)->Unit(benchmark::kMillisecond);

// One month folder of 100 logs after another.
void BM_DeleteFolderOf100(benchmark::State &state) {
    Fixture &f = fixture();
    f.reset();
    const tq::LogTree tree = f.tree();
    int folder = 0;
    for (auto _ : state) {
        deleteKey(f, tree, QStringLiteral("SN1%1 M").arg(folderOf(folder++)));
    }
}
BENCHMARK(BM_DeleteFolderOf100)->Iterations(20)->Unit(benchmark::kMillisecond);

// A folder of 10,000 logs (the serial number that holds them all), and every log.
void BM_DeleteTenThousand(benchmark::State &state) {
    Fixture &f = fixture();
    const QString key = state.range(0) ? QStringLiteral("0 #") : QStringLiteral("SN1 S");
    for (auto _ : state) {
        state.PauseTiming();
        f.reset();
        const tq::LogTree tree = f.tree();
        state.ResumeTiming();
        deleteKey(f, tree, key);
    }
}
BENCHMARK(BM_DeleteTenThousand)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("root")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// What every opening of the program folder pays to look for an interrupted deletion when
// there is none, with 10,000 trend files in the data folder.
void BM_OpeningWithNothingToFinish(benchmark::State &state) {
    Fixture &f = fixture();
    f.reset();
    for (auto _ : state) {
        if (!tq::RecoverDeletions(f.database(), f.data()).isEmpty())
            throw std::runtime_error("files were left");
    }
}
BENCHMARK(BM_OpeningWithNothingToFinish)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace
