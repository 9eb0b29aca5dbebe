// Runtime Delay: feedback of the last output, then the sum with the raw input.
#include "components/math/delay_rt.h"

#include "components/utility/timing_kernel.h"
#include "runtime/rt_plan.h"

namespace zor2 {

int32_t CRModelDelay::GetInputValues() {
    if (m_inputs.size() >= 2) {
        const CRModelOutput* out = FirstOutput();
        m_inputs.back().m_value = DelayFeedback(out ? out->m_value : 0.0, kDelayDefaultFactor);
    }
    if (CRModelInput* raw = FirstInput()) {
        if (raw->HasSource())
            raw->Pull();
        else
            raw->m_value = 0.0;
    }
    return 0;
}

int32_t CRModelDelay::Execute() {
    const double raw = m_inputs.empty() ? 0.0 : m_inputs.front().m_value;
    const double feedback = m_inputs.size() >= 2 ? m_inputs.back().m_value : 0.0;
    if (CRModelOutput* out = FirstOutput()) out->m_value = raw + feedback;
    return 0;
}

void CRModelDelay::Compile(CRPlan& plan) {
    // Without an output the feedback has no last value to read.
    CRModelOutput* out = FirstOutput();
    if (!out) return plan.AddCallThrough(*this);
    const CRModelInput* raw = FirstInput();
    plan.AddDelay(raw && raw->HasSource() ? raw->m_source : nullptr, m_inputs.size() >= 2, out->m_value);
}

namespace {
std::unique_ptr<CRNetworkModel> CreateDelay(int32_t typeId) {
    return std::make_unique<CRModelDelay>(typeId);
}
constexpr CRuntimeType kDelayTypes[] = {{kTypeDelay, CreateDelay}};
}  // namespace

std::span<const CRuntimeType> DelayRuntimeTypes() {
    return kDelayTypes;
}

}  // namespace zor2
