#include "ui/main/family_imports.h"

#include "logs/events/clsAlarmEvents.h"
#include "logs/events/clsHistorys.h"
#include "logs/events/clsPowerEvents.h"
#include "logs/events/clsSnapShots.h"
#include "logs/events/clsTroubleEvents.h"
#include "logs/trend/clsAlarms.h"
#include "logs/trend/clsIntervals.h"

namespace tq {

namespace {

template <typename Collection, auto Store>
std::unique_ptr<FamilyImporter> makeImporter(const StoreContext &store) {
    return std::make_unique<CollectionImporter<Collection, Store>>(store);
}

} // namespace

const QList<FamilyImport> &StandardImports() {
    static const QList<FamilyImport> imports{
        {LogFamily::IntervalTrend, QStringLiteral("interval trend"),
         makeImporter<clsIntervals, &clsInterval::Update>},
        {LogFamily::Snapshot, QStringLiteral("snapshots"),
         makeImporter<clsSnapShots, &clsSnapShot::Update>},
        {LogFamily::AlarmTrend, QStringLiteral("alarm trend"),
         makeImporter<clsAlarms, &clsAlarm::Update>},
        {LogFamily::AlarmEvent, QStringLiteral("alarm events"),
         makeImporter<clsAlarmEvents, &clsAlarmEvent::Update>},
        {LogFamily::TroubleEvent, QStringLiteral("trouble events"),
         makeImporter<clsTroubleEvents, &clsTroubleEvent::Update>},
        {LogFamily::History, QStringLiteral("calibration histories"),
         makeImporter<clsHistorys, &clsHistory::HistoryUpdate>},
        {LogFamily::PowerEvent, QStringLiteral("power events"),
         makeImporter<clsPowerEvents, &clsPowerEvent::Update>},
    };
    return imports;
}

} // namespace tq
