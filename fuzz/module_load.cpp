// Fuzz target: module file bytes, imported into a new project. Whatever is
// imported must export again and import once more.
#include <cstdint>
#include <cstdlib>

#include "engine/system.h"
#include "persistence/module_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zor2;
    CSystem system;
    CNetwork* module = nullptr;
    if (!ImportModuleBytes(system, data, size, &module) || !module) return 0;
    system.RunCycle();
    const std::vector<uint8_t> exported = ExportModuleBytes(*module);
    CSystem again;
    if (!ImportModuleBytes(again, exported.data(), exported.size())) std::abort();
    return 0;
}
