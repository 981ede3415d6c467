// The main window's own figures, measured once per run (run it several times for the
// spread):
//   main_window_bench startup           start-up to the window shown, without the splash
//   main_window_bench auto [BAUD]       the automatic mode on a full image against the
//                                       detector simulator (paced at BAUD when given), step
//                                       by step from the communication log's lines
//   main_window_bench dump [BAUD]       the complete flash dump through the window, by
//                                       Complete Download and by the automatic mode, beside
//                                       the reference client on the same simulator
#include "core/messages.h"
#include "core/program_state.h"
#include "link/simulator.h"
#include "ui/main/window/comm_log.h"
#include "ui/main/window/frmMain.h"
#include "window_bench_folder.h"
#include "window_dump.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QWindow>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using tq::frmMain;

struct TimedLine {
    qint64 ms;
    QString text;
};

// Every line the communication log receives, with the time it arrived (the log is
// emptied after the power-off, so lines are taken as they come).
class LineRecorder {
public:
    LineRecorder(tq::CommLog *log, const QElapsedTimer &clock) {
        QObject::connect(log->document(), &QTextDocument::contentsChanged, log,
                         [this, log, &clock] {
                             // A line ends with one or more line breaks: it is the last block with
                             // text.
                             const int blocks = log->document()->blockCount();
                             QTextBlock block = log->document()->lastBlock();
                             while (block.isValid() && block.text().isEmpty())
                                 block = block.previous();
                             if (blocks > m_blocks && block.isValid())
                                 lines.push_back({clock.elapsed(), block.text()});
                             m_blocks = blocks;
                         });
    }
    std::vector<TimedLine> lines;

private:
    int m_blocks = 0;
};

int startup(int argc, char **argv) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    const qint64 application = clock.elapsed();
    QTemporaryDir folder;
    tq::bench::EnterFreshFolder(folder, {});
    frmMain window;
    if (window.Form_Load() != frmMain::LoadResult::Loaded)
        return 1;
    const qint64 loaded = clock.elapsed();
    window.show();
    while (!window.isVisible() || !window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    window.repaint();
    const qint64 shown = clock.elapsed();
    std::printf("application %lld ms, loaded %lld ms, shown %lld ms\n", application, loaded, shown);
    return 0;
}

int automaticMode(int argc, char **argv, const QString &baud) {
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const QString image = tq::bench::FullImage(folder.path());
    if (image.isEmpty())
        return 1;
    QStringList options{QStringLiteral("--image"), image};
    if (!baud.isEmpty())
        options << QStringLiteral("--baud") << baud;
    tq::test::Simulator simulator(options, tq::test::Simulator::State::NotKept);
    if (simulator.device().isEmpty())
        return 1;
    qputenv("TQ6200_SERIAL_PORT", simulator.device().toLocal8Bit());
    tq::bench::EnterFreshFolder(folder, "Auto Load Mode\tTrue\tTrue\r\n");

    QElapsedTimer clock;
    frmMain window;
    LineRecorder recorder(window.downloadPage().rtbLog, clock);
    clock.start();
    if (window.Form_Load() != frmMain::LoadResult::Loaded)
        return 1;
    window.show();
    const QString finished = tq::LoadMessage(5410).trimmed();
    const QString failed = tq::LoadMessage(5411).trimmed();
    while (recorder.lines.empty() ||
           (recorder.lines.back().text != finished && recorder.lines.back().text != failed)) {
        if (clock.elapsed() > 600000)
            return 1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    // The connection line is the first.
    const qint64 connected = recorder.lines.front().ms;
    qint64 previous = connected;
    std::printf("%8s %8s  %s\n", "at ms", "step ms", "line");
    for (const TimedLine &line : recorder.lines) {
        std::printf("%8lld %8lld  %s\n", line.ms, line.ms - previous, qPrintable(line.text));
        previous = line.ms;
    }
    std::printf("connection to the last line: %lld ms\n", recorder.lines.back().ms - connected);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("startup"))
        return startup(argc, argv);
    if (mode == QLatin1String("auto"))
        return automaticMode(argc, argv, argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    if (mode == QLatin1String("dump")) {
        QApplication app(argc, argv);
        return tq::bench::WindowDump(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    }
    std::fprintf(stderr, "usage: main_window_bench startup | auto [BAUD] | dump [BAUD]\n");
    return 2;
}
