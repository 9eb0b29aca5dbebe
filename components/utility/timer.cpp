// Timer: type table, input phase, firing and the delay parameter.
#include "components/utility/timer.h"

#include <cmath>
#include <cstdio>

#include "engine/catalogue.h"
#include "engine/network.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {{10, "On Off"}, {20, "Delay ms"}};
constexpr CPortTemplate kOutputs[] = {{10, "Event", kDataOnOff, 0}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelTimer>();
}
constexpr CComponentType kTypes[] = {{kTypeTimer, kInputs, kOutputs, 2, 1, Create}};
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
        on->m_text.SetText(m_enabled ? "On" : "Off");
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
        out->m_text.SetText(fired ? "1" : "0");
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
