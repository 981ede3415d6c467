#include "window_dump.h"

#include "block_times.h"
#include "core/messages.h"
#include "link/simulator.h"
#include "ui/main/window/comm_log.h"
#include "ui/main/window/frmMain.h"
#include "window_bench_folder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace tq::bench {

namespace {

using tq::test::Simulator;

// The window reads every block, as the client does.
const QByteArray kCompleteRead = "Completely Read\tTrue\r\n";
// Without the data removal: the clear is no part of the dump.
const QByteArray kAutomaticMode = "Auto Load Mode\tTrue\tFalse\r\n";

constexpr qint64 kLongestRunMs = 600000;
constexpr std::size_t kBlocks = 1024;

struct Way {
    const char *name;
    QByteArray settings;
    // Runs the download once the window is shown; true when it ended well.
    std::function<bool(frmMain &)> run;
};

bool waitUntil(const std::function<bool()> &done) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > kLongestRunMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Complete Download pressed once the detector is connected; the press returns when the
// command has ended.
bool completeDownload(frmMain &window) {
    auto *button = window.findChild<QPushButton *>(QStringLiteral("cmdDown_0"));
    if (!button || !waitUntil([button] { return button->isEnabled(); }))
        return false;
    button->click();
    return true;
}

// The automatic mode starts on the connection by itself and ends with the detector
// switched off.
bool automaticMode(frmMain &window) {
    const QString finished = LoadMessage(5410).trimmed();
    const QString failed = LoadMessage(5411).trimmed();
    const CommLog *log = window.downloadPage().rtbLog;
    return waitUntil([&] {
               const QString text = log->toPlainText();
               return text.contains(finished) || text.contains(failed);
           }) &&
           log->toPlainText().contains(finished);
}

const Way kWays[] = {{"Complete Download", kCompleteRead, completeDownload},
                     {"automatic mode", kCompleteRead + kAutomaticMode, automaticMode}};

struct Outcome {
    double client = -1;
    double window = 0;
    std::size_t blocks = 0;
    Spread spread;
};

// One way on a simulator of its own: the client's dump first, while the window has not
// opened the terminal, then the window's.
bool measure(const Way &way, const QStringList &simulatorOptions, Outcome &outcome) {
    QTemporaryDir folder;
    const QString image = FullImage(folder.path());
    if (image.isEmpty())
        return false;
    Simulator simulator(QStringList{QStringLiteral("--image"), image, QStringLiteral("--persist")} +
                            simulatorOptions,
                        Simulator::State::NotKept);
    if (simulator.device().isEmpty())
        return false;
    outcome.client = Simulator::ReferenceDumpSeconds(simulator.device());
    if (outcome.client < 0)
        return false;
    qputenv("TQ6200_SERIAL_PORT", simulator.device().toLocal8Bit());
    qputenv("TQ6200_MESSAGE_LOG", folder.filePath(QStringLiteral("boxes.log")).toLocal8Bit());
    EnterFreshFolder(folder, way.settings);
    frmMain window;
    const BlockTimes times(window.uclPV7130());
    if (window.Form_Load() != frmMain::LoadResult::Loaded)
        return false;
    window.show();
    if (!way.run(window))
        return false;
    outcome.window = times.totalSeconds();
    outcome.blocks = times.blocks();
    outcome.spread = SpreadOf(times.blockMilliseconds());
    return outcome.blocks == kBlocks;
}

} // namespace

int WindowDump(const QString &baud) {
    const QStringList options =
        baud.isEmpty() ? QStringList{} : QStringList{QStringLiteral("--baud"), baud};
    std::printf("%s\n", baud.isEmpty() ? "unpaced" : qPrintable(baud + QStringLiteral(" baud")));
    std::printf("%-18s %9s %9s %6s %6s  %s\n", "", "client s", "window s", "ratio", "blocks",
                "block ms min / median / p90 / max");
    int status = 0;
    for (const Way &way : kWays) {
        Outcome o;
        const bool ok = measure(way, options, o);
        std::printf("%-18s %9.3f %9.3f %6.3f %6zu  %.2f / %.2f / %.2f / %.2f%s\n", way.name,
                    o.client, o.window, o.client > 0 ? o.window / o.client : 0.0, o.blocks,
                    o.spread.min, o.spread.median, o.spread.p90, o.spread.max,
                    ok ? "" : "  (failed)");
        if (!ok)
            status = 1;
    }
    return status;
}

} // namespace tq::bench
