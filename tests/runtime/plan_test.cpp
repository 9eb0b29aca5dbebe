// The compiled cycle against the components' own phases: one file loaded twice,
// once compiled and once with every step calling through, must give bit-identical
// output values after every cycle, on hand-shaped and random systems.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "algo/bytes.h"
#include "algo/platform.h"
#include "components/decision/feedback_rt.h"
#include "runtime/rt_loader.h"
#include "runtime/rt_system.h"
#include "tests/runtime/z2r_builder.h"

namespace zor2::test {
namespace {

std::unique_ptr<CRSystem> LoadSystem(const std::vector<uint8_t>& bytes, bool compile) {
    auto system = std::make_unique<CRSystem>();
    const CRReadResult r = ReadRuntimeSystem(*system, bytes.data(), bytes.size(), 0);
    EXPECT_EQ(r.code, 0) << r.detail << " at byte " << r.offset;
    system->BuildOrder(compile);
    return system;
}

/// What anyone can read after a cycle: every component output, module port and
/// system output value, in file order, and whether each Feedback Flow is primed.
std::vector<double> Observed(const CRSystem& s) {
    std::vector<double> values;
    for (const auto& m : s.m_modules) {
        for (const CRNetworkInput& in : m->m_inputs) values.push_back(in.m_value);
        for (const auto& c : m->m_components) {
            for (const CRModelOutput& out : c->m_outputs) values.push_back(m->OutputValue(out));
            // Whether the module pushes a Feedback Flow's held value before the next cycle.
            if (c->m_type == kTypeFeedbackFlow)
                values.push_back(static_cast<const CRModelFeedback&>(*c).Primed());
        }
        for (const CRNetworkOutput& out : m->m_outputs) values.push_back(out.m_value);
    }
    for (const CRSystemOutput& out : s.m_outputs) values.push_back(out.m_value);
    return values;
}

struct CPlanCounts {
    size_t compiled = 0;
    size_t chained = 0;
    size_t timers = 0;
    size_t feedbacks = 0;
    std::array<size_t, 256> byKind{};
};

CPlanCounts Count(const CRSystem& s) {
    CPlanCounts n;
    for (const auto& m : s.m_modules) {
        for (const CRStep& step : m->Plan().Steps()) {
            if (step.m_kind != kStepCallThrough) ++n.compiled;
            // A Delay and the operation after it in one step hold a chained operation.
            if (step.m_kind >= kStepDelayAdd ||
                (step.m_kind >= kStepAdd && (step.m_kind - kStepAdd) % 2 == 1))
                ++n.chained;
            if (step.m_kind == kStepTimer) ++n.timers;
            if (step.m_kind == kStepFeedback) ++n.feedbacks;
            ++n.byKind[step.m_kind];
        }
    }
    return n;
}

/// The tick both loads see: it moves only between cycles, by a step that lets a
/// Timer of the default 500 ms fire now and then.
class CCycleClock {
  public:
    CCycleClock() { SetDefaultClock(&m_clock); }
    ~CCycleClock() { SetDefaultClock(nullptr); }
    void Next() { m_clock.Advance(173); }

  private:
    CManualClock m_clock;
};

/// Runs both loads of `bytes` for `cycles` cycles, giving every system input a
/// value from a list that holds signed zeros, infinities and NaN (in list order
/// for seed 0); returns the compiled plan's counts. At cycle `rebuildAt` the
/// compiled load builds its plan again, once without compiling and once with.
CPlanCounts RunBoth(const std::vector<uint8_t>& bytes, int cycles, uint32_t seed, int rebuildAt = 0) {
    CCycleClock clock;
    auto compiled = LoadSystem(bytes, true);
    auto callThrough = LoadSystem(bytes, false);
    EXPECT_EQ(Count(*callThrough).compiled, 0u);
    const CPlanCounts counts = Count(*compiled);
    std::mt19937 rng(seed);
    const double choices[] = {0.0,
                              -0.0,
                              1.0,
                              -1.0,
                              0.5,
                              2.25,
                              -3.75,
                              1e-9,
                              7.0,
                              1e300,
                              std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN()};
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        for (size_t i = 0; i < compiled->m_inputs.size(); ++i) {
            // Seed 0 walks the list in order, so every value comes up.
            const double v =
                choices[(seed == 0 ? static_cast<size_t>(cycle) + 5 * i : rng()) % std::size(choices)];
            compiled->m_inputs[i].m_value = v;
            callThrough->m_inputs[i].m_value = v;
        }
        clock.Next();
        if (cycle == rebuildAt) {
            // What the cycle left must carry over into the plan built again.
            compiled->BuildOrder(false);
            compiled->Execute();
            compiled->BuildOrder(true);
            callThrough->Execute();
        }
        compiled->Execute();
        callThrough->Execute();
        const std::vector<double> a = Observed(*compiled);
        const std::vector<double> b = Observed(*callThrough);
        EXPECT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
            // Bit for bit, signed zeros included; a NaN's sign and payload follow
            // the order the compiler gives the operands, on either path.
            const bool same =
                std::memcmp(&a[i], &b[i], sizeof(double)) == 0 || (std::isnan(a[i]) && std::isnan(b[i]));
            EXPECT_TRUE(same) << "cycle " << cycle << " value " << i << ": compiled " << a[i]
                              << ", called through " << b[i];
        }
    }
    return counts;
}

