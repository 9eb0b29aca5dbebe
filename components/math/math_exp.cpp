// Unary functions: type table, inputs, execution and the saved "enabled" flag.
#include "components/math/math_exp.h"

#include "algo/bytes.h"
#include "engine/catalogue.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputX[] = {{10, "Input (x)"}};
constexpr CPortTemplate kInputsXY[] = {{10, "Input (x)"}, {20, "Power (y)"}};
constexpr CPortTemplate kOutput[] = {{10, "Output (x')", kDataDouble, 2}};
constexpr CPortTemplate kOutputInteger[] = {{10, "Output (x')", kDataInteger, 0}};
constexpr int32_t kPowerInputId = 20;
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelMathExp>();
}
constexpr CComponentType kTypes[] = {
    {kMathExpAbsolute, kInputX, kOutput, 1, 1, Create},
    {kMathExpPower, kInputsXY, kOutputInteger, 2, 1, Create},
    {kMathExpSquareRoot, kInputX, kOutput, 1, 1, Create},
};
}  // namespace

std::span<const CComponentType> MathExpComponentTypes() {
    return kTypes;
}

void CModelMathExp::Serialize(CArchive& ar) {
    SerializeBase(ar);
    CMathExpParams::Fields(ar, m_params);
}

void CModelMathExp::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    CMathExpParams::Fields(w, m_params);
}

void CModelMathExp::GetInputValues() {
    if (CModelInput* x = FirstInput()) {
        if (PullInput(*x)) {
            x->m_text.SetNumber("%0.2f", x->m_value);
        } else {
            x->m_value = 0.0;
            x->m_text.SetText("-");
        }
        m_value = x->m_value;
    }
    m_power = 1;
    if (m_typeId != kMathExpPower) return;
    if (CModelInput* y = FindInput(kPowerInputId)) {
        if (PullInput(*y)) {
            y->m_text.SetInt("%d", TruncToInt32(y->m_value));
        } else {
            y->m_value = 1.0;
            y->m_text.SetText("1");
        }
        // Zero and negative exponents are not used: they raise to the power 1.
        m_power = MathExpPower(y->m_value);
    }
}

void CModelMathExp::Execute() {
    if (CModelOutput* out = FirstOutput())
        out->SetValue(MathExpCompute(m_typeId, m_params.enabled, m_value, m_power));
}

}  // namespace zor2
