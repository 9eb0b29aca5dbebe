// Counters: type table, input phase and counting.
#include "components/utility/counter.h"

#include "engine/catalogue.h"
#include "engine/property_sheet.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kOnValueInputs[] = {{10, "Event Counted"}, {20, "Reset Value"}};
constexpr CPortTemplate kOnEventInputs[] = {{10, "Event Counted"}, {20, "Reset Event"}};
constexpr CPortTemplate kOutputs[] = {{10, "Count", kDataInteger, 0}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelCounter>();
}
constexpr CPropertyProfile kSheet{"Component Properties - Counter"};
constexpr CComponentType kTypes[] = {
    {kTypeCounterOnValue, kOnValueInputs, kOutputs, 2, 1, Create, &kSheet},
    {kTypeCounterOnEvent, kOnEventInputs, kOutputs, 2, 1, Create, &kSheet},
};
}  // namespace

std::span<const CComponentType> CounterComponentTypes() {
    return kTypes;
}

void CModelCounter::GetInputValues() {
    if (CModelInput* event = FirstInput()) {
        const bool on = event->HasSource() && SourceValue(*event) != 0.0;
        event->m_value = on ? 1.0 : 0.0;
        event->m_text.SetStatic(on ? "1" : "0");
    }
    if (CModelInput* reset = ResetInput()) {
        if (!reset->HasSource()) {
            reset->m_value = 0.0;
            reset->m_text.SetStatic("--");
        } else if (m_typeId == kTypeCounterOnValue) {
            PullInput(*reset);
        } else {
            reset->m_value = SourceValue(*reset) != 0.0 ? 1.0 : 0.0;
        }
    }
}

void CModelCounter::Execute() {
    CModelOutput* out = FirstOutput();
    if (!out) return;
    const CModelInput* event = FirstInput();
    CModelInput* reset = ResetInput();
    const bool resetConnected = reset && reset->HasSource();
    const CCounterResult r = CounterStep(m_typeId, out->m_value, event && event->m_value != 0.0,
                                         resetConnected, reset ? reset->m_value : 0.0);
    if (reset && (resetConnected || m_typeId == kTypeCounterOnValue))
        reset->m_text.SetStatic(r.reset ? "RESET" : "--");
    out->m_value = static_cast<double>(r.count);
    // "%d" of the unsigned count, as stored texts show it.
    out->m_text.SetInt("%d", static_cast<int32_t>(r.count));
}

}  // namespace zor2
