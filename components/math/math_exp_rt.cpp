// Runtime unary functions: the base record, then the enabled byte.
#include "components/math/math_exp_rt.h"

#include "runtime/rt_plan.h"

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

void CRModelMathExp::Compile(CRPlan& plan) {
    static constexpr double kZero = 0.0;
    CRModelOutput* out = FirstOutput();
    if (!out) return;
    // Disabled, the output is 0 whatever comes in.
    if (!m_params.enabled) return plan.AddConstant(kZero, out->m_value);
    // Without an input the function reads the component value, which a cycle
    // never changes; an unfed input reads 0.
    const CRModelInput* x = FirstInput();
    const double* source = !x ? &m_value : x->HasSource() ? x->m_source : &kZero;
    const double* power = m_powerInput ? m_powerInput->m_source : nullptr;
    if (!plan.AddMathExp(m_type, source, power, out->m_value)) plan.AddCallThrough(*this);
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
