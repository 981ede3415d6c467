// Printing into a PDF file through the print job, as the pages would: the alarm trend as a
// table, the longest interval trend as a table and as a graph, and 20,000 alarm events.
// Counters: the PDF's size in MB and the growth of the peak resident memory in MB during
// the printout (pages stream to the file, so it stays small).
#include "core/log_schema.h"
#include "core/program_state.h"
#include "print_fixtures.h"
#include "print_test_support.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fstream>
#include <string>

namespace {

// A value of /proc/self/status in MB.
double statusMb(const char *key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::stod(line.substr(std::string(key).size())) / 1024.0;
    }
    return 0;
}

void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void printKind(benchmark::State &state, const char *kind, int rows) {
    QTemporaryDir folder;
    tq::Globals() = tq::ProgramState();
    tq::Globals().AppFolder = folder.path();
    tq::Globals().DatabasePath = folder.filePath(QStringLiteral("TQ6200.mdb"));
    tq::CreateLogDatabase(tq::Globals().DatabasePath);
    const auto fixture = tq::test::MakePrintFixture(QString::fromLatin1(kind), rows);
    tq::test::PrintDialogs dialogs;
    dialogs.pdf = folder.filePath(QStringLiteral("out.pdf"));
    tq::test::FakePrinters printers({}, {});
    printers.choosePdf = true;
    tq::frmPrint print;
    double growth = 0;
    for (auto _ : state) {
        QFile::remove(dialogs.pdf);
        resetPeakMemory();
        const double before = statusMb("VmRSS:");
        if (print.GoPrinter(fixture->request) != tq::PrintOutcome::Printed)
            state.SkipWithError("the printout failed");
        growth = std::max(growth, statusMb("VmHWM:") - before);
    }
    state.counters["pdf_MB"] = double(QFileInfo(dialogs.pdf).size()) / 1e6;
    state.counters["mem_growth_MB"] = growth;
}

// 720 samples: about a dozen pages.
void BM_AlarmTable(benchmark::State &state) {
    printKind(state, "alarm", 0);
}
// 54,001 samples and 1,000 events: 55,001 rows.
void BM_IntervalTable(benchmark::State &state) {
    printKind(state, "interval", 54001);
}
// The same trend's graph page: 16,361 thinned points.
void BM_IntervalGraph(benchmark::State &state) {
    printKind(state, "interval-graph", 54001);
}
void BM_AlarmEvents(benchmark::State &state) {
    printKind(state, "alarm-events", 20000);
}

} // namespace

BENCHMARK(BM_AlarmTable)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_IntervalTable)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_IntervalGraph)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AlarmEvents)->Unit(benchmark::kMillisecond)->Iterations(1);
