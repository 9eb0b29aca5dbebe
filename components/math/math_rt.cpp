// Runtime arithmetic: reads every input by the common pull (no array-source
// check, unlike the designer) and folds the values in list order.
#include "components/math/math_rt.h"

#include "components/math/math_kernel.h"
#include "runtime/rt_plan.h"

namespace zor2 {

size_t CRModelMath::ReadRuntime(CByteReader& in, size_t offset) {
    offset = CRNetworkModel::ReadRuntime(in, offset);
    if (m_type == kMathRangeCheck) {
        for (int i = 0; i < 3; ++i) m_range[i] = FindInput(10 * (i + 1));
    }
    return offset;
}

int32_t CRModelMath::GetInputValues() {
    double r = 0.0;
    switch (m_type) {
        case kMathReverseSign: {
            CRModelInput* in = FirstInput();
            if (!in) break;
            if (in->HasSource()) {
                in->Pull();
                r = -in->m_value;
            } else {
                in->m_value = 0.0;
            }
            break;
        }
        case kMathRangeCheck: {
            double v[3];
            for (int i = 0; i < 3; ++i) {
                CRModelInput* in = m_range[i];
                if (in && in->HasSource()) {
                    in->Pull();
                    v[i] = in->m_value;
                } else {
                    v[i] = kRangeCheckDefaults[i];
                    if (in) in->m_value = v[i];
                }
            }
            r = MathRangeCheck(v[0], v[1], v[2]);
            break;
        }
        default: {
            // The multiply rule is the designer's: fewer than two inputs give 0 and
            // zero factors count, so both sides agree on every system.
            CMathAccumulator acc(m_type);
            for (CRModelInput& in : m_inputs) {
                in.Pull();
                acc.Add(in.m_value);
            }
            r = acc.Result();
            break;
        }
    }
    m_value = r;
    return 0;
}

int32_t CRModelMath::Execute() {
    if (CRModelOutput* out = FirstOutput()) out->m_value = m_value;
    return 0;
}

void CRModelMath::Compile(CRPlan& plan) {
    // Without an output the result reaches no one.
    CRModelOutput* out = FirstOutput();
    if (!out) return;
    if (m_type == kMathRangeCheck) {
        plan.AddRangeCheck(m_range, out->m_value);
    } else if (m_type == kMathReverseSign) {
        const CRModelInput* in = FirstInput();
        plan.AddReverseSign(in ? in->m_source : nullptr, out->m_value);
    } else if (!plan.AddMath(m_type, m_inputs, out->m_value)) {
        plan.AddCallThrough(*this);
    }
}

namespace {
std::unique_ptr<CRNetworkModel> CreateMath(int32_t typeId) {
    return std::make_unique<CRModelMath>(typeId);
}
constexpr CRuntimeType kMathTypes[] = {
    {kMathAdd, CreateMath},         {kMathSubtract, CreateMath},   {kMathMultiply, CreateMath},
    {kMathDivide, CreateMath},      {kMathGetMin, CreateMath},     {kMathGetMax, CreateMath},
    {kMathReverseSign, CreateMath}, {kMathRangeCheck, CreateMath},
};
}  // namespace

std::span<const CRuntimeType> MathRuntimeTypes() {
    return kMathTypes;
}

}  // namespace zor2
