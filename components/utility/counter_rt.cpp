// Runtime Counters: event and reset inputs, then the shared counting step.
#include "components/utility/counter_rt.h"

#include "components/utility/timing_kernel.h"
#include "runtime/rt_plan.h"

namespace zor2 {

int32_t CRModelCounter::GetInputValues() {
    if (CRModelInput* event = FirstInput()) {
        event->Pull();
        event->m_value = (event->HasSource() && event->m_value != 0.0) ? 1.0 : 0.0;
    }
    if (m_inputs.size() >= 2) {
        CRModelInput& reset = m_inputs.back();
        if (!reset.HasSource()) {
            reset.m_value = 0.0;
        } else {
            reset.Pull();
            if (m_type == kTypeCounterOnEvent) reset.m_value = reset.m_value != 0.0 ? 1.0 : 0.0;
        }
    }
    return 0;
}

int32_t CRModelCounter::Execute() {
    CRModelOutput* out = FirstOutput();
    if (!out) return 0;
    const CRModelInput* reset = m_inputs.size() >= 2 ? &m_inputs.back() : nullptr;
    const bool event = !m_inputs.empty() && m_inputs.front().m_value != 0.0;
    const CCounterResult r =
        CounterStep(m_type, out->m_value, event, reset && reset->HasSource(), reset ? reset->m_value : 0.0);
    out->m_value = static_cast<double>(r.count);
    return 0;
}

void CRModelCounter::Compile(CRPlan& plan) {
    // Without an output the count is kept nowhere.
    CRModelOutput* out = FirstOutput();
    if (!out) return;
    const CRModelInput* event = FirstInput();
    const CRModelInput* reset = m_inputs.size() >= 2 ? &m_inputs.back() : nullptr;
    plan.AddCounter(m_type, event ? event->m_source : nullptr, reset ? reset->m_source : nullptr,
                    out->m_value);
}

namespace {
std::unique_ptr<CRNetworkModel> CreateCounter(int32_t typeId) {
    return std::make_unique<CRModelCounter>(typeId);
}
constexpr CRuntimeType kCounterTypes[] = {{kTypeCounterOnValue, CreateCounter},
                                          {kTypeCounterOnEvent, CreateCounter}};
}  // namespace

std::span<const CRuntimeType> CounterRuntimeTypes() {
    return kCounterTypes;
}

}  // namespace zor2
