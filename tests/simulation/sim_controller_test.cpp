// Simulator commands and states, time and rate rules, the pane's texts, the
// poll timer, and the behaviour and input-reset commands.
#include "simulation/sim_controller.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "engine/system.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

struct CFakeTimer final : ISimTimer {
    void Start(int32_t periodMs) override {
        running = true;
        period = periodMs;
        ++starts;
    }
    void Stop() override { running = false; }
    bool running = false;
    int32_t period = 0;
    int starts = 0;
};

struct CSoundLog final : ISimSounds {
    void StopSound(CNetworkModel& c) override { stopped.push_back(c.m_id); }
    std::vector<int32_t> stopped;
};

struct CStopLog final : ISimStopListener {
    void OnSimulationStopped() override { ++count; }
    int count = 0;
};

struct CViewLog final : ISimView {
    void RedrawViews() override { ++views; }
    void RedrawPane() override { ++panes; }
    void MarkModified() override { ++modified; }
    void RateChanged(int32_t c) override { lastRate = c; }
    int views = 0, panes = 0, modified = 0, lastRate = 0;
};

/// A component that runs a hook when it executes and may play a sound (stands
/// in for the simulation-aid components that stop runs or play sounds).
class CHookModel final : public CNetworkModel {
  public:
    void Execute() override {
        if (hook) hook(*this);
    }
    bool PlaysSound() const override { return sounding; }
    std::function<void(CHookModel&)> hook;
    bool sounding = false;
};

CHookModel* AddHook(CNetwork& module, int32_t id, int32_t typeId) {
    auto c = std::make_unique<CHookModel>();
    c->m_id = id;
    c->m_typeId = typeId;
    c->m_owner = &module;
    CHookModel* p = static_cast<CHookModel*>(module.m_components.Append(std::move(c)));
    module.ComputeStages();
    module.InvalidateOrder();
    return p;
}

struct Fixture {
    CSystem system;
    CManualClock clock;
    CFakeTimer timer;
    CSoundLog sounds;
    CStopLog stops;
    CViewLog view;
    CSimController sim{system};
    CExternalInput* input = nullptr;

    Fixture() {
        system.SetClock(&clock);
        sim.SetTimer(&timer);
        sim.SetSounds(&sounds);
        sim.SetStopListener(&stops);
        sim.SetView(&view);
        input = system.CreateSystemInput("in", 1);
        input->m_initialValue = 1.5;
        input->SetValue(1.5);
    }
};

