// Station list files chosen by the user.
#include "fuzz_support.h"

#include "ui/instrument/rules/station_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    tq::fuzz::SetUpOnce();
    tq::ReadStationFile(
        tq::fuzz::WriteFile(QStringLiteral("stations.txt"), tq::fuzz::Bytes(data, size)));
    return 0;
}
