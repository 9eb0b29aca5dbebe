// Runtime Constant: the first output takes the component value in every Execute.
#include "components/utility/constant_rt.h"

#include "runtime/rt_plan.h"

namespace zor2 {

int32_t CRModelConstant::Execute() {
    if (CRModelOutput* out = FirstOutput()) out->m_value = m_value;
    return 0;
}

void CRModelConstant::Compile(CRPlan& plan) {
    // Without an output a Constant does nothing in a cycle.
    if (CRModelOutput* out = FirstOutput()) plan.AddConstant(m_value, out->m_value);
}

namespace {
std::unique_ptr<CRNetworkModel> CreateConstant(int32_t typeId) {
    return std::make_unique<CRModelConstant>(typeId);
}
constexpr CRuntimeType kConstantTypes[] = {{41, CreateConstant}};
}  // namespace

std::span<const CRuntimeType> ConstantRuntimeTypes() {
    return kConstantTypes;
}

}  // namespace zor2
