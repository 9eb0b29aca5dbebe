// Building and running a module's compiled cycle. The arithmetic goes through the
// kernels the designer uses, so both compute every value the same way.
#include "runtime/rt_plan.h"

#include "algo/platform.h"
#include "components/logic/truth_check_kernel.h"
#include "components/math/compare_kernel.h"
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

bool Chainable(ERStepKind kind) {
    return kind >= kStepAdd && (kind - kStepAdd) % 2 == 0;
}

}  // namespace

void CRPlan::Clear() {
    m_steps.clear();
    m_sources.clear();
    m_compares.clear();
}

void CRPlan::Push(CRStep step) {
    if (!m_steps.empty() && m_steps.back().m_kind != kStepCallThrough) {
        // Every compiled step leaves the value it published in the register.
        const double* published = m_steps.back().m_out;
        const bool chained = (Chainable(step.m_kind) || step.m_kind == kStepCounter)
                                 ? step.m_a == published
                                 : step.m_kind == kStepCompare && step.m_sourceCount == 1 &&
                                       m_sources[step.m_firstSource] == published;
        if (chained) step.m_kind = static_cast<ERStepKind>(step.m_kind + 1);
    }
    m_steps.push_back(step);
}

void CRPlan::AddCallThrough(CRNetworkModel& model) {
    CRStep step;
    step.m_model = &model;
    Push(step);
}

void CRPlan::AddConstant(const double& value, double& out) {
    CRStep step;
    step.m_kind = kStepConstant;
    step.m_a = &value;
    step.m_out = &out;
    Push(step);
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
    step.m_kind = kStepCounter;
    step.m_type = static_cast<int16_t>(type);
    step.m_a = event;
    step.m_b = reset;
    step.m_out = &out;
    Push(step);
}

void CRPlan::AddDelay(const double* raw, bool feedback, double& out) {
    CRStep step;
    step.m_kind = kStepDelay;
    step.m_a = raw;
    step.m_sourceCount = feedback ? 1 : 0;
    step.m_out = &out;
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
}

void CRPlan::Run() {
    const double* const* sources = m_sources.data();
    // The value the last compiled step published; a chained step takes its first
    // input from here instead of waiting for the store to land.
    double last = 0.0;
    for (const CRStep& s : m_steps) {
        switch (s.m_kind) {
            case kStepCallThrough:
                s.m_model->GetInputValues();
                s.m_model->Execute();
                continue;
            case kStepConstant:
                last = *s.m_a;
                break;
            case kStepRangeCheck: {
                const double* const* src = sources + s.m_firstSource;
                last = MathRangeCheck(*src[0], *src[1], *src[2]);
                break;
            }
            case kStepMath: {
                CMathAccumulator fold(s.m_type);
                const double* const* src = sources + s.m_firstSource;
                for (uint32_t i = 0; i < s.m_sourceCount; ++i) fold.Add(*src[i]);
                last = fold.Result();
                break;
            }
            case kStepTruthCheck: {
                CTruthAccumulator gate(s.m_type);
                const double* const* src = sources + s.m_firstSource;
                for (uint32_t i = 0; i < s.m_sourceCount; ++i) gate.Add(*src[i]);
                last = gate.Result() ? 1.0 : 0.0;
                if (const char* line = TruthTraceLine(s.m_type)) Trace("%s", line);
                break;
            }
            case kStepCounter:
            case kStepCounterChained: {
                const bool event = s.m_kind == kStepCounterChained ? last != 0.0 : s.m_a && *s.m_a != 0.0;
                double reset = 0.0;
                if (s.m_b) {
                    reset = *s.m_b;
                    if (s.m_type == kTypeCounterOnEvent) reset = reset != 0.0 ? 1.0 : 0.0;
                }
                last = static_cast<double>(
                    CounterStep(s.m_type, *s.m_out, event, s.m_b != nullptr, reset).count);
                break;
            }
            case kStepDelay: {
                const double feedback = s.m_sourceCount ? DelayFeedback(*s.m_out, kDelayDefaultFactor) : 0.0;
                last = (s.m_a ? *s.m_a : 0.0) + feedback;
                break;
            }
            case kStepCompare:
            case kStepCompareChained: {
                const CRCompareRecord& r = m_compares[s.m_record];
                const double k = *s.m_a;
                const double tolerance = *s.m_b;
                int32_t satisfied = 0;
                if (r.m_connected > 0) {
                    if (s.m_kind == kStepCompareChained) {
                        satisfied = CompareTest(s.m_type, last, k, tolerance) ? 1 : 0;
                    } else {
                        const double* const* src = sources + s.m_firstSource;
                        for (uint32_t i = 0; i < s.m_sourceCount; ++i)
                            satisfied += CompareTest(s.m_type, *src[i], k, tolerance) ? 1 : 0;
                    }
                }
                // In the component's order, in case one output is listed twice.
                last = CompareAllSatisfy(r.m_connected, satisfied);
                *s.m_out = last;
                *r.m_count = r.m_connected;
                *r.m_satisfied = satisfied;
                // The register holds what the first output holds now.
                if (r.m_readBack) last = *s.m_out;
                continue;
            }
            case kStepAdd:
                last = Pair<kMathAdd>(*s.m_a, *s.m_b);
                break;
            case kStepAddChained:
                last = Pair<kMathAdd>(last, *s.m_b);
                break;
            case kStepSubtract:
                last = Pair<kMathSubtract>(*s.m_a, *s.m_b);
                break;
            case kStepSubtractChained:
                last = Pair<kMathSubtract>(last, *s.m_b);
                break;
            case kStepMultiply:
                last = Pair<kMathMultiply>(*s.m_a, *s.m_b);
                break;
            case kStepMultiplyChained:
                last = Pair<kMathMultiply>(last, *s.m_b);
                break;
            case kStepDivide:
                last = Pair<kMathDivide>(*s.m_a, *s.m_b);
                break;
            case kStepDivideChained:
                last = Pair<kMathDivide>(last, *s.m_b);
                break;
            case kStepGetMin:
                last = Pair<kMathGetMin>(*s.m_a, *s.m_b);
                break;
            case kStepGetMinChained:
                last = Pair<kMathGetMin>(last, *s.m_b);
                break;
            case kStepGetMax:
                last = Pair<kMathGetMax>(*s.m_a, *s.m_b);
                break;
            case kStepGetMaxChained:
                last = Pair<kMathGetMax>(last, *s.m_b);
                break;
            default:
                __builtin_unreachable();
        }
        *s.m_out = last;
    }
}

}  // namespace zor2
