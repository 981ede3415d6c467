// Printing into a PDF file through the print job, as the pages would: the alarm trend as a
// table, the longest interval trend as a table and as a graph, and 20,000 alarm events.
// Counters: the PDF's size in MB and the growth of the peak resident memory in MB during
// the printout (pages stream to the file, so it stays small).
#include "bench_support.h"
#include "core/program_state.h"
#include "print_fixtures.h"
#include "print_test_support.h"
#include "program_folder.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>

namespace {

void printKind(benchmark::State &state, const char *kind, int rows) {
    tq::Globals() = tq::ProgramState();
    const tq::test::NewProgramFolder folder;
    const auto fixture = tq::test::MakePrintFixture(QString::fromLatin1(kind), rows);
    tq::test::PrintDialogs dialogs;
    dialogs.pdf = folder.path(QStringLiteral("out.pdf"));
    tq::test::FakePrinters printers({}, {});
    printers.choosePdf = true;
    tq::frmPrint print;
    double growth = 0;
    for (auto _ : state) {
        QFile::remove(dialogs.pdf);
        tq::bench::ResetPeakResident();
        const double before = tq::bench::ResidentMB();
        if (print.GoPrinter(fixture->request) != tq::PrintOutcome::Printed)
            state.SkipWithError("the printout failed");
        growth = std::max(growth, tq::bench::PeakResidentMB() - before);
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
