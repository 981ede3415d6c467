// The trend graph on long series: 3 series of 16,361 samples with runs of missing samples
// and 2,048 marks each. Filling in the hosts' order, a full redraw at 1280 x 720, a scroll
// step at Zoom 50, 1,000 cursor key moves and a printed PDF page. Wall time; the work is
// one thread.
#include "graph/uclVtmGraph.h"
#include "graph_fixture.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using tq::uclVtmGraph;
using tq::test::TrendFixture;

const TrendFixture &trend(int series) {
    static const TrendFixture three = tq::test::IntervalTrend(16361, 3, 2048);
    static const TrendFixture one = tq::test::IntervalTrend(16361, 1, 2048);
    return series == 1 ? one : three;
}

// A shown graph of 1280 x 720 in the CJK font, filled.
struct ShownGraph {
    explicit ShownGraph(int series) {
        graph.setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
        graph.resize(1280, 720);
        graph.show();
        tq::test::FillGraph(graph, trend(series));
        QApplication::processEvents();
    }
    uclVtmGraph graph;
};

void BM_Fill(benchmark::State &state) {
    uclVtmGraph graph;
    graph.AutoRedraw = false;
    for (auto _ : state)
        tq::test::FillGraph(graph, trend(3), false);
}
BENCHMARK(BM_Fill)->Unit(benchmark::kMillisecond);

void BM_Refresh(benchmark::State &state) {
    ShownGraph shown(int(state.range(0)));
    for (auto _ : state)
        shown.graph.Refresh();
}
BENCHMARK(BM_Refresh)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_ScrollStepZoom50(benchmark::State &state) {
    ShownGraph shown(3);
    shown.graph.setZoom(50);
    shown.graph.Refresh();
    int value = 0;
    for (auto _ : state) {
        value = value < shown.graph.ScrollBarState().Maximum ? value + 1 : 0;
        shown.graph.setScrollValue(value);
    }
}
BENCHMARK(BM_ScrollStepZoom50)->Unit(benchmark::kMillisecond);

void BM_ThousandCursorKeys(benchmark::State &state) {
    ShownGraph shown(3);
    QWidget *picture = shown.graph.findChild<QWidget *>(QStringLiteral("picGraph"));
    for (auto _ : state) {
        shown.graph.setCursorIndex(0);
        for (int i = 0; i < 1000; ++i) {
            QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
            QApplication::sendEvent(picture, &right);
            // What moved is painted: the line and the read-out, over the picture.
            QApplication::processEvents();
        }
    }
}
BENCHMARK(BM_ThousandCursorKeys)->Unit(benchmark::kMillisecond);

void BM_PdfPage(benchmark::State &state) {
    ShownGraph shown(3);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("graph.pdf"));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageOrientation(QPageLayout::Landscape);
        QPainter painter(&printer);
        const QSizeF page = tq::SurfaceSizeTwips(&printer);
        shown.graph.SetDrawLeft = float(page.width() * 0.05);
        shown.graph.SetDrawTop = float(page.height() * 0.1);
        shown.graph.SetDrawWidth = float(page.width() * 0.9);
        shown.graph.SetDrawHeight = float(page.height() * 0.8);
        shown.graph.setDrawObj(&painter, true);
        shown.graph.Refresh();
        shown.graph.setDrawObj(nullptr, false);
        painter.end();
    }
    state.counters["file_MB"] = double(QFileInfo(file).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_PdfPage)->Unit(benchmark::kMillisecond);

} // namespace
