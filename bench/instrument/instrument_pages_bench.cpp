// The instrument pages' figures, measured once per run (run it several times for the
// spread):
//   instrument_pages_bench list     10,000 latest calibrations: each view filled, and a
//                                   delete with the refill after it
//   instrument_pages_bench upload   every setting and 256 station names written to the
//                                   detector simulator (unpaced) by the Set page's Update
#include "core/database.h"
#include "core/gui/flex_grid.h"
#include "core/gui/twips.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "link/simulator.h"
#include "ui/instrument/latest_cal_page.h"
#include "ui/main/window/frmMain.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace tq;

constexpr int kEntries = 10000;

void addEntries(const QString &databasePath) {
    Database db(databasePath);
    Transaction transaction(db);
    const Date now = Date::now();
    for (int n = 0; n < kEntries; ++n)
        db.execute(QStringLiteral("INSERT INTO cLatestHist (SeqNo, SerialNo, UserID, StationID, "
                                  "WriteDates, CalLimit, Gas1Name, Gas1Point, Gas1Enable, "
                                  "Gas1CalDate, Gas1Before, Gas1After, Gas1AutoCal) VALUES "
                                  "(?, ?, 'USER', 'ST', ?, 90, 'CO', 1, 1, ?, 48.5, 50, 50)"),
                   {n + 1, QStringLiteral("SN%1").arg(n), DateParam(now.addDays(-n % 200)),
                    DateParam(now.addDays(-(n % 120)))});
    transaction.commit();
}

int list(int argc, char **argv) {
    QApplication app(argc, argv);
    QTemporaryDir folder;
    qputenv("TQ6200_MESSAGE_LOG", folder.filePath(QStringLiteral("boxes.log")).toUtf8());
    Globals().DatabasePath = folder.filePath(QStringLiteral("TQ6200.mdb"));
    Globals().LimitDays = 7;
    CreateLogDatabase(Globals().DatabasePath);
    addEntries(Globals().DatabasePath);

    QWidget window;
    auto *frame = new QGroupBox(&window);
    frame->resize(1000, 600);
    LatestCalPage page(frame, {[] { return true; }, {}});
    page.layOut(PixelsToTwipsX(1000), PixelsToTwipsY(600), LoadMessage(101));
    window.resize(1000, 600);
    window.show();
    QApplication::processEvents();

    const char *names[] = {"Need Calibration", "Calibration Date", "Calibration Record"};
    QElapsedTimer clock;
    for (int view = 0; view < 3; ++view) {
        page.optHistory[std::size_t(view)]->setChecked(true);
        clock.start();
        page.ShowLatestCalList();
        QApplication::processEvents();
        std::printf("%-20s %5d rows  %6lld ms\n", names[view], page.vfgHistory->Rows() - 1,
                    clock.elapsed());
    }
    const LatestCalibration first = ReadLatestCalibrations(Globals().DatabasePath).first();
    clock.start();
    DeleteLatestCalibration(Globals().DatabasePath, first);
    page.ShowLatestCalList();
    QApplication::processEvents();
    std::printf("%-20s %5d rows  %6lld ms\n", "delete and refill", page.vfgHistory->Rows() - 1,
                clock.elapsed());
    return 0;
}

int upload(int argc, char **argv) {
    QApplication app(argc, argv);
    const bool count = qEnvironmentVariableIsSet("TQ_BENCH_COUNT"); // the writes, slower
    test::Simulator simulator({}, count ? test::Simulator::State::Kept
                                        : test::Simulator::State::NotKept);
    if (simulator.device().isEmpty())
        return 1;
    qputenv("TQ6200_SERIAL_PORT", simulator.device().toLocal8Bit());
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    qputenv("TQ6200_MESSAGE_LOG", folder.filePath(QStringLiteral("boxes.log")).toUtf8());
    frmMain window;
    if (window.Form_Load() != frmMain::LoadResult::Loaded)
        return 1;
    window.show();
    const QDeadlineTimer deadline(30000);
    while (!window.uclPV7130().Connected() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!window.uclPV7130().Connected())
        return 1;
    window.downloadCommands().cmdDown_Click(1);
    window.cmdInst_Click(4);
    clsInstrument &instrument = window.LinkInstrument();
    instrument.SetChangeFlags(true);
    for (qint16 n = 0; n < clsInstrument::kStationCount; ++n)
        instrument.setStationList(n, QStringLiteral("STATION %1").arg(n));
    QElapsedTimer clock;
    clock.start();
    window.setPage().cmdOption_Click(0);
    const qint64 ms = clock.elapsed();
    // The boxes tell whether the upload completed (5311) or failed (30301).
    QFile boxes(folder.filePath(QStringLiteral("boxes.log")));
    const QByteArray told = boxes.open(QIODevice::ReadOnly) ? boxes.readAll() : QByteArray();
    std::printf("Update of every setting and 256 station names: %lld ms (%s)\n", ms,
                told.contains("5311\t") ? "complete" : "FAILED");
    if (count)
        std::printf(
            "writes received: %lld\n",
            static_cast<long long>(simulator.commands().filter(QStringLiteral(",W,")).size()));
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("list"))
        return list(argc, argv);
    if (mode == QLatin1String("upload"))
        return upload(argc, argv);
    std::fprintf(stderr, "usage: instrument_pages_bench list | upload\n");
    return 2;
}
