// The designer's RunCycle and the runtime library's Execute on the exported file
// give the same system output values, cycle by cycle, on hand-made and random systems.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zor2runtime.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "components/decision/action_sequence.h"
#include "components/decision/decision_matrix.h"
#include "components/decision/neural_network.h"
#include "components/decision/pattern.h"
#include "components/decision/segmenter.h"
#include "components/math/compare.h"
#include "components/math/delay.h"
#include "components/math/math_exp.h"
#include "components/math/vector.h"
#include "components/signals/signal.h"
#include "components/signals/fft_mfcc.h"
#include "components/utility/csv_data.h"
#include "components/utility/led_matrix.h"
#include "components/utility/quantity_diminish.h"
#include "components/utility/rand_gen.h"
#include "components/utility/timer.h"
#include "components/utility/user_control.h"
#include "persistence/csv_file.h"
#include "persistence/runtime_export.h"
#include "support/scripted_prompter.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

using test::Drop;
using test::DropConstant;

bool Same(double a, double b) {
    return (a == b && std::signbit(a) == std::signbit(b)) || (std::isnan(a) && std::isnan(b));
}

class Differential : public ::testing::Test {
  protected:
    void SetUp() override {
        system.SetRandom(&random);
        system.SetPrompter(&prompter);
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& ch : name) {
            if (ch == '/') ch = '_';  // parameterised test names hold slashes
        }
        path = (std::filesystem::temp_directory_path() /
                ("zor2_diff_" + std::to_string(::getpid()) + "_" + name + ".z2r"))
                   .string();
    }
    void TearDown() override {
        qxAISystem_Unload();
        std::filesystem::remove(path);
    }

    /// Resets the designer system, exports it, loads the export and runs both
    /// sides for `cycles` cycles with the same input values; every system output
    /// must agree after every cycle.
    void RunBoth(int cycles, uint32_t seed) {
        system.ResetSystem();
        ASSERT_EQ(ExportRuntimeFile(system, path), 0);
        qxAISystemLoadResult result{};
        ASSERT_EQ(qxAISystem_Load(path.c_str(), system.m_systemId, &result), 1);
        ASSERT_EQ(qxAISystem_GetCountSystemOutputs(), static_cast<int32_t>(system.m_outputs.Size()));
        // The host hands over the arrays the designer's array inputs hold.
        for (CExternalInput* in : system.m_inputs)
            if (in->m_kind == 2) {
                ASSERT_EQ(qxAISystem_SetArrayValues(in->m_id, in->ArrayData(), in->ArrayCount()), 0);
            }
        std::mt19937 rng(seed);
        const double choices[] = {0.0, 1.0, -1.0, 0.5, 2.25, -3.75, 1e-3, 100.0, 7.0, -0.0};
        for (int cycle = 1; cycle <= cycles; ++cycle) {
            for (CExternalInput* in : system.m_inputs) {
                const double v = choices[rng() % std::size(choices)];
                in->SetValue(v);
                ASSERT_EQ(qxAISystem_SetValue(in->m_id, v), 0);
            }
            system.RunCycle();
            ASSERT_EQ(qxAISystem_Execute(), 0);
            for (CExternalOutput* out : system.m_outputs) {
                if (const CNetworkOutput* mo = out->SourceOutput(); mo && mo->CarriesArray()) {
                    ExpectSameArray(*mo, out->m_id, cycle);
                    continue;
                }
                double rt = -12345.0;
                ASSERT_EQ(qxAISystem_GetSystemOutputValue(0, out->m_id, &rt), 0);
                ASSERT_TRUE(Same(out->m_value, rt)) << "cycle " << cycle << " output " << out->m_name
                                                    << ": designer " << out->m_value << ", runtime " << rt;
            }
        }
    }

    /// An array system output: the runtime's array equals the designer's, element for element.
    static void ExpectSameArray(const CNetworkOutput& designer, int32_t id, int cycle) {
        std::vector<double> rt(static_cast<size_t>(designer.m_arrayCount) + 1, -12345.0);
        ASSERT_EQ(qxAISystem_GetSystemOutputValues(id, rt.data(), static_cast<int32_t>(rt.size())),
                  designer.m_arrayCount)
            << "cycle " << cycle << " output " << id;
        for (int32_t i = 0; i < designer.m_arrayCount; ++i)
            ASSERT_TRUE(Same(designer.m_arrayData[i], rt[static_cast<size_t>(i)]))
                << "cycle " << cycle << " [" << i << "]";
    }

    /// A system input wired into `module`, returning the module input it feeds.
    CNetworkInput* SystemInputInto(CNetwork& module, const std::string& name) {
        CExternalInput* in = system.CreateSystemInput(name, 1);
        CExternalConnection* c = system.ConnectSystemInput(*in, module);
        EXPECT_NE(c, nullptr);
        return c ? c->m_moduleInput : nullptr;
    }
    void FeedFromModuleInput(CNetwork& module, CNetworkInput& mi, CNetworkModel& dst,
                             CModelInput* in = nullptr) {
        EXPECT_EQ(module.RequestConnectModuleInput(mi, dst, in), 0);
    }
    void ToSystemOutput(CNetwork& module, CNetworkModel& src, const std::string& name) {
        CNetworkOutput* mo = test::ExposeOutput(module, src, name);
        CExternalOutput* out = system.CreateSystemOutput(name, 1);
        EXPECT_NE(system.ConnectSystemOutput(module, *out, mo), nullptr);
    }

    CLcgRandom random{2026};
    test::CScriptedPrompter prompter;
    CSystem system;
    std::string path;
};

