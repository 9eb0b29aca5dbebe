// Do Once: type table, event and reset inputs, the one-shot trigger.
#include "components/utility/do_once.h"

#include "components/logic/truth_check_kernel.h"
#include "engine/catalogue.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {{10, "Event"}, {20, "Reset"}};
constexpr CPortTemplate kOutputs[] = {{10, "Trigger", kDataDouble, 2}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelDoOnce>();
}
constexpr CComponentType kTypes[] = {{kTypeDoOnce, kInputs, kOutputs, 2, 1, Create}};
}  // namespace

std::span<const CComponentType> DoOnceComponentTypes() {
    return kTypes;
}

void CModelDoOnce::GetInputValues() {
    if (CModelInput* event = FirstInput()) {
        // Without a source the event keeps its previous state.
        if (event->HasSource()) m_state.event = IsTrue(SourceValue(*event));
        event->m_value = m_state.event ? 1.0 : 0.0;
        event->m_text.SetText(m_state.event ? "Event!" : "-");
    }
    if (CModelInput* reset = LastInput()) {
        if (reset->HasSource() && IsTrue(SourceValue(*reset))) {
            // The reset clears the event before Execute: no trigger this cycle.
            ResetValues();
            reset->m_value = 1.0;
            reset->m_text.SetText("Reset!");
        } else {
            reset->m_value = 0.0;
            reset->m_text.SetText("-");
        }
    }
}

void CModelDoOnce::Execute() {
    const double trigger = m_state.Fire();
    if (CModelOutput* out = FirstOutput()) {
        out->m_value = trigger;
        out->m_text.SetText(trigger != 0.0 ? "1" : "0");
    }
}

void CModelDoOnce::ResetValues() {
    CNetworkModel::ResetValues();
    m_state.Reset();
}

}  // namespace zor2
