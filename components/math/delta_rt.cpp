// Runtime Delta: "Enable" is the first input, "Reset" the last, "Raw Value" id 20.
#include "components/math/delta_rt.h"

#include "components/logic/truth_check_kernel.h"

namespace zor2 {

size_t CRModelDelta::ReadRuntime(CByteReader& in, size_t offset) {
    offset = CRNetworkModel::ReadRuntime(in, offset);
    m_rawInput = FindInput(20);
    return offset;
}

int32_t CRModelDelta::GetInputValues() {
    if (m_inputs.empty()) return 0;
    CRModelInput& enable = m_inputs.front();
    m_enabled = !enable.HasSource() || IsTrue(*enable.m_source);
    if (enable.m_sourceKind != kSourceModulePort || !enable.HasSource())
        enable.m_value = m_enabled ? 1.0 : 0.0;
    CRModelInput& reset = m_inputs.back();
    const bool resetNow = reset.HasSource() && IsTrue(*reset.m_source);
    if (reset.m_sourceKind != kSourceModulePort || !reset.HasSource()) reset.m_value = resetNow ? 1.0 : 0.0;
    if (resetNow) Reset();
    if (!m_enabled) return 0;
    m_state.previous = m_value;
    double raw = 0.0;
    if (CRModelInput* in = m_rawInput) {
        if (in->HasSource())
            in->Pull();
        else
            in->m_value = 0.0;
        raw = in->m_value;
    }
    m_value = raw;
    return 0;
}

int32_t CRModelDelta::Execute() {
    if (m_enabled) m_state.Step(m_value);
    if (!m_outputs.empty()) {
        m_outputs.front().m_value = m_state.delta;
        m_outputs.back().m_value = m_state.deltaDelta;
    }
    return 0;
}

void CRModelDelta::Reset() {
    m_value = 0.0;
    m_state.Reset();
    if (!m_outputs.empty()) {
        m_outputs.front().m_value = 0.0;
        m_outputs.back().m_value = 0.0;
    }
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelDelta>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeDelta, Create}};
}  // namespace

std::span<const CRuntimeType> DeltaRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
