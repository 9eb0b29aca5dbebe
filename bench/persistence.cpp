// Project file and undo cost on a generated project of 10,000 components and
// 20,000 connections (10 modules of 1,000): save, load, load + save, checkpoint.
#include <benchmark/benchmark.h>

#include "designer/undo.h"
#include "engine/system.h"
#include "persistence/project_file.h"

namespace {

using namespace zor2;

/// Each module: a Constant feeding every Add of a chain, each Add fed by the
/// one before it; modules chained through module connections.
void BuildProject(CSystem& system, int modules, int perModule) {
    CNetwork* prev = nullptr;
    for (int m = 0; m < modules; ++m) {
        CNetwork* module = system.CreateModule("Block " + std::to_string(m), 200 * m, 100);
        CNetworkModel* constant = module->CreateComponent(41, 0, "k", 50, 50);
        AddTemplatePorts(*constant);
        CNetworkModel* last = constant;
        for (int i = 1; i < perModule; ++i) {
            CNetworkModel* add = module->CreateComponent(21, 0, "M" + std::to_string(i) + " Add Input Values",
                                                         50 + 80 * (i % 40), 50 + 80 * (i / 40));
            AddTemplatePorts(*add);
            module->ConnectOutputToInput(*last->FirstOutput(), *add->AddInput(0));
            module->ConnectOutputToInput(*constant->FirstOutput(), *add->AddInput(0));
            last = add;
        }
        CNetworkOutput* out = module->CreateOutput("sum");
        module->ConnectOutputToModuleOutput(*last->FirstOutput(), *out);
        module->ComputeStages();
        if (prev) {
            CNetworkConnection* link = system.ConnectModules(*prev, *module, prev->m_outputs.Head());
            module->ConnectModuleInputToInput(*link->m_dstInput, *constant->AddInput(0));
        }
        prev = module;
    }
    system.ComputeLevels();
}

struct CProject {
    CProject() {
        BuildProject(system, 10, 1000);
        bytes = SaveProjectBytes(system);
    }
    CSystem system;
    std::vector<uint8_t> bytes;
};

CProject& Project() {
    static CProject project;
    return project;
}

void Describe(benchmark::State& state) {
    size_t connections = 0;
    for (CNetwork* m : Project().system.m_modules) {
        for (CNetworkModel* c : m->m_components)
            for (CModelOutput* o : c->m_outputs) connections += o->m_connections.Size();
        for (CNetworkInput* in : m->m_inputs) connections += in->m_connections.Size();
    }
    state.counters["connections"] = static_cast<double>(connections);
    state.counters["file_kB"] = static_cast<double>(Project().bytes.size()) / 1024.0;
}

void BM_Save10k(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(SaveProjectBytes(Project().system, Project().bytes.size()));
    Describe(state);
}
BENCHMARK(BM_Save10k)->Unit(benchmark::kMillisecond);

void BM_Load10k(benchmark::State& state) {
    CSystem target;
    for (auto _ : state) {
        const CFileResult r = LoadProjectBytes(target, Project().bytes);
        if (!r) state.SkipWithError(r.message.c_str());
    }
    Describe(state);
}
BENCHMARK(BM_Load10k)->Unit(benchmark::kMillisecond);

void BM_LoadAndSave10k(benchmark::State& state) {
    CSystem target;
    for (auto _ : state) {
        const CFileResult r = LoadProjectBytes(target, Project().bytes);
        if (!r) state.SkipWithError(r.message.c_str());
        benchmark::DoNotOptimize(SaveProjectBytes(target, Project().bytes.size()));
    }
    Describe(state);
}
BENCHMARK(BM_LoadAndSave10k)->Unit(benchmark::kMillisecond);

void BM_CheckPoint10k(benchmark::State& state) {
    CSystemUndo undo(Project().system);
    for (auto _ : state) undo.CheckPoint();
    Describe(state);
}
BENCHMARK(BM_CheckPoint10k)->Unit(benchmark::kMillisecond);

}  // namespace
