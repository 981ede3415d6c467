#pragma once

#include "core/instrument/clsInstrument.h"
#include "core/log_collection.h"
#include "core/store_context.h"
#include "ui/main/family_imports.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace tq {

// How one import ended.
enum class ImportResult {
    Complete, // the area was read and every log found was stored (duplicates skipped)
    NoData,   // the area holds no log
    Failed,   // the reading failed, or a log could not be stored
};

// "complete", "no data" or "failed".
QString ImportResultText(ImportResult result);

struct ImportOutcome {
    LogFamily family = LogFamily::IntervalTrend;
    QString name;
    ImportResult result = ImportResult::NoData;
    bool readFailed = false;   // the collection could not read its area through
    qint64 logs = 0;           // log objects found (stored, duplicate or failed)
    qint64 storeFailures = 0;  // logs whose store failed
    bool logErrorSeen = false; // some log's Error flag was set after its store
    QString failLine;          // the collection's FailLine
    QStringList errors;        // what went wrong, one text per failure
};

// Hands the image file to a collection, as the link control's ReadBinDump does. The
// collection lives for its import only: a reader must not keep it.
using ImageReader = std::function<bool(LogCollection &collection, const QString &imagePath)>;

// The plain hand-over: the collection's own ReadBinaryLog.
bool ReadImageFile(LogCollection &collection, const QString &imagePath);

// Told as the imports go, so a window can show each import's lines as it runs.
class ImportObserver {
public:
    virtual ~ImportObserver() = default;
    virtual void importStarted(const FamilyImport &) {}
    // The read found count logs, which are about to be stored.
    virtual void storingStarted(const FamilyImport &, qint64 /*count*/) {}
    virtual void importFinished(const ImportOutcome &) {}
    // Called as a long reading goes on (each page of the interval-trend ring), so a window
    // can let its events run; the imports run on.
    virtual void readingProgress() {}
    // Asked before each import and before each log is stored: true ends the run there.
    // The log being stored is finished first, so no log is ever half stored.
    virtual bool stopRequested() { return false; }
};

struct ImportRun {
    // Why the image was refused before any import; empty when the imports ran.
    QString refusal;
    // The imports that ran to their end, in order.
    QList<ImportOutcome> outcomes;
    // The observer stopped the run: the imports after the last outcome did not run or were
    // not finished (the logs they stored stay stored).
    bool stopped = false;
    // Why what was stored could not be written through to the disk at the end; empty
    // when it was.
    QString flushError;

    // True when the imports ran and each was complete or found no data: the only case in
    // which the detector's logs may be cleared.
    bool EveryImportSucceeded() const;
};

// Why an image file cannot be imported (missing, unreadable, or not exactly one whole
// flash image); empty when it can.
QString CheckImageFile(const QString &imagePath);

// Runs the imports in order on the image file into store: each creates its family's
// collection, hands it the file through reader, gives every log object the instrument and
// stores it.
// A log whose store fails fails its family's import, and the family's other logs are still
// stored; nothing that goes wrong inside one import stops the next. An image that
// CheckImageFile refuses is not imported at all. The observer may stop the run between
// two logs. Only the observer's own exceptions pass out.
ImportRun RunImports(const QString &imagePath, const std::shared_ptr<clsInstrument> &instrument,
                     const StoreContext &store, const ImageReader &reader = ReadImageFile,
                     ImportObserver *observer = nullptr,
                     const QList<FamilyImport> &imports = StandardImports());

} // namespace tq
