// Delta: type table, enable and reset inputs, sampling and the differences.
#include "components/math/delta.h"

#include "components/logic/truth_check_kernel.h"
#include "engine/catalogue.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {{10, "Enable"}, {20, "Raw Value"}, {30, "Reset"}};
constexpr CPortTemplate kOutputs[] = {{10, "Delta", kDataDouble, 2}, {20, "DeltaDelta", kDataDouble, 2}};
constexpr int32_t kRawInputId = 20;
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelDelta>();
}
constexpr CComponentType kTypes[] = {{kTypeDelta, kInputs, kOutputs, 3, 2, Create}};
}  // namespace

std::span<const CComponentType> DeltaComponentTypes() {
    return kTypes;
}

void CModelDelta::GetInputValues() {
    if (CModelInput* enable = FirstInput()) {
        m_enabled = !enable->HasSource() || IsTrue(SourceValue(*enable));
        // An input fed by a module input keeps its own value and text.
        if (enable->m_sourceKind != kSourceModuleInput || !enable->HasSource()) {
            enable->m_value = m_enabled ? 1.0 : 0.0;
            enable->m_text.SetText(m_enabled ? "On" : "Off");
        }
    }
    if (CModelInput* reset = LastInput()) {
        m_resetRequest = reset->HasSource() && IsTrue(SourceValue(*reset));
        if (reset->m_sourceKind != kSourceModuleInput || !reset->HasSource()) {
            reset->m_value = m_resetRequest ? 1.0 : 0.0;
            reset->m_text.SetText(m_resetRequest ? "Reset!" : "--");
        }
    }
    if (m_resetRequest) ResetValues();
    // While disabled the raw value is not sampled and the outputs repeat.
    if (!m_enabled) return;
    m_state.previous = m_value;
    double raw = 0.0;
    if (CModelInput* in = FindInput(kRawInputId)) {
        if (PullInput(*in)) {
            in->m_text.SetNumber("%0.2f", in->m_value);
        } else {
            in->m_value = 0.0;
            in->m_text.SetText("-");
        }
        raw = in->m_value;
    }
    m_value = raw;
}

void CModelDelta::Execute() {
    if (m_enabled) m_state.Step(m_value);
    if (CModelOutput* out = FirstOutput()) out->SetValue(m_state.delta);
    if (CModelOutput* out = LastOutput()) out->SetValue(m_state.deltaDelta);
}

void CModelDelta::ResetValues() {
    // The inputs are left as they are.
    m_value = 0.0;
    m_state.Reset();
    if (CModelOutput* out = FirstOutput()) out->SetValue(0.0);
    if (CModelOutput* out = LastOutput()) out->SetValue(0.0);
}

}  // namespace zor2