TEST_F(Differential, ArithmeticFamily) {
    CNetwork* m = system.CreateModule("Math", 0, 0);
    CNetworkInput* x = SystemInputInto(*m, "x");
    CNetworkInput* y = SystemInputInto(*m, "y");
    CNetworkInput* z = SystemInputInto(*m, "z");
    CNetworkModel* two = DropConstant(*m, 2.0);
    CNetworkModel* add = Drop(*m, 21);
    FeedFromModuleInput(*m, *x, *add);
    FeedFromModuleInput(*m, *y, *add);
    test::Wire(*m, *two, *add);
    CNetworkModel* sub = Drop(*m, 22);
    test::Wire(*m, *add, *sub);
    FeedFromModuleInput(*m, *z, *sub);
    CNetworkModel* mul = Drop(*m, 23);
    test::Wire(*m, *sub, *mul);
    FeedFromModuleInput(*m, *x, *mul);
    CNetworkModel* mulOne = Drop(*m, 23);  // one factor: 0 on both sides
    FeedFromModuleInput(*m, *y, *mulOne);
    CNetworkModel* div = Drop(*m, 24);
    ASSERT_EQ(m->RequestConnect(*mul, mul->FirstOutput(), *div, div->FindInput(10)), 0);
    FeedFromModuleInput(*m, *y, *div, div->FindInput(20));
    CNetworkModel* mn = Drop(*m, 86);
    CNetworkModel* mx = Drop(*m, 87);
    for (CNetworkInput* mi : {x, y, z}) {
        FeedFromModuleInput(*m, *mi, *mn);
        FeedFromModuleInput(*m, *mi, *mx);
    }
    CNetworkModel* neg = Drop(*m, 88);
    ASSERT_EQ(m->RequestConnect(*div, div->FirstOutput(), *neg, neg->FirstInput()), 0);
    CNetworkModel* range = Drop(*m, 89);
    FeedFromModuleInput(*m, *x, *range, range->FindInput(10));
    CNetworkModel* lo = DropConstant(*m, -1.0);
    ASSERT_EQ(m->RequestConnect(*lo, lo->FirstOutput(), *range, range->FindInput(20)), 0);
    CNetworkModel* openRange = Drop(*m, 89);  // all defaults
    ToSystemOutput(*m, *add, "add");
    ToSystemOutput(*m, *sub, "sub");
    ToSystemOutput(*m, *mul, "mul");
    ToSystemOutput(*m, *mulOne, "mulOne");
    ToSystemOutput(*m, *div, "div");
    ToSystemOutput(*m, *mn, "min");
    ToSystemOutput(*m, *mx, "max");
    ToSystemOutput(*m, *neg, "neg");
    ToSystemOutput(*m, *range, "range");
    ToSystemOutput(*m, *openRange, "openRange");
    RunBoth(40, 1);
}

TEST_F(Differential, FeedbackFlows) {
    CNetwork* m = system.CreateModule("Loops", 0, 0);
    CNetworkInput* x = SystemInputInto(*m, "x");
    // Accumulator: sum := x + previous sum.
    CNetworkModel* sum = Drop(*m, 21);
    CNetworkModel* fb = Drop(*m, 56);
    FeedFromModuleInput(*m, *x, *sum);
    ASSERT_EQ(m->RequestConnect(*sum, sum->FirstOutput(), *fb, fb->FirstInput()), 0);
    test::Wire(*m, *fb, *sum);
    // A constant through a Feedback Flow: 0 in the first cycle, then the value.
    CNetworkModel* k = DropConstant(*m, 5.0);
    CNetworkModel* fb2 = Drop(*m, 56);
    ASSERT_EQ(m->RequestConnect(*k, k->FirstOutput(), *fb2, fb2->FirstInput()), 0);
    CNetworkModel* after = Drop(*m, 22);
    test::Wire(*m, *fb2, *after);
    FeedFromModuleInput(*m, *x, *after);
    // A Feedback Flow without a source, and one feeding a module output directly.
    CNetworkModel* idle = Drop(*m, 56);
    ToSystemOutput(*m, *sum, "sum");
    ToSystemOutput(*m, *after, "after");
    ToSystemOutput(*m, *fb, "fb");
    ToSystemOutput(*m, *idle, "idle");
    RunBoth(25, 2);
}

TEST_F(Differential, ModulesRunByLevel) {
    // Created downstream first, so list order and level order differ.
    CNetwork* c = system.CreateModule("C", 0, 0);
    CNetwork* b = system.CreateModule("B", 0, 0);
    CNetwork* a = system.CreateModule("A", 0, 0);
    CNetworkInput* x = SystemInputInto(*a, "x");
    CNetworkModel* aAdd = Drop(*a, 21);
    FeedFromModuleInput(*a, *x, *aAdd);
    CNetworkModel* aK = DropConstant(*a, 1.5);
    test::Wire(*a, *aK, *aAdd);
    CNetworkOutput* aOut = test::ExposeOutput(*a, *aAdd, "a");

    CNetworkConnection* ab = system.ConnectModules(*a, *b, aOut, nullptr);
    ASSERT_NE(ab, nullptr);
    CNetworkModel* bMul = Drop(*b, 23);
    FeedFromModuleInput(*b, *ab->m_dstInput, *bMul);
    CNetworkInput* y = SystemInputInto(*b, "y");
    FeedFromModuleInput(*b, *y, *bMul);
    CNetworkOutput* bOut = test::ExposeOutput(*b, *bMul, "b");

    CNetworkConnection* bc = system.ConnectModules(*b, *c, bOut, nullptr);
    CNetworkConnection* ac = system.ConnectModules(*a, *c, aOut, nullptr);
    ASSERT_TRUE(bc && ac);
    CNetworkModel* cSub = Drop(*c, 22);
    FeedFromModuleInput(*c, *bc->m_dstInput, *cSub);
    FeedFromModuleInput(*c, *ac->m_dstInput, *cSub);
    ToSystemOutput(*c, *cSub, "c");
    ToSystemOutput(*b, *bMul, "b");
    system.CreateSystemOutput("unconnected", 1);
    ASSERT_EQ(c->m_level, 3);
    RunBoth(20, 3);
}