ZOutput Out(int32_t id, std::vector<ZConn> conns = {}) {
    return {.id = id, .conns = std::move(conns)};
}

/// One module fed by system input 1 through module input 100: Constant 3 (id 1),
/// then the listed components with ids 2, 3, ...; `wire` names each one's
/// sources in input order: 0 the module input, -1 none, k the first output of
/// component k. The last component goes to system output 9.
struct CChain {
    struct Element {
        int32_t type;
        std::vector<int32_t> sources;
        int32_t stage;
        std::vector<uint8_t> extra = {};  // the record's own fields, where the type has any
    };
    std::vector<Element> elements;

    std::vector<uint8_t> Bytes() const {
        ZSystem s;
        ZModule m{.id = 1, .name = u"M"};
        ZModuleInput mi{.id = 100, .name = u"In", .srcConn = 900, .srcKind = 2};
        m.components.push_back({.id = 1, .type = 41, .value = 3.0, .stage = 1, .outputs = {Out(10)}});
        for (size_t e = 0; e < elements.size(); ++e) {
            ZComponent c{.id = static_cast<int32_t>(e) + 2,
                         .type = elements[e].type,
                         .stage = elements[e].stage,
                         .outputs = {Out(10)}};
            for (size_t k = 0; k < elements[e].sources.size(); ++k)
                c.inputs.push_back({10 * (static_cast<int32_t>(k) + 1)});
            if (c.type >= 15 && c.type <= 20) c.extra = {1, 0, 0, 0, 0, 0, 0, 0, 0};  // compare value 0
            if (!elements[e].extra.empty()) c.extra = elements[e].extra;
            m.components.push_back(c);
        }
        int32_t conn = 1;
        for (size_t e = 0; e < elements.size(); ++e) {
            const int32_t id = static_cast<int32_t>(e) + 2;
            for (size_t k = 0; k < elements[e].sources.size(); ++k) {
                const int32_t inputId = 10 * (static_cast<int32_t>(k) + 1);
                const int32_t src = elements[e].sources[k];
                if (src == 0) {
                    mi.conns.push_back({conn++, 4, 0, id, 0, inputId, 100});
                } else if (src > 0) {
                    m.components[static_cast<size_t>(src) - 1].outputs[0].conns.push_back(
                        {conn++, 3, src, id, 10, inputId, 0});
                }
            }
        }
        m.components.back().outputs[0].conns.push_back({conn, 4, m.components.back().id, 0, 10, 0, 200});
        m.inputs.push_back(mi);
        m.outputs.push_back({.id = 200, .name = u"Out", .srcKind = 4, .srcConn = conn});
        s.modules.push_back(m);
        s.inputs.push_back({.id = 1, .name = u"x", .conns = {{900, 1, 1, 100}}});
        s.outputs.push_back({.id = 9, .name = u"y", .module = 1, .moduleOutput = 200});
        return WriteZ2r(s);
    }
};

/// Cells of a Delay fed by the chain, its Feedback Flow and a Subtract of the two.
const CChain kDelayCells{{{21, {0, 1}, 2},
                          {2, {2, -1}, 3},
                          {56, {3}, 1},
                          {23, {3, 4}, 4},
                          {2, {5, -1}, 5},
                          {56, {6}, 1},
                          {23, {6, 7}, 6}}};

