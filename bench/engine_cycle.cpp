// One designer cycle over 10,000 components (10 modules of 1,000 in chains).
#include <benchmark/benchmark.h>

#include "engine/system.h"

namespace {

using namespace zor2;

void BuildChains(CSystem& system, int modules, int perModule) {
    CNetworkOutput* prevOut = nullptr;
    CNetwork* prev = nullptr;
    for (int m = 0; m < modules; ++m) {
        CNetwork* module = system.CreateModule("m", 0, 0);
        CNetworkModel* head = module->CreateComponent(41, 0, "k", 0, 0);
        AddTemplatePorts(*head);
        CNetworkModel* last = head;
        for (int i = 1; i < perModule; ++i) {
            CNetworkModel* c = module->CreateComponent(i % 2 ? 21 : 88, 0, "c", 0, 0);
            AddTemplatePorts(*c);
            CModelInput* in = c->FirstInput() ? c->FirstInput() : c->AddInput(0);
            module->ConnectOutputToInput(*last->FirstOutput(), *in);
            last = c;
        }
        if (prev) {
            CNetworkConnection* link = system.ConnectModules(*prev, *module, prevOut);
            module->ConnectModuleInputToInput(*link->m_dstInput, *head->AddInput(0));
        }
        prevOut = module->CreateOutput("o");
        module->ConnectOutputToModuleOutput(*last->FirstOutput(), *prevOut);
        module->ComputeStages();
        prev = module;
    }
    CExternalOutput* q = system.CreateSystemOutput("q", 1);
    system.ConnectSystemOutput(*prev, *q, prevOut);
    system.ComputeLevels();
}

void BM_RunCycle10k(benchmark::State& state) {
    CSystem system;
    system.m_behaviorsEnabled = false;
    BuildChains(system, 10, 1000);
    system.ResetSystem();
    for (auto _ : state) system.RunCycle();
    state.counters["ns_per_component"] = benchmark::Counter(
        10000.0 * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RunCycle10k)->Unit(benchmark::kMicrosecond);

void BM_ComputeStages1k(benchmark::State& state) {
    CSystem system;
    BuildChains(system, 1, 1000);
    CNetwork* module = system.m_modules.Head();
    for (auto _ : state) module->ComputeStages();
}
BENCHMARK(BM_ComputeStages1k)->Unit(benchmark::kMicrosecond);

}  // namespace