TEST_F(Differential, LogicAndComparisonTypes) {
    CNetwork* m = system.CreateModule("Logic", 0, 0);
    CNetworkInput* x = SystemInputInto(*m, "x");
    CNetworkInput* y = SystemInputInto(*m, "y");
    CNetworkInput* z = SystemInputInto(*m, "z");
    CNetworkInput* xyz[] = {x, y, z};
    int exposed = 0;
    // Every output of `c` becomes a system output.
    auto expose = [&](CNetworkModel& c) {
        for (CModelOutput* out : c.m_outputs.Snapshot()) {
            const std::string name = "o" + std::to_string(++exposed);
            CNetworkOutput* mo = m->CreateOutput(name);
            ASSERT_EQ(m->RequestConnectToModuleOutput(c, out, *mo), 0);
            CExternalOutput* q = system.CreateSystemOutput(name, 1);
            ASSERT_NE(system.ConnectSystemOutput(*m, *q, mo), nullptr);
        }
    };
    // `c` with its template inputs (or new ones) fed by x, y, z in turn; `skip` leaves some open.
    auto build = [&](int32_t type, int feeds, int skip = -1) {
        SCOPED_TRACE(type);
        CNetworkModel* c = Drop(*m, type);
        auto inputs = c->m_inputs.Snapshot();
        for (int i = 0; i < feeds; ++i) {
            if (i == skip) continue;
            CModelInput* in = i < static_cast<int>(inputs.size()) ? inputs[i] : nullptr;
            FeedFromModuleInput(*m, *xyz[i % 3], *c, in);
        }
        expose(*c);
        return c;
    };
    for (int32_t gate : {3, 4, 5, 6}) {
        build(gate, 3);
        build(gate, 0);
    }
    build(7, 2);
    build(8, 1);
    build(9, 2);
    build(9, 2, 1);  // closed without ValueIN
    build(10, 1);
    build(11, 1);
    for (int32_t bits : {28, 29, 30}) build(bits, 1);
    build(90, 2);
    build(90, 2, 1);  // never reset
    for (int32_t f : {47, 48, 49}) build(f, f == 48 ? 2 : 1);
    build(48, 1);                                                  // power unconnected
    static_cast<CModelMathExp*>(build(48, 2))->SetEnabled(false);  // carried by the runtime record
    for (int32_t f : {82, 83, 84}) {
        build(f, 3);
        build(f, 3, 1);  // radians unconnected
    }
    build(34, 3);
    build(34, 3, 0);  // always enabled
    // Delta fed by a component, so its value changes with every cycle's inputs.
    CNetworkModel* sum = Drop(*m, 21);
    FeedFromModuleInput(*m, *x, *sum);
    CNetworkModel* fb = Drop(*m, 56);
    ASSERT_EQ(m->RequestConnect(*sum, sum->FirstOutput(), *fb, fb->FirstInput()), 0);
    test::Wire(*m, *fb, *sum);
    CNetworkModel* delta = Drop(*m, 34);
    ASSERT_EQ(m->RequestConnect(*sum, sum->FirstOutput(), *delta, delta->FindInput(20)), 0);
    expose(*delta);
    for (int32_t cmp : {15, 16, 17, 18, 19, 20}) {
        CNetworkModel* c = build(cmp, 3);
        c->m_value = 0.5;  // what Compare to Input keeps while "CompareVal" is open
        static_cast<CModelCompare*>(c)->SetCompareValue(cmp == 18 ? 1.0 : 0.5);
        c->AddInput(0);  // an open input, counted by its kept value
    }
    build(15, 3, 0);
    build(80, 3);
    build(80, 3, 0);
    build(80, 3, 1);
    RunBoth(60, 4);
}

