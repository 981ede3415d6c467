// The logger download: the flash image into the dump file, then the seven imports through
// the same pipeline the import tool runs, with their lines on the screen and in the log.
#include "core/errors.h"
#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "link/serial_log.h"
#include "ui/common/hourglass.h"
#include "ui/main/import_pipeline.h"
#include "ui/main/window/busy_state.h"
#include "ui/main/window/download_support.h"
#include "ui/main/window/frmMain.h"
#include "ui/main/window/import_lines.h"
#include "ui/main/window/serial_log_files.h"

#include <QLabel>

namespace tq {

namespace {

inline const QString kOneMoreTime = QStringLiteral("One more time !");

// The import lines of the main window, which also marks the log tree stale and keeps the
// serial log of an import that met a decoding error.
class WindowImportLines final : public ImportLineWriter {
public:
    explicit WindowImportLines(frmMain &window)
        : ImportLineWriter({[&window](const QString &text, const QColor &color) {
                                window.AddCommLogLine(text, color);
                            },
                            [&window](const QString &text) { window.uclPV7130().AddLog(text); },
                            [&window] { return window.uclPV7130().Cancel(); },
                            [] { return Now(); }}),
          m_window(window) {}

    // No event loop runs during the imports: a termination signal is asked for directly.
    bool stopRequested() override { return m_window.ClosingOnSignal(); }

    void importFinished(const ImportOutcome &outcome) override {
        ImportLineWriter::importFinished(outcome);
        const ImportLineIds &ids = ImportLinesOf(outcome.family);
        // Every family stores logs that the tree shows, calibration histories and power
        // events too.
        m_window.setLogTreeStale(true);
        if (ids.savesErrorLog && outcome.logErrorSeen)
            keepSerialLog();
    }

private:
    void keepSerialLog() {
        try {
            SaveErrorLog(Globals().AppFolder, Now());
        } catch (const TqError &e) {
            m_window.uclPV7130().AddLog(e.message());
        }
    }

    frmMain &m_window;
};

// A failure that stops the run, on the screen in red and in the serial log.
void ReportFailure(frmMain &window, const QString &text) {
    window.AddCommLogLine(text, kLogRed);
    window.uclPV7130().AddLog(text);
}

// The seven imports on the dump file; the run, for whether all of them succeeded.
ImportRun ImportDumpFile(frmMain &window) {
    WindowImportLines lines(window);
    // The logs take a copy of the detector's identity as it was read.
    const auto instrument = std::make_shared<clsInstrument>(window.LinkInstrument());
    const ImageReader reader = [&window](LogCollection &collection, const QString &path) {
        return window.uclPV7130().ReadBinDump(&collection, path);
    };
    ImportRun run = RunImports(window.DumpFile(), instrument, reader, &lines);
    if (!run.refusal.isEmpty())
        ReportFailure(window, run.refusal);
    if (!run.flushError.isEmpty())
        ReportFailure(window, run.flushError);
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

bool frmMain::DownloadLogData() {
    ProgramState &g = Globals();
    uclPvif &link = uclPV7130();
    m_lastDownloadImportedAll = false;
    const Hourglass hourglass(*this);
    if (!link.Connected()) {
        AddCommLogLine(LoadMessage(5422), kLogRed);
        link.AddLog(DatedLogLine(5528, Now()));
        return false;
    }
    AddCommLogLine(LoadMessage(5465), kLogGreen);
    link.AddLog(DatedLogLine(5523, Now()));
    g.WorkState = BusyState::LoggerDownload;
    m_upload.SetTitle(LoadMessage(6056));
    m_upload.Show();
    bool downloaded = false;
    for (int attempt = 1; attempt <= 2; ++attempt) {
        downloaded = DownloadImage(link, DumpFile());
        // A stop by the user, or by a termination signal, ends the download without a
        // message of its own.
        if (downloaded || ClosingOnSignal() || (link.Cancel() && !link.BinaryRetry()))
            break;
        if (!link.BinaryRetry() || attempt == 2) {
            AddCommLogLine(LoadMessage(5466), kLogRed);
            break;
        }
        // A block timed out: the whole download once more.
        if (frmUpload *form = m_upload.Form()) {
            form->ShowStatus(kOneMoreTime);
            form->repaint();
        }
    }
    m_upload.Unload();
    g.WorkState = BusyState::Idle;
    if (downloaded)
        m_lastDownloadImportedAll = ImportDumpFile(*this).EveryImportSucceeded();
    return downloaded;
}

void frmMain::cmdInportDat_Click() {
    const Hourglass hourglass(*this);
    ImportDumpFile(*this);
}

} // namespace tq
