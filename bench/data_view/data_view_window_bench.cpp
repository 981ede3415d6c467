// The data view window on the offscreen platform, over a 720-sample alarm trend imported from
// the data_view fixture image (X1's, one gas, alarms in it) as a download stores it. Timed
// are the opening until the view is first painted, in table and in graph view; the
// Table/Graph switch with its graph refill; a relayout at a changed size; the export of
// the window's view; and the memory over 100 openings and closings. The window is made once
// and reopened, as the program keeps it.

#include "bench_support.h"
#include "core/database.h"
#include "core/gui/flex_grid.h"
#include "core/instrument/clsInstrument.h"
#include "core/log_schema.h"
#include "core/program_state.h"
#include "graph/uclVtmGraph.h"
#include "program_folder.h"
#include "ui/dataview/frmIntermittence.h"
#include "ui/main/import_pipeline.h"
#include "ui/main/window/scripted_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

enum View : int { kTable = 0, kGraph = 1 };

constexpr qint32 kSamples = 720;
// The opener's size in twips (1024 x 768 pixels at 96 dpi).
constexpr double kOpenerWidth = 15360;
constexpr double kOpenerHeight = 11520;

// What the Data View page hands over: its size, the summary, the view, the gas curve, the
// Event and the Cursor boxes on.
tq::DataViewOpening openingIn(View view) {
    tq::DataViewOpening opening;
    opening.width = kOpenerWidth;
    opening.height = kOpenerHeight;
    opening.options = {view == kTable, view == kGraph};
    opening.boxes = {true, false, false, false, false, true, true};
    return opening;
}

// The widget that shows the view: the table's cells or the graph's picture.
QWidget *viewWidget(tq::frmIntermittence &window, View view) {
    if (view == kTable)
        return window.vfgBrowse->viewport();
    return window.vtmGraph->findChild<QWidget *>(QStringLiteral("picGraph"));
}

// Counts the paints of one widget while it lives.
class PaintCount : public QObject {
public:
    explicit PaintCount(QWidget *widget) : m_widget(widget) { widget->installEventFilter(this); }
    ~PaintCount() override { m_widget->removeEventFilter(this); }
    PaintCount(const PaintCount &) = delete;
    PaintCount &operator=(const PaintCount &) = delete;
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }

private:
    QWidget *m_widget;
};

// Runs the pending events until the widget has been painted (or nothing more comes).
void untilPainted(const PaintCount &count) {
    for (int round = 0; round < 50 && count.paints == 0; ++round)
        QApplication::processEvents();
}

// The imported trend and the window over it, made once and dropped before the application.
struct Fixture {
    Fixture() {
        tq::test::UseProgramFolder(dir.path());
        tq::ProgramState &g = tq::Globals();
        tq::CreateLogDatabase(g.DatabasePath);
        const QString image = dir.filePath(QStringLiteral("data_view.DAT"));
        if (!tq::bench::BuildImage(tq::bench::Fixture(QStringLiteral("data_view.json")), image) ||
            !tq::RunImports(image, std::make_shared<tq::clsInstrument>(), tq::ProgramStoreContext())
                 .EveryImportSucceeded())
            return;
        // X1's alarm trend, the first stored; the page's trend search names it so.
        g.ViewKind = 2;
        g.ViewSeqNo = tq::Database(g.DatabasePath)
                          .scalar(QStringLiteral("Select Min(SeqNo) From Log_head Where Types = 2"))
                          .toLongLong();
        // Loaded once, so that ready() can see the trend.
        window = std::make_unique<tq::frmIntermittence>();
        window->Form_Load(openingIn(kTable));
    }
    // Loaded and shown in a view, without the modal loop, every event handled.
    void showIn(View view) {
        window->Form_Load(openingIn(view));
        window->show();
        QApplication::processEvents();
    }
    bool ready(benchmark::State &state) const {
        if (window && window->alarm().DataCount() == kSamples)
            return true;
        state.SkipWithError("the 720-sample alarm trend was not stored");
        return false;
    }

    QTemporaryDir dir;
    std::unique_ptr<tq::frmIntermittence> window;
};

Fixture &fixture() {
    return tq::bench::SharedFixture<Fixture>();
}

// Opens the window as the page does (Show, its modal loop) and closes it with Return once
// the view has been painted. Gives the seconds from the call to the first paint of the
// view, or -1 when it was never painted.
double openAndClose(tq::frmIntermittence &window, View view) {
    const PaintCount count(viewWidget(window, view));
    QElapsedTimer clock;
    double shown = -1;
    // Queued before the modal loop starts: it runs in the loop's first round.
    QTimer::singleShot(0, &window, [&] {
        untilPainted(count);
        if (count.paints > 0)
            shown = double(clock.nsecsElapsed()) * 1e-9;
        window.cmdBrowse[4]->click();
    });
    clock.start();
    window.Show(openingIn(view));
    return shown;
}

