#include "ui/main/window/import_lines.h"

#include "core/messages.h"
#include "link/dump_list.h"
#include "link/serial_log.h"
#include "ui/main/window/window_colours.h"

#include <array>

namespace tq {

namespace {

using Serial = ImportLineIds::SerialLines;

// In the order of the LogFamily values.
const std::array<ImportLineIds, 7> kImportLines{{
    {LogFamily::IntervalTrend, 5418, 5419, 5420, 5421, 5443, Serial::Messages, 5523, 5525, 5526,
     5527, true},
    {LogFamily::Snapshot, 5467, 5468, 5469, 5470, 5471, Serial::SnapshotText, 0, 0, 0, 0, false},
    {LogFamily::AlarmTrend, 5423, 5424, 5425, 5426, 5444, Serial::Messages, 5530, 5531, 5532, 5533,
     true},
    {LogFamily::AlarmEvent, 5447, 5448, 5449, 5450, 5451, Serial::Messages, 5571, 5573, 5574, 5575,
     false},
    {LogFamily::TroubleEvent, 5452, 5453, 5454, 5455, 5456, Serial::Messages, 5577, 5579, 5580,
     5581, false},
    {LogFamily::History, 0, 0, 0, 0, 0, Serial::None, 0, 0, 0, 0, true},
    {LogFamily::PowerEvent, 5457, 5458, 5459, 5460, 5461, Serial::Messages, 5583, 5585, 5586, 5587,
     false},
}};

} // namespace

const ImportLineIds &ImportLinesOf(LogFamily family) {
    return kImportLines.at(std::size_t(family));
}

ImportLineWriter::ImportLineWriter(Sinks sinks) : m_sinks(std::move(sinks)) {}

void ImportLineWriter::importStarted(const FamilyImport &import) {
    m_start = m_sinks.now();
    const ImportLineIds &ids = ImportLinesOf(import.family);
    if (ids.silent())
        return;
    m_sinks.screen(LoadMessage(ids.start), kLogGreen);
    if (ids.serial == Serial::Messages)
        m_sinks.serialLog(DatedLogLine(ids.logStart, m_start));
    else if (ids.serial == Serial::SnapshotText)
        m_sinks.serialLog(QStringLiteral("Snap Shot start ") + m_start.generalDate());
}

void ImportLineWriter::storingStarted(const FamilyImport &import, qint64) {
    const ImportLineIds &ids = ImportLinesOf(import.family);
    if (!ids.silent())
        m_sinks.screen(LoadMessage(ids.storing), kLogGreen);
}

void ImportLineWriter::importFinished(const ImportOutcome &outcome) {
    const ImportLineIds &ids = ImportLinesOf(outcome.family);
    if (outcome.result == ImportResult::Failed) {
        failedLines(ids, outcome);
        return;
    }
    if (!ids.silent())
        finishedLines(ids, outcome);
}

void ImportLineWriter::finishedLines(const ImportLineIds &ids, const ImportOutcome &outcome) {
    if (outcome.result == ImportResult::NoData)
        m_sinks.screen(LoadMessage(ids.noData), kLogNoData);
    else
        m_sinks.screen(LoadMessage(ids.complete), kLogGreen);
    const Date now = m_sinks.now();
    if (ids.serial == Serial::Messages)
        m_sinks.serialLog(TimedLogLine(ids.logFinished, m_start, now));
    else if (ids.serial == Serial::SnapshotText)
        m_sinks.serialLog(QStringLiteral("Snap Shot finished[Time =") + ElapsedText(m_start, now) +
                          QStringLiteral("]"));
}

void ImportLineWriter::failedLines(const ImportLineIds &ids, const ImportOutcome &outcome) {
    // What went wrong inside the import goes to the serial log, also for the silent one.
    for (const QString &error : outcome.errors)
        m_sinks.serialLog(error);
    if (ids.silent())
        return;
    if (m_sinks.cancelled()) {
        m_sinks.screen(LoadMessage(5462), kLogRed);
        m_sinks.serialLog(DatedLogLine(5589, m_sinks.now()));
        return;
    }
    m_sinks.screen(LoadMessage(ids.failed), kLogRed);
    if (ids.serial != Serial::Messages)
        return;
    m_sinks.serialLog(LoadMessage(ids.logFailHeading));
    m_sinks.serialLog(outcome.failLine + QStringLiteral("\r\n"));
    m_sinks.serialLog(TimedLogLine(ids.logFailed, m_start, m_sinks.now()));
}

} // namespace tq
