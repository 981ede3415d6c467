// Developer aid: prints a fixture log of a kind into a PDF file through the print job, as
// the pages would, choosing the "PDF file" printer. Boxes go to stderr.
//
//   print_pdf KIND OUT.pdf [--rows N]
// KIND: alarm, alarm-graph, interval, interval-graph, barhole, snapshot, cal, bump,
// alarm-events, trouble-events, power-events, sensor, lastcal.
#include "core/database.h"
#include "core/log_schema.h"
#include "core/program_state.h"
#include "print_fixtures.h"
#include "print_test_support.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if ((args.size() != 2 && args.size() != 4) ||
        (args.size() == 4 && args[2] != QLatin1String("--rows"))) {
        std::fprintf(stderr, "usage: print_pdf KIND OUT.pdf [--rows N]\nkinds: %s\n",
                     qPrintable(tq::test::PrintFixtureKinds().join(QLatin1Char(' '))));
        return 2;
    }
    QTemporaryDir folder;
    tq::Globals().AppFolder = folder.path();
    tq::Globals().DatabasePath = folder.filePath(QStringLiteral("TQ6200.mdb"));
    tq::CreateLogDatabase(tq::Globals().DatabasePath);
    const auto fixture =
        tq::test::MakePrintFixture(args[0], args.size() == 4 ? args[3].toInt() : 200);
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
        std::fprintf(stderr, "%d\t%s\n", box.messageId, qPrintable(box.text));
    return outcome == tq::PrintOutcome::Printed ? 0 : 1;
}
