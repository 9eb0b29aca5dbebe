// Timer: type table, property sheet, input phase, firing and the delay parameter.
#include "components/utility/timer.h"

#include <cmath>
#include <cstdio>

#include "engine/catalogue.h"
#include "engine/network.h"
#include "engine/property_sheet.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {{10, "On Off"}, {20, "Delay ms"}};
constexpr CPortTemplate kOutputs[] = {{10, "Event", kDataOnOff, 0}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelTimer>();
}

bool DelayHasSource(const CNetworkModel& c) {
    const CModelInput* delay = c.m_inputs.Size() >= 2 ? c.LastInput() : nullptr;
    return delay && delay->HasSource();
}

void ReadSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelTimer*>(&c);
    if (!m) return;
    sheet.Add(prop::Number("delay", "Delay in Milliseconds:", prop::Format("%0.0f", m->Delay()))).enabled =
        !DelayHasSource(c);
    sheet.Add(
        prop::Note("delayNote", "(editing the delay here is disabled if there is an active delay input)"));
}

std::string ApplySheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelTimer*>(&c);
    if (!m || !sheet.Changed("delay")) return {};
    if (!m->SetDelay(prop::Num(sheet, "delay")))
        return "The delay cannot be edited here while the \"Delay ms\" input has an active connection.";
    return {};
}

constexpr CPropertyProfile kSheet{"Timer Component Properties", ReadSheet, nullptr, ApplySheet};
constexpr CComponentType kTypes[] = {
    {kTypeTimer, kInputs, kOutputs, 2, 1, Create, &kSheet, {.followsClock = true}}};
}  // namespace

std::span<const CComponentType> TimerComponentTypes() {
    return kTypes;
}

CModelTimer::CModelTimer() {
    m_paramDouble = kTimerDefaultDelay;
}

void CModelTimer::Serialize(CArchive& ar) {
    SerializeBase(ar);
    if (ar.IsLoading() && !ar.Failed()) m_delay = m_paramDouble;
}

void CModelTimer::GetInputValues() {
    if (CModelInput* on = FirstInput()) {
        m_enabled = on->HasSource() ? SourceValue(*on) != 0.0 : true;
        on->m_value = m_enabled ? 1.0 : 0.0;
        on->m_text.SetStatic(m_enabled ? "On" : "Off");
    }
    if (CModelInput* delay = DelayInput()) {
        if (PullInput(*delay)) m_delay = delay->m_value;
        delay->m_text.SetNumber("%2.0f ms", m_delay);
    }
}

void CModelTimer::Execute() {
    const bool fired = m_state.Step(Clock().TickMs(), m_delay, m_enabled);
    if (CModelOutput* out = FirstOutput()) {
        out->m_value = fired ? 1.0 : 0.0;
        out->m_text.SetStatic(fired ? "1" : "0");
    }
    Trace("CModelTimer::Execute\n");
}

bool CModelTimer::SetDelay(double ms) {
    const CModelInput* delay = DelayInput();
    if (!std::isfinite(ms) || (delay && delay->HasSource())) return false;
    m_delay = ms;
    m_paramDouble = ms;
    return true;
}

std::string CModelTimer::RuntimeExportNote() const {
    const CModelInput* delay = DelayInput();
    if (m_delay == kTimerDefaultDelay || (delay && delay->HasSource())) return {};
    char line[1024];
    std::snprintf(
        line, sizeof line,
        "Runtime export: Timer \"%s\" in module \"%s\" runs with a delay of %.0f ms there, not %.0f ms (the runtime file cannot carry the delay; connect its \"Delay ms\" input to set it).",
        m_name.c_str(), m_owner ? m_owner->m_name.c_str() : "", kTimerDefaultDelay, m_delay);
    return line;
}

}  // namespace zor2
