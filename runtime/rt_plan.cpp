// Building and running a module's compiled cycle. The arithmetic goes through the
// kernels the designer uses, so both compute every value the same way.
#include "runtime/rt_plan.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>

#include "algo/platform.h"
#include "components/decision/feedback_kernel.h"
#include "components/logic/toggle_kernel.h"
#include "components/logic/truth_check_kernel.h"
#include "components/logic/valve_kernel.h"
#include "components/math/compare_kernel.h"
#include "components/math/math_exp_kernel.h"
#include "components/math/math_kernel.h"
#include "components/utility/timing_kernel.h"

namespace zor2 {

static_assert(sizeof(CRStep) == 16 + 4 * sizeof(void*),
              "a step stays small: the cycle walks them back to back");

namespace {

/// Two-source arithmetic; `a` is the first input's value.
template <int32_t kType>
inline double Pair(double a, double b) {
    CMathAccumulator fold(kType);
    fold.Add(a);
    fold.Add(b);
    return fold.Result();
}

/// The fold's 0 + a + b. Adding 0 only turns -0 into +0, so a + (b + 0) is the
/// same value, signed zeros included, with the 0 taken off the chain through `a`.
template <>
inline double Pair<kMathAdd>(double a, double b) {
    return a + (b + 0.0);
}

ERStepKind PairKind(int32_t type) {
    switch (type) {
        case kMathAdd:
            return kStepAdd;
        case kMathSubtract:
            return kStepSubtract;
        case kMathMultiply:
            return kStepMultiply;
        case kMathDivide:
            return kStepDivide;
        case kMathGetMin:
            return kStepGetMin;
        case kMathGetMax:
            return kStepGetMax;
        default:
            return kStepCallThrough;
    }
}

// What the kinds of one input compute from it, `x`, and their step.

/// A counter without a reset: both types count alike.
inline double CountOf(double x, const CRStep& s) {
    return static_cast<double>(CounterStep(kTypeCounterOnEvent, *s.m_out, x != 0.0, false, 0.0).count);
}
/// A Delay with its feedback input, m_out its last output.
inline double DelayOf(double x, const CRStep& s) {
    return x + DelayFeedback(*s.m_out, kDelayDefaultFactor);
}
inline double NegateOf(double x, const CRStep&) {
    return -x;
}
/// A Valve passing x, m_b its "Enabler".
inline double ValveOf(double x, const CRStep& s) {
    return ValveOutput(IsTrue(*s.m_b), x);
}
inline double AbsoluteOf(double x, const CRStep&) {
    return MathExpCompute(kMathExpAbsolute, true, x, 1);
}
inline double SquareRootOf(double x, const CRStep&) {
    return MathExpCompute(kMathExpSquareRoot, true, x, 1);
}
/// x to the power m_b gives.
inline double PowerOf(double x, const CRStep& s) {
    return MathExpCompute(kMathExpPower, true, x, MathExpPower(*s.m_b));
}

/// A toggle flipping on a true x; m_out holds its state, m_second takes the opposite.
inline double ToggleOf(double x, const CRStep& s) {
    const double held = *s.m_out;
    const bool state = IsTrue(held);
    const bool next = ToggleNext(state, IsTrue(x));
    *s.m_second = next ? 0.0 : 1.0;
    // The state is written only when it flips, so any other true value it holds stays.
    return next != state ? (next ? 1.0 : 0.0) : held;
}

/// A kind that takes its first input from the register.
bool TakesRegister(ERStepKind kind) {
    switch (kind) {
        case kStepCounterChained:
        case kStepCountChained:
        case kStepCompareChained:
        case kStepCompareEqualOne:
        case kStepCompareGreaterOne:
        case kStepCompareLessOne:
        case kStepDelayChained:
        case kStepNegateChained:
        case kStepValveChained:
        case kStepAbsoluteChained:
        case kStepSquareRootChained:
        case kStepPowerChained:
        case kStepToggleChained:
            return true;
        default:
            return kind >= kStepDelayAdd || (kind > kStepAdd && (kind - kStepAdd) % 2 == 1);
    }
}

bool Chainable(ERStepKind kind) {
    return kind >= kStepAdd && kind < kStepDelayAdd && (kind - kStepAdd) % 2 == 0;
}

/// A kind whose next kind takes m_a's value from the register instead.
bool ChainsOnA(ERStepKind kind) {
    switch (kind) {
        case kStepCounter:
        case kStepCount:
        case kStepDelay:
        case kStepNegate:
        case kStepValve:
        case kStepAbsolute:
        case kStepSquareRoot:
        case kStepPower:
        case kStepToggle:
            return true;
        default:
            return Chainable(kind);
    }
}

/// The source of an input that is missing or unfed and reads as 0.
constexpr double kZero = 0.0;

}  // namespace

void CRPlan::Clear() {
    // The outputs take back what they hold, so a plan built again starts from it.
    for (const auto& [record, slot] : m_slotOf) *record = m_slots[slot];
    for (const auto& [input, source] : m_redirected) input->m_source = source;
    m_steps.clear();
    m_sources.clear();
    m_compares.clear();
    m_copies.clear();
    m_settle.clear();
    m_slots.clear();
    m_slotOf.clear();
    m_redirected.clear();
    m_needsTick = false;
    m_finished = false;
    m_threaded = false;
}

void CRPlan::Push(CRStep step) {
    if (!m_steps.empty() && m_steps.back().m_kind != kStepCallThrough) {
        // Every compiled step leaves the value it published in the register.
        const double* published = m_steps.back().m_out;
        const bool chained = ChainsOnA(step.m_kind)
                                 ? step.m_a == published
                                 : step.m_kind == kStepCompare && step.m_sourceCount == 1 &&
                                       m_sources[step.m_firstSource] == published;
        if (chained) step.m_kind = static_cast<ERStepKind>(step.m_kind + 1);
        CRStep& back = m_steps.back();
        if (chained && back.m_kind == kStepDelayChained &&
            Chainable(static_cast<ERStepKind>(step.m_kind - 1))) {
            // The operation reads the Delay's output from the register anyway; one
            // step saves a dispatch and a store-to-register hand-off per cell.
            back.m_kind = static_cast<ERStepKind>(kStepDelayAdd + (step.m_kind - kStepAddChained) / 2);
            back.m_delayOut = back.m_out;
            back.m_copyTo = &m_sink;
            back.m_b = step.m_b;
            back.m_out = step.m_out;
            return;
        }
    }
    m_steps.push_back(step);
}

void CRPlan::AddCallThrough(CRNetworkModel& model) {
    CRStep step;
    step.m_model = &model;
    Push(step);
}

void CRPlan::AddCopy(const double* from, double* to) {
    if (!m_steps.empty()) {
        CRStep& back = m_steps.back();
        if (back.m_kind == kStepCopies && back.m_firstSource + back.m_sourceCount == m_copies.size()) {
            m_copies.push_back({from, to});
            ++back.m_sourceCount;
            back.m_out = to;
            return;
        }
    }
    CRStep step;
    step.m_kind = kStepCopies;
    step.m_firstSource = static_cast<uint32_t>(m_copies.size());
    step.m_sourceCount = 1;
    step.m_out = to;
    m_copies.push_back({from, to});
    Push(step);
}

void CRPlan::AddConstant(const double& value, double& out) {
    AddCopy(&value, &out);
}

bool CRPlan::AddMath(int32_t type, std::span<const CRModelInput> inputs, double& out) {
    const ERStepKind pair = PairKind(type);
    if (pair == kStepCallThrough) return false;
    CRStep step;
    step.m_out = &out;
    if (inputs.size() == 2) {
        step.m_kind = pair;
        step.m_a = SourceOf(inputs[0]);
        step.m_b = SourceOf(inputs[1]);
    } else {
        step.m_kind = kStepMath;
        step.m_type = static_cast<int16_t>(type);
        step.m_firstSource = static_cast<uint32_t>(m_sources.size());
        step.m_sourceCount = static_cast<uint32_t>(inputs.size());
        for (const CRModelInput& in : inputs) m_sources.push_back(SourceOf(in));
    }
    Push(step);
    return true;
}

void CRPlan::AddRangeCheck(CRModelInput* const (&inputs)[3], double& out) {
    CRStep step;
    step.m_kind = kStepRangeCheck;
    step.m_firstSource = static_cast<uint32_t>(m_sources.size());
    step.m_sourceCount = 3;
    for (int i = 0; i < 3; ++i) {
        const CRModelInput* in = inputs[i];
        m_sources.push_back(in && in->HasSource() ? in->m_source : &kRangeCheckDefaults[i]);
    }
    step.m_out = &out;
    Push(step);
}

void CRPlan::AddTruthCheck(int32_t type, std::span<const CRModelInput> inputs, double& out) {
    CRStep step;
    step.m_kind = kStepTruthCheck;
    step.m_type = static_cast<int16_t>(type);
    step.m_firstSource = static_cast<uint32_t>(m_sources.size());
    step.m_sourceCount = static_cast<uint32_t>(inputs.size());
    for (const CRModelInput& in : inputs) m_sources.push_back(SourceOf(in));
    step.m_out = &out;
    Push(step);
}

void CRPlan::AddCounter(int32_t type, const double* event, const double* reset, double& out) {
    CRStep step;
    // Without a reset both types only count, which the plan can tell once here.
    step.m_kind = reset ? kStepCounter : kStepCount;
    step.m_type = static_cast<int16_t>(type);
    step.m_a = reset || event ? event : &kZero;
    step.m_b = reset;
    step.m_out = &out;
    Push(step);
}

void CRPlan::AddReverseSign(const double* source, double& out) {
    // Unfed it publishes a +0, which a copy of a zero does.
    if (!source) return AddCopy(&kZero, &out);
    CRStep step;
    step.m_kind = kStepNegate;
    step.m_a = source;
    step.m_out = &out;
    Push(step);
}

void CRPlan::AddValve(const double* enabler, const double* value, double& out) {
    if (!enabler || !value) return AddCopy(&kZero, &out);
    CRStep step;
    step.m_kind = kStepValve;
    step.m_a = value;
    step.m_b = enabler;
    step.m_out = &out;
    Push(step);
}

bool CRPlan::AddMathExp(int32_t type, const double* x, const double* power, double& out) {
    static constexpr double kOne = 1.0;
    CRStep step;
    switch (type) {
        case kMathExpAbsolute:
            step.m_kind = kStepAbsolute;
            break;
        case kMathExpSquareRoot:
            step.m_kind = kStepSquareRoot;
            break;
        case kMathExpPower:
            step.m_kind = kStepPower;
            step.m_b = power ? power : &kOne;
            break;
        default:
            return false;
    }
    step.m_a = x;
    step.m_out = &out;
    Push(step);
    return true;
}

void CRPlan::AddToggle(const double* input, double& out, double* second) {
    CRStep step;
    step.m_kind = kStepToggle;
    step.m_a = input ? input : &kZero;
    step.m_out = &out;
    step.m_second = second ? second : &m_sink;
    Push(step);
}

void CRPlan::AddDelay(const double* raw, bool feedback, double& out) {
    CRStep step;
    step.m_a = raw ? raw : &kZero;
    step.m_out = &out;
    if (feedback) {
        step.m_kind = kStepDelay;
    } else {
        // raw + 0, which is what an Add of raw and 0 computes.
        step.m_kind = kStepAdd;
        step.m_b = &kZero;
    }
    Push(step);
}

void CRPlan::AddTimer(CTimerRunState& state, const double* on, const double* delay, double* out) {
    CRStep step;
    step.m_kind = kStepTimer;
    step.m_a = on;
    step.m_b = delay;
    step.m_out = out ? out : &m_sink;
    step.m_timer = &state;
    m_needsTick = true;
    Push(step);
}

void CRPlan::AddFeedback(CFeedbackState& state, const double* source, const double& value, double* out) {
    if (source) {
        m_settle.emplace_back(&state, &value);
        return AddCopy(source, out ? out : &m_sink);
    }
    CRStep step;
    step.m_kind = kStepFeedback;
    step.m_a = source;
    step.m_b = &value;
    step.m_out = out ? out : &m_sink;
    step.m_feedback = &state;
    Push(step);
}

void CRPlan::AddCompare(int32_t type, std::span<const CRModelInput* const> tested, int32_t connected,
                        const double& compareValue, const double& tolerance, double& out, double* count,
                        double* satisfied) {
    CRStep step;
    step.m_kind = kStepCompare;
    step.m_type = static_cast<int16_t>(type);
    step.m_firstSource = static_cast<uint32_t>(m_sources.size());
    step.m_sourceCount = static_cast<uint32_t>(tested.size());
    for (const CRModelInput* in : tested) m_sources.push_back(SourceOf(*in));
    step.m_record = static_cast<uint32_t>(m_compares.size());
    m_compares.push_back({connected, count ? count : &m_sink, satisfied ? satisfied : &m_sink,
                          count == &out || satisfied == &out});
    step.m_a = &compareValue;
    step.m_b = &tolerance;
    step.m_out = &out;
    Push(step);
    CRStep& pushed = m_steps.back();
    if (pushed.m_kind == kStepCompareChained && connected == 1 && !m_compares.back().m_readBack) {
        // One tested input, fed: its test alone decides every output.
        static constexpr ERStepKind kOne[3] = {kStepCompareEqualOne, kStepCompareGreaterOne,
                                               kStepCompareLessOne};
        pushed.m_kind = kOne[(type - kCompareInputEqual) % 3];
    }
}

double* CRPlan::SlotOf(const double* record) {
    auto it = std::lower_bound(m_slotOf.begin(), m_slotOf.end(), record,
                               [](const std::pair<double*, uint32_t>& e, const double* p) {
                                   return std::less<const double*>()(e.first, p);
                               });
    return it != m_slotOf.end() && it->first == record ? &m_slots[it->second] : nullptr;
}

const double* CRPlan::Resolve(const double* record) const {
    const double* slot = const_cast<CRPlan*>(this)->SlotOf(record);
    return slot ? slot : record;
}

void CRPlan::Finish() {
    // Every value a compiled step publishes gets one slot, in step order, so the
    // values a cycle writes one after another sit side by side.
    std::vector<double*> published;
    for (const CRStep& s : m_steps) {
        if (s.m_kind == kStepCopies) {
            for (uint32_t i = 0; i < s.m_sourceCount; ++i) {
                double* to = m_copies[s.m_firstSource + i].m_to;
                if (to != &m_sink) published.push_back(to);
            }
        } else if (s.m_kind != kStepCallThrough && s.m_out != &m_sink) {
            if (s.m_kind >= kStepDelayAdd) published.push_back(s.m_delayOut);
            published.push_back(s.m_out);
            if ((s.m_kind == kStepToggle || s.m_kind == kStepToggleChained) && s.m_second != &m_sink)
                published.push_back(s.m_second);
        }
    }
    for (const CRCompareRecord& r : m_compares) {
        if (r.m_count != &m_sink) published.push_back(r.m_count);
        if (r.m_satisfied != &m_sink) published.push_back(r.m_satisfied);
    }
    const auto byAddress = [](const std::pair<double*, uint32_t>& x, const std::pair<double*, uint32_t>& y) {
        return std::less<const double*>()(x.first, y.first) || (x.first == y.first && x.second < y.second);
    };
    m_slotOf.clear();
    for (size_t i = 0; i < published.size(); ++i)
        m_slotOf.emplace_back(published[i], static_cast<uint32_t>(i));
    std::sort(m_slotOf.begin(), m_slotOf.end(), byAddress);
    // A Compare may list one output twice: the first mention keeps the slot.
    m_slotOf.erase(std::unique(m_slotOf.begin(), m_slotOf.end(),
                               [](const auto& x, const auto& y) { return x.first == y.first; }),
                   m_slotOf.end());
    constexpr uint32_t kNone = UINT32_MAX;
    std::vector<uint32_t> rank(published.size(), kNone);
    for (const auto& e : m_slotOf) rank[e.second] = 0;
    uint32_t count = 0;
    for (uint32_t& r : rank) {
        if (r != kNone) r = count++;
    }
    m_slots.assign(count, 0.0);
    for (auto& e : m_slotOf) {
        e.second = rank[e.second];
        m_slots[e.second] = *e.first;
    }

    const auto take = [this](const double*& p) {
        if (const double* slot = p ? SlotOf(p) : nullptr) p = slot;
    };
    for (CRStep& s : m_steps) {
        if (s.m_kind == kStepCallThrough) {
            // The component's own phases pull through m_source; pointed into the
            // array for as long as the plan lives.
            for (CRModelInput& in : s.m_model->m_inputs) {
                if (const double* slot = in.m_source ? SlotOf(in.m_source) : nullptr) {
                    m_redirected.emplace_back(&in, in.m_source);
                    in.m_source = slot;
                }
            }
            continue;
        }
        take(s.m_a);
        take(s.m_b);
        if (double* slot = SlotOf(s.m_out)) s.m_out = slot;
        if (s.m_kind >= kStepDelayAdd) {
            if (double* slot = SlotOf(s.m_delayOut)) s.m_delayOut = slot;
        }
        if (s.m_kind == kStepToggle || s.m_kind == kStepToggleChained) {
            if (double* slot = SlotOf(s.m_second)) s.m_second = slot;
        }
    }
    for (const double*& p : m_sources) take(p);
    for (CRPlanCopy& c : m_copies) {
        take(c.m_from);
        if (double* slot = SlotOf(c.m_to)) c.m_to = slot;
    }
    for (CRCompareRecord& r : m_compares) {
        if (double* slot = SlotOf(r.m_count)) r.m_count = slot;
        if (double* slot = SlotOf(r.m_satisfied)) r.m_satisfied = slot;
    }
    // The records stay where they are from here on.
    for (CRStep& s : m_steps) {
        if (s.m_kind >= kStepCompare && s.m_kind <= kStepCompareLessOne)
            s.m_compare = &m_compares[s.m_record];
    }
    JoinCopies();
    CRStep end;
    end.m_kind = kStepEnd;
    m_steps.push_back(end);
    m_finished = true;
    m_threaded = false;
}

void CRPlan::JoinCopies() {
    // A fed Feedback Flow's copy runs after every other step, but where nothing
    // reads its target between the joined Delay step that publishes its source and
    // the copy, that step can store the same value as it goes.
    std::vector<std::pair<const double*, uint32_t>> delays;  // a joined Delay's output, its step
    for (uint32_t k = 0; k < m_steps.size(); ++k) {
        if (m_steps[k].m_kind >= kStepDelayAdd) delays.emplace_back(m_steps[k].m_delayOut, k);
    }
    if (delays.empty()) return;
    // By address through std::less, then by position.
    const auto before = [](const auto& x, const auto& y) {
        return std::less<const double*>()(x.first, y.first) || (x.first == y.first && x.second < y.second);
    };
    std::sort(delays.begin(), delays.end(), before);
    // Every read of a value, at (step << 32 | entry of a copy step).
    std::vector<std::pair<const double*, uint64_t>> reads;
    for (uint32_t k = 0; k < m_steps.size(); ++k) {
        const CRStep& s = m_steps[k];
        const uint64_t at = uint64_t{k} << 32;
        if (s.m_kind == kStepCallThrough) {
            for (const CRModelInput& in : s.m_model->m_inputs) {
                if (in.m_source) reads.emplace_back(in.m_source, at);
            }
        } else if (s.m_kind == kStepCopies) {
            for (uint32_t j = 0; j < s.m_sourceCount; ++j)
                reads.emplace_back(m_copies[s.m_firstSource + j].m_from, at | j);
        } else {
            if (s.m_kind < kStepDelayAdd && s.m_a) reads.emplace_back(s.m_a, at);
            if (s.m_b) reads.emplace_back(s.m_b, at);
            for (uint32_t i = 0; i < s.m_sourceCount; ++i)
                reads.emplace_back(m_sources[s.m_firstSource + i], at);
        }
    }
    std::sort(reads.begin(), reads.end(), before);
    std::vector<bool> joined(m_copies.size(), false);
    bool any = false;
    for (uint32_t k = 0; k < m_steps.size(); ++k) {
        const CRStep& s = m_steps[k];
        if (s.m_kind != kStepCopies) continue;
        for (uint32_t j = 0; j < s.m_sourceCount; ++j) {
            const CRPlanCopy& c = m_copies[s.m_firstSource + j];
            auto d = std::lower_bound(delays.begin(), delays.end(),
                                      std::pair<const double*, uint32_t>(c.m_from, 0), before);
            if (d == delays.end() || d->first != c.m_from || d->second > k) continue;
            CRStep& publisher = m_steps[d->second];
            if (publisher.m_copyTo != &m_sink) continue;
            // The last copy leaves its value in the register for a step that takes it.
            if (j + 1 == s.m_sourceCount && k + 1 < m_steps.size() && TakesRegister(m_steps[k + 1].m_kind))
                continue;
            const uint64_t from = (uint64_t{d->second} << 32) + 1;
            const uint64_t to = (uint64_t{k} << 32) | j;
            auto r = std::lower_bound(reads.begin(), reads.end(),
                                      std::pair<const double*, uint64_t>(c.m_to, from), before);
            if (r != reads.end() && r->first == c.m_to && r->second < to) continue;
            publisher.m_copyTo = c.m_to;
            joined[s.m_firstSource + j] = true;
            any = true;
        }
    }
    if (!any) return;
    // The copies left, in order; a copy step left with none goes.
    std::vector<CRPlanCopy> kept;
    std::vector<CRStep> steps;
    for (CRStep s : m_steps) {
        if (s.m_kind == kStepCopies) {
            const uint32_t first = static_cast<uint32_t>(kept.size());
            for (uint32_t j = 0; j < s.m_sourceCount; ++j) {
                if (!joined[s.m_firstSource + j]) kept.push_back(m_copies[s.m_firstSource + j]);
            }
            s.m_firstSource = first;
            s.m_sourceCount = static_cast<uint32_t>(kept.size()) - first;
            if (s.m_sourceCount == 0) continue;
            s.m_out = kept.back().m_to;
        }
        steps.push_back(s);
    }
    m_copies = std::move(kept);
    m_steps = std::move(steps);
}

void CRPlan::Run(uint32_t now) {
    // Threaded dispatch: every step jumps straight to the next one's code, so each
    // kind has its own indirect jump for the predictor to learn what follows it.
    // A step holds its code as an offset from the first kind's, so a jump needs
    // one load from the step and no table.
    const char* const kBase = static_cast<const char*>(&&kStepCallThrough);
#define ZOR2_CODE(kind) static_cast<int32_t>(static_cast<const char*>(&&kind) - kBase)
    static const int32_t kCode[] = {ZOR2_CODE(kStepCallThrough),
                                    ZOR2_CODE(kStepCopies),
                                    ZOR2_CODE(kStepRangeCheck),
                                    ZOR2_CODE(kStepMath),
                                    ZOR2_CODE(kStepTruthCheck),
                                    ZOR2_CODE(kStepCounter),
                                    ZOR2_CODE(kStepCounterChained),
                                    ZOR2_CODE(kStepCount),
                                    ZOR2_CODE(kStepCountChained),
                                    ZOR2_CODE(kStepCompare),
                                    ZOR2_CODE(kStepCompareChained),
                                    ZOR2_CODE(kStepCompareEqualOne),
                                    ZOR2_CODE(kStepCompareGreaterOne),
                                    ZOR2_CODE(kStepCompareLessOne),
                                    ZOR2_CODE(kStepDelay),
                                    ZOR2_CODE(kStepDelayChained),
                                    ZOR2_CODE(kStepNegate),
                                    ZOR2_CODE(kStepNegateChained),
                                    ZOR2_CODE(kStepValve),
                                    ZOR2_CODE(kStepValveChained),
                                    ZOR2_CODE(kStepAbsolute),
                                    ZOR2_CODE(kStepAbsoluteChained),
                                    ZOR2_CODE(kStepSquareRoot),
                                    ZOR2_CODE(kStepSquareRootChained),
                                    ZOR2_CODE(kStepPower),
                                    ZOR2_CODE(kStepPowerChained),
                                    ZOR2_CODE(kStepToggle),
                                    ZOR2_CODE(kStepToggleChained),
                                    ZOR2_CODE(kStepTimer),
                                    ZOR2_CODE(kStepFeedback),
                                    ZOR2_CODE(kStepEnd),
                                    ZOR2_CODE(kStepAdd),
                                    ZOR2_CODE(kStepAddChained),
                                    ZOR2_CODE(kStepSubtract),
                                    ZOR2_CODE(kStepSubtractChained),
                                    ZOR2_CODE(kStepMultiply),
                                    ZOR2_CODE(kStepMultiplyChained),
                                    ZOR2_CODE(kStepDivide),
                                    ZOR2_CODE(kStepDivideChained),
                                    ZOR2_CODE(kStepGetMin),
                                    ZOR2_CODE(kStepGetMinChained),
                                    ZOR2_CODE(kStepGetMax),
                                    ZOR2_CODE(kStepGetMaxChained),
                                    ZOR2_CODE(kStepDelayAdd),
                                    ZOR2_CODE(kStepDelaySubtract),
                                    ZOR2_CODE(kStepDelayMultiply),
                                    ZOR2_CODE(kStepDelayDivide),
                                    ZOR2_CODE(kStepDelayGetMin),
                                    ZOR2_CODE(kStepDelayGetMax)};
#undef ZOR2_CODE
    static_assert(std::size(kCode) == kStepDelayGetMax + 1, "one entry per step kind, in enum order");
    if (!m_finished) return;
    if (!m_threaded) {
        for (CRStep& step : m_steps) step.m_code = kCode[step.m_kind];
        m_threaded = true;
    }
    const double* const* sources = m_sources.data();
    const CRStep* s = m_steps.data();
    // The value the last compiled step published; a chained step takes its first
    // input from here instead of waiting for the store to land.
    double last = 0.0;
#define ZOR2_NEXT()               \
    do {                          \
        ++s;                      \
        goto*(kBase + s->m_code); \
    } while (false)
#define ZOR2_PUBLISH()    \
    do {                  \
        *s->m_out = last; \
        ZOR2_NEXT();      \
    } while (false)
    goto*(kBase + s->m_code);
kStepCallThrough:
    s->m_model->GetInputValues();
    s->m_model->Execute();
    ZOR2_NEXT();
kStepCopies : {
    const CRPlanCopy* c = m_copies.data() + s->m_firstSource;
    for (uint32_t i = 0; i < s->m_sourceCount; ++i) {
        last = *c[i].m_from;
        *c[i].m_to = last;
    }
    ZOR2_NEXT();
}
kStepRangeCheck : {
    const double* const* src = sources + s->m_firstSource;
    last = MathRangeCheck(*src[0], *src[1], *src[2]);
    ZOR2_PUBLISH();
}
kStepMath : {
    CMathAccumulator fold(s->m_type);
    const double* const* src = sources + s->m_firstSource;
    for (uint32_t i = 0; i < s->m_sourceCount; ++i) fold.Add(*src[i]);
    last = fold.Result();
    ZOR2_PUBLISH();
}
kStepTruthCheck : {
    CTruthAccumulator gate(s->m_type);
    const double* const* src = sources + s->m_firstSource;
    for (uint32_t i = 0; i < s->m_sourceCount; ++i) gate.Add(*src[i]);
    last = gate.Result() ? 1.0 : 0.0;
    if (const char* line = TruthTraceLine(s->m_type)) Trace("%s", line);
    ZOR2_PUBLISH();
}
kStepCounter:
kStepCounterChained : {
    const bool event = s->m_kind == kStepCounterChained ? last != 0.0 : s->m_a && *s->m_a != 0.0;
    double reset = *s->m_b;
    if (s->m_type == kTypeCounterOnEvent) reset = reset != 0.0 ? 1.0 : 0.0;
    last = static_cast<double>(CounterStep(s->m_type, *s->m_out, event, true, reset).count);
    ZOR2_PUBLISH();
}
// The kinds of one input: fed by their own source m_a, or by the step just before.
#define ZOR2_ONE_INPUT_STEPS(name)                    \
    kStep##name : last = name##Of(*s->m_a, *s);       \
    ZOR2_PUBLISH();                                   \
    kStep##name##Chained : last = name##Of(last, *s); \
    ZOR2_PUBLISH();
    ZOR2_ONE_INPUT_STEPS(Count)
    ZOR2_ONE_INPUT_STEPS(Delay)
    ZOR2_ONE_INPUT_STEPS(Negate)
    ZOR2_ONE_INPUT_STEPS(Valve)
    ZOR2_ONE_INPUT_STEPS(Absolute)
    ZOR2_ONE_INPUT_STEPS(SquareRoot)
    ZOR2_ONE_INPUT_STEPS(Power)
    ZOR2_ONE_INPUT_STEPS(Toggle)
#undef ZOR2_ONE_INPUT_STEPS
kStepTimer : {
    const bool enabled = !s->m_a || *s->m_a != 0.0;
    if (s->m_b) s->m_timer->delay = *s->m_b;
    last = s->m_timer->timer.Step(now, s->m_timer->delay, enabled) ? 1.0 : 0.0;
    ZOR2_PUBLISH();
}
kStepFeedback:
    last = s->m_feedback->Publish(*s->m_b);
    ZOR2_PUBLISH();
kStepCompare:
kStepCompareChained : {
    const CRCompareRecord& r = *s->m_compare;
    const double k = *s->m_a;
    const double tolerance = *s->m_b;
    int32_t satisfied = 0;
    if (r.m_connected > 0) {
        if (s->m_kind == kStepCompareChained) {
            satisfied = CompareTest(s->m_type, last, k, tolerance) ? 1 : 0;
        } else {
            const double* const* src = sources + s->m_firstSource;
            for (uint32_t i = 0; i < s->m_sourceCount; ++i)
                satisfied += CompareTest(s->m_type, *src[i], k, tolerance) ? 1 : 0;
        }
    }
    // In the component's order, in case one output is listed twice.
    last = CompareAllSatisfy(r.m_connected, satisfied);
    *s->m_out = last;
    *r.m_count = r.m_connected;
    *r.m_satisfied = satisfied;
    // The register holds what the first output holds now.
    if (r.m_readBack) last = *s->m_out;
    ZOR2_NEXT();
}
// One input, fed and counted: "All Satisfy?" and the satisfied count are its test.
#define ZOR2_COMPARE_ONE(name, type)                                  \
    kStepCompare##name##One : {                                       \
        last = CompareTest(type, last, *s->m_a, *s->m_b) ? 1.0 : 0.0; \
        *s->m_out = last;                                             \
        *s->m_compare->m_count = 1.0;                                 \
        *s->m_compare->m_satisfied = last;                            \
        ZOR2_NEXT();                                                  \
    }
    ZOR2_COMPARE_ONE(Equal, kCompareInputEqual)
    ZOR2_COMPARE_ONE(Greater, kCompareInputGreater)
    ZOR2_COMPARE_ONE(Less, kCompareInputLess)
#undef ZOR2_COMPARE_ONE
// Each two-input operation: fed by its own inputs, by the step just before, or
// by a chained Delay in the same step.
#define ZOR2_PAIR_STEPS(name, op)                                                         \
    kStep##name : last = Pair<op>(*s->m_a, *s->m_b);                                      \
    ZOR2_PUBLISH();                                                                       \
    kStep##name##Chained : last = Pair<op>(last, *s->m_b);                                \
    ZOR2_PUBLISH();                                                                       \
    kStepDelay##name : {                                                                  \
        const double delayed = last + DelayFeedback(*s->m_delayOut, kDelayDefaultFactor); \
        *s->m_delayOut = delayed;                                                         \
        last = Pair<op>(delayed, *s->m_b);                                                \
        /* After the read: the copy's target may be the second source. */                 \
        *s->m_copyTo = delayed;                                                           \
        ZOR2_PUBLISH();                                                                   \
    }
    ZOR2_PAIR_STEPS(Add, kMathAdd)
    ZOR2_PAIR_STEPS(Subtract, kMathSubtract)
    ZOR2_PAIR_STEPS(Multiply, kMathMultiply)
    ZOR2_PAIR_STEPS(Divide, kMathDivide)
    ZOR2_PAIR_STEPS(GetMin, kMathGetMin)
    ZOR2_PAIR_STEPS(GetMax, kMathGetMax)
#undef ZOR2_PAIR_STEPS

kStepEnd:
#undef ZOR2_NEXT
#undef ZOR2_PUBLISH
    if (!m_settle.empty()) {
        // The fed Feedback Flows have run once; their Execute would leave the same
        // state in every cycle from now on.
        for (const auto& [state, value] : m_settle) state->Publish(*value);
        m_settle.clear();
    }
}

}  // namespace zor2
