#include "download_test_support.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/log_schema.h"
#include "logs/trend/flash_image.h"
#include "program_folder.h"
#include "ui/main/import_pipeline.h"

#include <QDir>
#include <QFileInfo>

#include <stdexcept>

namespace tq {
namespace {

const QStringList kFamilyNames{"interval trend", "snapshots",      "alarm trend",
                               "alarm events",   "trouble events", "calibration histories",
                               "power events"};

// --- The pipeline's rules, on families whose behaviour the test chooses

struct Plan {
    bool makeThrows = false;
    bool readOk = true;
    bool readThrows = false;
    qint64 logCount = 0;
    QList<qint64> failingStores; // positions whose store throws
    QList<qint64> errorLogs;     // positions whose Error is set after storing

    Plan &logs(qint64 n) { return logCount = n, *this; }
    Plan &throwOnMake() { return makeThrows = true, *this; }
    Plan &failRead() { return readOk = false, *this; }
    Plan &throwOnRead() { return readThrows = true, *this; }
    Plan &failStore(qint64 position) { return failingStores << position, *this; }
    Plan &errorAt(qint64 position) { return errorLogs << position, *this; }
};

// What the fake families saw.
struct Journal {
    QStringList stores; // "<family name> <position>" for each store tried
    std::shared_ptr<clsInstrument> instrument = std::make_shared<clsInstrument>();
    bool otherInstrument = false;
};

class FakeImporter final : public FamilyImporter, public LogCollection {
public:
    FakeImporter(QString name, Plan plan, Journal &journal)
        : m_name(std::move(name)), m_plan(std::move(plan)), m_journal(journal) {}

    LogCollection &collection() override { return *this; }
    LogFamily family() const override { return LogFamily::IntervalTrend; }
    bool ReadBinaryLog(const QString &) override {
        if (m_plan.readThrows)
            throw std::runtime_error("decoder fault");
        return m_plan.readOk;
    }
    qint64 count() const override { return m_plan.logCount; }
    void store(qint64 position, const std::shared_ptr<clsInstrument> &instrument) override {
        m_journal.stores << QStringLiteral("%1 %2").arg(m_name).arg(position);
        m_journal.otherInstrument = m_journal.otherInstrument || instrument != m_journal.instrument;
        if (m_plan.failingStores.contains(position))
            throw TqError(ErrorKind::Database, QStringLiteral("disk I/O error"));
    }
    bool logError(qint64 position) const override { return m_plan.errorLogs.contains(position); }
    QString failLine() const override {
        return m_plan.readOk ? QString() : QStringLiteral("bad line");
    }

private:
    QString m_name;
    Plan m_plan;
    Journal &m_journal;
};

// One fake import per plan, named after the families in order.
QList<FamilyImport> fakeImports(const QList<Plan> &plans, Journal &journal) {
    QList<FamilyImport> imports;
    for (qsizetype i = 0; i < plans.size(); ++i) {
        const QString name = kFamilyNames.at(i);
        const Plan plan = plans[i];
        imports.append(
            {StandardImports().at(i).family, name,
             [name, plan, &journal](const StoreContext &) -> std::unique_ptr<FamilyImporter> {
                 if (plan.makeThrows)
                     throw TqError(ErrorKind::Database, QStringLiteral("no memory"));
                 return std::make_unique<FakeImporter>(name, plan, journal);
             }});
    }
    return imports;
}

class PipelineRulesTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        image = path(QStringLiteral("TQ6200.DAT"));
        FillImageFile(image);
    }
    ImportRun run(const QList<Plan> &plans, ImportObserver *observer = nullptr) {
        return RunImports(image, journal.instrument, StoreContext(), ReadImageFile, observer,
                          fakeImports(plans, journal));
    }
    QString image;
    Journal journal;
};

