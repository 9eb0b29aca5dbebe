// Target Input Comparator: type table, inputs and the three verdicts.
#include "components/decision/comparator.h"

#include "components/logic/truth_check_kernel.h"
#include "engine/catalogue.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {{10, "Enable"}, {20, "Target Value"}, {30, "Input for Compare"}};
constexpr CPortTemplate kOutputs[] = {
    {10, "Greater than Target", kDataYesNo, 0},
    {20, "Equal to Target", kDataYesNo, 0},
    {30, "Less than Target", kDataYesNo, 0},
};
constexpr int32_t kTargetInputId = 20;
constexpr int32_t kCompareInputId = 30;
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelComparator>();
}
constexpr CComponentType kTypes[] = {{kTypeComparator, kInputs, kOutputs, 3, 3, Create}};

// The source value, or 0 without a source.
double ReadOrZero(CModelInput& in) {
    if (!CNetworkModel::PullInput(in)) in.m_value = 0.0;
    in.m_text.SetNumber("%0.2f", in.m_value);
    return in.m_value;
}
}  // namespace

std::span<const CComponentType> ComparatorComponentTypes() {
    return kTypes;
}

void CModelComparator::GetInputValues() {
    m_target = 0.0;
    m_inputValue = 0.0;
    if (CModelInput* enable = FirstInput()) {
        m_enabled = !enable->HasSource() || IsTrue(SourceValue(*enable));
        enable->m_value = m_enabled ? 1.0 : 0.0;
        enable->m_text.SetText(m_enabled ? "On" : "Off");
    }
    if (!m_enabled) return;
    if (CModelInput* target = FindInput(kTargetInputId)) m_target = ReadOrZero(*target);
    if (CModelInput* input = FindInput(kCompareInputId)) m_inputValue = ReadOrZero(*input);
}

void CModelComparator::Execute() {
    CModelOutput* outs[3] = {FindOutput(10), FindOutput(20), FindOutput(30)};
    if (m_enabled) {
        m_difference = m_target - m_inputValue;
        const CComparatorResult r = ComparatorCompare(m_target, m_inputValue, m_ownTolerance);
        const double values[3] = {r.greater, r.equal, r.less};
        for (int k = 0; k < 3; ++k)
            if (outs[k]) outs[k]->m_value = values[k];
    }
    // The texts are rebuilt whether enabled or not; disabled, the values stay.
    for (CModelOutput* out : outs)
        if (out) out->RebuildText();
}

}  // namespace zor2
