// The simulator's commands and time rules, the control pane's texts, and the
// poll-loop timer used by headless owners.
#include "simulation/sim_controller.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "engine/system.h"

namespace zor2 {

namespace {
std::string Printf(const char* format, auto... args) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}
}  // namespace

int32_t ClampRate(int32_t c) {
    if (c < kMinCyclesPerSecond) return kMinCyclesPerSecond;
    if (c > kMaxCyclesPerSecond) return kMaxCyclesPerSecond;
    return c;
}

int32_t TimerPeriodMs(int32_t c) {
    return 1000 / ClampRate(c);
}

double CycleDurationMs(int32_t c) {
    return 1000.0 / ClampRate(c);
}

std::string FormatElapsed(double t) {
    // Whole hundredths keep every field integral; a time that is no number or
    // negative shows as zero rather than as garbage.
    if (!(t > 0.0)) t = 0.0;
    const double hundredths = std::floor(t / 10.0);
    const long long total = hundredths < 9.0e15 ? static_cast<long long>(hundredths) : 900000000000000LL;
    const long long minutes = total / 6000;
    const long long seconds = (total / 100) % 60;
    const long long sub = total % 100;
    // Minutes, seconds and hundredths: a point before the hundredths, so that
    // 14.1 s reads "00:14.10" and not like fourteen minutes.
    return Printf("%.2lld:%.2lld.%.2lld", minutes, seconds, sub);
}

std::vector<CSimPaneRow> SimPaneRows(const CSystem& system) {
    const int32_t rate = ClampRate(system.m_cyclesPerSecond);
    const double actual =
        system.m_cycleCount > 0 ? system.m_simulatedTime / static_cast<double>(system.m_cycleCount) : 0.0;
    return {
        {"Simulation Data:", ""},
        {"Cycles per second:", Printf("%d", rate)},
        {"Cycle duration:", Printf("%0.2f ms", CycleDurationMs(rate))},
        {"Cycle duration (actual):", Printf("%0.2f ms", actual)},
        {"Time elapsed:", FormatElapsed(system.m_simulatedTime)},
        {"Cycles completed:", Printf("%d", system.m_cycleCount)},
    };
}

// --- controller -----------------------------------------------------------

CSimController::CSimController(CSystem& system) : m_system(system) {
    m_system.m_cyclesPerSecond = ClampRate(m_system.m_cyclesPerSecond);
}

void CSimController::SetSounds(ISimSounds* sounds) {
    m_system.SetSounds(sounds);
}

CSimController::~CSimController() {
    if (m_stopListener) m_stopListener->OnSimulatorGone();
}

double CSimController::Now() const {
    return static_cast<double>(m_system.Clock().TickMs());
}

ESimState CSimController::State() const {
    if (m_active) return ESimState::Active;
    return m_system.m_paused ? ESimState::Paused : ESimState::Stopped;
}

void CSimController::Redraw() {
    if (m_view) m_view->RedrawViews();
    RefreshPane();
}

void CSimController::SetRunning(bool running) {
    if (running) {
        m_system.m_startTime = Now();
        m_system.m_lastCycleTime = m_system.m_startTime;
        m_system.m_running = true;
        ++m_system.m_runNumber;
        return;
    }
    if (ISimSounds* sounds = m_system.Sounds()) {
        for (CNetwork* module : m_system.m_modules)
            for (CNetworkModel* c : module->m_components)
                if (c->PlaysSound()) sounds->StopSound(*c);
    }
    m_system.m_running = false;
}

bool CSimController::Run() {
    if (m_active || Held()) return false;
    if (!m_system.m_paused) m_system.ResetSystem();
    m_active = true;
    SetRunning(true);
    if (m_timer) m_timer->Start(PeriodMs());
    return true;
}

bool CSimController::Stop() {
    if (!m_active) return false;
    StopFromPeer();
    return true;
}

void CSimController::StopFromPeer() {
    m_system.m_paused = false;
    m_active = false;
    SetRunning(false);
    if (m_timer) m_timer->Stop();
    if (m_stopListener) m_stopListener->OnSimulationStopped();
    Redraw();
}

bool CSimController::Pause() {
    if (!m_active) return false;
    m_active = false;
    SetRunning(false);
    m_system.m_paused = true;
    if (m_timer) m_timer->Stop();
    Redraw();
    return true;
}

void CSimController::OnTimerTick() {
    if (m_system.m_running) {
        RunOnce();
        return;
    }
    // A component cleared running during the last cycle: the run ends here.
    m_active = false;
    if (m_timer) m_timer->Stop();
    Redraw();
}

