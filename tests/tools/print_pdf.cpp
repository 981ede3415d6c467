// Developer aid: prints a fixture log of a kind into a PDF file through the print job, as
// the pages would, choosing the "PDF file" printer. Boxes go to stderr.
//
//   print_pdf KIND OUT.pdf [--rows N]
// KIND: alarm, alarm-graph, interval, interval-graph, barhole, snapshot, cal, bump,
// alarm-events, trouble-events, power-events, sensor, lastcal.
#include "print_fixtures.h"
#include "print_test_support.h"
#include "program_folder.h"
#include "tool_support.h"
#include "ui/main/termination_signals.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char **argv) {
    tq::IgnoreFileSizeSignal();
    tq::tool::UseOffscreenUnlessDisplay();
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    bool rowsRead = true;
    const int rows = args.size() == 4 ? args[3].toInt(&rowsRead) : 200;
    if ((args.size() != 2 && args.size() != 4) ||
        (args.size() == 4 && (args[2] != QLatin1String("--rows") || !rowsRead || rows < 1))) {
        std::fprintf(stderr, "usage: print_pdf KIND OUT.pdf [--rows N]\nkinds: %s\n",
                     qPrintable(tq::test::PrintFixtureKinds().join(QLatin1Char(' '))));
        return 2;
    }
    const tq::test::NewProgramFolder folder;
    const auto fixture = tq::test::MakePrintFixture(args[0], rows);
    if (!fixture) {
        std::fprintf(stderr, "unknown kind: %s\n", qPrintable(args[0]));
        return 2;
    }
    tq::test::PrintDialogs dialogs;
    dialogs.pdf = QFileInfo(args[1]).absoluteFilePath();
    tq::test::FakePrinters printers({}, {});
    printers.choosePdf = true;
    tq::frmPrint print;
    const tq::PrintOutcome outcome = print.GoPrinter(fixture->request);
    for (const tq::MessageBoxRequest &box : dialogs.shown)
        tq::tool::WriteBoxLine(box);
    return outcome == tq::PrintOutcome::Printed ? 0 : 1;
}