TEST(SimTime, RatePeriodAndManualStep) {
    struct Case {
        int32_t rate, clamped, period;
        double step;
    };
    const Case cases[] = {
        {1, 1, 1000, 1000.0},      {3, 3, 333, 1000.0 / 3.0}, {10, 10, 100, 100.0},  {20, 20, 50, 50.0},
        {7, 7, 142, 1000.0 / 7.0}, {0, 1, 1000, 1000.0},      {-4, 1, 1000, 1000.0}, {21, 20, 50, 50.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        EXPECT_EQ(ClampRate(c.rate), c.clamped);
        EXPECT_EQ(TimerPeriodMs(c.rate), c.period);
        EXPECT_DOUBLE_EQ(CycleDurationMs(c.rate), c.step);

        Fixture f;
        f.system.m_cyclesPerSecond = c.rate;  // as if set by hand, bypassing SetRate
        f.sim.RunOnce();
        f.sim.RunOnce();
        EXPECT_DOUBLE_EQ(f.system.m_simulatedTime, 2 * c.step);
        EXPECT_TRUE(f.sim.Run());
        EXPECT_EQ(f.timer.period, c.period);
    }
}

TEST(SimTime, RateThreeGivesThirdsOfASecond) {
    Fixture f;
    f.sim.SetRate(3);
    f.sim.RunOnce();
    EXPECT_EQ(f.system.m_simulatedTime, 1000.0 / 3.0);
    EXPECT_EQ(f.system.m_cycleCount, 1);
    f.sim.Run();
    EXPECT_EQ(f.timer.period, 333);
}

TEST(SimTime, RunningTimeFollowsTheClockAndManualTimeIsOneCycle) {
    Fixture f;
    f.clock.Set(5000);
    f.sim.Run();
    EXPECT_EQ(f.system.m_startTime, 5000.0);
    f.clock.Advance(130);  // a late tick: the clock, not the rate, measures the run
    f.sim.OnTimerTick();
    EXPECT_EQ(f.system.m_simulatedTime, 130.0);
    f.clock.Advance(70);
    f.sim.OnTimerTick();
    EXPECT_EQ(f.system.m_simulatedTime, 200.0);
    EXPECT_EQ(f.system.m_cycleCount, 2);
    f.sim.Pause();
    f.clock.Advance(10000);  // paused time does not count
    f.sim.RunOnce();
    EXPECT_EQ(f.system.m_simulatedTime, 300.0);
    EXPECT_EQ(f.system.m_lastCycleTime, 15200.0);
}

TEST(SimTime, ClockWrapDoesNotTurnTimeNegative) {
    Fixture f;
    f.clock.Set(0xFFFFFFF0u);
    f.sim.Run();
    f.clock.Advance(0x30);  // wraps past zero
    f.sim.OnTimerTick();
    EXPECT_EQ(f.system.m_simulatedTime, 48.0);
}

TEST(SimTime, FirstManualCycleAfterResetStampsTheStart) {
    Fixture f;
    f.clock.Set(700);
    f.sim.RunOnce();
    EXPECT_EQ(f.system.m_startTime, 700.0);
    f.clock.Set(900);
    f.sim.RunOnce();
    EXPECT_EQ(f.system.m_startTime, 700.0);
    EXPECT_EQ(f.system.m_lastCycleTime, 900.0);
}

TEST(SimRate, EditFieldText) {
    struct Case {
        const char* text;
        int32_t before, after;
    };
    const Case cases[] = {
        {"3", 10, 3},
        {" 7 ", 10, 7},
        {"+12", 10, 12},
        {"abc", 4, 4},
        {"", 4, 4},
        {"12x", 4, 4},
        {"0", 10, 1},
        {"-4", 10, 1},
        {"99", 10, 20},
        {"99999999999999999999", 10, 20},
        {"-99999999999999999999", 10, 1},
        {"2.5", 6, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Fixture f;
        f.sim.SetRate(c.before);
        EXPECT_EQ(f.sim.SetRateText(c.text), std::to_string(c.after));
        EXPECT_EQ(f.system.m_cyclesPerSecond, c.after);
        EXPECT_GE(f.sim.PeriodMs(), 50);
    }
}

TEST(SimRate, ChangeIsReportedAndARunningTimerKeepsItsPeriod) {
    Fixture f;
    f.sim.Run();
    EXPECT_EQ(f.timer.period, 100);
    f.sim.SetRateText("4");
    EXPECT_EQ(f.view.lastRate, 4);
    EXPECT_EQ(f.timer.period, 100);
    EXPECT_EQ(f.timer.starts, 1);
    f.sim.Stop();
    f.sim.Run();
    EXPECT_EQ(f.timer.period, 250);
}

enum class Cmd { Run, Stop, PeerStop, Pause, Once, Step, Reset, Tick, ClearRunning };

TEST(SimStates, CommandTable) {
    struct Case {
        const char* name;
        std::vector<Cmd> commands;
        std::vector<bool> accepted;  // per command that returns a result
        ESimState state;
        int32_t cycles;
        bool timerRunning;
        bool paused;
    };
    using C = Cmd;
    const Case cases[] = {
        {"initial", {}, {}, ESimState::Stopped, 0, false, false},
        {"run", {C::Run}, {true}, ESimState::Active, 0, true, false},
        {"run twice", {C::Run, C::Run}, {true, false}, ESimState::Active, 0, true, false},
        {"stop while stopped", {C::Stop}, {false}, ESimState::Stopped, 0, false, false},
        {"pause while stopped", {C::Pause}, {false}, ESimState::Stopped, 0, false, false},
        {"ticks", {C::Run, C::Tick, C::Tick, C::Tick}, {true}, ESimState::Active, 3, true, false},
        {"stop", {C::Run, C::Tick, C::Stop}, {true, true}, ESimState::Stopped, 1, false, false},
        {"pause", {C::Run, C::Tick, C::Pause}, {true, true}, ESimState::Paused, 1, false, true},
        {"pause twice", {C::Run, C::Pause, C::Pause}, {true, true, false}, ESimState::Paused, 0, false, true},
        {"run after pause keeps counting",
         {C::Run, C::Tick, C::Tick, C::Pause, C::Run, C::Tick},
         {true, true, true},
         ESimState::Active,
         3,
         true,
         true},
        {"run after stop resets",
         {C::Run, C::Tick, C::Tick, C::Stop, C::Run, C::Tick},
         {true, true, true},
         ESimState::Active,
         1,
         true,
         false},
        {"stop from paused is disabled",
         {C::Run, C::Pause, C::Stop},
         {true, true, false},
         ESimState::Paused,
         0,
         false,
         true},
        {"peer stop ends a paused run",
         {C::Run, C::Tick, C::Pause, C::PeerStop},
         {true, true},
         ESimState::Stopped,
         1,
         false,
         false},
        {"peer stop while running",
         {C::Run, C::Tick, C::PeerStop, C::Run},
         {true, true},
         ESimState::Active,
         0,
         true,
         false},
        {"component stop ends the run",
         {C::Run, C::Tick, C::ClearRunning, C::Tick},
         {true},
         ESimState::Stopped,
         1,
         false,
         false},
        {"component stop after a resumed pause stays paused",
         {C::Run, C::Pause, C::Run, C::Tick, C::ClearRunning, C::Tick},
         {true, true, true},
         ESimState::Paused,
         1,
         false,
         true},
        {"reset while active keeps the timer",
         {C::Run, C::Tick, C::Tick, C::Reset, C::Tick},
         {true},
         ESimState::Active,
         1,
         true,
         false},
        {"manual cycles in every state",
         {C::Once, C::Run, C::Once, C::Pause, C::Once},
         {true, true},
         ESimState::Paused,
         2,
         false,
         true},
        {"steps do not count cycles",
         {C::Step, C::Step, C::Run, C::Step},
         {true},
         ESimState::Active,
         0,
         true,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        std::vector<bool> accepted;
        for (Cmd cmd : c.commands) {
            switch (cmd) {
                case Cmd::Run:
                    accepted.push_back(f.sim.Run());
                    break;
                case Cmd::Stop:
                    accepted.push_back(f.sim.Stop());
                    break;
                case Cmd::PeerStop:
                    f.sim.StopFromPeer();
                    break;
                case Cmd::Pause:
                    accepted.push_back(f.sim.Pause());
                    break;
                case Cmd::Once:
                    f.sim.RunOnce();
                    break;
                case Cmd::Step:
                    f.sim.RunStep();
                    break;
                case Cmd::Reset:
                    f.sim.Reset();
                    break;
                case Cmd::Tick:
                    f.sim.OnTimerTick();
                    break;
                case Cmd::ClearRunning:
                    f.system.m_running = false;
                    break;
            }
        }
        EXPECT_EQ(accepted, c.accepted);
        EXPECT_EQ(f.sim.State(), c.state);
        EXPECT_EQ(f.system.m_cycleCount, c.cycles);
        EXPECT_EQ(f.timer.running, c.timerRunning);
        EXPECT_EQ(f.system.m_paused, c.paused);
        EXPECT_EQ(f.sim.CanRun(), c.state != ESimState::Active);
        EXPECT_EQ(f.sim.CanStop(), c.state == ESimState::Active);
        EXPECT_EQ(f.sim.CanPause(), c.state == ESimState::Active);
        EXPECT_EQ(f.system.m_running, c.state == ESimState::Active);
    }
}

TEST(SimStates, RunResetsInputsUnlessPaused) {
    Fixture f;
    f.sim.Run();
    f.input->SetValue(9.0);
    f.sim.Pause();
    f.sim.Run();
    EXPECT_EQ(f.input->m_value, 9.0);
    f.sim.Stop();
    f.sim.Run();
    EXPECT_EQ(f.input->m_value, 1.5);
}

TEST(SimStates, ComponentClearingRunningStopsAtTheNextTick) {
    Fixture f;
    CNetwork* m = f.system.CreateModule("m", 0, 0);
    int executed = 0;
    AddHook(*m, 77, 9999)->hook = [&](CHookModel& self) {
        if (++executed == 2) self.System()->m_running = false;
    };
    f.sim.Run();
    f.sim.OnTimerTick();
    f.sim.OnTimerTick();  // the component stops the run in this cycle
    EXPECT_TRUE(f.sim.IsActive());
    f.sim.OnTimerTick();  // no cycle: the run ends
    EXPECT_EQ(executed, 2);
    EXPECT_FALSE(f.sim.IsActive());
    EXPECT_FALSE(f.timer.running);
    EXPECT_EQ(f.sim.State(), ESimState::Stopped);
}

TEST(SimStates, StoppingAndPausingSilenceEverySound) {
    struct Case {
        const char* name;
        std::function<void(CSimController&)> end;
        std::vector<int32_t> silenced;
        int stopNotices;
    };
    const Case cases[] = {
        {"stop", [](CSimController& s) { s.Stop(); }, {11, 12, 21}, 1},
        {"pause", [](CSimController& s) { s.Pause(); }, {11, 12, 21}, 0},
        {"set running false", [](CSimController& s) { s.SetRunning(false); }, {11, 12, 21}, 0},
        {"step", [](CSimController& s) { s.RunStep(); }, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        CNetwork* a = f.system.CreateModule("a", 0, 0);
        CNetwork* b = f.system.CreateModule("b", 0, 0);
        AddHook(*a, 11, 51)->sounding = true;
        AddHook(*a, 15, 52);
        AddHook(*a, 12, 51)->sounding = true;
        AddHook(*b, 21, 51)->sounding = true;
        f.sim.Run();
        f.sim.OnTimerTick();
        c.end(f.sim);
        EXPECT_EQ(f.sounds.stopped, c.silenced);
        EXPECT_EQ(f.stops.count, c.stopNotices);
    }
}

TEST(SimStates, ResetZeroesCountersAndMarksModified) {
    Fixture f;
    f.sim.RunOnce();
    f.sim.RunOnce();
    f.system.m_diagnostic1 = 4;
    f.input->SetValue(8.0);
    f.sim.Reset();
    EXPECT_EQ(f.system.m_cycleCount, 0);
    EXPECT_EQ(f.system.m_simulatedTime, 0.0);
    EXPECT_EQ(f.system.m_diagnostic1, 0);
    EXPECT_EQ(f.input->m_value, 1.5);
    EXPECT_EQ(f.view.modified, 1);
}

TEST(SimStates, PreventRenderSkipsViewsButNotThePane) {
    Fixture f;
    f.sim.m_preventRender = true;
    f.sim.RunOnce();
    EXPECT_EQ(f.view.views, 0);
    EXPECT_EQ(f.view.panes, 1);
    f.sim.m_preventRender = false;
    f.sim.RunOnce();
    EXPECT_EQ(f.view.views, 1);
}

TEST(SimPane, Rows) {
    struct Case {
        int32_t rate;
        double time;
        int32_t count;
        std::vector<std::string> values;
    };
    const Case cases[] = {
        {10, 0.0, 0, {"", "10", "100.00 ms", "0.00 ms", "00:00.00", "0"}},
        {3, 1000.0, 3, {"", "3", "333.33 ms", "333.33 ms", "00:01.00", "3"}},
        {20, 61234.5, 1000, {"", "20", "50.00 ms", "61.23 ms", "01:01.23", "1000"}},
        {1, 3600000.0, 7, {"", "1", "1000.00 ms", "514285.71 ms", "60:00.00", "7"}},
        {0, 59999.0, 1, {"", "1", "1000.00 ms", "59999.00 ms", "00:59.99", "1"}},
    };
    const std::vector<std::string> labels = {
        "Simulation Data:",         "Cycles per second:", "Cycle duration:",
        "Cycle duration (actual):", "Time elapsed:",      "Cycles completed:"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        CSystem system;
        system.m_cyclesPerSecond = c.rate;
        system.m_simulatedTime = c.time;
        system.m_cycleCount = c.count;
        const auto rows = SimPaneRows(system);
        ASSERT_EQ(rows.size(), labels.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].label, labels[i]);
            EXPECT_EQ(rows[i].value, c.values[i]);
        }
    }
}

TEST(SimPane, ElapsedFieldsStayInRange) {
    struct Case {
        double ms;
        const char* text;
    };
    const Case cases[] = {
        {0.0, "00:00.00"},        {9.99, "00:00.00"},
        {10.0, "00:00.01"},       {999.0, "00:00.99"},
        {1000.0, "00:01.00"},     {14100.0, "00:14.10"},
        {-5.0, "00:00.00"},       {std::nan(""), "00:00.00"},
        {6000000.0, "100:00.00"}, {std::numeric_limits<double>::infinity(), "150000000000:00.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(FormatElapsed(c.ms), c.text);
    }
}

TEST(SimPollTimer, LateTicksAreNotMadeUp) {
    CManualClock clock;
    CPollTimer timer(clock);
    EXPECT_EQ(timer.WaitMs(), -1);
    EXPECT_FALSE(timer.TakeDue());
    clock.Set(1000);
    timer.Start(100);
    struct Step {
        uint32_t at;
        bool due;
        int32_t wait;
    };
    const Step steps[] = {
        {1050, false, 50},
        {1100, true, 100},
        {1100, false, 100},
        {1230, true, 70},
        {1555, true, 100},  // two and a half periods late: one tick, the next a period
                            // from now
        {1600, false, 55},
        {1655, true, 100},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.at);
        clock.Set(s.at);
        EXPECT_EQ(timer.TakeDue(), s.due);
        EXPECT_EQ(timer.WaitMs(), s.wait);
    }
    timer.Stop();
    EXPECT_EQ(timer.WaitMs(), -1);
    clock.Set(5000);
    EXPECT_FALSE(timer.TakeDue());
}

TEST(SimCommands, AllowEnabledBehaviorsToggles) {
    Fixture f;
    EXPECT_TRUE(f.system.m_behaviorsEnabled);
    EXPECT_FALSE(f.sim.ToggleBehaviors());
    EXPECT_FALSE(f.system.m_behaviorsEnabled);
    EXPECT_TRUE(f.sim.ToggleBehaviors());
}

TEST(SimCommands, ResetValue) {
    struct Case {
        const char* name;
        bool select;
        double value;
        bool array;
        bool behaviors;
        bool available;
    };
    const Case cases[] = {
        {"changed value", true, 4.0, false, true, true},
        {"behaviours off stay off", true, 4.0, false, false, true},
        {"nothing selected", false, 4.0, false, true, false},
        {"value already initial", true, 1.5, false, true, false},
        {"array input", true, 4.0, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        CNetwork* m = f.system.CreateModule("m", 0, 0);
        std::vector<double> seen;
        AddHook(*m, 5, 9999)->hook = [&](CHookModel& self) { seen.push_back(f.input->m_value); };
        f.system.m_behaviorsEnabled = c.behaviors;
        f.input->SetValue(c.value);
        if (c.array) {
            f.input->m_kind = 2;
            f.input->m_array = {1.0, 2.0};
        }
        if (c.select) f.system.m_selectedInputs.Append(f.input);
        EXPECT_EQ(f.sim.CanResetValue(), c.available);
        EXPECT_EQ(f.sim.ResetValue(), c.available);
        EXPECT_EQ(f.input->m_value, c.available ? 1.5 : c.value);
        EXPECT_EQ(f.system.m_cycleCount, c.available ? 1 : 0);
        EXPECT_EQ(seen, c.available ? std::vector<double>{1.5} : std::vector<double>{});
        EXPECT_EQ(f.system.m_behaviorsEnabled, c.behaviors);
    }
}

TEST(SimCommands, ContextResetValueRunsNoCycle) {
    Fixture f;
    f.system.m_selectedInputs.Append(f.input);
    f.input->SetValue(3.0);
    EXPECT_TRUE(f.sim.ResetValueOnly());
    EXPECT_EQ(f.input->m_value, 1.5);
    EXPECT_EQ(f.system.m_cycleCount, 0);
    EXPECT_FALSE(f.sim.ResetValueOnly());
}

}  // namespace
}  // namespace zor2
