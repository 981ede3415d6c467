// Developer aid: fills the trend graph as the hosts do from a fixture trend, writes the
// screen as a PNG and a printed page as a PDF, and prints the layout state.
//
//   render_graph alarm|interval [--size 640x400] [--zoom Z] [--cursor left|right]
//                [--png FILE] [--pdf FILE] [--page-png FILE]
// The page PNG is the printed page drawn at 150 dpi, to look at without a PDF viewer.
#include "graph/uclVtmGraph.h"
#include "graph_fixture.h"
#include "ui/main/termination_signals.h"

#include <QApplication>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

using tq::uclVtmGraph;

void printState(QTextStream &out, const QString &prefix, const uclVtmGraph &g) {
    const auto line = [&](const QString &name, double value) {
        out << prefix << name << '=' << value << '\n';
    };
    line(QStringLiteral("PlotLeft"), g.PlotLeft());
    line(QStringLiteral("PlotTop"), g.PlotTop());
    line(QStringLiteral("PlotWidth"), g.PlotWidth());
    line(QStringLiteral("PlotHeight"), g.PlotHeight());
    line(QStringLiteral("XScale"), g.XScale());
    line(QStringLiteral("PosXStp"), g.PosXStp());
    line(QStringLiteral("MinX"), g.MinX());
    line(QStringLiteral("MaxX"), g.MaxX());
    line(QStringLiteral("Zoom"), g.Zoom());
    line(QStringLiteral("SampleCount"), g.SampleCount());
    line(QStringLiteral("CursorIndex"), g.CursorIndex());
    line(QStringLiteral("LabelOffset"), g.LabelOffset());
    for (int s = 0; s < g.SampleDataCount(); ++s) {
        const QString n = QStringLiteral("(%1)").arg(s);
        line(QStringLiteral("MinY") + n, g.MinY(qint16(s)));
        line(QStringLiteral("MaxY") + n, g.MaxY(qint16(s)));
        line(QStringLiteral("PosYStp") + n, g.PosYStp(qint16(s)));
        line(QStringLiteral("MarkerY") + n, g.events(s).MarkerY);
    }
    line(QStringLiteral("CommonMarkerY"), g.commonEvents().MarkerY);
}

// Draws the graph on a page as the print form does: its drawing area fixed fractions of
// the printable page.
void printPage(uclVtmGraph &graph, QPainter &painter) {
    const QSizeF page = tq::SurfaceSizeTwips(painter.device());
    graph.SetDrawLeft = float(page.width() * 0.05);
    graph.SetDrawTop = float(page.height() * 0.1);
    graph.SetDrawWidth = float(page.width() * 0.9);
    graph.SetDrawHeight = float(page.height() * 0.8);
    graph.setDrawObj(&painter, true);
    graph.Refresh();
    graph.setDrawObj(nullptr, false);
}

int usage() {
    std::fputs("usage: render_graph alarm|interval [--size WxH] [--zoom Z] "
               "[--cursor left|right] [--png FILE] [--pdf FILE] [--page-png FILE]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    tq::IgnoreFileSizeSignal();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() ||
        (args[0] != QLatin1String("alarm") && args[0] != QLatin1String("interval")))
        return usage();
    const bool alarm = args.takeFirst() == QLatin1String("alarm");
    QSize size(640, 400);
    int zoom = 1;
    QString cursor, png, pdf, pagePng;
    while (args.size() >= 2) {
        const QString option = args.takeFirst();
        const QString value = args.takeFirst();
        if (option == QLatin1String("--size")) {
            const QStringList wh = value.split(QLatin1Char('x'));
            if (wh.size() != 2)
                return usage();
            size = QSize(wh[0].toInt(), wh[1].toInt());
        } else if (option == QLatin1String("--zoom")) {
            zoom = value.toInt();
        } else if (option == QLatin1String("--cursor")) {
            cursor = value;
        } else if (option == QLatin1String("--png")) {
            png = value;
        } else if (option == QLatin1String("--pdf")) {
            pdf = value;
        } else if (option == QLatin1String("--page-png")) {
            pagePng = value;
        } else {
            return usage();
        }
    }
    if (!args.isEmpty())
        return usage();

    uclVtmGraph graph;
    graph.setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
    graph.setBackColor(15790320);
    graph.setCursorColor(16728128);
    graph.resize(size);
    graph.show();
    tq::test::FillGraph(graph, alarm ? tq::test::AlarmTrend() : tq::test::IntervalTrend(16361, 1));
    graph.setZoom(qint16(zoom));
    graph.Refresh();
    if (!cursor.isEmpty()) {
        // A quarter or three quarters into the window.
        const float at = cursor == QLatin1String("left") ? 0.25f : 0.75f;
        graph.setCursorIndex(
            float(graph.FindSampleIndex(graph.MinX() + (graph.MaxX() - graph.MinX()) * at)));
        graph.Refresh();
    }

    QTextStream out(stdout);
    printState(out, QString(), graph);
    if (!png.isEmpty() && !graph.grab().save(png))
        return 1;
    if (!pdf.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageOrientation(QPageLayout::Landscape);
        QPainter painter(&printer);
        printPage(graph, painter);
        printState(out, QStringLiteral("page."), graph);
    }
    if (!pagePng.isEmpty()) {
        // An A4 landscape page at 150 dpi.
        QImage page(1754, 1240, QImage::Format_RGB32);
        page.setDotsPerMeterX(5906);
        page.setDotsPerMeterY(5906);
        page.fill(Qt::white);
        QPainter painter(&page);
        printPage(graph, painter);
        painter.end();
        if (!page.save(pagePng))
            return 1;
    }
    return 0;
}
