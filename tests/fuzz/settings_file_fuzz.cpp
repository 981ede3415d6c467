// The settings file, which people and other programs may have edited.
#include "fuzz_support.h"

#include "core/program_state.h"
#include "core/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    tq::fuzz::SetUpOnce();
    const tq::ProgramState before = tq::Globals();
    tq::fuzz::WriteFile(QStringLiteral("TQ6200.ini"), tq::fuzz::Bytes(data, size));
    tq::LoadSettings();
    tq::Globals() = before; // the next input starts from the same values
    return 0;
}
