#pragma once

#include "core/instrument/clsInstrument.h"
#include "core/log_collection.h"
#include "core/store_context.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace tq {

// One import's hold on a fresh collection of its family: the collection to hand the image
// to, then its log objects, stored one at a time.
class FamilyImporter {
public:
    virtual ~FamilyImporter() = default;
    virtual LogCollection &collection() = 0;
    // The log objects the collection holds.
    virtual qint64 count() const = 0;
    // Gives the log at position (1..count) the instrument and stores it in its own
    // transaction; a failure throws.
    virtual void store(qint64 position, const std::shared_ptr<clsInstrument> &instrument) = 0;
    // The log's Error flag after storing.
    virtual bool logError(qint64 position) const = 0;
    // The collection's FailLine (the lines its reading rejected).
    virtual QString failLine() const = 0;
};

// The importer of a collection class whose logs are stored by the member Store (Update,
// or HistoryUpdate for the histories).
template <typename Collection, auto Store> class CollectionImporter final : public FamilyImporter {
public:
    explicit CollectionImporter(const StoreContext &store) { m_collection.setContext(store); }
    LogCollection &collection() override { return m_collection; }
    qint64 count() const override { return m_collection.Count(); }
    void store(qint64 position, const std::shared_ptr<clsInstrument> &instrument) override {
        const auto log = m_collection.Item(position);
        log->setInstrument(instrument);
        std::invoke(Store, *log);
    }
    bool logError(qint64 position) const override { return m_collection.Item(position)->Error(); }
    QString failLine() const override { return m_collection.FailLine(); }

private:
    Collection m_collection;
};

// One of the imports of a download.
struct FamilyImport {
    LogFamily family;
    QString name; // as the import tool prints it
    // A fresh importer for one import, whose logs are decoded for and stored in store.
    std::function<std::unique_ptr<FamilyImporter>(const StoreContext &store)> make;
};

// The seven imports in the order the download runs them: interval trend, snapshots, alarm
// trend, alarm events, trouble events, calibration histories, power events.
const QList<FamilyImport> &StandardImports();

} // namespace tq
