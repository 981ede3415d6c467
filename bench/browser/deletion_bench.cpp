// Deleting stored logs at size: 10,000 trend logs in 100 month folders of one serial number
// (5,000 interval and 5,000 alarm trends), 1,000,000 alarm-trend samples (200 per alarm
// trend, stored together as an import stores them) and 10,000 trend files. Every timed deletion
// starts from a fresh copy of the fixture where it must.

#include "core/database.h"
#include "core/log_schema.h"
#include "logs/trend/trend_file.h"
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

// Rows 1..count of a generated table, for INSERT ... SELECT.
QString numbers(int count) {
    return QStringLiteral("With Recursive n(i) As (Select 1 Union All Select i + 1 From n "
                          "Where i < %1) ")
        .arg(count);
}

// The month folder of log i: 100 folders "mm/yy" of 100 logs each.
QString folderOf(int i) {
    const int folder = i % kFolders;
    return QStringLiteral("%1/%2")
        .arg(folder % 12 + 1, 2, 10, QLatin1Char('0'))
        .arg(folder / 12, 2, 10, QLatin1Char('0'));
}

void makeFixture(const QString &folder) {
    const QString database = folder + QStringLiteral("/TQ6200.mdb");
    const QString data = folder + QStringLiteral("/Data");
    tq::CreateLogDatabase(database);
    tq::Database db(database);
    tq::Transaction transaction(db);
    // Odd SeqNos interval trends, even ones alarm trends.
    db.execute(numbers(kLogs) +
               QStringLiteral("Insert Into Log_head (SeqNo, Names, SerialNo, StationID, UserID, "
                              "FolderID, Types, Dates, Sampling) Select i, 'L' || i, 'SN1', "
                              "'ST1', 'US1', printf('%02d/%02d', (i % 100) % 12 + 1, (i % 100) / "
                              "12), 2 - i % 2, '2009-05-01 10:00:00', 1 From n"));
    db.execute(numbers(1000000) +
               QStringLiteral("Insert Into Alarm_Data (RelNo, Datetimes, Gas1Value) Select "
                              "((i - 1) / 200) * 2 + 2, '2009-05-01 10:00:00', 1.5 From n"));
    transaction.commit();
    const QByteArray records(120, '\1');
    for (int i = 1; i <= kLogs; ++i) {
        const QString path = tq::TrendFilePath(data, folderOf(i), QStringLiteral("L%1").arg(i));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(records);
    }
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
    Fixture() { makeFixture(m_template.path()); }
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

// The serial number that holds all 10,000 logs, and the root.
void BM_DeleteEverything(benchmark::State &state) {
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
BENCHMARK(BM_DeleteEverything)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("root")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
