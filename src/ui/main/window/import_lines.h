#pragma once

#include "core/date.h"
#include "core/log_collection.h"
#include "ui/main/import_pipeline.h"

#include <QColor>
#include <QString>

#include <functional>

namespace tq {

// What one family's import reports, as message ids; 0 where it has no such line.
struct ImportLineIds {
    enum class SerialLines {
        Messages,     // the Log start/finished/fail heading/failed messages
        SnapshotText, // two fixed texts, and nothing on a failure
        None,
    };

    LogFamily family;
    // Screen lines.
    int start = 0;
    int storing = 0;
    int complete = 0;
    int failed = 0;
    int noData = 0;
    // Serial-log lines.
    SerialLines serial = SerialLines::None;
    int logStart = 0;
    int logFinished = 0;
    int logFailHeading = 0;
    int logFailed = 0;
    // A log whose Error flag is set after storing moves the serial log into ErrorLogs.
    bool savesErrorLog = false;

    // The calibration-history import says nothing, on the screen or in the serial log.
    bool silent() const { return start == 0; }
};

// The lines of the import of `family`.
const ImportLineIds &ImportLinesOf(LogFamily family);

// Writes each import's screen and serial-log lines as the imports run. A failed import is
// always shown as its failure, in red.
class ImportLineWriter : public ImportObserver {
public:
    struct Sinks {
        std::function<void(const QString &text, const QColor &color)> screen;
        std::function<void(const QString &text)> serialLog;
        // The link's Cancel: a failed import then reads as cancelled.
        std::function<bool()> cancelled;
        std::function<Date()> now;
    };

    explicit ImportLineWriter(Sinks sinks);

    void importStarted(const FamilyImport &import) override;
    void storingStarted(const FamilyImport &import, qint64 count) override;
    void importFinished(const ImportOutcome &outcome) override;

private:
    void finishedLines(const ImportLineIds &ids, const ImportOutcome &outcome);
    void failedLines(const ImportLineIds &ids, const ImportOutcome &outcome);

    Sinks m_sinks;
    Date m_start;
};

} // namespace tq