// Target: under 150 ms from the opening (load, summary, table, graph) to the view painted.
// The window has been opened before, as it has after the program's first event press.
void BM_Opening(benchmark::State &state) {
    Fixture &f = fixture();
    if (!f.ready(state))
        return;
    const View view = View(state.range(0));
    for (auto _ : state) {
        const double seconds = openAndClose(*f.window, view);
        if (seconds < 0) {
            state.SkipWithError("the view was never painted");
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["rows"] = f.window->vfgBrowse->Rows();
    state.counters["zoom_entries"] = f.window->cmbBrowse->count();
}
BENCHMARK(BM_Opening)
    ->Arg(kTable)
    ->Arg(kGraph)
    ->ArgName("graph")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Target: under 50 ms for a switch of view, the graph refilled when it goes to the graph,
// until the new view is painted. state.range(0): the view switched to.
void BM_SwitchView(benchmark::State &state) {
    Fixture &f = fixture();
    if (!f.ready(state))
        return;
    const View to = View(state.range(0));
    const View from = to == kTable ? kGraph : kTable;
    f.showIn(from);
    int painted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.window->optBrowse[std::size_t(from)]->setChecked(true);
        QApplication::processEvents();
        const PaintCount count(viewWidget(*f.window, to));
        state.ResumeTiming();
        // Its reaction runs on the change, as on a press.
        f.window->optBrowse[std::size_t(to)]->setChecked(true);
        untilPainted(count);
        painted += count.paints > 0 ? 1 : 0;
    }
    f.window->hide();
    if (painted != state.iterations())
        state.SkipWithError("the new view was not painted every time");
}
BENCHMARK(BM_SwitchView)
    ->Arg(kTable)
    ->Arg(kGraph)
    ->ArgName("to_graph")
    ->Unit(benchmark::kMillisecond);

// Target: under 5 ms for the relayout (Form_Resize, run by the resize) at a size 40 x 27
// pixels larger or back; the repaint that follows is reported apart (repaint_ms).
void BM_Relayout(benchmark::State &state) {
    Fixture &f = fixture();
    if (!f.ready(state))
        return;
    const View view = View(state.range(0));
    f.showIn(view);
    const QSize small = f.window->size();
    const QSize large = small + QSize(40, 27);
    QElapsedTimer clock;
    double repaint = 0;
    bool relaid = true;
    for (auto _ : state) {
        const QSize next = f.window->size() == small ? large : small;
        const int tableWidth = f.window->vfgBrowse->width();
        clock.start();
        f.window->resize(next);
        const double seconds = double(clock.nsecsElapsed()) * 1e-9;
        relaid = relaid && f.window->vfgBrowse->width() != tableWidth;
        clock.start();
        QApplication::processEvents();
        repaint += double(clock.nsecsElapsed()) * 1e-9;
        state.SetIterationTime(seconds);
    }
    f.window->hide();
    if (!relaid)
        state.SkipWithError("a resize did not lay the window out");
    state.counters["repaint_ms"] = repaint * 1e3 / double(state.iterations());
}
BENCHMARK(BM_Relayout)
    ->Arg(kTable)
    ->Arg(kGraph)
    ->ArgName("graph")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Target: under 20 ms for Export on the shown window, the file replaced every time: the
// table's text in table view, the graph's bitmap in graph view.
void BM_Export(benchmark::State &state) {
    Fixture &f = fixture();
    if (!f.ready(state))
        return;
    const View view = View(state.range(0));
    const QTemporaryDir target;
    const QString file = target.filePath(view == kTable ? QStringLiteral("Sample.csv")
                                                        : QStringLiteral("Sample.bmp"));
    // Save As answered with the file and entry 1; "replace it?" answered Yes.
    tq::test::ScriptedDialogs dialogs;
    dialogs.chosen = {file, 1};
    f.showIn(view);
    for (auto _ : state)
        f.window->cmdBrowse_Click(2);
    f.window->hide();
    for (const tq::MessageBoxRequest &box : dialogs.shown)
        if (box.buttons != tq::BoxButtons::YesNo) {
            state.SkipWithError(
                qPrintable(QStringLiteral("message %1: %2").arg(box.messageId).arg(box.text)));
            return;
        }
    if (QFileInfo(file).size() == 0)
        state.SkipWithError("no file was written");
    state.counters["file_KB"] = double(QFileInfo(file).size()) / 1024;
    state.counters["replace_questions"] = double(dialogs.shown.size());
}
BENCHMARK(BM_Export)->Arg(kTable)->Arg(kGraph)->ArgName("graph")->Unit(benchmark::kMillisecond);

// Target: the resident size flat after the first of 100 openings and closings of a window
// made for the run (run alone, --benchmark_filter=Openings, for a clean reading). The
// allocator may take or give back a block now and then, so the size is read after every
// opening: the growth over the last 50 shows memory kept per opening, the spread the
// allocator's swings. The time is that of the 100.
void BM_HundredOpenings(benchmark::State &state) {
    Fixture &f = fixture();
    if (!f.ready(state))
        return;
    const View view = View(state.range(0));
    constexpr int kOpenings = 100;
    for (auto _ : state) {
        const double before = tq::bench::ResidentMB();
        QElapsedTimer clock;
        clock.start();
        tq::frmIntermittence window;
        const double madeMs = double(clock.nsecsElapsed()) * 1e-6;
        const double firstShown = openAndClose(window, view);
        if (firstShown < 0) {
            state.SkipWithError("the view was never painted");
            return;
        }
        // resident[i]: after opening i + 1.
        std::vector<double> resident{tq::bench::ResidentMB()};
        while (resident.size() < kOpenings) {
            openAndClose(window, view);
            resident.push_back(tq::bench::ResidentMB());
        }
        const auto [low, high] = std::minmax_element(resident.begin() + 1, resident.end());
        // Made and opened until painted: what the first event press of a run costs.
        state.counters["first_opening_ms"] = madeMs + firstShown * 1e3;
        state.counters["MB_first"] = resident.front() - before;
        state.counters["MB_growth_1_to_100"] = resident.back() - resident.front();
        state.counters["MB_growth_50_to_100"] = resident.back() - resident[49];
        state.counters["MB_spread_2_to_100"] = *high - *low;
        state.counters["MB_resident"] = resident.back();
    }
}
BENCHMARK(BM_HundredOpenings)
    ->Arg(kTable)
    ->Arg(kGraph)
    ->ArgName("graph")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
