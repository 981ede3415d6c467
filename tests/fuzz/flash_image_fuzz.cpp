// Flash images: the first byte picks a log family, the rest is that family's area from its
// first byte on, in an otherwise erased image. Each family's reader decodes it.
#include "fuzz_support.h"

#include "core/flash_layout.h"
#include "core/program_state.h"
#include "logs/events/clsAlarmEvents.h"
#include "logs/events/clsHistorys.h"
#include "logs/events/clsPowerEvents.h"
#include "logs/events/clsSnapShots.h"
#include "logs/events/clsTroubleEvents.h"
#include "logs/trend/clsAlarms.h"
#include "logs/trend/clsIntervals.h"
#include "logs/trend/flash_image.h"

#include <array>
#include <functional>

namespace {

using namespace tq;

template <typename Collection> bool decode(const FlashImage &image) {
    Collection collection;
    collection.setContext(ProgramStoreContext());
    return collection.ReadBinaryLog(image);
}

struct Family {
    FlashArea area;
    std::function<bool(const FlashImage &)> read;
};

const std::array<Family, 7> kFamilies{{
    {FlashAreas::IntervalTrend, decode<clsIntervals>},
    {FlashAreas::Snapshots, decode<clsSnapShots>},
    {FlashAreas::AlarmTrend, decode<clsAlarms>},
    {FlashAreas::AlarmEvents, decode<clsAlarmEvents>},
    {FlashAreas::TroubleEvents, decode<clsTroubleEvents>},
    {FlashAreas::Histories, decode<clsHistorys>},
    {FlashAreas::PowerEvents, decode<clsPowerEvents>},
}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    tq::fuzz::SetUpOnce();
    if (size == 0)
        return 0;
    const Family &family = kFamilies[data[0] % kFamilies.size()];
    const qint32 room = family.area.last + 1 - family.area.first;
    QByteArray bytes(kFlashImageSize, char(0xFF));
    const qsizetype count = std::min<qsizetype>(qsizetype(size - 1), room);
    bytes.replace(family.area.first, count, reinterpret_cast<const char *>(data + 1), count);
    family.read(FlashImage::fromBytes(bytes));
    return 0;
}
