#include "ui/main/import_pipeline.h"

#include "core/database.h"
#include "core/errors.h"
#include "logs/trend/flash_image.h"

#include <QFileInfo>

#include <exception>
#include <optional>

namespace tq {

namespace {

// The text of the exception being handled.
QString currentErrorText() {
    try {
        throw;
    } catch (const TqError &e) {
        return e.message();
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("unknown failure");
    }
}

bool stopRequested(ImportObserver *observer) {
    return observer && observer->stopRequested();
}

// False when the observer stopped the run before every log was stored.
bool storeAll(FamilyImporter &importer, const std::shared_ptr<clsInstrument> &instrument,
              ImportOutcome &outcome, ImportObserver *observer) {
    for (qint64 position = 1; position <= outcome.logs; ++position) {
        if (stopRequested(observer))
            return false;
        try {
            importer.store(position, instrument);
            outcome.logErrorSeen = importer.logError(position) || outcome.logErrorSeen;
        } catch (...) {
            ++outcome.storeFailures;
            outcome.errors << currentErrorText();
        }
    }
    return true;
}

// The import's outcome; nullopt when the observer stopped it before its end.
std::optional<ImportOutcome> runImport(const FamilyImport &import, const QString &imagePath,
                                       const std::shared_ptr<clsInstrument> &instrument,
                                       const StoreContext &store, const ImageReader &reader,
                                       ImportObserver *observer) {
    ImportOutcome outcome;
    outcome.family = import.family;
    outcome.name = import.name;
    try {
        const std::unique_ptr<FamilyImporter> importer = import.make(store);
        if (observer)
            importer->collection().setProgress([observer] { observer->readingProgress(); });
        outcome.readFailed = !reader(importer->collection(), imagePath);
        outcome.failLine = importer->failLine();
        // The logs decoded before a failed reading stopped are stored all the same.
        outcome.logs = importer->count();
        if (outcome.logs > 0) {
            if (observer)
                observer->storingStarted(import, outcome.logs);
            if (!storeAll(*importer, instrument, outcome, observer))
                return std::nullopt;
        }
    } catch (...) {
        outcome.readFailed = true;
        outcome.errors << currentErrorText();
    }
    if (outcome.readFailed || outcome.storeFailures > 0)
        outcome.result = ImportResult::Failed;
    else
        outcome.result = outcome.logs > 0 ? ImportResult::Complete : ImportResult::NoData;
    return outcome;
}

} // namespace

QString ImportResultText(ImportResult result) {
    switch (result) {
    case ImportResult::Complete:
        return QStringLiteral("complete");
    case ImportResult::NoData:
        return QStringLiteral("no data");
    case ImportResult::Failed:
        break;
    }
    return QStringLiteral("failed");
}

bool ReadImageFile(LogCollection &collection, const QString &imagePath) {
    return collection.ReadBinaryLog(imagePath);
}

bool ImportRun::EveryImportSucceeded() const {
    if (!refusal.isEmpty() || !flushError.isEmpty() || stopped)
        return false;
    for (const ImportOutcome &outcome : outcomes) {
        if (outcome.result == ImportResult::Failed)
            return false;
    }
    return true;
}

QString CheckImageFile(const QString &imagePath) {
    const QFileInfo file(imagePath);
    if (!file.exists())
        return QStringLiteral("%1: no such file").arg(imagePath);
    if (!file.isFile() || !file.isReadable())
        return QStringLiteral("%1: cannot be read").arg(imagePath);
    if (file.size() != kFlashImageSize)
        return QStringLiteral("%1: holds %2 bytes, a flash image has %3")
            .arg(imagePath)
            .arg(file.size())
            .arg(kFlashImageSize);
    return {};
}

ImportRun RunImports(const QString &imagePath, const std::shared_ptr<clsInstrument> &instrument,
                     const StoreContext &store, const ImageReader &reader, ImportObserver *observer,
                     const QList<FamilyImport> &imports) {
    ImportRun run;
    run.refusal = CheckImageFile(imagePath);
    if (!run.refusal.isEmpty())
        return run;
    // One connection held open for the whole run, which every store shares: a log's store
    // opens nothing, its commit waits for no disk flush, and the flush at the end makes
    // them all durable at once.
    std::optional<DatabaseSession> session;
    try {
        session.emplace(store.DatabasePath);
    } catch (const TqError &) {
        // No database: every store reports its own failure.
    }
    for (const FamilyImport &import : imports) {
        if (stopRequested(observer)) {
            run.stopped = true;
            break;
        }
        if (observer)
            observer->importStarted(import);
        const std::optional<ImportOutcome> outcome =
            runImport(import, imagePath, instrument, store, reader, observer);
        if (!outcome) {
            run.stopped = true;
            break;
        }
        run.outcomes << *outcome;
        if (observer)
            observer->importFinished(*outcome);
    }
    if (session) {
        try {
            session->Flush();
        } catch (const TqError &e) {
            run.flushError = e.message();
        }
    }
    return run;
}

} // namespace tq
