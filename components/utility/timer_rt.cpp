// Runtime Timer: the designer's input phase and firing on the process clock.
#include "components/utility/timer_rt.h"

#include "algo/platform.h"
#include "runtime/rt_plan.h"

namespace zor2 {

int32_t CRModelTimer::GetInputValues() {
    if (CRModelInput* on = FirstInput()) {
        on->Pull();
        m_enabled = on->HasSource() ? on->m_value != 0.0 : true;
        on->m_value = m_enabled ? 1.0 : 0.0;
    }
    if (m_inputs.size() >= 2) {
        CRModelInput& delay = m_inputs.back();
        if (delay.HasSource()) {
            delay.Pull();
            m_state.delay = delay.m_value;
        }
    }
    return 0;
}

int32_t CRModelTimer::Execute() {
    const bool fired = m_state.timer.Step(Clock().TickMs(), m_state.delay, m_enabled);
    if (CRModelOutput* out = FirstOutput()) out->m_value = fired ? 1.0 : 0.0;
    return 0;
}

void CRModelTimer::Compile(CRPlan& plan) {
    const CRModelInput* on = FirstInput();
    const CRModelInput* delay = m_inputs.size() >= 2 ? &m_inputs.back() : nullptr;
    CRModelOutput* out = FirstOutput();
    plan.AddTimer(m_state, on ? on->m_source : nullptr, delay ? delay->m_source : nullptr,
                  out ? &out->m_value : nullptr);
}

namespace {
std::unique_ptr<CRNetworkModel> CreateTimer(int32_t typeId) {
    return std::make_unique<CRModelTimer>(typeId);
}
constexpr CRuntimeType kTimerTypes[] = {{kTypeTimer, CreateTimer}};
}  // namespace

std::span<const CRuntimeType> TimerRuntimeTypes() {
    return kTimerTypes;
}

}  // namespace zor2
