// Runtime cycle cost: qxAISystem_Execute on an exported system of 1,000 components
// (10 modules of arithmetic chains, comparisons, counters and feedback loops) against
// a hand-written C++ function computing the same values in the same order.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zor2runtime.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "components/math/compare.h"
#include "components/utility/timing_kernel.h"
#include "engine/system.h"
#include "persistence/runtime_export.h"

namespace zor2 {
namespace {

constexpr int kModules = 10;
constexpr int kChain = 94;  // + constant, add, feedback, range check, compare, counter = 100 per module
constexpr int kComponents = kModules * (kChain + 6);

/// Operation of chain element i: Add k, Multiply by k, Subtract the module input, Get Max with the counter.
int32_t ChainType(int i) {
    static constexpr int32_t kTypes[4] = {21, 23, 22, 87};
    return kTypes[i % 4];
}
double ConstantOf(int m) {
    return 1.0 + 0.001 * m;
}

class CSilentPrompter final : public IPrompter {
  public:
    EAnswer Ask(std::string_view, EButtons) override { return EAnswer::Yes; }
    void Tell(std::string_view) override {}
    void Beep() override {}
};

/// Builds the system through the engine's connect operations and exports it.
std::string BuildAndExport() {
    static CLcgRandom random(99);
    static CSilentPrompter prompter;
    CSystem system;
    system.SetRandom(&random);
    system.SetPrompter(&prompter);
    CExternalInput* x = system.CreateSystemInput("x", 1);
    CNetworkOutput* upstream = nullptr;
    for (int m = 0; m < kModules; ++m) {
        CNetwork* module = system.CreateModule("M" + std::to_string(m), 0, 0);
        CNetworkInput* in = nullptr;
        if (upstream) {
            in = system.ConnectModules(*upstream->m_owner, *module, upstream, nullptr)->m_dstInput;
        } else {
            in = system.ConnectSystemInput(*x, *module)->m_moduleInput;
        }
        CNetworkModel* k = module->DropComponent(41, 0, 0);
        k->m_value = ConstantOf(m);
        // Counter: count := input + previous count, through a Feedback Flow.
        CNetworkModel* count = module->DropComponent(21, 0, 0);
        CNetworkModel* fb = module->DropComponent(56, 0, 0);
        module->RequestConnectModuleInput(*in, *count, nullptr);
        module->RequestConnect(*count, count->FirstOutput(), *fb, fb->FirstInput());
        module->RequestConnect(*fb, fb->FirstOutput(), *count, nullptr);
        CNetworkModel* prev = count;
        for (int i = 0; i < kChain; ++i) {
            CNetworkModel* c = module->DropComponent(ChainType(i), 0, 0);
            module->RequestConnect(*prev, prev->FirstOutput(), *c, nullptr);
            switch (ChainType(i)) {
                case 22:
                    module->RequestConnectModuleInput(*in, *c, nullptr);
                    break;
                case 87:
                    module->RequestConnect(*count, count->FirstOutput(), *c, nullptr);
                    break;
                default:
                    module->RequestConnect(*k, k->FirstOutput(), *c, nullptr);
                    break;
            }
            prev = c;
        }
        CNetworkModel* range = module->DropComponent(89, 0, 0);
        module->RequestConnect(*prev, prev->FirstOutput(), *range, range->FindInput(10));
        CNetworkOutput* out = module->CreateOutput("out");
        module->RequestConnectToModuleOutput(*prev, prev->FirstOutput(), *out);
        CNetworkOutput* flag = module->CreateOutput("flag");
        module->RequestConnectToModuleOutput(*range, range->FirstOutput(), *flag);
        system.ConnectSystemOutput(*module, *system.CreateSystemOutput("out" + std::to_string(m), 1), out);
        system.ConnectSystemOutput(*module, *system.CreateSystemOutput("flag" + std::to_string(m), 1), flag);
        // Counts the cycles in which the chain ends above 0.
        CNetworkModel* above = module->DropComponent(19, 0, 0);
        static_cast<CModelCompare*>(above)->SetCompareValue(0.0);
        module->RequestConnect(*prev, prev->FirstOutput(), *above, nullptr);
        CNetworkModel* counter = module->DropComponent(kTypeCounterOnEvent, 0, 0);
        module->RequestConnect(*above, above->FirstOutput(), *counter, counter->FirstInput());
        CNetworkOutput* counted = module->CreateOutput("counted");
        module->RequestConnectToModuleOutput(*counter, counter->FirstOutput(), *counted);
        system.ConnectSystemOutput(*module, *system.CreateSystemOutput("count" + std::to_string(m), 1),
                                   counted);
        upstream = out;
    }
    system.ResetSystem();
    const std::string path =
        (std::filesystem::temp_directory_path() / ("zor2_bench_" + std::to_string(::getpid()) + ".z2r"))
            .string();
    if (ExportRuntimeFile(system, path) != 0) return "";
    return path;
}

/// The same computation written by hand: state per module, one pass per cycle.
struct CHandWritten {
    std::array<double, kModules> fbOut{};  // Feedback Flow outputs (previous count)
    std::array<double, kModules> out{};
    std::array<double, kModules> flag{};
    std::array<double, kModules> counted{};

