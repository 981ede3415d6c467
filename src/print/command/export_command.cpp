#include "print/command/export_command.h"

#include "core/errors.h"
#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "core/safe_file.h"
#include "graph/uclVtmGraph.h"
#include "print/command/export_naming.h"
#include "print/command/graph_bitmap.h"
#include "print/export/export_sink.h"
#include "print/export/log_checks.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

namespace tq {

namespace {

constexpr qint64 kYieldEveryMs = 50;

// Hands each line on and, once 50 ms have passed since it last did, lets the event loop
// run (paints, timers) without user input: no click can reload the log being written or
// start a second export meanwhile.
class YieldingSink : public ExportSink {
public:
    explicit YieldingSink(ExportSink &inner) : m_inner(inner) { m_clock.start(); }
    void writeLine(const QString &line) override {
        m_inner.writeLine(line);
        if (m_clock.hasExpired(kYieldEveryMs)) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            m_clock.restart();
        }
    }

private:
    ExportSink &m_inner;
    QElapsedTimer m_clock;
};

// The calling window's writing state, from construction to destruction.
class Writing {
public:
    explicit Writing(const ExportHooks &hooks) : m_hooks(hooks) {
        if (m_hooks.started)
            m_hooks.started();
    }
    ~Writing() {
        if (m_hooks.ended)
            m_hooks.ended();
    }
    Writing(const Writing &) = delete;
    Writing &operator=(const Writing &) = delete;

private:
    const ExportHooks &m_hooks;
};

void showFailure(const QString &reason) {
    ShowMessage({30101, LoadMessage(30101, {reason}), LoadMessage(5158), BoxIcon::Critical,
                 BoxButtons::Ok});
}

void saveBitmap(const uclVtmGraph *graph, const QString &path) {
    if (!graph)
        throw TqError(ErrorKind::MissingResource, QStringLiteral("no graph is shown"));
    const QImage image = GraphBitmapImage(*graph);
    WriteWholeFile(path, [&](QIODevice &device) { WriteBitmap(image, device); });
}

} // namespace

ExportOutcome ExportCommand::Run(const ExportSource &source) {
    // A log that cannot be written whole fails before any file is asked for.
    try {
        RequireWritableLog(source.logType, source.logs.interval, source.logs.alarm,
                           source.logs.snapshot);
    } catch (const std::exception &error) {
        showFailure(ErrorText(error));
        if (source.graph)
            source.graph->RedrawShown();
        return ExportOutcome::Failed;
    }
    const bool bitmap = source.graphView && source.logType != 9;
    FileChoice choice;
    choice.folder = ProposedExportName(m_lastExportFile, Globals().AppFolder, bitmap);
    choice.filter = ChooserFilter(LoadMessage(ExportFilterMessage(source.logType, bitmap)));
    choice.filterIndex = 1;
    const ChosenFile chosen = CurrentDialogs().ChooseSaveFile(choice);
    if (chosen.path.isEmpty())
        return ExportOutcome::Cancelled;
    m_filterIndex = chosen.filterIndex;

    ExportOutcome outcome = ExportOutcome::Written;
    const QFileInfo target(chosen.path);
    if (target.exists() && !target.isDir() && !OverwriteConfirmed()) {
        outcome = ExportOutcome::Declined;
    } else {
        try {
            if (bitmap)
                saveBitmap(source.graph, chosen.path);
            else
                writeTable(source, chosen.path);
            m_lastExportFile = chosen.path;
        } catch (const std::exception &error) {
            outcome = ExportOutcome::Failed;
            showFailure(chosen.path + QStringLiteral(": ") + ErrorText(error));
        }
    }
    if (source.graph)
        source.graph->RedrawShown();
    return outcome;
}

void ExportCommand::writeTable(const ExportSource &source, const QString &path) {
    ExportRequest request;
    request.logType = source.logType;
    request.seqNo = source.seqNo;
    request.logs = source.logs;
    request.separator = m_filterIndex == 2 ? QStringLiteral("\t") : QStringLiteral(",");
    request.filterIndex = m_filterIndex;
    request.debugMode = source.debugMode;
    const Writing writing(m_hooks);
    WriteWholeFile(path, [&](QIODevice &device) {
        DeviceSink file(device);
        YieldingSink sink(file);
        WriteExportFile(request, sink);
    });
}

} // namespace tq
