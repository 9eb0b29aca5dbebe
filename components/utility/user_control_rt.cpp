// Runtime user controls: their record fields, and the exported value published every cycle.
#include "components/utility/user_control_rt.h"

#include "runtime/rt_plan.h"

namespace zor2 {

namespace {

/// Publishes the component value; without an output the control does nothing in a cycle.
void PublishValue(CRNetworkModel& c) {
    if (CRModelOutput* out = c.FirstOutput()) out->m_value = c.m_value;
}
void CompileValue(CRNetworkModel& c, CRPlan& plan) {
    if (CRModelOutput* out = c.FirstOutput()) plan.AddConstant(c.m_value, out->m_value);
}

}  // namespace

size_t CRModelUserButton::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    UserButtonFieldList(in, m_fields);
    return offset + (in.Position() - start);
}

int32_t CRModelUserButton::Execute() {
    PublishValue(*this);
    return 0;
}

void CRModelUserButton::Compile(CRPlan& plan) {
    CompileValue(*this, plan);
}

size_t CRModelUserButtonUpDown::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    UpDownRuntimeFields(in, m_fields);
    return offset + (in.Position() - start);
}

int32_t CRModelUserButtonUpDown::Execute() {
    PublishValue(*this);
    return 0;
}

void CRModelUserButtonUpDown::Compile(CRPlan& plan) {
    CompileValue(*this, plan);
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
