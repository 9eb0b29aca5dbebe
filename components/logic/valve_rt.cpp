// Runtime valve: "Enabler" is the first input, "ValueIN" the last.
#include "components/logic/valve_rt.h"

#include "components/logic/truth_check_kernel.h"
#include "components/logic/valve_kernel.h"
#include "runtime/rt_plan.h"

namespace zor2 {

int32_t CRModelValve::GetInputValues() {
    if (m_inputs.empty()) return 0;
    CRModelInput& enabler = m_inputs.front();
    m_open = enabler.HasSource() && IsTrue(*enabler.m_source);
    enabler.m_value = m_open ? 1.0 : 0.0;
    CRModelInput& valueIn = m_inputs.back();
    if (valueIn.HasSource()) {
        valueIn.Pull();
        m_value = valueIn.m_value;
    } else {
        m_open = false;
        valueIn.m_value = 0.0;
    }
    return 0;
}

int32_t CRModelValve::Execute() {
    if (CRModelOutput* out = FirstOutput()) out->m_value = ValveOutput(m_open, m_value);
    return 0;
}

void CRModelValve::Compile(CRPlan& plan) {
    CRModelOutput* out = FirstOutput();
    if (!out) return;
    // Without inputs the output stays closed.
    const CRModelInput* enabler = m_inputs.empty() ? nullptr : &m_inputs.front();
    const CRModelInput* value = m_inputs.empty() ? nullptr : &m_inputs.back();
    plan.AddValve(enabler ? enabler->m_source : nullptr, value ? value->m_source : nullptr, out->m_value);
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelValve>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeValve, Create}};
}  // namespace

std::span<const CRuntimeType> ValveRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
