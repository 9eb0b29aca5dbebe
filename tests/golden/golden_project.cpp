// The golden projects: every registered component type with non-default
// settings, three modules wired to each other and to system inputs and outputs.
#include "golden/golden_project.h"

#include <array>
#include <cstdio>
#include <fstream>

#include "components/decision/action_sequence.h"
#include "components/decision/decision_matrix.h"
#include "components/decision/match_count.h"
#include "components/decision/neural_network.h"
#include "components/decision/pattern.h"
#include "components/decision/segmenter.h"
#include "components/math/compare.h"
#include "components/math/delay.h"
#include "components/math/math_exp.h"
#include "components/math/stats.h"
#include "components/math/vector.h"
#include "components/signals/signal.h"
#include "components/signals/fft_mfcc.h"
#include "components/utility/csv_data.h"
#include "components/utility/data_store.h"
#include "components/utility/display.h"
#include "components/utility/led_matrix.h"
#include "components/utility/quantity_diminish.h"
#include "components/utility/rand_gen.h"
#include "components/utility/sim_action.h"
#include "components/utility/sim_light.h"
#include "components/utility/timer.h"
#include "components/utility/user_control.h"

namespace zor2::test {

namespace {

/// Editing steps that note what was refused instead of stopping.
class CGoldenBuilder {
  public:
    CGoldenBuilder(CSystem& system, std::vector<std::string>& problems) : m_s(system), m_problems(problems) {}

    void Check(bool ok, const std::string& what) {
        if (!ok) m_problems.push_back(what);
    }

    CNetworkModel* Drop(CNetwork& m, int32_t type) {
        // Spread the boxes so the saved geometry differs per component.
        const int32_t n = static_cast<int32_t>(m.m_components.Size());
        CNetworkModel* c = m.DropComponent(type, 100 + 150 * (n % 6), 80 + 120 * (n / 6));
        Check(c != nullptr, "dropping type " + std::to_string(type));
        return c;
    }
    template <class T>
    T* DropAs(CNetwork& m, int32_t type) {
        auto* c = dynamic_cast<T*>(Drop(m, type));
        Check(c != nullptr, "class of type " + std::to_string(type));
        return c;
    }
    CNetworkModel* Constant(CNetwork& m, double value) {
        CNetworkModel* c = Drop(m, 41);
        if (c) c->m_value = value;
        return c;
    }

    /// Output `outId` of `src` (0: its first) to template input `inId` of `dst` (0: a new input).
    void Wire(CNetwork& m, CNetworkModel* src, CNetworkModel* dst, int32_t inId = 0, int32_t outId = 0) {
        if (!src || !dst) return;
        CModelOutput* out = outId ? src->m_outputs.Find(outId) : src->FirstOutput();
        CModelInput* in = inId ? dst->m_inputs.Find(inId) : nullptr;
        Check(m.RequestConnect(*src, out, *dst, in) == 0, "wiring " + src->m_name + " to " + dst->m_name);
    }
    /// Module input `mi` to template input `inId` of `dst` (0: a new input).
    void Feed(CNetwork& m, CNetworkInput* mi, CNetworkModel* dst, int32_t inId = 0) {
        if (!mi || !dst) return;
        CModelInput* in = inId ? dst->m_inputs.Find(inId) : nullptr;
        Check(m.RequestConnectModuleInput(*mi, *dst, in) == 0,
              "feeding " + dst->m_name + " from " + mi->m_name);
    }
    CNetworkInput* FromSystem(CExternalInput* input, CNetwork& m) {
        CExternalConnection* c = input ? m_s.ConnectSystemInput(*input, m) : nullptr;
        Check(c && c->m_moduleInput, "connecting a system input to " + m.m_name);
        return c ? c->m_moduleInput : nullptr;
    }
    CNetworkOutput* Expose(CNetwork& m, CNetworkModel* src, const std::string& name) {
        CNetworkOutput* mo = m.CreateOutput(name);
        Check(src && mo && m.RequestConnectToModuleOutput(*src, src->FirstOutput(), *mo) == 0,
              "exposing " + name);
        return mo;
    }
    CExternalOutput* Publish(CNetwork& m, CNetworkOutput* mo, const std::string& name) {
        CExternalOutput* q = m_s.CreateSystemOutput(name, 1);
        Check(q && mo && m_s.ConnectSystemOutput(m, *q, mo) != nullptr, "publishing " + name);
        return q;
    }
    CExternalInput* Input(const std::string& name, int32_t kind, double value) {
        CExternalInput* p = m_s.CreateSystemInput(name, kind);
        Check(p != nullptr, "creating system input " + name);
        if (p) {
            p->m_initialValue = value;
            p->SetValue(value);
        }
        return p;
    }