void CSimController::RunOnce() {
    if (Held()) return;
    if (!m_system.m_running && m_system.m_cycleCount == 0) {
        m_system.m_startTime = Now();
        m_system.m_lastCycleTime = m_system.m_startTime;
    }
    m_system.RunCycle();
    if (!m_system.m_running) {
        m_system.m_simulatedTime += CycleDurationMs(m_system.m_cyclesPerSecond);
        m_system.m_lastCycleTime = Now();
    }
    if (!m_preventRender && m_view) m_view->RedrawViews();
    RefreshPane();
}

void CSimController::RunStep() {
    if (Held()) return;
    m_system.RunStep();
    Redraw();
    if (m_stopListener) m_stopListener->OnSimulationStopped();
}

void CSimController::Reset() {
    if (Held()) return;
    m_system.ResetSystem();
    m_system.ZeroCounters();
    if (!m_preventRender && m_view) m_view->RedrawViews();
    RefreshPane();
    if (m_view) m_view->MarkModified();
}

void CSimController::RefreshPane() {
    if (m_system.m_running) {
        // The clock is a wrapping 32-bit millisecond counter: the difference
        // is taken in its own width so a wrap does not turn time negative.
        const uint32_t now = m_system.Clock().TickMs();
        const uint32_t last = static_cast<uint32_t>(static_cast<int64_t>(m_system.m_lastCycleTime));
        m_system.m_simulatedTime += static_cast<double>(static_cast<uint32_t>(now - last));
        m_system.m_lastCycleTime = static_cast<double>(now);
    }
    if (m_view) m_view->RedrawPane();
}

// --- rate -----------------------------------------------------------------

int32_t CSimController::Rate() const {
    return ClampRate(m_system.m_cyclesPerSecond);
}

int32_t CSimController::SetRate(int32_t c) {
    m_system.m_cyclesPerSecond = ClampRate(c);
    Trace("CSpin: pos: %d, min: %d, max %d\n", m_system.m_cyclesPerSecond, kMinCyclesPerSecond,
          kMaxCyclesPerSecond);
    if (m_view) {
        m_view->RateChanged(m_system.m_cyclesPerSecond);
        m_view->RedrawPane();
    }
    return m_system.m_cyclesPerSecond;
}

std::string CSimController::SetRateText(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (!text.empty() && end == text.data() + text.size()) {
        if (ec == std::errc::result_out_of_range) value = text.front() == '-' ? 0 : kMaxCyclesPerSecond + 1;
        const long long clamped = value < kMinCyclesPerSecond   ? kMinCyclesPerSecond
                                  : value > kMaxCyclesPerSecond ? kMaxCyclesPerSecond
                                                                : value;
        SetRate(static_cast<int32_t>(clamped));
    }
    return Printf("%d", Rate());
}

// --- behaviours and system inputs -----------------------------------------

bool CSimController::ToggleBehaviors() {
    m_system.m_behaviorsEnabled = !m_system.m_behaviorsEnabled;
    return m_system.m_behaviorsEnabled;
}

CExternalInput* CSimController::FirstSelectedInput() const {
    return m_system.m_selectedInputs.Head();
}

bool CSimController::CanResetValue() const {
    const CExternalInput* input = FirstSelectedInput();
    return input && input->m_kind != 2 && input->m_array.empty() && input->m_value != input->m_initialValue;
}

bool CSimController::ResetValue() {
    if (!CanResetValue() || Held()) return false;
    CExternalInput* input = FirstSelectedInput();
    input->SetValue(input->m_initialValue);
    const bool behaviors = m_system.m_behaviorsEnabled;
    m_system.m_behaviorsEnabled = false;
    m_system.RunCycle();
    m_system.m_behaviorsEnabled = behaviors;
    if (m_view) m_view->RedrawViews();
    return true;
}

bool CSimController::ResetValueOnly() {
    if (!CanResetValue()) return false;
    CExternalInput* input = FirstSelectedInput();
    input->SetValue(input->m_initialValue);
    return true;
}

// --- poll timer -----------------------------------------------------------

void CPollTimer::Start(int32_t periodMs) {
    m_period = periodMs > 0 ? periodMs : 1;
    m_due = m_clock.TickMs() + static_cast<uint32_t>(m_period);
    m_running = true;
}

int32_t CPollTimer::WaitMs() const {
    if (!m_running) return -1;
    const int32_t left = static_cast<int32_t>(m_due - m_clock.TickMs());
    return left > 0 ? left : 0;
}

bool CPollTimer::TakeDue() {
    if (!m_running) return false;
    const uint32_t now = m_clock.TickMs();
    if (static_cast<int32_t>(now - m_due) < 0) return false;
    m_due += static_cast<uint32_t>(m_period);
    if (static_cast<int32_t>(now - m_due) >= 0) m_due = now + static_cast<uint32_t>(m_period);
    return true;
}

}  // namespace zor2
