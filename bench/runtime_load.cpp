// Runtime load cost: qxAISystem_Load of an exported system of 10,000 components
// (100 modules of 100 wired arithmetic components, each module fed by the one before).
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zor2runtime.h>

#include <filesystem>
#include <string>

#include "engine/system.h"
#include "persistence/runtime_export.h"

namespace zor2 {
namespace {

constexpr int kModules = 100;
constexpr int kPerModule = 100;

/// Builds the system through the engine's connect operations and exports it.
std::string BuildAndExport() {
    static CLcgRandom random(7);
    CSystem system;
    system.SetRandom(&random);
    CExternalInput* x = system.CreateSystemInput("x", 1);
    CNetworkOutput* upstream = nullptr;
    for (int m = 0; m < kModules; ++m) {
        CNetwork* module = system.CreateModule("M" + std::to_string(m), 0, 0);
        CNetworkInput* in = upstream
                                ? system.ConnectModules(*upstream->m_owner, *module, upstream)->m_dstInput
                                : system.ConnectSystemInput(*x, *module)->m_moduleInput;
        CNetworkModel* k = module->DropComponent(41, 0, 0);
        CNetworkModel* prev = module->DropComponent(21, 0, 0);
        module->RequestConnectModuleInput(*in, *prev, nullptr);
        for (int i = 2; i < kPerModule; ++i) {
            CNetworkModel* c = module->DropComponent(i % 2 ? 21 : 23, 0, 0);
            module->RequestConnect(*prev, prev->FirstOutput(), *c, nullptr);
            module->RequestConnect(*k, k->FirstOutput(), *c, nullptr);
            prev = c;
        }
        upstream = module->CreateOutput("out");
        module->RequestConnectToModuleOutput(*prev, prev->FirstOutput(), *upstream);
        system.ConnectSystemOutput(*module, *system.CreateSystemOutput("out" + std::to_string(m), 1),
                                   upstream);
    }
    const std::string path =
        (std::filesystem::temp_directory_path() / ("zor2_bench_load_" + std::to_string(::getpid()) + ".z2r"))
            .string();
    return ExportRuntimeFile(system, path) == 0 ? path : "";
}

void BM_RuntimeLoad10k(benchmark::State& state) {
    const std::string path = BuildAndExport();
    if (path.empty()) {
        state.SkipWithError("export failed");
        return;
    }
    for (auto _ : state) {
        if (qxAISystem_Load(path.c_str(), 0, nullptr) != 1) {
            state.SkipWithError("load failed");
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    qxAISystem_Unload();
    std::filesystem::remove(path);
}
BENCHMARK(BM_RuntimeLoad10k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zor2