TEST_F(Differential, TimingCountingAndValueSources) {
    // Only what needs no wall clock and no shared random sequence: timers fed
    // their delay, and random sources whose integer range holds one value.
    CNetwork* m = system.CreateModule("Timing", 0, 0);
    CNetworkInput* x = SystemInputInto(*m, "x");
    CNetworkInput* y = SystemInputInto(*m, "y");
    int exposed = 0;
    auto out = [&](CNetworkModel& c) { ToSystemOutput(*m, c, "t" + std::to_string(++exposed)); };
    auto feed = [&](CNetworkInput* mi, CNetworkModel& c, int32_t inputId) {
        FeedFromModuleInput(*m, *mi, c, c.FindInput(inputId));
    };
    CNetworkModel* delay = Drop(*m, 2);
    feed(x, *delay, 10);
    out(*delay);
    out(*Drop(*m, 2));  // raw input open
    for (int32_t type : {25, 26}) {
        CNetworkModel* counter = Drop(*m, type);
        feed(x, *counter, 10);
        feed(y, *counter, 20);
        out(*counter);
        CNetworkModel* free = Drop(*m, type);
        feed(y, *free, 10);
        out(*free);
    }
    auto* consumed = static_cast<CModelQuantityDiminish*>(Drop(*m, 68));
    ASSERT_TRUE(consumed->SetContainer(-3, 9));
    feed(x, *consumed, 30);
    feed(y, *consumed, 10);
    for (CModelOutput* o : consumed->m_outputs.Snapshot()) {
        CNetworkOutput* mo = m->CreateOutput("q" + std::to_string(o->m_id));
        ASSERT_EQ(m->RequestConnectToModuleOutput(*consumed, o, *mo), 0);
        ASSERT_NE(system.ConnectSystemOutput(*m, *system.CreateSystemOutput(mo->m_name, 1), mo), nullptr);
    }
    // Auto mode at the default rate: the runtime file carries neither.
    auto* automatic = static_cast<CModelQuantityDiminish*>(Drop(*m, 68));
    feed(y, *automatic, 20);
    feed(x, *automatic, 40);
    out(*automatic);
    for (double delayMs : {0.0, 1e9}) {
        CNetworkModel* timer = Drop(*m, 14);
        CNetworkModel* k = DropConstant(*m, delayMs);
        ASSERT_EQ(m->RequestConnect(*k, k->FirstOutput(), *timer, timer->FindInput(20)), 0);
        feed(x, *timer, 10);
        out(*timer);
    }
    for (int32_t interval : {1, 3}) {
        auto* rand = static_cast<CModelRandGen*>(Drop(*m, 43));
        ASSERT_TRUE(rand->SetDraw({4, 4, kRandInteger, kTimingCycles, interval, interval == 3}));
        feed(x, *rand, 10);
        out(*rand);
    }
    for (double step : {1.0, -1.0}) {
        auto* walk = static_cast<CModelDynamicNumber*>(Drop(*m, 81));
        CDynamicFields f;
        f.start = 3;
        f.draw = {step, step, kRandInteger, kTimingCycles, 2, step > 0};
        f.useCeiling = true;
        f.ceiling = 8;
        f.useFloor = true;
        f.floor = -2;
        ASSERT_TRUE(walk->SetFields(f));
        feed(y, *walk, 10);
        out(*walk);
    }
    RunBoth(60, 5);
}

TEST_F(Differential, DecisionMatrixAndSequencer) {
    CNetwork* m = system.CreateModule("Decide", 0, 0);
    CNetworkInput* x = SystemInputInto(*m, "x");
    CNetworkInput* y = SystemInputInto(*m, "y");
    CNetworkInput* on = SystemInputInto(*m, "on");
    // Thresholds on values the inputs take, so that values fall on them too.
    auto* matrix = static_cast<CModelDecisionMatrix*>(Drop(*m, kTypeDecisionMatrix));
    ASSERT_TRUE(matrix->AddThreshold(1, 1.0) && matrix->AddThreshold(2, -1.0) &&
                matrix->AddThreshold(2, 7.0));
    for (int k = 1; k < 6; ++k) {
        const int32_t id = matrix->AddDecisionOutput(matrix->NextOutputName(), 0)->m_id;
        ASSERT_EQ(matrix->AssignDecisions({{k % 3, k % 4}, {(k + 1) % 3, 3 - k % 4}}, id) > 0, true);
    }
    FeedFromModuleInput(*m, *x, *matrix, matrix->FindInput(kDecisionInput1PortId));
    FeedFromModuleInput(*m, *y, *matrix, matrix->FindInput(kDecisionInput2PortId));
    FeedFromModuleInput(*m, *on, *matrix, matrix->FindInput(kDecisionEnableInputId));
    // Sequences picked by x: steps, ramps of every length, overlaps and repeats.
    auto* seq = static_cast<CModelActionSequence*>(Drop(*m, kTypeActionSequence));
    const int32_t a = seq->NewOutput()->m_id, b = seq->NewOutput()->m_id;
    struct Row {
        int32_t trigger;
        bool repeat;
        int32_t output;
        double start, duration;
        int32_t type;
        double v1, v2;
    };
    const Row rows[] = {
        {0, true, a, 0, 300, kActionDynamic, 0, 9},    {0, true, a, 100, 100, kActionConstant, 4, 0},
        {0, true, b, 200, 100, kActionDynamic, 2, 3},  {1, false, a, 0, 700, kActionOn, 0, 0},
        {1, false, b, 300, 50, kActionDynamic, 1, 5},  {7, true, b, 0, 1000, kActionDynamic, -1, 1},
        {-1, false, a, 0, 400, kActionConstant, -2, 0}};
    for (const Row& r : rows) {
        int32_t at = seq->Sequencer().FindByTrigger(r.trigger);
        if (at < 0) {
            CActionSequence& made = seq->NewSequence();
            made.m_trigger = r.trigger;
            made.m_repeat = r.repeat;
            at = seq->Sequencer().FindByTrigger(r.trigger);
        }
        CAction& act = seq->AddAction(seq->Sequencer().m_sequences[static_cast<size_t>(at)], r.output,
                                      r.start, r.duration);
        act.m_type = r.type;
        act.m_constantValue = act.m_startValue = r.v1;
        act.m_endValue = r.v2;
    }
    FeedFromModuleInput(*m, *x, *seq, seq->FindInput(kSequencerPatternInputId));
    FeedFromModuleInput(*m, *on, *seq, seq->FindInput(kSequencerEnableInputId));
    for (CNetworkModel* c : {static_cast<CNetworkModel*>(matrix), static_cast<CNetworkModel*>(seq)}) {
        for (CModelOutput* o : c->m_outputs.Snapshot()) {
            CNetworkOutput* mo = m->CreateOutput(c->m_name + std::to_string(o->m_id));
            ASSERT_EQ(m->RequestConnectToModuleOutput(*c, o, *mo), 0);
            ASSERT_NE(system.ConnectSystemOutput(*m, *system.CreateSystemOutput(mo->m_name, 1), mo), nullptr);
        }
    }
    for (uint32_t seed : {3u, 11u, 29u}) RunBoth(40, seed);
}

