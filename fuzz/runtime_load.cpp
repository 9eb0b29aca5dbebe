// Fuzz target: runtime file bytes through the library's public C interface:
// load, then every query and a few cycles, as a host would call them.
#include <zor2runtime.h>

#include <cstdint>
#include <vector>

#include "fuzz/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = zor2::fuzz::WriteScratch(data, size, ".z2r");
    qxAISystemLoadResult result{};
    qxAISystem_Load(path.c_str(), 0, &result);
    const int32_t inputs = qxAISystem_GetCountSystemInputs();
    const int32_t outputs = qxAISystem_GetCountSystemOutputs();
    std::vector<qxAISystemPortInfo> in(static_cast<size_t>(inputs > 0 ? inputs : 0));
    std::vector<qxAISystemPortInfo> out(static_cast<size_t>(outputs > 0 ? outputs : 0));
    if (!in.empty()) qxAISystem_GetAllSystemInputs(0, in.data());
    if (!out.empty()) qxAISystem_GetAllSystemOutputs(0, out.data());
    std::vector<double> values(4096);
    for (int cycle = 0; cycle < 3; ++cycle) {
        for (const qxAISystemPortInfo& p : in) qxAISystem_SetValue(p.id, cycle + 0.5);
        qxAISystem_Execute();
        for (const qxAISystemPortInfo& p : out) {
            qxAISystemPortInfo info{};
            double scratch = 0.0;
            info.data = &scratch;
            qxAISystem_GetSystemOutputInfo(0, p.id, &info);
            // A host sizes its buffer by the count the information record gives.
            if (info.count >= 0 && static_cast<size_t>(info.count) <= values.size())
                qxAISystem_GetSystemOutputValue(0, p.id, values.data());
        }
    }
    qxAISystem_Unload();
    return 0;
}
