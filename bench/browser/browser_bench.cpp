// The Data page at size: 10,000 stored logs of every type (40 serial numbers, 200 stations
// and users, 24 months, 1,000,000 alarm-trend samples and 200,000 event rows, one alarm-event
// log of 10,000 rows), and 10,000 interval trends in one type folder.

#include "core/database.h"
#include "core/log_schema.h"
#include "core/program_state.h"
#include "ui/browser/DataPage.h"
#include "ui/browser/log_listing.h"

#include <QApplication>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Rows 1..count of a generated table, for INSERT ... SELECT.
QString numbers(int count) {
    return QStringLiteral("With Recursive n(i) As (Select 1 Union All Select i + 1 From n "
                          "Where i < %1) ")
        .arg(count);
}

// The types of every tenth log, in turn.
const char *kTypeOfLog = "Case i % 10 When 0 Then 1 When 1 Then 2 When 2 Then 3 When 3 Then 5 "
                         "When 4 Then 6 When 5 Then 7 When 6 Then 9 When 7 Then 10 When 8 Then 11 "
                         "Else 12 End";

void makeMixedDatabase(const QString &path) {
    tq::CreateLogDatabase(path);
    tq::Database db(path);
    tq::Transaction transaction(db);
    db.execute(numbers(10000) +
               QStringLiteral("Insert Into Log_head (SeqNo, Names, SerialNo, StationID, "
                              "UserID, FolderID, Types, Dates, Sampling, Gas1Enable) "
                              "Select i, 'LOG' || i, 'SN' || (i % 40), 'ST' || ((i / 40) % 200), "
                              "'US' || ((i / 7) % 200), printf('%02d/%02d', i % 12 + 1, "
                              "8 + (i / 12) % 2), %1, '2009-05-01 10:00:00', 1, 1 From n")
                   .arg(QLatin1String(kTypeOfLog)));
    // 1,000,000 samples over the 1,000 alarm trends (SeqNo 10k + 1).
    db.execute(numbers(1000000) +
               QStringLiteral("Insert Into Alarm_Data (RelNo, Datetimes, Gas1Value) Select "
                              "(i % 1000) * 10 + 1, '2009-05-01 10:00:00', 1.5 From n"));
    // 200,000 event rows: 10,000 of them in alarm-event log 3 (one log), the rest spread.
    db.execute(numbers(200000) +
               QStringLiteral("Insert Into Alarm_Event (RelNo, GasNo, GasName, Alarm_Type, "
                              "Dates) Select Case When i <= 10000 Then 3 Else (i % 1000) * 10 "
                              "+ 3 End, 0, 'CH4', -104, printf('2009-05-01 %02d:%02d:%02d', "
                              "(i / 3600) % 24, (i / 60) % 60, i % 60) From n"));
    transaction.commit();
}

void makeOneFolderDatabase(const QString &path) {
    tq::CreateLogDatabase(path);
    tq::Database db(path);
    db.execute(numbers(10000) +
               QStringLiteral("Insert Into Log_head (SeqNo, Names, SerialNo, StationID, UserID, "
                              "FolderID, Types, Dates, Sampling) Select i, 'IV' || (10000 - i), "
                              "'SN1', 'ST1', 'US1', '05/09', 1, '2009-05-01 10:00:00', 0 From n"));
}

// A Data page on a database of the fixture's, the globals pointing at it.
struct PageFixture {
    explicit PageFixture(void (*make)(const QString &)) {
        const QString path = dir.filePath(QStringLiteral("TQ6200.mdb"));
        make(path);
        tq::Globals().DatabasePath = path;
        tq::Globals().DataFolder = dir.filePath(QStringLiteral("Data"));
        frame.resize(1000, 700);
        page = std::make_unique<tq::DataPage>(&frame, selection, tq::DataPage::WindowHooks{});
        page->layOut(15000, 10000);
    }
    void boxes(bool checked) {
        for (QCheckBox *box : page->chkLog)
            box->setChecked(checked);
    }
    QTreeWidgetItem *node(const QString &key) {
        for (QTreeWidgetItemIterator it(page->tvwLog); *it; ++it)
            if (tq::DataPage::keyOf(*it) == key)
                return *it;
        return nullptr;
    }

