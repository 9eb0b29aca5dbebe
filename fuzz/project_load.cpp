// Fuzz target: project file bytes. Whatever loads must run a cycle and save
// back to bytes that load and save again to the same bytes.
#include <cstdint>
#include <cstdlib>

#include "engine/system.h"
#include "persistence/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zor2;
    CSystem system;
    if (!LoadProjectBytes(system, data, size)) return 0;
    system.RunCycle();
    const std::vector<uint8_t> saved = SaveProjectBytes(system);
    CSystem again;
    if (!LoadProjectBytes(again, saved)) std::abort();
    if (SaveProjectBytes(again) != saved) std::abort();
    return 0;
}
