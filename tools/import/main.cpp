// tq6200-import [IMAGE]: imports a flash-image file (default TQ6200.DAT) into the log
// database of the current folder, which it takes as the program folder, and prints one
// line per import. Exit status 0 when every import was complete or found no data, 1 when
// any failed or a termination signal (SIGINT, SIGTERM, SIGHUP) stopped it, 2 when it could
// not start. A stopped run finishes the log it is storing, prints the imports done and
// leaves the rest for the next run, which skips what is stored already.

#include "core/instrument/clsInstrument.h"
#include "core/program_state.h"
#include "core/settings_file.h"
#include "ui/main/database_lock.h"
#include "ui/main/import_pipeline.h"
#include "ui/main/lock_database.h"
#include "ui/main/termination_signals.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <memory>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitNotStarted = 2;

int notStarted(const QString &why) {
    QTextStream(stderr) << "tq6200-import: " << why << Qt::endl;
    return kExitNotStarted;
}

// Stops the imports when a termination signal arrived; the tool runs no event loop, so the
// run asks for it between logs.
class SignalStop final : public tq::ImportObserver {
public:
    bool stopRequested() override { return tq::TerminationSignals::Requested(); }
};

} // namespace

int main(int argc, char **argv) {
    tq::IgnoreFileSizeSignal();
    QCoreApplication app(argc, argv);
    const tq::TerminationSignals termination;
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 2)
        return notStarted(QStringLiteral("usage: tq6200-import [IMAGE]"));
    const QString image = arguments.size() == 2 ? arguments[1] : QStringLiteral("TQ6200.DAT");

    tq::SetStartupValues(QDir::currentPath());
    tq::LoadSettings();

    if (const QString refusal = tq::CheckImageFile(image); !refusal.isEmpty())
        return notStarted(refusal);

    tq::DatabaseLock lock;
    const tq::LockDatabaseResult locked = tq::LockDatabase(lock);
    if (locked.state != tq::DatabaseLock::State::Locked)
        return notStarted(locked.detail.isEmpty()
                              ? locked.message
                              : locked.message + QLatin1Char(' ') + locked.detail);

    // No detector is connected: every log gets a cleared instrument.
    const auto instrument = std::make_shared<tq::clsInstrument>();
    instrument->ClearDatas();
    SignalStop stop;
    const tq::ImportRun run =
        tq::RunImports(image, instrument, tq::ProgramStoreContext(), tq::ReadImageFile, &stop);
    if (!run.refusal.isEmpty())
        return notStarted(run.refusal);

    QTextStream out(stdout);
    QTextStream err(stderr);
    for (const tq::ImportOutcome &outcome : run.outcomes) {
        out << outcome.name << ": " << tq::ImportResultText(outcome.result) << Qt::endl;
        for (const QString &error : outcome.errors)
            err << outcome.name << ": " << error << Qt::endl;
    }
    if (run.stopped)
        err << "tq6200-import: stopped by a signal after " << run.outcomes.size() << " of "
            << tq::StandardImports().size() << " imports" << Qt::endl;
    return run.EveryImportSucceeded() ? 0 : kExitFailed;
}