TEST(RuntimePlan, HandShapedChainsMatchTheComponentsOwnPhases) {
    struct Case {
        const char* name;
        CChain chain;
        size_t minChained;  // chained steps the compiled plan must hold
    };
    const Case cases[] = {
        {"every two-input operation chained",
         {{{21, {1, 0}, 2},
           {22, {2, 1}, 3},
           {23, {3, 0}, 4},
           {24, {4, 1}, 5},
           {86, {5, 0}, 6},
           {87, {6, 1}, 7}}},
         5},
        {"previous result as second input only", {{{21, {0, 1}, 2}, {22, {1, 2}, 3}, {23, {0, 3}, 4}}}, 0},
        {"a call-through step between breaks the chain",
         {{{21, {1, 0}, 2}, {90, {2}, 3}, {21, {3, 1}, 4}, {22, {4, 0}, 5}}},
         1},
        {"unconnected inputs keep their value",
         {{{21, {-1, 0}, 2}, {22, {2, -1}, 3}, {23, {3, -1}, 4}, {24, {-1, 4}, 5}}},
         1},
        {"one, three and no inputs",
         {{{21, {0}, 2}, {23, {2}, 3}, {22, {3, 0, 1}, 4}, {86, {}, 5}, {87, {5, 1}, 6}}},
         1},
        {"signed zeros through a sum, fed twice and chained", {{{21, {0, 0}, 2}, {21, {2, 0}, 3}}}, 1},
        {"divide by a zero and by itself",
         {{{22, {0, 0}, 2}, {24, {1, 2}, 3}, {24, {3, 3}, 4}, {24, {4, 0}, 5}}},
         2},
        {"range check with and without its limits",
         {{{89, {0, 1}, 2}, {89, {0}, 3}, {89, {0, -1, 1}, 4}, {21, {4, 3}, 5}, {21, {5, 2}, 6}}},
         2},
        {"self-fed and fed from a later stage", {{{21, {2, 0}, 2}, {22, {0, 4}, 3}, {23, {3, 3}, 4}}}, 1},
        {"equal stages keep list order", {{{21, {1, 0}, 2}, {22, {2, 0}, 2}, {86, {3, 2}, 2}}}, 2},
        {"a counter and a compare between arithmetic",
         {{{21, {1, 0}, 2}, {26, {2}, 3}, {21, {3, 1}, 4}, {19, {4}, 5}, {87, {5, 2}, 6}}},
         0},
        {"a compare counted through the register, with and without a reset input",
         {{{19, {0}, 2}, {26, {2}, 3}, {23, {3, 1}, 4}, {19, {4}, 5}, {25, {5, -1}, 6}, {26, {6, 0}, 7}}},
         1},
        {"delays fed by the chain, by nothing and without their feedback input",
         {{{21, {1, 0}, 2}, {2, {2, -1}, 3}, {2, {-1, -1}, 4}, {2, {3}, 5}, {21, {5, 4}, 6}, {2, {6, 0}, 7}}},
         1},
        {"timers with and without their inputs, switched and delayed by the module input",
         {{{14, {}, 2}, {14, {-1, 0}, 3}, {14, {0, 0}, 4}, {14, {3}, 5}, {21, {5, 4}, 6}, {14, {6, 1}, 7}}},
         1},
        {"feedback flows fed, unfed and in a ring, read by compiled and called-through steps",
         {{{56, {0}, 1}, {56, {}, 1}, {56, {5}, 1}, {21, {2, 4}, 2}, {90, {2}, 3}, {22, {6, 3}, 4}}},
         0},
        {"a delay, its feedback flow and a subtract, as cells in a chain", kDelayCells, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CPlanCounts n = RunBoth(c.chain.Bytes(), 30, 0);
        EXPECT_GE(n.chained, c.minChained);
        EXPECT_GT(n.compiled, 0u);
        SCOPED_TRACE("built again at cycle 11");
        RunBoth(c.chain.Bytes(), 30, 0, 11);
    }
}

TEST(RuntimePlan, StepsTheBuildSpecialisesMatchTheComponentsOwnPhases) {
    struct Case {
        const char* name;
        CChain chain;
        ERStepKind kind;  // the compiled plan must hold `count` steps of it
        size_t count;
    };
    const Case cases[] = {
        {"a delay joined with each two-input operation after it",
         {{{21, {1, 0}, 2},
           {2, {2, -1}, 3},
           {21, {3, 1}, 4},
           {2, {4, -1}, 5},
           {22, {5, 0}, 6},
           {2, {6, -1}, 7},
           {23, {7, 1}, 8},
           {2, {8, -1}, 9},
           {24, {9, 0}, 10},
           {2, {10, -1}, 11},
           {86, {11, 1}, 12},
           {2, {12, -1}, 13},
           {87, {13, 0}, 14}}},
         kStepDelayGetMax,
         1},
        {"joined subtracts reading the delay twice, their own result and the next delay",
         {{{21, {0, 1}, 2},
           {2, {2, -1}, 3},
           {22, {3, 3}, 4},
           {2, {4, -1}, 5},
           {22, {5, 6}, 6},
           {2, {6, 0}, 7}}},
         kStepDelaySubtract,
         2},
        {"feedback flows' copies joined into their delays' steps", kDelayCells, kStepCopies, 1},
        {"a feedback flow read after its delay's step, or by a flow before it, keeps its copy",
         {{{21, {0, 1}, 2},
           {2, {2, -1}, 3},
           {56, {3}, 1},
           {23, {3, 4}, 4},
           {21, {5, 4}, 5},
           {2, {6, -1}, 6},
           {56, {9}, 1},
           {56, {7}, 1},
           {22, {7, 9}, 7}}},
         kStepCopies,
         2},
        {"reverse signs of the register, the module input, nothing and no input",
         {{{21, {1, 0}, 2},
           {88, {2}, 3},
           {88, {3}, 4},
           {88, {0}, 5},
           {88, {-1}, 6},
           {88, {}, 7},
           {21, {7, 4}, 8}}},
         kStepNegateChained,
         2},
        {"valves passing the register, the module input, themselves and nothing",
         {{{21, {1, 0}, 2},
           {9, {0, 2}, 3},
           {9, {3}, 4},
           {9, {1, 0}, 5},
           {9, {-1, 5}, 6},
           {9, {7, 0}, 7},
           {9, {}, 8},
           {22, {8, 5}, 9}}},
         kStepValveChained,
         2},
        {"unary functions of the register, the module input, nothing, no input, disabled, to any power",
         {{{21, {1, 0}, 2, {}},
           {47, {2}, 3, {1}},
           {49, {3}, 4, {1}},
           {48, {4, 0}, 5, {1}},
           {48, {0, -1}, 6, {1}},
           {48, {5}, 7, {1}},
           {47, {-1}, 8, {1}},
           {49, {}, 9, {1}},
           {47, {9}, 10, {0}},
           {48, {0, 1}, 11, {1}},
           {49, {11}, 12, {0}},
           {22, {12, 10}, 13}}},
         kStepPowerChained,
         1},
        {"toggles of one and two poles, flipped by the register, the module input, themselves and nothing",
         {{{21, {1, 0}, 2},
           {10, {2}, 3},
           {11, {3}, 4},
           {11, {0}, 5},
           {10, {6}, 6},
           {11, {-1}, 7},
           {10, {}, 8},
           {21, {8, 5}, 9}}},
         kStepToggleChained,
         2},
        {"a delay without its feedback input is the sum with a zero",
         {{{2, {0}, 2}, {2, {2}, 3}, {2, {}, 4}, {22, {4, 0}, 5}}},
         kStepAddChained,
         1},
        {"counters without a reset, fed by the register, the module input, nothing and no input",
         {{{21, {1, 0}, 2},
           {25, {2}, 3},
           {26, {3}, 4},
           {25, {0}, 5},
           {26, {-1}, 6},
           {26, {}, 7},
           {21, {7, 6}, 8},
           {25, {8}, 9}}},
         kStepCountChained,
         3},
        {"compares of one register input, for every test",
         {{{21, {1, 0}, 2},
           {18, {2}, 3},
           {21, {3, 0}, 4},
           {19, {4}, 5},
           {21, {5, 0}, 6},
           {20, {6}, 7},
           {16, {1, 7}, 8},
           {15, {-1, 8}, 9},
           {17, {0, 9}, 10}}},
         kStepCompareGreaterOne,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunBoth(c.chain.Bytes(), 30, 0).byKind[c.kind], c.count);
        RunBoth(c.chain.Bytes(), 30, 0, 11);
    }
}

TEST(RuntimePlan, RandomSystemsMatchTheComponentsOwnPhases) {
    CPlanCounts total;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const CPlanCounts n = RunBoth(RandomSystem(seed), 20, seed * 3 + 1);
        total.compiled += n.compiled;
        total.chained += n.chained;
        total.timers += n.timers;
        total.feedbacks += n.feedbacks;
        if (seed % 6 == 0) RunBoth(RandomSystem(seed), 20, seed * 3 + 1, 7);
    }
    // The generator must reach the compiled kinds, chained ones included.
    EXPECT_GT(total.compiled, 100u);
    EXPECT_GT(total.chained, 10u);
    EXPECT_GT(total.timers, 5u);
    EXPECT_GT(total.feedbacks, 5u);
}

}  // namespace
}  // namespace zor2::test