    void Cycle(double x) {
        double in = x;
        for (int m = 0; m < kModules; ++m) {
            const double k = ConstantOf(m);
            const double count = in + fbOut[m];
            double v = count;
            for (int i = 0; i < kChain; ++i) {
                switch (i % 4) {
                    case 0:
                        v = v + k;
                        break;
                    case 1:
                        v = v * k;
                        break;
                    case 2:
                        v = v - in;
                        break;
                    default:
                        v = count > v ? count : v;
                        break;  // Get Max(prev, count): first wins ties
                }
            }
            flag[m] = (-1.0 <= v && v <= 1.0) ? 1.0 : 0.0;
            const bool above = v > 0.0;
            counted[m] = CounterStep(kTypeCounterOnEvent, counted[m], above, false, 0.0).count;
            out[m] = v;
            fbOut[m] = count;
            in = v;
        }
        benchmark::DoNotOptimize(out.data());
    }
};

const std::string& SystemFile() {
    static const std::string path = BuildAndExport();
    return path;
}

/// Time per component per cycle, shown in seconds with an SI prefix (n = nanoseconds).
benchmark::Counter PerComponent(const benchmark::State& state) {
    return benchmark::Counter(static_cast<double>(state.iterations()) * kComponents,
                              benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_RuntimeExecute(benchmark::State& state) {
    qxAISystemLoadResult result{};
    if (SystemFile().empty() || qxAISystem_Load(SystemFile().c_str(), 0, &result) != 1) {
        state.SkipWithError("the exported system did not load");
        return;
    }
    // Both sides must agree before their speed means anything.
    CHandWritten check;
    qxAISystemPortInfo input{};
    qxAISystem_GetAllSystemInputs(0, &input);
    for (int c = 0; c < 5; ++c) {
        qxAISystem_SetValue(input.id, 0.001 * c);
        qxAISystem_Execute();
        check.Cycle(0.001 * c);
    }
    std::vector<qxAISystemPortInfo> outs(static_cast<size_t>(qxAISystem_GetCountSystemOutputs()));
    qxAISystem_GetAllSystemOutputs(0, outs.data());
    for (int m = 0; m < kModules; ++m) {
        if (*outs[3 * m].data != check.out[m] || *outs[3 * m + 1].data != check.flag[m] ||
            *outs[3 * m + 2].data != check.counted[m] || check.counted[m] == 0.0) {
            state.SkipWithError("runtime and hand-written results differ");
            return;
        }
    }
    for (auto _ : state) qxAISystem_Execute();
    state.counters["per_component"] = PerComponent(state);
    qxAISystem_Unload();
}
BENCHMARK(BM_RuntimeExecute);

void BM_HandWritten(benchmark::State& state) {
    CHandWritten h;
    double x = 0.0;
    for (auto _ : state) {
        h.Cycle(x);
        benchmark::DoNotOptimize(x);
    }
    state.counters["per_component"] = PerComponent(state);
}
BENCHMARK(BM_HandWritten);

}  // namespace
}  // namespace zor2
