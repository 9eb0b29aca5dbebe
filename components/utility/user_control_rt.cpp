// Runtime user controls: their record fields, and the exported value published every cycle.
#include "components/utility/user_control_rt.h"

#include "runtime/rt_plan.h"

namespace zor2 {

int32_t CRModelControlValue::Execute() {
    if (CRModelOutput* out = FirstOutput()) out->m_value = m_value;
    return 0;
}

void CRModelControlValue::Compile(CRPlan& plan) {
    // Without an output the control does nothing in a cycle.
    if (CRModelOutput* out = FirstOutput()) plan.AddConstant(m_value, out->m_value);
}

size_t CRModelUserButton::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    UserButtonFieldList(in, m_fields);
    return offset + (in.Position() - start);
}

size_t CRModelUserButtonUpDown::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    UpDownRuntimeFields(in, m_fields);
    return offset + (in.Position() - start);
}

namespace {
std::unique_ptr<CRNetworkModel> CreateButton(int32_t typeId) {
    return std::make_unique<CRModelUserButton>(typeId);
}
std::unique_ptr<CRNetworkModel> CreateUpDown(int32_t typeId) {
    return std::make_unique<CRModelUserButtonUpDown>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeUserButton, CreateButton}, {kTypeUserButtonUpDown, CreateUpDown}};
}  // namespace

std::span<const CRuntimeType> UserControlRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