TEST_F(PipelineRulesTest, AFailureStaysInItsFamilyAndEveryImportRuns) {
    const QList<Plan> plans{
        Plan().throwOnMake(),        // interval trend
        Plan().logs(2).failRead(),   // snapshots: read stopped early
        Plan().logs(3).failStore(2), // alarm trend: one store fails
        Plan().throwOnRead(),        // alarm events
        Plan().logs(1),              // trouble events
        Plan(),                      // calibration histories
        Plan().logs(2).errorAt(2),   // power events
    };
    const ImportRun result = run(plans);

    ASSERT_EQ(result.outcomes.size(), 7);
    const QList<ImportResult> expected{
        ImportResult::Failed,   ImportResult::Failed, ImportResult::Failed,  ImportResult::Failed,
        ImportResult::Complete, ImportResult::NoData, ImportResult::Complete};
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(result.outcomes[i].name, kFamilyNames[i]);
        EXPECT_EQ(result.outcomes[i].result, expected[i]) << kFamilyNames[i].toStdString();
    }
    // The logs decoded before a failed read are stored; a failed store does not stop the
    // family's other logs.
    EXPECT_EQ(journal.stores, QStringList({"snapshots 1", "snapshots 2", "alarm trend 1",
                                           "alarm trend 2", "alarm trend 3", "trouble events 1",
                                           "power events 1", "power events 2"}));
    EXPECT_FALSE(journal.otherInstrument);

    const ImportOutcome &snapshots = result.outcomes[1];
    EXPECT_TRUE(snapshots.readFailed);
    EXPECT_EQ(snapshots.failLine, QStringLiteral("bad line"));
    const ImportOutcome &alarmTrend = result.outcomes[2];
    EXPECT_FALSE(alarmTrend.readFailed);
    EXPECT_EQ(alarmTrend.logs, 3);
    EXPECT_EQ(alarmTrend.storeFailures, 1);
    EXPECT_EQ(alarmTrend.errors, QStringList{"disk I/O error"});
    EXPECT_EQ(result.outcomes[0].errors, QStringList{"no memory"});
    EXPECT_EQ(result.outcomes[3].errors, QStringList{"decoder fault"});
    EXPECT_TRUE(result.outcomes[6].logErrorSeen);
    EXPECT_FALSE(result.outcomes[4].logErrorSeen);
    EXPECT_FALSE(result.EveryImportSucceeded());
}

struct SuccessCase {
    const char *name;
    qsizetype family; // the one family given plan
    Plan plan;
    bool everySucceeded;
    friend void PrintTo(const SuccessCase &c, std::ostream *os) { *os << c.name; }
};

class EverySucceededTest : public PipelineRulesTest,
                           public ::testing::WithParamInterface<SuccessCase> {};

TEST_P(EverySucceededTest, CountsEveryImport) {
    QList<Plan> plans(7, Plan().logs(1));
    plans[GetParam().family] = GetParam().plan;
    EXPECT_EQ(run(plans).EveryImportSucceeded(), GetParam().everySucceeded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EverySucceededTest,
    ::testing::Values(SuccessCase{"AllComplete", 0, Plan().logs(1), true},
                      SuccessCase{"NoDataCounts", 3, Plan(), true},
                      SuccessCase{"HistoryReadFailed", 5, Plan().failRead(), false},
                      SuccessCase{"HistoryStoreFailed", 5, Plan().logs(1).failStore(1), false},
                      SuccessCase{"PowerEventsFailed", 6, Plan().throwOnRead(), false},
                      SuccessCase{"LogErrorIsNoFailure", 0, Plan().logs(1).errorAt(1), true}),
    [](const auto &info) { return std::string(info.param.name); });

// Records the observer calls.
class RecordingObserver : public ImportObserver {
public:
    QStringList calls;
    void importStarted(const FamilyImport &import) override { calls << "start " + import.name; }
    void storingStarted(const FamilyImport &import, qint64 count) override {
        calls << QStringLiteral("storing %1 %2").arg(import.name).arg(count);
    }
    void importFinished(const ImportOutcome &outcome) override {
        calls << "end " + outcome.name + ": " + ImportResultText(outcome.result);
    }
};

TEST_F(PipelineRulesTest, ObserverHearsEachImportAsItRuns) {
    RecordingObserver observer;
    run({Plan().logs(2), Plan(), Plan().failRead()}, &observer);
    EXPECT_EQ(observer.calls, QStringList({"start interval trend", "storing interval trend 2",
                                           "end interval trend: complete", "start snapshots",
                                           "end snapshots: no data", "start alarm trend",
                                           "end alarm trend: failed"}));
}

// Asks to stop once `after` stores were tried.
class StoppingObserver : public RecordingObserver {
public:
    StoppingObserver(const Journal &journal, qsizetype after)
        : m_journal(journal), m_after(after) {}
    bool stopRequested() override { return m_journal.stores.size() >= m_after; }

private:
    const Journal &m_journal;
    qsizetype m_after;
};

TEST_F(PipelineRulesTest, AStopEndsTheRunBetweenTwoLogs) {
    StoppingObserver observer(journal, 3);
    const ImportRun result = run({Plan().logs(2), Plan().logs(3), Plan().logs(1)}, &observer);
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.EveryImportSucceeded());
    // The interval trend ran to its end; the snapshots stopped after their first log.
    EXPECT_EQ(journal.stores, QStringList({"interval trend 1", "interval trend 2", "snapshots 1"}));
    ASSERT_EQ(result.outcomes.size(), 1);
    EXPECT_EQ(result.outcomes[0].result, ImportResult::Complete);
    EXPECT_EQ(observer.calls, QStringList({"start interval trend", "storing interval trend 2",
                                           "end interval trend: complete", "start snapshots",
                                           "storing snapshots 3"}));
}

