// One cycle of four 1,000-component graphs (arithmetic chains; compare, counter
// and multiply cells; timer, delay and feedback cells; generator, window,
// transform and statistics chains), each run three ways: the runtime through its
// C interface, hand-written C, and the designer's RunCycle.
#include <benchmark/benchmark.h>
#include <zor2runtime.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "graph_builders.h"

namespace zor2::bench {
namespace {

/// A graph's hand-written cycle over its own state.
struct CHand {
    CHandCells cells{};
    CHandTiming timing{};
    CHandSignal signal{};
    std::array<double, kHandModules> out{};
};
using FHandCycle = void (*)(CHand&, double);

struct CGraphCase {
    const char* name;
    FBuildModule build;
    FHandCycle hand;
    // Absolute: the transforms round differently, which shows most in the
    // smallest magnitudes.
    double tolerance = 0.0;
};

const CGraphCase kGraphs[] = {
    {"arith", ArithModule, [](CHand& h, double x) { HandArithCycle(x, h.out.data()); }},
    {"cells", CellsModule, [](CHand& h, double x) { HandCellsCycle(&h.cells, x, h.out.data()); }},
    {"signal", SignalModule, [](CHand& h, double x) { HandSignalCycle(&h.signal, x, h.out.data()); }, 1e-6},
    {"timing", TimingModule,
     [](CHand& h, double x) { HandTimingCycle(&h.timing, HandTickMs(), x, h.out.data()); }},
};

CGraph& GraphOf(const CGraphCase& c) {
    static std::vector<std::unique_ptr<CGraph>> built(std::size(kGraphs));
    std::unique_ptr<CGraph>& g = built[static_cast<size_t>(&c - kGraphs)];
    if (!g) g = Build(c.name, c.build);
    return *g;
}

/// Time per component per cycle, shown in seconds with an SI prefix (n = nanoseconds).
void CountPerComponent(benchmark::State& state, int components) {
    state.counters["per_component"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * components,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

double InputOf(int64_t cycle) {
    return 0.001 * static_cast<double>(cycle % 1000);
}

void RunRuntime(benchmark::State& state, const CGraphCase& c) {
    CGraph& g = GraphOf(c);
    qxAISystemLoadResult result{};
    if (g.exported.empty() || qxAISystem_Load(g.exported.c_str(), 0, &result) != 1) {
        state.SkipWithError("the exported system did not load");
        return;
    }
    qxAISystemPortInfo input{};
    qxAISystem_GetAllSystemInputs(0, &input);
    std::vector<qxAISystemPortInfo> outs(static_cast<size_t>(qxAISystem_GetCountSystemOutputs()));
    qxAISystem_GetAllSystemOutputs(0, outs.data());
    // Both sides must agree before their speed means anything.
    CHand check;
    for (int cycle = 0; cycle < 64; ++cycle) {
        qxAISystem_SetValue(input.id, InputOf(cycle));
        qxAISystem_Execute();
        c.hand(check, InputOf(cycle));
        for (int m = 0; m < kHandModules; ++m) {
            const double got = *outs[static_cast<size_t>(m)].data;
            const double want = check.out[static_cast<size_t>(m)];
            if (!(got == want || std::fabs(got - want) <= c.tolerance)) {
                state.SkipWithError("runtime and hand-written results differ");
                qxAISystem_Unload();
                return;
            }
        }
    }
    int64_t cycle = 0;
    for (auto _ : state) {
        qxAISystem_SetValue(input.id, InputOf(cycle++));
        qxAISystem_Execute();
    }
    CountPerComponent(state, g.components);
    qxAISystem_Unload();
}

void RunHand(benchmark::State& state, const CGraphCase& c) {
    CHand h;
    int64_t cycle = 0;
    for (auto _ : state) {
        c.hand(h, InputOf(cycle++));
        benchmark::DoNotOptimize(h.out.data());
    }
    CountPerComponent(state, GraphOf(c).components);
}

void RunDesigner(benchmark::State& state, const CGraphCase& c) {
    CGraph& g = GraphOf(c);
    g.system.ResetSystem();
    int64_t cycle = 0;
    for (auto _ : state) {
        g.x->m_value = InputOf(cycle++);
        g.system.RunCycle();
    }
    CountPerComponent(state, g.components);
}

// The summary takes the fastest repetition: what other work on the machine adds
// only ever slows a run down.
constexpr int kRepetitions = 5;

const bool kRegistered = [] {
    for (const CGraphCase& c : kGraphs) {
        const CGraphCase* p = &c;
        benchmark::RegisterBenchmark((std::string("runtime/") + c.name).c_str(), [p](benchmark::State& s) {
            RunRuntime(s, *p);
        })->Repetitions(kRepetitions);
        benchmark::RegisterBenchmark((std::string("hand_c/") + c.name).c_str(), [p](benchmark::State& s) {
            RunHand(s, *p);
        })->Repetitions(kRepetitions);
        benchmark::RegisterBenchmark((std::string("designer/") + c.name).c_str(), [p](benchmark::State& s) {
            RunDesigner(s, *p);
        })->Repetitions(kRepetitions);
    }
    return true;
}();

}  // namespace
}  // namespace zor2::bench
