// Constant: type table, property sheet and execution.
#include "components/utility/constant.h"

#include "engine/catalogue.h"
#include "engine/property_sheet.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kOutputs[] = {{10, "Constant", kDataDouble, 1}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelConstant>();
}

void ReadSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    sheet.Add(prop::Number("value", "Constant Value:", prop::Format("%1.2f", c.m_value)));
}

std::string ApplySheet(CNetworkModel& c, const CPropertySheet& sheet) {
    if (sheet.Changed("value")) c.m_value = prop::Num(sheet, "value");
    return {};
}

// Executes on every OK so that the output shows the value at once.
constexpr CPropertyProfile kSheet{"Component Properties", ReadSheet, nullptr, ApplySheet, true};
constexpr CComponentType kTypes[] = {{kTypeConstant, {}, kOutputs, 0, 1, Create, &kSheet}};
}  // namespace

std::span<const CComponentType> ConstantComponentTypes() {
    return kTypes;
}

void CModelConstant::Execute() {
    if (CModelOutput* out = FirstOutput()) out->SetValue(m_value);
}

bool CModelConstant::CompileStep(CCycleStep& step) {
    if (!BindStepPorts(step, *this) || !step.out) return false;
    step.run = [](const CCycleStep& s) { s.out->SetValue(s.component->m_value); };
    return true;
}

}  // namespace zor2