TEST_F(PipelineRulesTest, AStopBeforeTheFirstImportRunsNothing) {
    StoppingObserver observer(journal, 0);
    const ImportRun result = run({Plan().logs(2)}, &observer);
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(result.outcomes.isEmpty());
    EXPECT_TRUE(journal.stores.isEmpty());
    EXPECT_TRUE(observer.calls.isEmpty());
}

// --- The seven real imports on flash images

class PipelineTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        store = test::StoreIn(dir.path());
        CreateLogDatabase(store.DatabasePath);
    }
    QString image(const QString &fixture) {
        const QString out = path(fixture + QStringLiteral(".DAT"));
        test::CopyFixtureImage(fixture, out);
        return out;
    }
    ImportRun import(const QString &imagePath) {
        return RunImports(imagePath, std::make_shared<clsInstrument>(), store);
    }
    // Row counts of every log table, as one text.
    QString tableRows() const {
        Database db(store.DatabasePath);
        QStringList counts;
        for (const QString &table : LogTableNames())
            counts << table + '=' + db.scalar("Select Count(*) From " + table).toString();
        return counts.join(' ');
    }
    qint64 heads(LogType type) const {
        Database db(store.DatabasePath);
        return db.scalar(QStringLiteral("Select Count(*) From Log_Head Where Types=?"), {int(type)})
            .toLongLong();
    }
    StoreContext store;
    static QList<ImportResult> results(const ImportRun &run) {
        QList<ImportResult> list;
        for (const ImportOutcome &outcome : run.outcomes)
            list << outcome.result;
        return list;
    }
};

struct RefusedCase {
    const char *name;
    qint64 size; // -1: no file, -2: a folder
    friend void PrintTo(const RefusedCase &c, std::ostream *os) { *os << c.name; }
};