TEST_F(Differential, LogicTypesWithoutTemplatePorts) {
    // A hand-made file may lack template ports: both sides load and run such
    // components, and one with an output but no inputs agrees on its value.
    CNetwork* m = system.CreateModule("Bare", 0, 0);
    for (int32_t type : {3,  4,  5,  6,  7,  8,  9,  10, 11, 28, 29, 30, 90, 47,
                         48, 49, 82, 83, 84, 34, 15, 16, 17, 18, 19, 20, 80}) {
        SCOPED_TRACE(type);
        ASSERT_NE(m->CreateComponent(type, 0, "bare", 0, 0), nullptr);
        CNetworkModel* outOnly = m->CreateComponent(type, 0, "output only", 0, 0);
        ASSERT_NE(outOnly, nullptr);
        outOnly->AddOutput(10);
        ToSystemOutput(*m, *outOnly, "t" + std::to_string(type));
    }
    m->ComputeStages();
    RunBoth(3, 5);
}

TEST_F(Differential, VectorsControlsAndSimInfo) {
    CNetwork* m = system.CreateModule("Aids", 0, 0);
    CNetworkInput* xyz[] = {SystemInputInto(*m, "x"), SystemInputInto(*m, "y"), SystemInputInto(*m, "z")};
    int exposed = 0;
    auto expose = [&](CNetworkModel& c) {
        for (CModelOutput* out : c.m_outputs.Snapshot()) {
            const std::string name = "v" + std::to_string(++exposed);
            CNetworkOutput* mo = m->CreateOutput(name);
            ASSERT_EQ(m->RequestConnectToModuleOutput(c, out, *mo), 0);
            ASSERT_NE(system.ConnectSystemOutput(*m, *system.CreateSystemOutput(name, 1), mo), nullptr);
        }
    };
    // Every vector type and operation on the inputs in turn; some fed their
    // enable from an input (its values include 0), some with an operand open.
    struct VCase {
        int32_t type, operation;
        bool enableFed;
        int skip;
    } vectors[] = {{61, 0, false, -1}, {62, 0, true, -1}, {63, 0, false, -1}, {63, 0, true, 2},
                   {64, 0, false, -1}, {64, 0, true, -1}, {65, 3, false, -1}, {65, 4, true, -1},
                   {65, 5, false, -1}, {65, 6, false, 3}, {66, 3, true, -1},  {66, 4, false, -1},
                   {66, 5, false, -1}, {66, 6, true, 4}};
    for (const VCase& vc : vectors) {
        SCOPED_TRACE(vc.type);
        auto* v = static_cast<CModelVector2*>(Drop(*m, vc.type));
        if (vc.operation >= 3) v->SetOperation(vc.operation);
        auto inputs = v->m_inputs.Snapshot();
        for (size_t i = vc.enableFed ? 0 : 1; i < inputs.size(); ++i)
            if (static_cast<int>(i) != vc.skip) FeedFromModuleInput(*m, *xyz[i % 3], *v, inputs[i]);
        expose(*v);
    }
    // The controls publish the value they had when exported; the Sim Info
    // components the cycle number and the simulated time (0 in both).
    auto* button = static_cast<CModelUserButton*>(Drop(*m, 59));
    button->m_value = 1.0;
    expose(*button);
    auto* upDown = static_cast<CModelUserButtonUpDown*>(Drop(*m, 78));
    ASSERT_TRUE(upDown->SetSteps(2.5, 1));
    expose(*upDown);
    expose(*Drop(*m, 53));
    expose(*Drop(*m, 54));
    for (int32_t sink : {73, 50, 51, 52, 69}) {
        CNetworkModel* c = Drop(*m, sink);
        FeedFromModuleInput(*m, *xyz[0], *c, c->FirstInput());
    }
    // Without template ports (a hand-made file) both sides load and run them.
    for (int32_t type : {61, 62, 63, 64, 65, 66, 59, 78, 73, 50, 51, 52, 69, 53, 54}) {
        SCOPED_TRACE(type);
        ASSERT_NE(m->CreateComponent(type, 0, "bare", 0, 0), nullptr);
    }
    m->ComputeStages();
    RunBoth(40, 6);
}

