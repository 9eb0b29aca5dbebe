// Runtime Do Once: "Event" is the first input, "Reset" the last.
#include "components/utility/do_once_rt.h"

#include "components/logic/truth_check_kernel.h"

namespace zor2 {

int32_t CRModelDoOnce::GetInputValues() {
    if (m_inputs.empty()) return 0;
    CRModelInput& event = m_inputs.front();
    if (event.HasSource()) m_state.event = IsTrue(*event.m_source);
    event.m_value = m_state.event ? 1.0 : 0.0;
    CRModelInput& reset = m_inputs.back();
    const bool resetNow = reset.HasSource() && IsTrue(*reset.m_source);
    if (resetNow) Reset();
    reset.m_value = resetNow ? 1.0 : 0.0;
    return 0;
}

int32_t CRModelDoOnce::Execute() {
    const double trigger = m_state.Fire();
    if (CRModelOutput* out = FirstOutput()) out->m_value = trigger;
    return 0;
}

void CRModelDoOnce::Reset() {
    for (CRModelInput& in : m_inputs) in.m_value = 0.0;
    for (CRModelOutput& out : m_outputs) out.m_value = 0.0;
    m_state.Reset();
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelDoOnce>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeDoOnce, Create}};
}  // namespace

std::span<const CRuntimeType> DoOnceRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