  private:
    CSystem& m_s;
    std::vector<std::string>& m_problems;
};

/// Arithmetic, exponent, angle, delta and compare types on x, y and 2.5.
CNetworkOutput* BuildArithmetic(CGoldenBuilder& b, CNetwork& a, CNetworkInput* x, CNetworkInput* y,
                                CNetworkOutput*& product) {
    CNetworkModel* k = b.Constant(a, 2.5);
    if (k) {
        k->m_description = "the offset";
        k->m_thirdText = "k";
        k->m_paramInt = 3;
        k->m_paramDouble = 0.625;
        k->m_tolerance = 0.25;
        k->m_displayA = true;
    }
    CNetworkModel* add = b.Drop(a, 21);
    b.Feed(a, x, add);
    b.Feed(a, y, add);
    b.Wire(a, k, add);
    CNetworkModel* mul = b.Drop(a, 23);
    b.Wire(a, add, mul);
    b.Wire(a, k, mul);
    CNetworkModel* sub = b.Drop(a, 22);
    b.Wire(a, add, sub);
    b.Feed(a, y, sub);
    CNetworkModel* div = b.Drop(a, 24);
    b.Wire(a, add, div, 10);
    b.Wire(a, k, div, 20);
    for (int32_t type : {86, 87}) {
        CNetworkModel* c = b.Drop(a, type);
        b.Feed(a, x, c);
        b.Feed(a, y, c);
    }
    CNetworkModel* neg = b.Drop(a, 88);
    b.Wire(a, add, neg, 10);
    CNetworkModel* range = b.Drop(a, 89);
    b.Wire(a, add, range, 10);
    b.Feed(a, y, range, 20);
    b.Wire(a, mul, range, 30);

    auto* abs = b.DropAs<CModelMathExp>(a, 47);
    if (abs) abs->SetEnabled(false);
    b.Wire(a, neg, abs, 10);
    CNetworkModel* pow = b.Drop(a, 48);
    b.Feed(a, x, pow, 10);
    b.Wire(a, k, pow, 20);
    CNetworkModel* sqrt = b.Drop(a, 49);
    b.Wire(a, add, sqrt, 10);
    CNetworkModel* sine = b.Drop(a, 82);
    b.Wire(a, k, sine, 20);
    b.Feed(a, x, sine, 30);
    CNetworkModel* cosine = b.Drop(a, 83);
    b.Feed(a, y, cosine, 30);
    CNetworkModel* tangent = b.Drop(a, 84);
    b.Wire(a, div, tangent, 30);
    CNetworkModel* delta = b.Drop(a, 34);
    b.Feed(a, x, delta, 20);

    // Compare to Input: the compare value from template input 10, the items on new inputs.
    CNetworkModel* eq = b.Drop(a, 15);
    b.Wire(a, k, eq, 10);
    b.Feed(a, x, eq);
    b.Feed(a, y, eq);
    CNetworkModel* gt = b.Drop(a, 16);
    b.Feed(a, x, gt, 10);
    b.Wire(a, add, gt);
    CNetworkModel* lt = b.Drop(a, 17);
    if (lt) lt->m_tolerance = 0.125;
    b.Feed(a, y, lt, 10);
    b.Wire(a, mul, lt);
    struct KCase {
        int32_t type;
        double k;
        bool reserved;
    };
    for (const KCase& kc : {KCase{18, 2.5, true}, KCase{19, -1.25, false}, KCase{20, 100.0, true}}) {
        auto* c = b.DropAs<CModelCompare>(a, kc.type);
        if (!c) continue;
        c->SetCompareValue(kc.k);
        c->SetReservedFlag(kc.reserved);
        b.Feed(a, x, c);
        b.Wire(a, mul, c);
    }
    product = b.Expose(a, mul, "product");
    return b.Expose(a, add, "sum");
}

/// Logic, switching, counting and feedback types on the product and enable.
void BuildLogic(CGoldenBuilder& b, CNetwork& m, CNetworkInput* product, CNetworkInput* enable,
                CNetworkOutput*& negated, CNetworkOutput*& total) {
    CNetworkModel* neg = b.Drop(m, 88);
    b.Feed(m, product, neg, 10);
    CNetworkModel* all = b.Drop(m, 3);
    b.Feed(m, enable, all);
    b.Feed(m, product, all);
    CNetworkModel* any = b.Drop(m, 4);
    b.Feed(m, enable, any);
    b.Wire(m, all, any);
    CNetworkModel* none = b.Drop(m, 5);
    b.Feed(m, enable, none);
    CNetworkModel* notAll = b.Drop(m, 6);
    b.Feed(m, enable, notAll);
    b.Wire(m, any, notAll);
    CNetworkModel* exor = b.Drop(m, 7);
    b.Feed(m, enable, exor, 10);
    b.Wire(m, all, exor, 20);
    CNetworkModel* invert = b.Drop(m, 8);
    b.Wire(m, exor, invert, 10);
    CNetworkModel* valve = b.Drop(m, 9);
    b.Feed(m, enable, valve, 10);
    b.Feed(m, product, valve, 20);
    CNetworkModel* single = b.Drop(m, 10);
    b.Feed(m, enable, single, 10);
    CNetworkModel* dual = b.Drop(m, 11);
    b.Wire(m, invert, dual, 10);
    CNetworkModel* bits8 = b.Drop(m, 28);
    b.Feed(m, product, bits8, 10);
    CNetworkModel* bits16 = b.Drop(m, 29);
    b.Wire(m, valve, bits16, 10);
    CNetworkModel* bits32 = b.Drop(m, 30);
    b.Wire(m, neg, bits32, 10);
    CNetworkModel* comparator = b.Drop(m, 80);
    b.Feed(m, enable, comparator, 10);
    b.Feed(m, product, comparator, 20);
    b.Wire(m, valve, comparator, 30);

    // A running total through a Feedback Flow loop.
    CNetworkModel* acc = b.Drop(m, 21);
    b.Feed(m, product, acc);
    CNetworkModel* lag = b.Drop(m, 56);
    b.Wire(m, acc, lag, 10);
    b.Wire(m, lag, acc);

    CNetworkModel* onValue = b.Drop(m, 25);
    b.Wire(m, single, onValue, 10);
    b.Wire(m, none, onValue, 20);
    CNetworkModel* onEvent = b.Drop(m, 26);
    b.Feed(m, enable, onEvent, 10);
    b.Wire(m, invert, onEvent, 20);
    CNetworkModel* once = b.Drop(m, 90);
    b.Feed(m, enable, once, 10);
    b.Wire(m, none, once, 20);
    negated = b.Expose(m, neg, "negated");
    total = b.Expose(m, acc, "total");
}

/// Timing, storage and random value types.
CNetworkOutput* BuildUtility(CGoldenBuilder& b, CNetwork& m, CNetworkInput* x) {
    CNetworkModel* seven = b.Constant(m, kGoldenSeven);
    auto* delay = b.DropAs<CModelDelay>(m, 2);
    if (delay) b.Check(delay->SetFeedbackFactor(0.5), "setting the delay factor");
    b.Feed(m, x, delay, 10);
    auto* timer = b.DropAs<CModelTimer>(m, 14);
    if (timer) b.Check(timer->SetDelay(250.0), "setting the timer delay");
    b.Wire(m, seven, timer, 10);
    auto* rand = b.DropAs<CModelRandGen>(m, 43);
    if (rand) b.Check(rand->SetDraw({-5.0, 5.0, kRandInteger, kTimingCycles, 2, true}), "setting the draw");
    b.Wire(m, seven, rand, 10);
    auto* quantity = b.DropAs<CModelQuantityDiminish>(m, 68);
    if (quantity) {
        b.Check(quantity->SetContainer(-10.0, 50.0), "setting the container");
        b.Check(quantity->SetAuto(false, 2.5), "setting auto diminish");
    }
    b.Wire(m, seven, quantity, 40);
    auto* dynamic = b.DropAs<CModelDynamicNumber>(m, 81);
    if (dynamic) {
        CDynamicFields f;
        f.start = 5.0;
        f.draw = {-1.0, 1.0, kRandFloatSigned, kTimingCycles, 3, false};
        f.useFloor = true;
        f.useCeiling = true;
        f.floor = -20.0;
        f.ceiling = 20.0;
        b.Check(dynamic->SetFields(f), "setting the dynamic value");
    }
    return b.Expose(m, seven, "seven");
}

/// Vector, user control and simulation aid types in a module of their own, fed by
/// its own constants (so no record of the modules above changes).
void BuildAids(CGoldenBuilder& b, CSystem& s) {
    CNetwork* m = s.CreateModule("Aids", 450, 360);
    b.Check(m != nullptr, "creating the aids module");
    if (!m) return;
    CNetworkModel* three = b.Constant(*m, 3.0);
    CNetworkModel* four = b.Constant(*m, 4.0);
    CNetworkModel* twelve = b.Constant(*m, 12.0);
    auto* magnitude = b.DropAs<CModelVector2>(*m, 61);
    b.Wire(*m, three, magnitude, 20);
    b.Wire(*m, four, magnitude, 30);
    for (int32_t type : {62, 63, 64}) {
        CNetworkModel* v = b.Drop(*m, type);
        b.Wire(*m, three, v, 20);
        b.Wire(*m, twelve, v, 30);
    }
    struct VCase {
        int32_t type;
        int32_t operation;
    };
    for (const VCase& vc : {VCase{65, kVectorSubtract}, VCase{66, kVectorCross}}) {
        auto* v = b.DropAs<CModelVector2>(*m, vc.type);
        if (v) b.Check(v->SetOperation(vc.operation), "setting the vector operation");
        b.Wire(*m, four, v, 20);
        b.Wire(*m, three, v, 40);
    }
    auto* button = b.DropAs<CModelUserButton>(*m, 59);
    if (button) {
        b.Check(button->SetMode(kButtonToggle), "setting the button mode");
        button->m_value = 1.0;  // toggled on when saved
    }
    auto* upDown = b.DropAs<CModelUserButtonUpDown>(*m, 78);
    if (upDown) {
        b.Check(upDown->SetSteps(2.5, -0.5), "setting the up-down steps");
        upDown->m_value = 1.5;
    }
    auto* light = b.DropAs<CModelSimLight>(*m, 73);
    if (light) b.Check(light->SetColours({kLightBlue, kLightYellow}), "setting the light colours");
    b.Wire(*m, button, light, 20);
    CNetworkModel* stop = b.Drop(*m, 50);
    b.Wire(*m, button, stop, 10);
    auto* sound = b.DropAs<CModelSimAction>(*m, 51);
    if (sound) sound->SetSoundPath("/usr/share/sounds/zor2/alarm.wav");
    b.Wire(*m, button, sound, 20);
    auto* message = b.DropAs<CModelSimAction>(*m, 52);
    if (message) message->SetMessage(77, "Pressure high");
    auto* format = b.DropAs<CModelSimAction>(*m, 69);
    if (format) b.Check(format->SetFormat(kTargetValueWindow, 88, 0x336699), "setting the format");
    b.Wire(*m, button, format, 10);
    b.Drop(*m, 53);
    CNetworkModel* count = b.Drop(*m, 54);
    b.Publish(*m, b.Expose(*m, magnitude, "magnitude"), "Magnitude");
    b.Publish(*m, b.Expose(*m, count, "cycle"), "Cycle");
    b.Publish(*m, b.Expose(*m, upDown, "level"), "Level");
}

/// Signal sources, shaping, spectra and statistics: generator → gain → pre-emphasis
/// → echo → mixer → modulation → window → FFT → Voice MFCC, the statistics on x.
void BuildSignals(CGoldenBuilder& b, CNetwork& m, CNetworkInput* x) {
    auto* gen = b.DropAs<CModelSignalGen>(m, 35);
    if (gen) gen->SetParams({8000, 512, 250.0, 0.5});
    CNetworkModel* gain = b.Drop(m, 37);
    b.Wire(m, gen, gain, 10);
    b.Wire(m, b.Constant(m, 1.5), gain, 20);
    CNetworkModel* emphasis = b.Drop(m, 39);
    b.Wire(m, gain, emphasis, 10);
    b.Wire(m, b.Constant(m, 0.5), emphasis, 20);
    CNetworkModel* echo = b.Drop(m, 40);
    b.Wire(m, emphasis, echo, 10);
    const double echoInputs[] = {0.01, 0.25, 8000.0};
    for (int i = 0; i < 3; ++i) b.Wire(m, b.Constant(m, echoInputs[i]), echo, 20 + 10 * i);
    CNetworkModel* mixer = b.Drop(m, 36);
    b.Wire(m, echo, mixer, 10);
    b.Wire(m, gen, mixer, 20);
    CNetworkModel* modulation = b.Drop(m, 42);
    b.Wire(m, mixer, modulation, 10);
    b.Wire(m, gain, modulation, 20);
    auto* window = b.DropAs<CModelSignalWindow>(m, 38);
    if (window) window->SetWindowType(kWindowBlackman);
    b.Wire(m, modulation, window, 10);
    auto* fft = b.DropAs<CModelSignalFFT>(m, 32);
    if (fft) {
        fft->SetPoints(512);
        fft->SetSampleRate(8000.0);
    }
    b.Wire(m, window, fft, 10);
    auto* mfcc = b.DropAs<CModelSignalMFCC>(m, 33);
    std::vector<CMelEntry> entries = DefaultMelEntries(12);
    for (int32_t id : {3, 5, 8}) entries[static_cast<size_t>(id - 1)].enabled = true;
    if (mfcc) b.Check(mfcc->Configure({8000, 12, 150.0, 3000.0, 256}, entries), "building the filter bank");
    b.Wire(m, fft, mfcc, 10, 20);
    CNetworkModel* frameStats = b.Drop(m, 31);
    b.Wire(m, window, frameStats, 10);
    CNetworkModel* running = b.Drop(m, 27);
    b.Feed(m, x, running, 20);
    auto* average = b.DropAs<CModelStatsMovingAvg>(m, 58);
    if (average) average->SetLength(4);
    b.Wire(m, fft, average, 10, 40);
    CNetworkModel* total = b.Drop(m, 57);
    b.Feed(m, x, total, 10);
    const std::pair<CNetworkModel*, const char*> published[] = {
        {mfcc, "MFCC c3"},         {fft, "Bins"},
        {frameStats, "Frame min"}, {running, "Running min"},
        {average, "Peak average"}, {total, "Running total"}};
    for (const auto& [c, name] : published) b.Publish(m, b.Expose(m, c, name), name);
}

/// A neural network with two inputs and two outputs, four vectors and a few
/// passes learned. Built last, so that its draws leave every other id as it was.
void BuildNeuralNetwork(CGoldenBuilder& b, CNetwork& m) {
    auto* nn = b.DropAs<CModelNeuralNetwork>(m, kTypeNeuralNetwork);
    if (!nn) return;
    for (int i = 0; i < 2; ++i) b.Check(nn->AddNetworkInput() != nullptr, "adding a network input");
    for (int o = 0; o < 2; ++o) b.Check(nn->AddNetworkOutput() != nullptr, "adding a network output");
    CNN& net = nn->Network();
    const double rows[][3] = {{0.1, 0.9, 0}, {0.2, 0.7, 0}, {0.9, 0.2, 1}, {0.8, 0.1, 1}};
    for (const auto& r : rows) {
        CNNFeatureVector& v = net.m_vectors.emplace_back();
        v.name = "vector " + std::to_string(net.m_vectors.size());
        v.targetId = net.m_outputs[static_cast<size_t>(r[2])].id;
        for (size_t i = 0; i < 2; ++i) {
            v.features.push_back({net.m_sensory[i].id, {}, r[i], static_cast<int32_t>(i)});
            net.m_sensory[i].Widen(r[i]);
        }
    }
    net.Restructure(nn->Random());
    b.Check(nn->SetLearnRate(0.3), "setting the learn rate");
    nn->BeginLearning();
    nn->Trainer().m_progress.running = true;
    for (int pass = 0; pass < 5; ++pass) nn->LearnPass();
    nn->EndLearning();
}

/// Pattern, segmenter, data and display types in a module of their own. The
/// CSV files they name are relative and gone when the build ends, so the bytes
/// do not depend on the folder it ran in.
CNetworkOutput* BuildDataAndDisplays(CGoldenBuilder& b, CNetwork& m, CNetworkInput* x) {
    CNetworkModel* k = b.Constant(m, 2.0);
    auto* single = b.DropAs<CModelSegmenter>(m, kTypeSegmenterSingle);
    if (single) single->SetThresholds({{0, 4.0}, {0, -1.5}});
    b.Feed(m, x, single, 10);
    auto* multiple = b.DropAs<CModelSegmenter>(m, kTypeSegmenterMultiple);
    if (multiple) multiple->SetThresholds({{0, 2.5}, {0, 0.0}, {0, 2.5}});
    b.Feed(m, x, multiple, 10);
    auto* generator = b.DropAs<CModelPatternGenerator>(m, kTypePatternGenerator);
    if (generator) {
        for (int i = 0; i < 3; ++i) b.Check(generator->AddPatternOutput(), "adding a generator output");
        generator->SetPatterns({{0, 0b101, "five", 5}, {0, 0b010, "zero", 0}});
    }
    b.Feed(m, x, generator, 20);
    auto* analyzer = b.DropAs<CModelPatternAnalyzer>(m, kTypePatternAnalyzer);
    if (analyzer) {
        analyzer->TakeImportHeader({"Name", "ID", "Left", "Right"}, true);
        analyzer->Analysis().m_registered = {{21, 3, "both"}, {22, 1, "left"}};
    }
    b.Feed(m, x, analyzer, 2);
    b.Wire(m, k, analyzer, 3);
    CNetworkModel* recorder = b.Drop(m, kTypePatternRecorder);
    b.Feed(m, x, recorder);
    b.Wire(m, k, recorder);
    auto* count = b.DropAs<CModelMatchCount>(m, kTypeMatchCount);
    if (count) {
        count->SetEnabled(false);
        count->m_tolerance = 0.5;
    }
    b.Feed(m, x, count);
    b.Wire(m, k, count);
    const char* data = "golden_data.csv";
    std::ofstream(data) << "speed,load\n1,2\n";
    auto* input = b.DropAs<CModelDataImport>(m, kTypeCsvInput);
    if (input) {
        input->ChangeFile(data);
        input->SetLoop(true);
    }
    std::remove(data);
    auto* log = b.DropAs<CModelLogBook>(m, kTypeCsvOutput);
    if (log) {
        std::remove(log->Path().c_str());
        log->SetPath("golden_log.csv");
    }
    b.Feed(m, x, log);
    CNetworkModel* store = b.Drop(m, kTypeDataStore);
    b.Wire(m, k, store, 10);
    b.Feed(m, x, store, 20);
    auto* digit = b.DropAs<CModelLEDDigit>(m, kTypeLedDigit);
    if (digit) digit->SetColour(0x00FF00);
    b.Wire(m, k, digit, 30);
    auto* chart = b.DropAs<CModelChartColumn>(m, kTypeChartColumn);
    if (chart)
        b.Check(chart->SetLimits(20, 80, {0x0000FF, 0x00FFFF, 0x00FF00}).empty(), "setting the chart limits");
    b.Feed(m, x, chart);
    auto* controller = b.DropAs<CModel8x8Controller>(m, kType8x8Controller);
    if (controller) {
        CPattern64Bit picture{0, 2, "corners"};
        for (int cell : {0, 7, 56, 63}) picture.m_cells[static_cast<size_t>(cell)] = 3.0;
        controller->SetPatterns({picture});
    }
    b.Wire(m, k, controller, 20);
    auto* display = b.DropAs<CModel8x8Display>(m, kType8x8Display);
    if (display) display->SetLook(0x203040, 2);
    b.Wire(m, controller, display, 20);
    std::remove("golden_log.csv");
    return b.Expose(m, single, "segment");
}

/// Decision types on x: a matrix with named outputs and painted cells, and a
/// sequencer whose sequence of trigger 3 repeats a step and a ramp.
void BuildDecision(CGoldenBuilder& b, CNetwork& m, CNetworkInput* x) {
    if (auto* matrix = b.DropAs<CModelDecisionMatrix>(m, kTypeDecisionMatrix)) {
        matrix->m_description = "x against nothing";
        b.Check(matrix->AddThreshold(1, 2.5) && matrix->AddThreshold(2, -1.0), "adding thresholds");
        CModelOutput* low = matrix->AddDecisionOutput("Low", 0x3030C0);
        CModelOutput* high = matrix->AddDecisionOutput("High", 0x30C030);
        b.Check(low && high && matrix->AssignDecisions({{0, 0}, {1, 2}}, low->m_id) == 2 &&
                    matrix->AssignDecisions({{2, 1}}, high->m_id) == 1,
                "painting decisions");
        b.Feed(m, x, matrix, kDecisionInput1PortId);
    }
    if (auto* seq = b.DropAs<CModelActionSequence>(m, kTypeActionSequence)) {
        const int32_t motor = seq->NewOutput()->m_id;
        const int32_t lamp = seq->NewOutput()->m_id;
        CActionSequence& walk = seq->NewSequence();
        walk.m_name = "Walk";
        walk.m_description = "x = 3";
        walk.m_trigger = 3;
        walk.m_repeat = true;
        seq->AddAction(walk, motor, 0, 300);
        CAction& ramp = seq->AddAction(walk, lamp, 100, 400);
        ramp.m_type = kActionDynamic;
        ramp.m_startValue = 1.0;
        ramp.m_endValue = 5.0;
        CAction& hold = seq->AddAction(seq->NewSequence(), motor, 200, 100);
        hold.m_type = kActionConstant;
        hold.m_constantValue = -2.0;
        b.Feed(m, x, seq, kSequencerPatternInputId);
    }
}

/// Three modules wired to each other and to the system ports; returns the system input x.
CExternalInput* BuildWiredModules(CGoldenBuilder& b, CSystem& s) {
    s.m_name = "All types";
    s.m_systemId = 4242;
    s.m_description = "Every registered component type, wired across three modules.";
    CExternalInput* x = b.Input("x", 1, 3.0);
    CExternalInput* y = b.Input("y", 1, 4.0);
    CExternalInput* enable = b.Input("enable", 1, 1.0);
    CExternalInput* spare = b.Input("Spare array", 2, 0.0);
    if (x) x->m_description = "first operand";
    if (spare) spare->m_description = "never connected";

    CNetwork* a = s.CreateModule("Arithm\u00e9tique", 150, 120);
    CNetwork* logic = s.CreateModule("Logic", 450, 120);
    CNetwork* utility = s.CreateModule("Utility", 150, 360);
    CNetworkOutput* product = nullptr;
    // One statement per connection: the order of arguments' evaluation is the compiler's.
    CNetworkInput* ax = b.FromSystem(x, *a);
    CNetworkInput* ay = b.FromSystem(y, *a);
    CNetworkOutput* sum = BuildArithmetic(b, *a, ax, ay, product);

    // Module to module: the product feeds the logic module.
    CNetworkConnection* link = product ? s.ConnectModules(*a, *logic, product, nullptr) : nullptr;
    b.Check(link && link->m_dstInput, "connecting the modules");
    CNetworkOutput* negated = nullptr;
    CNetworkOutput* total = nullptr;
    CNetworkInput* logicEnable = b.FromSystem(enable, *logic);
    BuildLogic(b, *logic, link ? link->m_dstInput : nullptr, logicEnable, negated, total);
    CNetworkOutput* seven = BuildUtility(b, *utility, b.FromSystem(x, *utility));

    if (CExternalOutput* q = b.Publish(*a, sum, "Sum")) q->m_description = "x + y + 2.5";
    b.Publish(*logic, negated, "Negated");
    b.Publish(*logic, total, "Total");
    b.Publish(*utility, seven, "Seven");
    // Longer than the runtime file's 99-character name field.
    b.Publish(*a, product, "Product " + std::string(120, 'p'));
    s.CreateSystemOutput("Loose", 1);
    return x;
}

/// The wired modules alone: a file that stays as it is while types are added, for
/// tests that name offsets in it.
void BuildWiring(CSystem& s, std::vector<std::string>& problems) {
    CGoldenBuilder b(s, problems);
    BuildWiredModules(b, s);
    s.ComputeLevels();
}

/// The wired modules and every other registered type in modules of their own.
void BuildAllTypes(CSystem& s, std::vector<std::string>& problems) {
    CGoldenBuilder b(s, problems);
    CExternalInput* x = BuildWiredModules(b, s);
    BuildAids(b, s);
    CNetwork* signals = s.CreateModule("Signals", 750, 360);
    BuildSignals(b, *signals, b.FromSystem(x, *signals));
    CNetwork* decisions = s.CreateModule("Decisions", 1050, 360);
    BuildNeuralNetwork(b, *decisions);
    // Added after every earlier draw of the random source, so the records before stay as they were.
    CNetwork* data = s.CreateModule("Data and displays", 1350, 360);
    CNetworkOutput* segment = BuildDataAndDisplays(b, *data, b.FromSystem(x, *data));
    b.Publish(*data, segment, "Segment");
    CNetwork* decide = s.CreateModule("Decide", 1650, 360);
    BuildDecision(b, *decide, b.FromSystem(x, *decide));
    s.ComputeLevels();
}

void BuildEmpty(CSystem& s, std::vector<std::string>&) {
    s.m_name = "Empty";
    s.m_systemId = 31000;
}

constexpr std::array<CGoldenCase, 3> kCases = {{
    {"all_types", 20240611, BuildAllTypes},
    {"wiring", 20240611, BuildWiring},
    {"empty", 7, BuildEmpty},
}};

}  // namespace

std::span<const CGoldenCase> GoldenCases() {
    return kCases;
}

std::vector<std::string> BuildGoldenProject(const CGoldenCase& c, CSystem& system, CLcgRandom& random) {
    std::vector<std::string> problems;
    random.Seed(c.seed);
    system.SetRandom(&random);
    system.NewProject();
    c.build(system, problems);
    return problems;
}

std::string GoldenProjectName(const CGoldenCase& c) {
    return std::string(c.name) + ".zr2";
}
std::string GoldenRuntimeName(const CGoldenCase& c) {
    return std::string(c.name) + ".z2r";
}
std::string GoldenManifestName(const CGoldenCase& c) {
    return "ZOR2_RT_MANIFEST_" + std::string(c.name) + ".txt";
}

double GoldenSum(const CGoldenInputs& in) {
    return in.x + in.y + 2.5;
}
double GoldenNegated(const CGoldenInputs& in) {
    return -GoldenSum(in) * 2.5;
}

}  // namespace zor2::test
