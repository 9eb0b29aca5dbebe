// Trigonometric functions: type table, inputs and execution.
#include "components/math/angle.h"

#include "components/logic/truth_check_kernel.h"
#include "engine/catalogue.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {{10, "Enable"}, {20, "Radians?"}, {30, "Value"}};
constexpr CPortTemplate kOutputs[] = {{10, "Result", kDataDouble, 2}};
constexpr int32_t kRadiansInputId = 20;
constexpr int32_t kValueInputId = 30;
std::unique_ptr<CNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CModelAngle>(AngleFunction(typeId));
}
constexpr CComponentType kTypes[] = {
    {kAngleSine, kInputs, kOutputs, 3, 1, Create},
    {kAngleCosine, kInputs, kOutputs, 3, 1, Create},
    {kAngleTangent, kInputs, kOutputs, 3, 1, Create},
};

// An unconnected flag input counts as true.
bool ReadFlag(CModelInput& in, const char* onText, const char* offText) {
    const bool on = !in.HasSource() || IsTrue(CNetworkModel::SourceValue(in));
    in.m_value = on ? 1.0 : 0.0;
    in.m_text.SetText(on ? onText : offText);
    return on;
}
}  // namespace

std::span<const CComponentType> AngleComponentTypes() {
    return kTypes;
}

void CModelAngle::GetInputValues() {
    if (CModelInput* enable = FirstInput()) m_enabled = ReadFlag(*enable, "On", "Off");
    if (CModelInput* radians = FindInput(kRadiansInputId)) m_radians = ReadFlag(*radians, "Yes", "No");
    if (CModelInput* value = FindInput(kValueInputId)) {
        if (PullInput(*value)) {
            value->m_text.SetNumber("%0.2f", value->m_value);
        } else {
            value->m_value = 0.0;
            value->m_text.SetText("-");
        }
        m_value = value->m_value;
    }
}

void CModelAngle::Execute() {
    if (CModelOutput* out = FirstOutput())
        out->SetValue(AngleCompute(m_function, m_enabled, m_radians, m_value));
}

}  // namespace zor2