    QTemporaryDir dir;
    QWidget frame;
    tq::LogSelection selection;
    std::unique_ptr<tq::DataPage> page;
};

// Made on first use, gone before the application (the page's widgets need it).
std::unique_ptr<PageFixture> g_mixed;
std::unique_ptr<PageFixture> g_oneFolder;

void dropFixtures() {
    g_mixed.reset();
    g_oneFolder.reset();
}

PageFixture &fixture(std::unique_ptr<PageFixture> &slot, void (*make)(const QString &)) {
    if (!slot) {
        if (!g_mixed && !g_oneFolder)
            qAddPostRoutine(dropFixtures);
        slot = std::make_unique<PageFixture>(make);
    }
    return *slot;
}

PageFixture &mixed() {
    return fixture(g_mixed, makeMixedDatabase);
}

PageFixture &oneFolder() {
    return fixture(g_oneFolder, makeOneFolderDatabase);
}

void BM_TreeRebuild(benchmark::State &state) {
    PageFixture &f = mixed();
    f.boxes(state.range(0) != 0);
    for (auto _ : state) {
        f.page->setLogTreeStale(true);
        f.page->BuildLogTree();
    }
    state.counters["nodes"] = double(f.page->tree().nodes().size());
}
BENCHMARK(BM_TreeRebuild)->Arg(0)->Arg(1)->ArgName("allBoxes")->Unit(benchmark::kMillisecond);

void BM_DataButtonTreeNotStale(benchmark::State &state) {
    PageFixture &f = mixed();
    f.boxes(true);
    f.page->setLogTreeStale(true);
    f.page->BuildLogTree();
    for (auto _ : state) {
        f.page->BuildLogTree();
        f.page->RefreshLogPage();
    }
}
BENCHMARK(BM_DataButtonTreeNotStale)->Unit(benchmark::kMillisecond);

void BM_GroupingBoxClick(benchmark::State &state) {
    PageFixture &f = mixed();
    f.boxes(true);
    for (auto _ : state)
        f.page->chkLog_Click(0);
}
BENCHMARK(BM_GroupingBoxClick)->Unit(benchmark::kMillisecond);

void BM_ListTenThousandLogFolder(benchmark::State &state) {
    PageFixture &f = oneFolder();
    f.boxes(false);
    f.page->setLogTreeStale(true);
    f.page->BuildLogTree();
    QTreeWidgetItem *folder = f.node(QStringLiteral("05/09 I"));
    for (auto _ : state)
        f.page->tvwLog_NodeClick(folder);
    state.counters["rows"] = double(f.page->lvwLog->topLevelItemCount());
}
BENCHMARK(BM_ListTenThousandLogFolder)->Unit(benchmark::kMillisecond);

// The summary of a stored interval trend (log 10), and the record list of the alarm-event
// log of 10,000 rows (log 3).
void BM_Summary(benchmark::State &state) {
    PageFixture &f = mixed();
    const QString key = state.range(0) ? QStringLiteral("3 V") : QStringLiteral("10 G");
    for (auto _ : state)
        f.page->ShowLogSummary(key);
}
BENCHMARK(BM_Summary)->Arg(0)->Arg(1)->ArgName("alarmEvents10k")->Unit(benchmark::kMillisecond);

// The tree's query and grouping without the widget, all boxes checked.
void BM_TreeQueryOnly(benchmark::State &state) {
    mixed();
    for (auto _ : state) {
        tq::Database db(tq::Globals().DatabasePath);
        benchmark::DoNotOptimize(tq::LogTree::Build(db, {true, true, true, false}, QString()));
    }
}
BENCHMARK(BM_TreeQueryOnly)->Unit(benchmark::kMillisecond);

// The listing's query and rows without the widget.
void BM_ListQueryOnly(benchmark::State &state) {
    PageFixture &f = oneFolder();
    for (auto _ : state) {
        tq::Database db(tq::Globals().DatabasePath);
        benchmark::DoNotOptimize(tq::ListNode(db, f.page->tree(), QStringLiteral("05/09 I")));
    }
}
BENCHMARK(BM_ListQueryOnly)->Unit(benchmark::kMillisecond);

} // namespace
