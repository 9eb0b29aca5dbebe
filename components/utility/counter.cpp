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
    CModelInput* event = FirstInput();
    CModelInput* reset = ResetInput();
    const bool resetConnected = reset && reset->HasSource();
    double resetSource = 0.0;
    // Counting on a value takes the common pull, which keeps the value when the
    // connection leads nowhere; counting on an event reads the source.
    if (resetConnected && m_typeId == kTypeCounterOnValue) {
        PullInput(*reset);
        resetSource = reset->m_value;
    } else if (resetConnected) {
        resetSource = SourceValue(*reset);
    }
    TakeInputs(event, event && event->HasSource() && SourceValue(*event) != 0.0, reset, resetConnected,
               resetSource);
}

void CModelCounter::TakeInputs(CModelInput* event, bool on, CModelInput* reset, bool resetConnected,
                               double resetSource) const {
    if (event) {
        event->m_value = on ? 1.0 : 0.0;
        event->m_text.SetStatic(on ? "1" : "0");
    }
    if (!reset) return;
    if (!resetConnected) {
        reset->m_value = 0.0;
        reset->m_text.SetStatic("--");
    } else {
        reset->m_value = m_typeId == kTypeCounterOnValue ? resetSource : (resetSource != 0.0 ? 1.0 : 0.0);
    }
}

void CModelCounter::Execute() {
    Count(FirstInput(), ResetInput());
}

void CModelCounter::Count(const CModelInput* event, CModelInput* reset) {
    CModelOutput* out = FirstOutput();
    if (!out) return;
    const bool resetConnected = reset && reset->HasSource();
    const CCounterResult r = CounterStep(m_typeId, out->m_value, event && event->m_value != 0.0,
                                         resetConnected, reset ? reset->m_value : 0.0);
    if (reset && (resetConnected || m_typeId == kTypeCounterOnValue))
        reset->m_text.SetStatic(r.reset ? "RESET" : "--");
    out->m_value = static_cast<double>(r.count);
    // "%d" of the unsigned count, as stored texts show it.
    out->m_text.SetInt("%d", static_cast<int32_t>(r.count));
}

bool CModelCounter::CompileStep(CCycleStep& step) {
    if (!BindStepPorts(step, *this)) return false;
    step.run = [](const CCycleStep& s) {
        auto& c = static_cast<CModelCounter&>(*s.component);
        CModelInput* event = s.inputs >= 1 ? s.in[0] : nullptr;
        CModelInput* reset = s.inputs >= 2 ? s.in[1] : nullptr;
        const bool resetConnected = reset && s.Connected(1);
        c.TakeInputs(event, event && s.Connected(0) && s.Read(0) != 0.0, reset, resetConnected,
                     resetConnected ? s.Read(1) : 0.0);
        c.Count(event, reset);
    };
    return true;
}

}  // namespace zor2
