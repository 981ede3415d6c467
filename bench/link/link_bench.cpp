// The link control against the detector simulator on a pseudo-terminal: a complete flash
// dump (unpaced and paced at 921,600 baud) beside the reference client's dump of the same
// simulator in the same run, and a full settings read.
#include "core/instrument/clsInstrument.h"
#include "core/program_state.h"
#include "link/simulator.h"
#include "link/uclPvif.h"
#include "link/usb_port_finder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

using tq::test::Simulator;

// A link control connected to the simulator over the serial port class.
struct Session {
    explicit Session(const QStringList &options)
        : sim(options + QStringList{QStringLiteral("--persist")}, Simulator::State::NotKept) {
        qputenv("TQ6200_SERIAL_PORT", sim.device().toUtf8());
        const tq::ConverterSearch search =
            tq::FindUsbSerialPort(QString::fromLatin1(tq::kConverterDeviceId));
        link.setLinkSettings({folder.path(), 5, 3, 0});
        link.setSerialComm(true);
        link.setCommPort(tq::ConverterPortNumber(search));
        link.setSettings(QString::fromLatin1(tq::kConverterCommSettings));
        connect();
    }

    // Opens the port and waits for the detector to answer the connect poll.
    bool connect() {
        link.setPortOpen(true);
        // The line event of the opening starts connect polling anew.
        QCoreApplication::processEvents();
        QElapsedTimer waited;
        waited.start();
        while (!link.Connected() && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return link.Connected();
    }

    QTemporaryDir folder;
    Simulator sim;
    tq::uclPvif link;
};

// Each iteration dumps the whole flash twice, the reference client first (the link's port
// closed meanwhile), then the link control; the iteration's time is the link's. The
// counters give the fastest of each (the least disturbed by the machine's other work) and
// their ratio; paced, also the wire time of 1,024 blocks of 512 bytes at 8N1.
void BM_CompleteDump(benchmark::State &state) {
    const auto baud = state.range(0);
    Session session(baud == 0 ? QStringList{}
                              : QStringList{QStringLiteral("--baud"), QString::number(baud)});
    if (!session.link.Connected()) {
        state.SkipWithError("no connection to the simulator");
        return;
    }
    const QString image = session.folder.filePath(QStringLiteral("TQ6200.DAT"));
    double bestLink = 1e9;
    double bestReference = 1e9;
    for (auto _ : state) {
        session.link.setPortOpen(false);
        const double reference = Simulator::ReferenceDumpSeconds(session.sim.device());
        if (reference < 0 || !session.connect()) {
            state.SkipWithError("the reference client failed");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        if (!session.link.GetBinDump(image, 0, 1023)) {
            state.SkipWithError("dump failed");
            return;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        bestLink = std::min(bestLink, seconds);
        bestReference = std::min(bestReference, reference);
    }
    state.counters["link_s"] = bestLink;
    state.counters["reference_s"] = bestReference;
    state.counters["ratio"] = bestLink / bestReference;
    if (baud != 0)
        state.counters["wire_s"] = 1024.0 * 512 * 10 / double(baud);
}
BENCHMARK(BM_CompleteDump)
    ->Arg(0)
    ->Arg(921600)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseManualTime();

void BM_SettingsRead(benchmark::State &state) {
    Session session({});
    if (!session.link.Connected()) {
        state.SkipWithError("no connection to the simulator");
        return;
    }
    tq::clsInstrument instrument;
    for (auto _ : state) {
        if (!session.link.GetInstrument(&instrument))
            state.SkipWithError("read failed");
    }
}
BENCHMARK(BM_SettingsRead)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace
