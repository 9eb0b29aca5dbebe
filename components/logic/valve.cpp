// Valve: type table, input pull and execution.
#include "components/logic/valve.h"

#include "algo/platform.h"
#include "components/logic/truth_check_kernel.h"
#include "components/logic/valve_kernel.h"
#include "engine/catalogue.h"
#include "engine/property_sheet.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {{10, "Enabler"}, {20, "ValueIN"}};
constexpr CPortTemplate kOutputs[] = {{10, "ValueOUT", kDataDouble, 2}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelValve>();
}
constexpr CPropertyProfile kSheet{"Component Properties - Valve"};
constexpr CComponentType kTypes[] = {{kTypeValve, kInputs, kOutputs, 2, 1, Create, &kSheet}};
}  // namespace

std::span<const CComponentType> ValveComponentTypes() {
    return kTypes;
}

void CModelValve::GetInputValues() {
    if (CModelInput* enabler = FirstInput()) {
        m_open = enabler->HasSource() && IsTrue(SourceValue(*enabler));
        enabler->m_value = m_open ? 1.0 : 0.0;
        enabler->m_text.SetText(m_open ? "Open" : "Closed");
    }
    if (CModelInput* valueIn = LastInput()) {
        if (PullInput(*valueIn)) {
            m_value = valueIn->m_value;
            valueIn->m_text.SetNumber("%2.0f", valueIn->m_value);
        } else {
            // Without a value to pass the valve stays closed.
            m_open = false;
            valueIn->m_value = 0.0;
            valueIn->m_text.SetText("--");
        }
    }
}

void CModelValve::Execute() {
    if (CModelOutput* out = FirstOutput()) {
        if (m_open) {
            out->SetValue(ValveOutput(m_open, m_value));
        } else {
            out->m_value = 0.0;
            out->m_text.SetText("0");
        }
    }
    Trace("CModelValve::Execute\n");
}

}  // namespace zor2