TEST_F(Differential, SignalChainsAcrossModulesAndFromTheHost) {
    // Module A makes a frame whose frequency follows x and hands it to module B.
    CNetwork* a = system.CreateModule("Source", 0, 0);
    CNetworkInput* x = SystemInputInto(*a, "x");
    auto* gen = static_cast<CModelSignalGen*>(Drop(*a, 35));
    gen->SetParams({11025, 512, 440.0, -1.0});
    FeedFromModuleInput(*a, *x, *gen, gen->FindInput(20));
    CNetworkOutput* frame = test::ExposeOutput(*a, *gen, "frame");
    system.RunCycle();  // the module output carries the frame from now on
    CNetwork* b = system.CreateModule("Analysis", 0, 0);
    CNetworkConnection* link = system.ConnectModules(*a, *b, frame, nullptr);
    ASSERT_NE(link, nullptr);
    int exposed = 0;
    auto out = [&](CNetwork& m, CNetworkModel& c, int32_t id) {
        const std::string name = "s" + std::to_string(++exposed);
        CNetworkOutput* mo = m.CreateOutput(name);
        ASSERT_EQ(m.RequestConnectToModuleOutput(c, c.FindOutput(id), *mo), 0);
        ASSERT_NE(system.ConnectSystemOutput(m, *system.CreateSystemOutput(name, 1), mo), nullptr);
    };
    auto wire = [](CNetwork& m, CNetworkModel& src, int32_t outId, CNetworkModel& dst, int32_t inId) {
        ASSERT_EQ(m.RequestConnect(src, src.FindOutput(outId), dst, dst.FindInput(inId)), 0);
    };
    auto* window = static_cast<CModelSignalWindow*>(Drop(*b, 38));
    window->SetWindowType(kWindowHamming);
    FeedFromModuleInput(*b, *link->m_dstInput, *window, window->FirstInput());
    auto* fft = static_cast<CModelSignalFFT*>(Drop(*b, 32));
    fft->SetPoints(512);
    wire(*b, *window, 10, *fft, 10);
    auto* mfcc = static_cast<CModelSignalMFCC*>(Drop(*b, 33));
    std::vector<CMelEntry> entries = DefaultMelEntries(24);
    for (CMelEntry& e : entries) e.enabled = e.id > 1 && e.id < 24;
    ASSERT_TRUE(mfcc->Configure({11025, 24, 100.0, 5000.0, 256}, entries));
    wire(*b, *fft, 20, *mfcc, 10);
    CNetworkModel* stats = Drop(*b, 31);
    wire(*b, *window, 10, *stats, 10);
    for (CModelOutput* o : mfcc->m_outputs.Snapshot()) out(*b, *mfcc, o->m_id);
    for (int32_t id : {10, 20, 30, 40, 50, 60}) out(*b, *fft, id);
    for (int32_t id : {10, 20, 30}) out(*b, *stats, id);
    out(*b, *window, 10);

    // Module C shapes the host's samples (300 of them: the runtime transforms 256, as the designer is set
    // to).
    CNetwork* c = system.CreateModule("Host", 0, 0);
    CExternalInput* samples = system.CreateSystemInput("samples", 2);
    std::mt19937 rng(33);
    for (int i = 0; i < 300; ++i)
        samples->m_array.push_back(std::uniform_real_distribution<double>(-1, 1)(rng));
    CNetworkInput* host = system.ConnectSystemInput(*samples, *c)->m_moduleInput;
    CNetworkInput* cx = SystemInputInto(*c, "gain");
    CNetworkModel* shapers[5];
    const int32_t shaperTypes[] = {37, 39, 40, 38, 32};
    for (int i = 0; i < 5; ++i) {
        shapers[i] = Drop(*c, shaperTypes[i]);
        FeedFromModuleInput(*c, *host, *shapers[i], shapers[i]->FirstInput());
    }
    FeedFromModuleInput(*c, *cx, *shapers[0], shapers[0]->FindInput(20));
    static_cast<CModelSignalFFT*>(shapers[4])->SetPoints(256);
    for (int32_t type : {36, 42}) {
        CNetworkModel* mix = Drop(*c, type);
        wire(*c, *shapers[0], 10, *mix, 10);
        wire(*c, *shapers[1], 10, *mix, 20);
        out(*c, *mix, 10);
    }
    for (int i = 0; i < 4; ++i) out(*c, *shapers[i], 10);
    for (int32_t id : {20, 40}) out(*c, *shapers[4], id);
    RunBoth(12, 7);
}

/// A network imported from a file of vectors, trained a few passes, its inputs
/// fed from system inputs and each output published.
CModelNeuralNetwork* TrainedNetwork(CNetwork& m, const std::string& csvPath) {
    auto* nn = dynamic_cast<CModelNeuralNetwork*>(Drop(m, kTypeNeuralNetwork));
    {
        std::ofstream csv(csvPath);
        csv << "name,x,y,z,class\na,0,1,0.5,left\nb,0.2,0.9,0.5,left\nc,1,0,0.5,right\n"
               "d,0.8,0.1,0.5,right\ne,0.5,0.5,0.5,middle\n";
    }
    CCSVFile file;
    std::string error;
    if (!nn || !file.Open(csvPath, ECsvMode::Read) || nn->ImportNew(file, {}, error) != 5) return nullptr;
    std::filesystem::remove(csvPath);
    nn->BeginLearning();
    nn->Trainer().m_progress.running = true;
    for (int pass = 0; pass < 40; ++pass) nn->LearnPass();
    nn->EndLearning();
    return nn;
}

TEST_F(Differential, TrainedNeuralNetwork) {
    CNetwork* m = system.CreateModule("Decide", 0, 0);
    CModelNeuralNetwork* nn = TrainedNetwork(*m, path + ".csv");
    ASSERT_NE(nn, nullptr);
    for (CModelInput* in : nn->m_inputs.Snapshot())
        FeedFromModuleInput(*m, *SystemInputInto(*m, in->m_name), *nn, in);
    for (CModelOutput* out : nn->m_outputs.Snapshot()) {
        CNetworkOutput* mo = m->CreateOutput(out->m_name);
        ASSERT_EQ(m->RequestConnectToModuleOutput(*nn, out, *mo), 0);
        ASSERT_NE(system.ConnectSystemOutput(*m, *system.CreateSystemOutput(out->m_name, 1), mo), nullptr);
    }
    RunBoth(40, 3);

    // A connection whose source the file does not hold makes the runtime refuse the file.
    nn->Network().m_processors[0].connections[0].sourceId = 31999;
    ASSERT_EQ(ExportRuntimeFile(system, path), 0);
    qxAISystemLoadResult result{};
    EXPECT_EQ(qxAISystem_Load(path.c_str(), system.m_systemId, &result), 32);
}

