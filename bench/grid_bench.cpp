// Filling the record table's grid with the longest interval trend a table lists (54,001
// rows of six columns: the heading row and 54,000 records), as the Data View page does:
// redrawing off, one row added and written at a time, event cells coloured, redrawing on.

#include "core/gui/flex_grid.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kRows = 54001;
constexpr int kCols = 6;

// The texts of every record row, made once so that only the grid is timed.
const std::vector<QStringList> &records() {
    static const std::vector<QStringList> rows = [] {
        std::vector<QStringList> made;
        made.reserve(kRows);
        for (int r = 1; r < kRows; ++r)
            made.push_back({QString::number(r),
                            QStringLiteral("2026/12/10 12:%1:%2").arg(r % 60).arg(r % 60),
                            QString::number(r % 1000 / 10.0, 'f', 1), QStringLiteral("ppm"),
                            QStringLiteral("-----"), QStringLiteral("OK")});
        return made;
    }();
    return rows;
}

void fill(tq::FlexGrid &grid, bool redrawOff = true) {
    grid.SetRedraw(!redrawOff);
    grid.Clear();
    grid.SetCols(kCols);
    grid.SetRows(1);
    tq::SetGridRow(grid, 0, 0, false, {"No", "Date/Time", "Value", "Unit", "Event", "State"});
    int row = 0;
    for (const QStringList &texts : records()) {
        grid.SetRows(++row + 1);
        tq::SetGridRow(grid, row, 0, false, texts);
        if (row % 100 == 0) {
            grid.SetRow(row);
            grid.SetCol(2);
            grid.SetCellBackColor(QColor(255, 0, 0));
        }
    }
    grid.SetColAlignment(-1, tq::FlexAlign::CenterCenter);
    grid.SetRedraw(true);
}

// The fill from an empty grid to the table shown again.
void BM_FillRecordTable(benchmark::State &state) {
    records();
    for (auto _ : state) {
        tq::FlexGrid grid;
        grid.resize(800, 600);
        grid.show();
        fill(grid);
        QApplication::processEvents();
        if (grid.model()->rowCount() != kRows || grid.TextMatrix(kRows - 1, 0).toInt() != kRows - 1)
            state.SkipWithError("the table was not filled");
    }
}
BENCHMARK(BM_FillRecordTable)->Unit(benchmark::kMillisecond);

// The same fill with redrawing left on: every row added is told to the view at once.
void BM_FillRecordTableRedrawOn(benchmark::State &state) {
    records();
    for (auto _ : state) {
        tq::FlexGrid grid;
        grid.resize(800, 600);
        grid.show();
        fill(grid, false);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_FillRecordTableRedrawOn)->Unit(benchmark::kMillisecond);

// Refilling a grid that already shows a full table (the next log chosen).
void BM_RefillRecordTable(benchmark::State &state) {
    tq::FlexGrid grid;
    grid.resize(800, 600);
    grid.show();
    fill(grid);
    for (auto _ : state) {
        grid.SetRows(1);
        fill(grid);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RefillRecordTable)->Unit(benchmark::kMillisecond);

// Painting the filled table once, scrolled to its middle.
void BM_PaintFilledTable(benchmark::State &state) {
    tq::FlexGrid grid;
    grid.resize(800, 600);
    grid.show();
    fill(grid);
    grid.SetTopRow(kRows / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(grid.grab());
}
BENCHMARK(BM_PaintFilledTable)->Unit(benchmark::kMillisecond);

} // namespace

// A grid needs a widget application; no display is needed.
int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
