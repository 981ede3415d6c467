// The link control against the detector simulator on a pseudo-terminal: a complete flash
// dump (unpaced and paced at 921,600 baud) and a full settings read.
#include "core/instrument/clsInstrument.h"
#include "core/program_state.h"
#include "link/simulator.h"
#include "link/uclPvif.h"
#include "link/usb_port_finder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using tq::test::Simulator;

// A link control connected to the simulator over the serial port class.
struct Session {
    explicit Session(const QStringList &options) : sim(options, Simulator::State::NotKept) {
        tq::Globals().AppFolder = folder.path();
        qputenv("TQ6200_SERIAL_PORT", sim.device().toUtf8());
        tq::SetDefaultCommSettings();
        tq::FindUsbSerialPort(QString::fromLatin1(tq::kConverterDeviceId));
        link.setTimeout(5);
        link.setRetry(3);
        link.setSerialComm(true);
        link.setCommPort(tq::Globals().IrCommPort);
        link.setSettings(tq::Globals().CommSettings);
        link.setPortOpen(true);
        QElapsedTimer waited;
        waited.start();
        while (!link.Connected() && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }

    QTemporaryDir folder;
    Simulator sim;
    tq::uclPvif link;
};

void BM_CompleteDump(benchmark::State &state) {
    const auto baud = state.range(0);
    Session session(baud == 0 ? QStringList{}
                              : QStringList{QStringLiteral("--baud"), QString::number(baud)});
    if (!session.link.Connected()) {
        state.SkipWithError("no connection to the simulator");
        return;
    }
    const QString image = session.folder.filePath(QStringLiteral("TQ6200.DAT"));
    for (auto _ : state) {
        if (!session.link.GetBinDump(image, 0, 1023))
            state.SkipWithError("dump failed");
    }
}
BENCHMARK(BM_CompleteDump)
    ->Arg(0)
    ->Arg(921600)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

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