TEST_F(Differential, PatternSegmenterStorageAndLedTypes) {
    CNetwork* m = system.CreateModule("Patterns", 0, 0);
    CNetworkInput* xyz[] = {SystemInputInto(*m, "x"), SystemInputInto(*m, "y"), SystemInputInto(*m, "z")};
    int exposed = 0;
    auto expose = [&](CNetworkModel& c) {
        for (CModelOutput* out : c.m_outputs.Snapshot()) {
            const std::string name = "p" + std::to_string(++exposed);
            CNetworkOutput* mo = m->CreateOutput(name);
            ASSERT_EQ(m->RequestConnectToModuleOutput(c, out, *mo), 0);
            ASSERT_NE(system.ConnectSystemOutput(*m, *system.CreateSystemOutput(name, 1), mo), nullptr);
        }
    };
    auto feed = [&](CNetworkModel& c, std::initializer_list<int32_t> inputIds) {
        int i = 0;
        for (int32_t id : inputIds) FeedFromModuleInput(*m, *xyz[i++ % 3], c, id ? c.FindInput(id) : nullptr);
    };
    for (int32_t type : {kTypeSegmenterSingle, kTypeSegmenterMultiple}) {
        auto* seg = static_cast<CModelSegmenter*>(Drop(*m, type));
        seg->SetThresholds({{0, 2.25}, {0, -1.0}, {0, 0.5}, {0, 0.5}});
        feed(*seg, {10});
        expose(*seg);
    }
    auto* generator = static_cast<CModelPatternGenerator*>(Drop(*m, kTypePatternGenerator));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(generator->AddPatternOutput());
    generator->SetPatterns({{0, 0b101, "a", 1}, {0, 0b011, "b", 0}, {0, 0b110, "c", 7}});
    feed(*generator, {20, 10});
    expose(*generator);
    auto* analyzer = static_cast<CModelPatternAnalyzer*>(Drop(*m, kTypePatternAnalyzer));
    analyzer->Analysis().m_registered = {{12, 0b011, "xy"}, {13, 0b100, "z"}, {14, 0b111, "all"}};
    feed(*analyzer, {0, 0, 0});
    expose(*analyzer);
    for (int32_t type : {kTypePatternRecorder, 46}) {
        CNetworkModel* c = Drop(*m, type);
        feed(*c, {0, 0, 0});
        expose(*c);
    }
    CNetworkModel* store = Drop(*m, 67);
    feed(*store, {10, 20, 30});
    for (int32_t id : {10, 20, 50}) {  // the time stamps are the two sides' own clocks
        CNetworkOutput* mo = m->CreateOutput("store" + std::to_string(id));
        ASSERT_EQ(m->RequestConnectToModuleOutput(*store, store->FindOutput(id), *mo), 0);
        ASSERT_NE(system.ConnectSystemOutput(*m, *system.CreateSystemOutput(mo->m_name, 1), mo), nullptr);
    }
    auto* controller = static_cast<CModel8x8Controller*>(Drop(*m, kType8x8Controller));
    CPattern64Bit picture{0, 1, "one"};
    picture.m_cells.fill(4.0);
    controller->SetPatterns({picture});
    feed(*controller, {20});
    CNetworkModel* display = Drop(*m, kType8x8Display);
    ASSERT_EQ(m->RequestConnect(*controller, controller->FirstOutput(), *display, display->FindInput(20)), 0);
    for (int32_t type : {74, 75}) feed(*Drop(*m, type), {10});
    RunBoth(60, 6);
}

