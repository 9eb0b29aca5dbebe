// Runtime unary functions: the base record, then the enabled byte.
#include "components/math/math_exp_rt.h"

namespace zor2 {

size_t CRModelMathExp::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    if (ReadBase(in)) CMathExpParams::Fields(in, m_params);
    if (m_type == kMathExpPower) m_powerInput = FindInput(20);
    return offset + (in.Position() - start);
}

int32_t CRModelMathExp::GetInputValues() {
    if (CRModelInput* x = FirstInput()) {
        if (x->HasSource())
            x->Pull();
        else
            x->m_value = 0.0;
        m_value = x->m_value;
    }
    m_power = 1;
    if (CRModelInput* y = m_powerInput) {
        if (y->HasSource())
            y->Pull();
        else
            y->m_value = 1.0;
        m_power = MathExpPower(y->m_value);
    }
    return 0;
}

int32_t CRModelMathExp::Execute() {
    if (CRModelOutput* out = FirstOutput())
        out->m_value = MathExpCompute(m_type, m_params.enabled, m_value, m_power);
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelMathExp>(typeId);
}
constexpr CRuntimeType kTypes[] = {
    {kMathExpAbsolute, Create}, {kMathExpPower, Create}, {kMathExpSquareRoot, Create}};
}  // namespace

std::span<const CRuntimeType> MathExpRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