class RefusedImageTest : public PipelineTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedImageTest, NothingIsImported) {
    const QString file = path(QStringLiteral("TQ6200.DAT"));
    if (GetParam().size == -2)
        QDir().mkdir(file);
    else if (GetParam().size >= 0)
        test::writeFile(file, QByteArray(GetParam().size, char(0xEE)));
    const QString before = tableRows();
    int reads = 0;
    const ImportRun run = RunImports(file, std::make_shared<clsInstrument>(), store,
                                     [&](LogCollection &, const QString &) {
                                         ++reads;
                                         return true;
                                     });
    EXPECT_FALSE(run.refusal.isEmpty());
    EXPECT_TRUE(run.refusal.contains(file));
    EXPECT_EQ(CheckImageFile(file), run.refusal);
    EXPECT_TRUE(run.outcomes.isEmpty());
    EXPECT_EQ(reads, 0);
    EXPECT_FALSE(run.EveryImportSucceeded());
    EXPECT_EQ(tableRows(), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedImageTest,
                         ::testing::Values(RefusedCase{"Missing", -1}, RefusedCase{"Folder", -2},
                                           RefusedCase{"Empty", 0}, RefusedCase{"Short", 300000},
                                           RefusedCase{"OneByteShort", kFlashImageSize - 1},
                                           RefusedCase{"OneByteLong", kFlashImageSize + 1}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(PipelineTest, ErasedImageIsNoDataForEveryFamilyInOrder) {
    const QString file = path(QStringLiteral("TQ6200.DAT"));
    FillImageFile(file);
    QList<LogFamily> handedOver;
    const ImportRun run = RunImports(file, std::make_shared<clsInstrument>(), store,
                                     [&](LogCollection &collection, const QString &imagePath) {
                                         handedOver << collection.family();
                                         return collection.ReadBinaryLog(imagePath);
                                     });
    ASSERT_TRUE(run.refusal.isEmpty());
    QStringList names;
    for (const ImportOutcome &outcome : run.outcomes)
        names << outcome.name;
    EXPECT_EQ(names, kFamilyNames);
    EXPECT_EQ(results(run), QList<ImportResult>(7, ImportResult::NoData));
    EXPECT_TRUE(run.EveryImportSucceeded());
    EXPECT_EQ(heads(LogType::IntervalTrend) + heads(LogType::Snapshot), 0);
    for (qsizetype i = 0; i < handedOver.size(); ++i)
        EXPECT_EQ(handedOver[i], StandardImports().at(i).family);
}

// Counts the calls of a reading that goes on.
class ProgressCounter : public ImportObserver {
public:
    int calls = 0;
    void readingProgress() override { ++calls; }
};

// The logs go to the store the caller hands in, and the observer hears the interval ring's
// reading go on, so a window can stay live meanwhile.
TEST_F(PipelineTest, LogsGoToTheGivenStoreWhileTheObserverHearsTheReading) {
    ProgressCounter progress;
    const ImportRun run =
        RunImports(test::BuildImage(QStringLiteral("interval_basic")),
                   std::make_shared<clsInstrument>(), store, ReadImageFile, &progress);
    EXPECT_TRUE(run.EveryImportSucceeded());
    EXPECT_GT(progress.calls, 0);
    EXPECT_GT(heads(LogType::IntervalTrend), 0);
    EXPECT_TRUE(QFileInfo::exists(store.DataFolder + "/21/03/iv05140709_X1.Dat"));
}

TEST_F(PipelineTest, FailedFamiliesKeepTheirEarlierLogsAndTheOthersStillRun) {
    const ImportRun run = import(image(QStringLiteral("corrupt_gas_slot")));
    ASSERT_EQ(run.outcomes.size(), 7);
    EXPECT_EQ(run.outcomes[0].result, ImportResult::Failed); // interval trend
    EXPECT_TRUE(run.outcomes[0].readFailed);
    EXPECT_EQ(run.outcomes[2].result, ImportResult::Failed); // alarm trend
    for (const int i : {1, 3, 4, 5, 6})
        EXPECT_EQ(run.outcomes[i].result, ImportResult::NoData) << i;
    EXPECT_EQ(heads(LogType::IntervalTrend), 1); // the log before the bad header
    EXPECT_EQ(heads(LogType::AlarmTrend), 1);
    EXPECT_FALSE(run.EveryImportSucceeded());
}

TEST_F(PipelineTest, StoreFailureFailsItsFamiliesOnly) {
    Database(store.DatabasePath).execute(QStringLiteral("Drop Table Log_Head"));
    const ImportRun run = import(image(QStringLiteral("events_basic")));
    ASSERT_EQ(run.outcomes.size(), 7);
    EXPECT_EQ(run.outcomes[0].result, ImportResult::NoData); // interval trend
    EXPECT_EQ(run.outcomes[2].result, ImportResult::NoData); // alarm trend
    for (const int i : {1, 3, 4, 5, 6}) {                    // every block family
        EXPECT_EQ(run.outcomes[i].result, ImportResult::Failed) << i;
        EXPECT_FALSE(run.outcomes[i].readFailed);
        EXPECT_EQ(run.outcomes[i].storeFailures, run.outcomes[i].logs);
        EXPECT_EQ(run.outcomes[i].errors.size(), run.outcomes[i].logs);
    }
    EXPECT_FALSE(run.EveryImportSucceeded());
}

TEST_F(PipelineTest, ImportingTwiceStoresNothingNew) {
    const QString file = image(QStringLiteral("events_basic"));
    const ImportRun first = import(file);
    EXPECT_TRUE(first.EveryImportSucceeded());
    EXPECT_GT(heads(LogType::Snapshot), 0);
    EXPECT_GT(heads(LogType::AlarmEvents), 0);
    const QString afterFirst = tableRows();
    const ImportRun second = import(file);
    EXPECT_EQ(results(second), results(first));
    EXPECT_EQ(tableRows(), afterFirst);
}

// Stops the real imports once `after` logs were asked to be stored.
class CountingStop : public ImportObserver {
public:
    explicit CountingStop(qint64 after) : m_after(after) {}
    bool stopRequested() override { return m_asked++ >= m_after; }

private:
    qint64 m_after;
    qint64 m_asked = 0;
};

TEST_F(PipelineTest, AStoppedRunLeavesWholeLogsAndTheNextRunCompletesIt) {
    const QString file = path(QStringLiteral("every.DAT"));
    QFile::copy(test::BuildImage(test::CombinedFixtures({QStringLiteral("interval_basic"),
                                                         QStringLiteral("alarm_basic"),
                                                         QStringLiteral("events_basic")})),
                file);
    const auto instrument = std::make_shared<clsInstrument>();
    // The asks before each family and each log: stop inside the snapshots.
    CountingStop stop(6);
    const ImportRun stopped = RunImports(file, instrument, store, ReadImageFile, &stop);
    ASSERT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.outcomes.size(), 1);
    EXPECT_GT(heads(LogType::Snapshot), 0);
    EXPECT_TRUE(RunImports(file, instrument, store).EveryImportSucceeded());
    const QString completed = tableRows();

    // What one run stores in a fresh database.
    QFile::remove(store.DatabasePath);
    QDir(store.DataFolder).removeRecursively();
    QDir().mkpath(store.DataFolder);
    CreateLogDatabase(store.DatabasePath);
    EXPECT_TRUE(RunImports(file, instrument, store).EveryImportSucceeded());
    EXPECT_EQ(completed, tableRows());
}

} // namespace
} // namespace tq
