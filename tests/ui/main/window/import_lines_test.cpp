// The lines each import writes on the screen and in the serial log, by family and outcome.
#include "core/messages.h"
#include "link/serial_log.h"
#include "ui/main/window/import_lines.h"
#include "ui/main/window/window_colours.h"

#include <gtest/gtest.h>

namespace tq {
namespace {

const Date kStart = Date::fromParts(2009, 12, 31, 23, 59, 0);
const Date kEnd = Date::fromParts(2009, 12, 31, 23, 59, 42);

struct Recorded {
    std::vector<std::pair<QString, QColor>> screen;
    QStringList serial;
};

struct Outcome {
    ImportResult result;
    qint64 logs;
    bool cancelled = false;
};

// One import of `family` told to the writer; the clock reads kStart at its start and kEnd
// afterwards.
Recorded RunImport(LogFamily family, const Outcome &o) {
    Recorded out;
    Date now = kStart;
    ImportLineWriter writer(
        {[&out](const QString &text, const QColor &color) { out.screen.emplace_back(text, color); },
         [&out](const QString &text) { out.serial << text; }, [&o] { return o.cancelled; },
         [&now] { return now; }});
    const FamilyImport import{family, QStringLiteral("family"), {}};
    writer.importStarted(import);
    now = kEnd;
    if (o.logs > 0)
        writer.storingStarted(import, o.logs);
    ImportOutcome outcome;
    outcome.family = family;
    outcome.result = o.result;
    outcome.logs = o.logs;
    outcome.failLine = QStringLiteral("EE EE 04");
    writer.importFinished(outcome);
    return out;
}

std::pair<QString, QColor> Line(int message, const QColor &color) {
    return {LoadMessage(message), color};
}

struct LinesCase {
    const char *name;
    LogFamily family;
    Outcome outcome;
    std::vector<std::pair<QString, QColor>> screen;
    QStringList serial;
};

TEST(ImportLines, EachOutcomeWritesItsFamilysLines) {
    const QString failLine = QStringLiteral("EE EE 04\r\n");
    const QString elapsed = QStringLiteral("00:00:42");
    const LinesCase cases[] = {
        {"interval trend stored",
         LogFamily::IntervalTrend,
         {ImportResult::Complete, 3},
         {Line(5418, kLogGreen), Line(5419, kLogGreen), Line(5420, kLogGreen)},
         {DatedLogLine(5523, kStart), TimedLogLine(5525, kStart, kEnd)}},
        {"interval trend without data",
         LogFamily::IntervalTrend,
         {ImportResult::NoData, 0},
         {Line(5418, kLogGreen), Line(5443, kLogNoData)},
         {DatedLogLine(5523, kStart), TimedLogLine(5525, kStart, kEnd)}},
        // A failure is shown as a failure, whatever reply had arrived.
        {"interval trend failed after some logs",
         LogFamily::IntervalTrend,
         {ImportResult::Failed, 2},
         {Line(5418, kLogGreen), Line(5419, kLogGreen), Line(5421, kLogRed)},
         {DatedLogLine(5523, kStart), LoadMessage(5526), failLine,
          TimedLogLine(5527, kStart, kEnd)}},
        {"interval trend cancelled",
         LogFamily::IntervalTrend,
         {ImportResult::Failed, 0, true},
         {Line(5418, kLogGreen), Line(5462, kLogRed)},
         {DatedLogLine(5523, kStart), DatedLogLine(5589, kEnd)}},
        {"alarm trend starts with its own text",
         LogFamily::AlarmTrend,
         {ImportResult::Complete, 1},
         {Line(5423, kLogGreen), Line(5424, kLogGreen), Line(5425, kLogGreen)},
         {DatedLogLine(5530, kStart), TimedLogLine(5531, kStart, kEnd)}},
        {"alarm events failed",
         LogFamily::AlarmEvent,
         {ImportResult::Failed, 0},
         {Line(5447, kLogGreen), Line(5450, kLogRed)},
         {DatedLogLine(5571, kStart), LoadMessage(5574), failLine,
          TimedLogLine(5575, kStart, kEnd)}},
        {"trouble events without data",
         LogFamily::TroubleEvent,
         {ImportResult::NoData, 0},
         {Line(5452, kLogGreen), Line(5456, kLogNoData)},
         {DatedLogLine(5577, kStart), TimedLogLine(5579, kStart, kEnd)}},
        {"power events stored",
         LogFamily::PowerEvent,
         {ImportResult::Complete, 1},
         {Line(5457, kLogGreen), Line(5458, kLogGreen), Line(5459, kLogGreen)},
         {DatedLogLine(5583, kStart), TimedLogLine(5585, kStart, kEnd)}},
        {"snapshots stored",
         LogFamily::Snapshot,
         {ImportResult::Complete, 2},
         {Line(5467, kLogGreen), Line(5468, kLogGreen), Line(5469, kLogGreen)},
         {QStringLiteral("Snap Shot start ") + kStart.generalDate(),
          QStringLiteral("Snap Shot finished[Time =") + elapsed + QStringLiteral("]")}},
        {"snapshots failed",
         LogFamily::Snapshot,
         {ImportResult::Failed, 0},
         {Line(5467, kLogGreen), Line(5470, kLogRed)},
         {QStringLiteral("Snap Shot start ") + kStart.generalDate()}},
        {"calibration histories stored", LogFamily::History, {ImportResult::Complete, 1}, {}, {}},
        {"calibration histories failed", LogFamily::History, {ImportResult::Failed, 0}, {}, {}},
    };
    for (const LinesCase &c : cases) {
        SCOPED_TRACE(c.name);
        const Recorded out = RunImport(c.family, c.outcome);
        EXPECT_EQ(out.screen, c.screen);
        EXPECT_EQ(out.serial, c.serial);
    }
}

} // namespace
} // namespace tq
