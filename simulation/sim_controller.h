// CSimController: runs the edited system in the simulator (run, stop, pause,
// single cycles, level steps, reset), keeps simulated time and the cycle rate,
// and formats the simulation control pane. No toolkit: the owner supplies the timer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "algo/platform.h"
#include "simulation/sim_sounds.h"

namespace zor2 {

class CSystem;
class CNetworkModel;
class CExternalInput;

/// Periodic timer the owner supplies (a window timer in the GUI, a poll loop in
/// the CLI). It calls CSimController::OnTimerTick once per period and delivers
/// at most one pending tick: a late tick is not made up.
class ISimTimer {
  public:
    virtual ~ISimTimer() = default;
    /// Starts or restarts the timer with the period in milliseconds.
    virtual void Start(int32_t periodMs) = 0;
    virtual void Stop() = 0;
};

/// What the owner redraws or records when the simulation changes. Every
/// method has a do-nothing default.
class ISimView {
  public:
    virtual ~ISimView() = default;
    /// Module or system view and the charts (also the sequencer pane rule).
    virtual void RedrawViews() {}
    virtual void RedrawPane() {}
    virtual void MarkModified() {}
    /// The rate was changed by the user; the owner stores it in its settings.
    virtual void RateChanged(int32_t cyclesPerSecond) {}
};

/// Hears that a run ended or a level step was taken (the real-time link).
class ISimStopListener {
  public:
    virtual ~ISimStopListener() = default;
    virtual void OnSimulationStopped() = 0;
    /// The simulator is being destroyed: a listener that keeps it must forget it.
    virtual void OnSimulatorGone() {}
};

inline constexpr int32_t kMinCyclesPerSecond = 1;
inline constexpr int32_t kMaxCyclesPerSecond = 20;
inline constexpr int32_t kDefaultCyclesPerSecond = 10;
/// Identifier of the simulation timer in the designer.
inline constexpr int32_t kSimTimerId = 1001;

enum class ESimState { Stopped, Active, Paused };

/// One line of the simulation control pane: a label and its formatted value.
struct CSimPaneRow {
    std::string label;
    std::string value;
};

/// The pane's rows for the system's current counters (the heading has an empty value).
std::vector<CSimPaneRow> SimPaneRows(const CSystem& system);
/// "%.2d:%.2d:%.2d": minutes (not wrapped), seconds, hundredths of a second.
std::string FormatElapsed(double simulatedMs);
/// The rate kept within 1..20 (a rate outside, e.g. set by hand, never divides by 0).
int32_t ClampRate(int32_t cyclesPerSecond);
/// Timer period in whole milliseconds: trunc(1000 / rate).
int32_t TimerPeriodMs(int32_t cyclesPerSecond);
/// Simulated milliseconds of one manual cycle: 1000 / rate.
double CycleDurationMs(int32_t cyclesPerSecond);

class CSimController {
  public:
    explicit CSimController(CSystem& system);
    /// Tells the stop listener, which may outlive it (the real-time link does).
    ~CSimController();
    CSimController(const CSimController&) = delete;
    CSimController& operator=(const CSimController&) = delete;

    // Services; null means none.
    void SetTimer(ISimTimer* timer) { m_timer = timer; }
    /// The sound player is the system's: its Sim Action Sound components play through it.
    void SetSounds(ISimSounds* sounds);
    void SetView(ISimView* view) { m_view = view; }
    void SetStopListener(ISimStopListener* listener) { m_stopListener = listener; }

    // Commands. Run, Stop and Pause return false and change nothing while
    // disabled (Run while active; Stop and Pause while not active).
    bool Run();
    bool Stop();
    /// Stop as the real-time peer asks for it: performed in every state, so
    /// a paused run is ended too and the peer always hears that it stopped.
    void StopFromPeer();
    bool Pause();
    /// One cycle between ticks, or the body of every timer tick.
    void RunOnce();
    void RunStep();
    void Reset();
    /// The timer's callback: a tick while running runs a cycle; a tick after a
    /// component cleared running ends the run (paused keeps its value).
    void OnTimerTick();

    /// `SetRunning` of the system: true stamps the start and last cycle times
    /// with the clock and counts a new run; false first silences every
    /// component that plays a sound.
    void SetRunning(bool running);

    bool IsActive() const { return m_active; }
    ESimState State() const;
    bool CanRun() const { return !m_active; }
    bool CanStop() const { return m_active; }
    bool CanPause() const { return m_active; }

    // Cycles per second.
    int32_t Rate() const;
    /// Sets the rate clamped to 1..20; returns the rate in effect.
    int32_t SetRate(int32_t cyclesPerSecond);
    /// The edit field's text read as a decimal integer: a number outside 1..20
    /// is clamped; text that is no number leaves the rate. Returns the text
    /// the field shows again ("%d").
    std::string SetRateText(std::string_view text);
    int32_t PeriodMs() const { return TimerPeriodMs(Rate()); }

    bool m_preventRender = false;
    /// While this says so (a neural network learning on a worker thread),
    /// nothing runs a cycle or resets: not the commands, the timer or the peer.
    std::function<bool()> m_hold;
    bool Held() const { return m_hold && m_hold(); }

    /// Brings the simulated time up to date (while running it follows the
    /// clock) and redraws the pane. Called after every tick and step.
    void RefreshPane();

    // Designer commands on behaviours and system inputs.
    /// "Allow Enabled Behaviors": toggles the system's flag; returns it.
    bool ToggleBehaviors();
    /// "Reset Value" is available for the first selected system input when it
    /// holds no array data and its value differs from its initial value.
    bool CanResetValue() const;
    /// "Reset Value": the first selected system input takes its initial value,
    /// then one full cycle runs with the behaviours held off. False when unavailable.
    bool ResetValue();
    /// The context-menu "Reset Value": only the value of the first selected
    /// system input goes back to its initial value.
    bool ResetValueOnly();

  private:
    double Now() const;
    void Redraw();
    CExternalInput* FirstSelectedInput() const;

    CSystem& m_system;
    ISimTimer* m_timer = nullptr;
    ISimView* m_view = nullptr;
    ISimStopListener* m_stopListener = nullptr;
    bool m_active = false;
};

/// An ISimTimer for event loops built on poll(): it holds the next due time
/// and reports a due tick at most once however late the loop comes back.
class CPollTimer final : public ISimTimer {
  public:
    explicit CPollTimer(IClock& clock) : m_clock(clock) {}
    void Start(int32_t periodMs) override;
    void Stop() override { m_running = false; }
    bool Running() const { return m_running; }
    int32_t PeriodMs() const { return m_period; }
    /// Milliseconds until the next tick (0 when due), or -1 when stopped.
    int32_t WaitMs() const;
    /// True when a tick is due; the next one is scheduled one period on, or
    /// one period from now when the loop came back later than that.
    bool TakeDue();

  private:
    IClock& m_clock;
    bool m_running = false;
    int32_t m_period = 0;
    uint32_t m_due = 0;
};

}  // namespace zor2
