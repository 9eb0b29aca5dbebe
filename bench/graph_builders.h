// The graphs the benchmarks share, built through the engine's connect
// operations: per module one constant or timer head and chains of cells.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "components/decision/feedback_kernel.h"
#include "components/math/compare.h"
#include "components/math/compare_kernel.h"
#include "components/math/math_kernel.h"
#include "components/signals/signal.h"
#include "components/signals/fft_mfcc.h"
#include "components/utility/constant.h"
#include "components/utility/timing_kernel.h"
#include "engine/system.h"
#include "graphs_hand.h"
#include "persistence/runtime_export.h"

namespace zor2::bench {

/// A file name of this process in the temporary folder.
inline std::string BenchTempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("zor2_bench_" + std::to_string(::getpid()) + "_" + name))
        .string();
}

class CSilentPrompter final : public IPrompter {
  public:
    EAnswer Ask(std::string_view, EButtons) override { return EAnswer::Yes; }
    void Tell(std::string_view) override {}
    void Beep() override {}
};

/// Builds module m's components from its input; returns the component whose
/// first output becomes the module's output.
using FBuildModule = std::function<CNetworkModel*(CNetwork&, CNetworkInput&, int)>;

/// Drops the next component of a module on a grid of 40 columns, in list order.
inline CNetworkModel* Drop(CNetwork& module, int32_t type) {
    const auto n = static_cast<int32_t>(module.m_components.Size());
    return module.DropComponent(type, 40 + (n % 40) * 110, 60 + (n / 40) * 120);
}
inline void Wire(CNetwork& module, CNetworkModel& from, CNetworkModel& to, CModelInput* in = nullptr) {
    module.RequestConnect(from, from.FirstOutput(), to, in);
}

inline CNetworkModel* ArithModule(CNetwork& module, CNetworkInput& in, int m) {
    CNetworkModel* k = Drop(module, kTypeConstant);
    k->m_value = HandArithK(m);
    CNetworkModel* prev = nullptr;
    static constexpr int32_t kOps[3] = {kMathAdd, kMathMultiply, kMathSubtract};
    for (int i = 0; i < kHandArithChain; ++i) {
        CNetworkModel* c = Drop(module, kOps[i % 3]);
        if (prev) {
            Wire(module, *prev, *c);
        } else {
            module.RequestConnectModuleInput(in, *c, nullptr);
        }
        if (kOps[i % 3] == kMathSubtract) {
            module.RequestConnectModuleInput(in, *c, nullptr);
        } else {
            Wire(module, *k, *c);
        }
        prev = c;
    }
    return prev;
}

inline CNetworkModel* CellsModule(CNetwork& module, CNetworkInput& in, int m) {
    CNetworkModel* k = Drop(module, kTypeConstant);
    k->m_value = HandCellsK(m);
    CNetworkModel* prev = nullptr;
    for (int i = 0; i < kHandCells; ++i) {
        auto* above = static_cast<CModelCompare*>(Drop(module, kCompareConstantGreater));
        above->SetCompareValue(kHandCompareValue);
        if (prev) {
            Wire(module, *prev, *above);
        } else {
            module.RequestConnectModuleInput(in, *above, nullptr);
        }
        CNetworkModel* counter = Drop(module, kTypeCounterOnEvent);
        Wire(module, *above, *counter, counter->FirstInput());
        CNetworkModel* times = Drop(module, kMathMultiply);
        Wire(module, *counter, *times);
        Wire(module, *k, *times);
        prev = times;
    }
    return prev;
}

inline CNetworkModel* TimingModule(CNetwork& module, CNetworkInput& in, int) {
    CNetworkModel* zero = Drop(module, kTypeConstant);
    zero->m_value = 0.0;
    CNetworkModel* timer = Drop(module, kTypeTimer);
    Wire(module, *zero, *timer, timer->FindInput(20));
    CNetworkModel* prev = Drop(module, kMathAdd);
    module.RequestConnectModuleInput(in, *prev, nullptr);
    Wire(module, *timer, *prev);
    for (int i = 0; i < kHandDelayCells; ++i) {
        CNetworkModel* delay = Drop(module, kTypeDelay);
        Wire(module, *prev, *delay, delay->FirstInput());
        CNetworkModel* feedback = Drop(module, kTypeFeedbackFlow);
        Wire(module, *delay, *feedback, feedback->FirstInput());
        CNetworkModel* minus = Drop(module, kMathSubtract);
        Wire(module, *delay, *minus);
        Wire(module, *feedback, *minus);
        prev = minus;
    }
    return prev;
}

inline CNetworkModel* SignalModule(CNetwork& module, CNetworkInput& in, int) {
    CNetworkModel* stats = nullptr;
    for (int c = 0; c < kHandSignalChains; ++c) {
        auto* generator = static_cast<CModelSignalGen*>(Drop(module, kTypeSignalGen));
        CSignalGenParams params = generator->Params();
        params.frameSize = kHandSignalFrame;
        generator->SetParams(params);
        module.RequestConnectModuleInput(in, *generator, generator->FirstInput());
        CNetworkModel* window = Drop(module, kTypeSignalWindow);
        Wire(module, *generator, *window, window->FirstInput());
        CNetworkModel* fft = Drop(module, kTypeSignalFft);
        Wire(module, *window, *fft, fft->FirstInput());
        stats = Drop(module, kTypeSignalStats);
        module.RequestConnect(*fft, fft->FindOutput(20), *stats, stats->FirstInput());
    }
    return stats;
}

/// A graph built through the engine's connect operations, kept for the designer
/// runs, and its export for the runtime runs.
struct CGraph {
    CSystem system;
    CExternalInput* x = nullptr;
    std::vector<CExternalOutput*> outs;
    std::string exported;
    int components = 0;
};

/// `modules` modules of `buildModule`, each fed by the one before; exported
/// under a name of `name` unless `name` is null.
inline std::unique_ptr<CGraph> Build(const char* name, const FBuildModule& buildModule,
                                     int modules = kHandModules) {
    static CLcgRandom random(99);
    static CSilentPrompter prompter;
    auto g = std::make_unique<CGraph>();
    CSystem& system = g->system;
    system.SetRandom(&random);
    system.SetPrompter(&prompter);
    system.m_behaviorsEnabled = false;
    g->x = system.CreateSystemInput("x", 1);
    CNetworkOutput* upstream = nullptr;
    for (int m = 0; m < modules; ++m) {
        CNetwork* module = system.CreateModule("M" + std::to_string(m), 0, 0);
        CNetworkInput* in =
            upstream ? system.ConnectModules(*upstream->m_owner, *module, upstream, nullptr)->m_dstInput
                     : system.ConnectSystemInput(*g->x, *module)->m_moduleInput;
        CNetworkModel* last = buildModule(*module, *in, m);
        CNetworkOutput* out = module->CreateOutput("out");
        module->RequestConnectToModuleOutput(*last, last->FirstOutput(), *out);
        g->outs.push_back(system.CreateSystemOutput("out" + std::to_string(m), 1));
        system.ConnectSystemOutput(*module, *g->outs.back(), out);
        g->components += static_cast<int>(module->m_components.Size());
        upstream = out;
    }
    system.ResetSystem();
    if (!name) return g;
    g->exported = BenchTempPath(std::string(name) + ".z2r");
    if (ExportRuntimeFile(system, g->exported) != 0) g->exported.clear();
    return g;
}

}  // namespace zor2::bench
