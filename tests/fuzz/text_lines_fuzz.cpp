// Text record lines as the detector sends its logs: the first byte picks the family's line
// reader and the test mode, the rest is lines ended by LF.
#include "fuzz_support.h"

#include "core/program_state.h"
#include "logs/events/clsAlarmEvents.h"
#include "logs/events/clsHistorys.h"
#include "logs/events/clsPowerEvents.h"
#include "logs/events/clsTroubleEvents.h"
#include "logs/trend/clsAlarms.h"
#include "logs/trend/clsIntervals.h"
#include "logs/trend/interval_text_lines.h"

#include <array>
#include <functional>

namespace {

using namespace tq;
using LineReader = std::function<void(const QStringList &, bool)>;

template <typename Collection> void readLines(const QStringList &lines, bool testFlag) {
    Collection collection;
    collection.setContext(ProgramStoreContext());
    for (const QString &line : lines)
        collection.SetDatas(line, testFlag);
}

const std::array<LineReader, 6> kReaders{{
    [](const QStringList &lines, bool testFlag) {
        clsIntervals collection;
        collection.setContext(ProgramStoreContext());
        IntervalTextLines reader(collection);
        for (const QString &line : lines)
            reader.SetDatas(line, testFlag);
    },
    readLines<clsAlarms>,
    readLines<clsAlarmEvents>,
    readLines<clsTroubleEvents>,
    readLines<clsPowerEvents>,
    [](const QStringList &lines, bool testFlag) {
        clsHistorys collection;
        collection.setContext(ProgramStoreContext());
        for (const QString &line : lines)
            collection.SetDatas(line.size() % 2, line, testFlag);
    },
}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    tq::fuzz::SetUpOnce();
    if (size == 0)
        return 0;
    const QStringList lines =
        QString::fromLatin1(tq::fuzz::Bytes(data + 1, size - 1)).split(QLatin1Char('\n'));
    try {
        kReaders[(data[0] >> 1) % kReaders.size()](lines, data[0] & 1);
    } catch (const tq::TqError &) {
        // A line the decoders refuse by throwing is a handled failure, not a finding.
    }
    return 0;
}
