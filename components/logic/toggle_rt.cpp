// Runtime toggles: the state is the first output's value.
#include "components/logic/toggle_rt.h"

#include "components/logic/toggle_kernel.h"
#include "components/logic/truth_check_kernel.h"
#include "runtime/rt_plan.h"

namespace zor2 {

int32_t CRModelToggle::GetInputValues() {
    if (CRModelInput* in = FirstInput()) in->m_value = (in->HasSource() && IsTrue(*in->m_source)) ? 1.0 : 0.0;
    return 0;
}

int32_t CRModelToggle::Execute() {
    CRModelOutput* out = FirstOutput();
    if (!out) return 0;
    const bool state = IsTrue(out->m_value);
    const CRModelInput* in = FirstInput();
    const bool next = ToggleNext(state, in && IsTrue(in->m_value));
    if (next != state) out->m_value = next ? 1.0 : 0.0;
    if (m_type == kToggleDualPole && m_outputs.size() > 1) m_outputs.back().m_value = next ? 0.0 : 1.0;
    return 0;
}

void CRModelToggle::Compile(CRPlan& plan) {
    // Without an output there is no state to keep.
    CRModelOutput* out = FirstOutput();
    if (!out) return;
    const CRModelInput* in = FirstInput();
    double* second = m_type == kToggleDualPole && m_outputs.size() > 1 ? &m_outputs.back().m_value : nullptr;
    plan.AddToggle(in ? in->m_source : nullptr, out->m_value, second);
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelToggle>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kToggleSinglePole, Create}, {kToggleDualPole, Create}};
}  // namespace

std::span<const CRuntimeType> ToggleRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
