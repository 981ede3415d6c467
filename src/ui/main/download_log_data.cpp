// The logger download: the flash image into the dump file, then the seven imports through
// the same pipeline the import tool runs, with their lines on the screen and in the log.
#include "core/errors.h"
#include "core/gui/dialogs.h"
#include "core/instrument/clsInstrument.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "link/serial_log.h"
#include "link/uclPvif.h"
#include "ui/main/download_commands.h"
#include "ui/main/import_pipeline.h"
#include "ui/main/window/busy_state.h"
#include "ui/main/window/import_lines.h"
#include "ui/main/window/serial_log_files.h"

#include <QCoreApplication>

namespace tq {

namespace {

inline const QString kOneMoreTime = QStringLiteral("One more time !");

// The import lines of the main window, which also marks the log tree stale and keeps the
// serial log of an import that met a decoding error.
class WindowImportLines final : public ImportLineWriter {
public:
    explicit WindowImportLines(DownloadCommands &commands)
        : ImportLineWriter({commands.hooks().addCommLogLine,
                            [&commands](const QString &text) { commands.link().AddLog(text); },
                            [&commands] { return commands.link().Cancel(); },
                            [] { return Now(); }}),
          m_commands(commands) {}

    // The event loop runs only in the readings' progress calls: a termination signal is
    // asked for directly.
    bool stopRequested() override { return m_commands.hooks().closingOnSignal(); }
    // The window stays live while the interval-trend ring is read.
    void readingProgress() override { QCoreApplication::processEvents(); }

    void importFinished(const ImportOutcome &outcome) override {
        ImportLineWriter::importFinished(outcome);
        const ImportLineIds &ids = ImportLinesOf(outcome.family);
        // Every family stores logs that the tree shows, calibration histories and power
        // events too.
        m_commands.hooks().markLogTreeStale();
        if (ids.savesErrorLog && outcome.logErrorSeen)
            keepSerialLog();
    }

private:
    void keepSerialLog() {
        try {
            SaveErrorLog(Globals().AppFolder, Now());
        } catch (const TqError &e) {
            m_commands.link().AddLog(e.message());
        }
    }

    DownloadCommands &m_commands;
};

// A failure that stops the run, on the screen in red and in the serial log.
void ReportFailure(DownloadCommands &commands, const QString &text) {
    commands.hooks().addCommLogLine(text, kLogRed);
    commands.link().AddLog(text);
}

// The seven imports on the dump file; the run, for whether all of them succeeded.
ImportRun ImportDumpFile(DownloadCommands &commands, const clsInstrument &linkInstrument) {
    WindowImportLines lines(commands);
    // The logs take a copy of the detector's identity as it was read.
    const auto instrument = std::make_shared<clsInstrument>(linkInstrument);
    const ImageReader reader = [&commands](LogCollection &collection, const QString &path) {
        return commands.link().ReadBinDump(&collection, path);
    };
    ImportRun run =
        RunImports(commands.DumpFile(), instrument, ProgramStoreContext(), reader, &lines);
    if (!run.refusal.isEmpty())
        ReportFailure(commands, run.refusal);
    if (!run.flushError.isEmpty())
        ReportFailure(commands, run.flushError);
    return run;
}

// One download of the flash image into the dump file. A dump file that cannot be written
// is a failure of the download, not of the program.
bool DownloadImage(uclPvif &link, const QString &dumpFile) {
    try {
        return Globals().CompletelyRead ? link.GetBinDump(dumpFile, 0, 1023)
                                        : link.GetFastBinDump(dumpFile);
    } catch (const TqError &e) {
        link.AddLog(e.message());
        link.setBinaryRetry(false);
        return false;
    }
}

} // namespace

bool DownloadCommands::DownloadLogData() {
    ProgramState &g = Globals();
    uclPvif &link = m_link;
    m_lastDownloadImportedAll = false;
    m_state = State::Dumping;
    const auto hourglass = m_hooks.hourglass();
    if (!link.Connected()) {
        addLine(LoadMessage(5422), kLogRed);
        link.AddLog(DatedLogLine(5528, Now()));
        return false;
    }
    addLine(LoadMessage(5465), kLogGreen);
    link.AddLog(DatedLogLine(5523, Now()));
    g.WorkState = BusyState::LoggerDownload;
    m_hooks.showProgress(LoadMessage(6056));
    bool downloaded = false;
    for (int attempt = 1; attempt <= 2; ++attempt) {
        downloaded = DownloadImage(link, DumpFile());
        // A stop by the user, or by a termination signal, ends the download without a
        // message of its own.
        if (downloaded || m_hooks.closingOnSignal() || (link.Cancel() && !link.BinaryRetry()))
            break;
        if (!link.BinaryRetry() || attempt == 2) {
            addLine(LoadMessage(5466), kLogRed);
            break;
        }
        // A block timed out: the whole download once more.
        m_hooks.showProgressStatus(kOneMoreTime);
    }
    m_hooks.closeProgress();
    g.WorkState = BusyState::Idle;
    if (downloaded) {
        m_state = State::Importing;
        m_lastDownloadImportedAll = ImportDumpFile(*this, m_linkInstrument).EveryImportSucceeded();
    }
    return downloaded;
}

void DownloadCommands::cmdInportDat_Click() {
    const auto hourglass = m_hooks.hourglass();
    ImportDumpFile(*this, m_linkInstrument);
}

} // namespace tq