TEST_F(Differential, CsvDataFlowsThroughTheDesignerAndTheRuntime) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(path).replace_extension(".d");
    fs::create_directories(dir);
    const std::string in = (dir / "in.csv").string();
    const std::string out = (dir / "out.csv").string();
    std::ofstream(in) << "a,b\n1,10\n2.5,\"20\"\n-3,30\n";
    CNetwork* m = system.CreateModule("Data", 0, 0);
    auto* source = static_cast<CModelDataImport*>(Drop(*m, kTypeCsvInput));
    source->ChangeFile(in);
    auto* log = static_cast<CModelLogBook*>(Drop(*m, kTypeCsvOutput));
    fs::remove(log->Path());
    log->SetPath(out);
    CNetworkModel* sum = Drop(*m, 21);
    for (int32_t column : {100, 101}) {
        ASSERT_EQ(m->RequestConnect(*source, source->FindOutput(column), *sum, nullptr), 0);
        ASSERT_EQ(m->RequestConnect(*source, source->FindOutput(column), *log, nullptr), 0);
    }
    test::Wire(*m, *sum, *log);
    ToSystemOutput(*m, *sum, "sum");
    for (int32_t id : {10, 20, 30, 40}) {
        CNetworkOutput* mo = m->CreateOutput("csv" + std::to_string(id));
        ASSERT_EQ(m->RequestConnectToModuleOutput(*source, source->FindOutput(id), *mo), 0);
        ASSERT_NE(system.ConnectSystemOutput(*m, *system.CreateSystemOutput(mo->m_name, 1), mo), nullptr);
    }
    ToSystemOutput(*m, *log, "logged");
    auto read = [&out] {
        std::ifstream f(out, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    };
    // Each side alone, then both together cycle by cycle.
    system.ResetSystem();
    for (int i = 0; i < 5; ++i) system.RunCycle();
    EXPECT_EQ(read(),
              "Tick Count,a,b,Result\n1,1.00,10.00,11.00\n2,2.50,20.00,22.50\n3,-3.00,30.00,27.00\n"
              "4,-3.00,30.00,27.00\n5,-3.00,30.00,27.00\n");
    ASSERT_EQ(ExportRuntimeFile(system, path), 0);
    qxAISystemLoadResult result{};
    ASSERT_EQ(qxAISystem_Load(path.c_str(), system.m_systemId, &result), 1);
    for (int i = 0; i < 4; ++i) ASSERT_EQ(qxAISystem_Execute(), 0);
    double sumValue = 0.0;
    ASSERT_EQ(qxAISystem_GetSystemOutputValue(0, system.m_outputs.Head()->m_id, &sumValue), 0);
    EXPECT_EQ(sumValue, 27.0);
    qxAISystem_Unload();
    EXPECT_EQ(read(), "Tick Count,a,b,Result\n1,1,10,11\n2,2.5,20,22.5\n3,-3,30,27\n4,-3,30,27\n");
    RunBoth(6, 7);
    fs::remove_all(dir);
}

/// Random systems wired through the editor's own connect requests (refusals are
/// simply skipped), covering stage order, fan-in, feedback and module levels.
class RandomDifferential : public Differential, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(RandomDifferential, SameOutputsEveryCycle) {
    std::mt19937 rng(GetParam());
    const int32_t types[] = {21, 22, 23, 24, 41, 56, 86, 87, 88, 89, 3, 4, 5, 6, 7, 8, 9, 10, 11, 28, 29, 30,
                             90, 47, 48, 49, 82, 83, 84, 34, 15, 16, 17, 18, 19, 20, 80, 61, 62, 63, 64, 65,
                             66, 59, 78, 73, 50, 51, 52, 69, 53, 54,
                             // Signals and statistics.
                             31, 32, 33, 35, 36, 37, 38, 39, 40, 42, 27, 57, 58,
                             // Timer and the random sources depend on the clock and the draws.
                             2, 25, 26, 68,
                             // A network without vectors: its inputs come with the wiring.
                             1,
                             // Patterns, segmenters, storage and the LED controller.
                             12, 13, 46, 70, 71, 72, 67, 76,
                             // A new Decision Matrix and a Pattern Sequencer without sequences.
                             kTypeDecisionMatrix, kTypeActionSequence};
    std::vector<CNetworkOutput*> exposed;  // module outputs of earlier modules
    std::vector<CNetwork*> modules;
    const int moduleCount = 2 + static_cast<int>(rng() % 3);
    for (int mi = 0; mi < moduleCount; ++mi) {
        CNetwork* m = system.CreateModule("M" + std::to_string(mi), 0, 0);
        std::vector<CNetworkInput*> feeds;
        feeds.push_back(SystemInputInto(*m, "in" + std::to_string(mi)));
        for (CNetworkOutput* up : exposed) {
            if (rng() % 2 == 0) continue;
            CNetworkConnection* c = system.ConnectModules(*up->m_owner, *m, up, nullptr);
            if (c) feeds.push_back(c->m_dstInput);
        }
        std::vector<CNetworkModel*> comps;
        const int count = 5 + static_cast<int>(rng() % 20);
        for (int i = 0; i < count; ++i) {
            CNetworkModel* comp = Drop(*m, types[rng() % std::size(types)]);
            if (comp && comp->m_typeId == 41)
                comp->m_value = static_cast<double>(static_cast<int>(rng() % 9) - 4);
            comps.push_back(comp);
        }
        for (CNetworkModel* dst : comps) {
            if (dst->m_typeId == 41) continue;
            const int sources = static_cast<int>(rng() % 4);
            for (int s = 0; s < sources; ++s) {
                // An existing template input when the type has one free, else a new input.
                CModelInput* in = nullptr;
                for (CModelInput* candidate : dst->m_inputs) {
                    if (!candidate->HasSource()) {
                        in = candidate;
                        break;
                    }
                }
                if (!in && dst->InputsFull()) break;
                if (rng() % 3 == 0) {
                    m->RequestConnectModuleInput(*feeds[rng() % feeds.size()], *dst, in);
                } else {
                    CNetworkModel* src = comps[rng() % comps.size()];
                    if (src != dst) m->RequestConnect(*src, src->FirstOutput(), *dst, in);
                }
            }
        }
        for (int o = 0; o < 3; ++o) {
            CNetworkModel* src = comps[rng() % comps.size()];
            CNetworkOutput* mo = m->CreateOutput("out" + std::to_string(o));
            if (m->RequestConnectToModuleOutput(*src, src->FirstOutput(), *mo) != 0) continue;
            exposed.push_back(mo);
            CExternalOutput* q =
                system.CreateSystemOutput("q" + std::to_string(mi) + "_" + std::to_string(o), 1);
            system.ConnectSystemOutput(*m, *q, mo);
        }
        modules.push_back(m);
    }
    RunBoth(15, GetParam() * 7 + 1);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomDifferential, ::testing::Range(1u, 31u));

}  // namespace
}  // namespace zor2
