// Runtime Indicator Light: "Enable" first, "Turn On" last, and the state.
#include "components/utility/sim_light_rt.h"

namespace zor2 {

int32_t CRModelSimLight::GetInputValues() {
    if (m_inputs.empty()) return 0;
    const CRModelInput& enable = m_inputs.front();
    m_enabled = !enable.HasSource() || *enable.m_source != 0.0;
    const CRModelInput& turnOn = m_inputs.back();
    m_on = LightTurnedOn(turnOn.HasSource(), turnOn.HasSource() ? *turnOn.m_source : 0.0);
    return 0;
}

int32_t CRModelSimLight::Execute() {
    m_state = LightState(m_enabled, m_on, m_colours);
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelSimLight>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeIndicatorLight, Create}};
}  // namespace

std::span<const CRuntimeType> SimLightRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
