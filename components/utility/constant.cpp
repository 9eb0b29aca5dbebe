// Constant: type table and execution.
#include "components/utility/constant.h"

#include "engine/catalogue.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kOutputs[] = {{10, "Constant", kDataDouble, 1}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelConstant>();
}
constexpr CComponentType kTypes[] = {{kTypeConstant, {}, kOutputs, 0, 1, Create}};
}  // namespace

std::span<const CComponentType> ConstantComponentTypes() {
    return kTypes;
}

void CModelConstant::Execute() {
    if (CModelOutput* out = FirstOutput()) out->SetValue(m_value);
}

}  // namespace zor2
