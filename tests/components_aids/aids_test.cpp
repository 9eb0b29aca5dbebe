// Simulation aids through a module and the simulation controller: the
// Indicator Light's states, the sim actions against a sound recorder and the
// controller, the Sim Info values, and the up-down control's geometry.
#include <algorithm>

#include "aids_bench.h"
#include "components/utility/sim_action.h"
#include "components/utility/sim_info.h"
#include "components/utility/sim_light.h"
#include "components/utility/user_control.h"
#include "persistence/runtime_export.h"
#include "simulation/sim_controller.h"

namespace zor2::test {
namespace {

using SimAids = AidsBench;

struct CNullTimer final : ISimTimer {
    void Start(int32_t) override {}
    void Stop() override {}
};

TEST_F(SimAids, IndicatorLightStates) {
    struct Case {
        double enable, turnOn;  // -1: unconnected, else the value fed
        CLightColours colours;
        int32_t state;
    } cases[] = {
        {-1, -1, {}, kLightGreen},
        {0, -1, {}, kLightGrey},
        {1, 0, {}, kLightRed},
        {2.0, 3, {}, kLightGreen},
        {-1, 0, {}, kLightRed},
        {0, 1, {kLightBlue, kLightBlack}, kLightGrey},
        {1, 1, {kLightBlue, kLightBlack}, kLightBlue},
        {1, 0, {kLightBlue, kLightBlack}, kLightBlack},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.enable << " " << c.turnOn << " " << c.colours.on);
        auto* light = static_cast<CModelSimLight*>(Drop(*module, kTypeIndicatorLight));
        ASSERT_TRUE(light->SetColours(c.colours));
        if (c.enable >= 0) Feed(*light, 10, c.enable);
        if (c.turnOn >= 0) Feed(*light, 20, c.turnOn);
        module->ComputeStages();
        Cycle();
        EXPECT_EQ(light->State(), c.state);
        EXPECT_EQ(light->FindInput(20)->ValueString(), c.turnOn == 0 ? "Off" : "On");
    }
    auto* light = static_cast<CModelSimLight*>(Drop(*module, kTypeIndicatorLight));
    EXPECT_FALSE(light->SetColours({7, 0}));
    EXPECT_FALSE(light->SetColours({0, -1}));
}

TEST_F(SimAids, StopEndsTheRunAtTheNextTick) {
    CNullTimer timer;
    CSimController sim(system);
    sim.SetTimer(&timer);
    auto* stop = static_cast<CModelSimAction*>(Drop(*module, kTypeSimActionStop));
    CNetworkModel* trigger = Feed(*stop, 10, 0);
    CNetworkModel* after = Drop(*module, kTypeSimInfoCount);  // runs in the same cycle as the stop
    module->ComputeStages();
    ASSERT_TRUE(sim.Run());
    sim.OnTimerTick();
    EXPECT_TRUE(system.m_running);
    trigger->m_value = 1;
    sim.OnTimerTick();
    EXPECT_FALSE(system.m_running);
    EXPECT_TRUE(sim.IsActive());
    EXPECT_EQ(Out(*after, 10), 2.0);  // the cycle finished
    EXPECT_EQ(system.m_lastActionComponentId, stop->m_id);
    EXPECT_EQ(system.m_lastActionModuleId, module->m_id);
    sim.OnTimerTick();  // the run ends here, without a cycle and without silencing sounds
    EXPECT_FALSE(sim.IsActive());
    EXPECT_EQ(Out(*after, 10), 2.0);
    EXPECT_FALSE(system.m_paused);
    EXPECT_TRUE(sounds.m_log.empty());
}

TEST_F(SimAids, SoundPlaysOnlyWhileRunningAndIsStopped) {
    struct Case {
        const char* path;
        bool running;
        double play, stop;
        std::vector<std::string> log;  // "%d" stands for the component id
    } cases[] = {
        {"/snd/ping.wav", true, 1, 0, {"play %d /snd/ping.wav"}},
        {"/snd/ping.wav", false, 1, 0, {}},
        {"/snd/ping.wav", true, 0, 0, {}},
        {"", true, 1, 0, {"beep"}},
        {"a.w", true, 1, 0, {"beep"}},
        {"/snd/ping.wav", true, 0, 1, {"stop %d"}},
        {"a.w", true, 0, 1, {}},
        {"/snd/ping.wav", true, 1, 1, {"stop %d", "play %d /snd/ping.wav"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.path << " running " << c.running << " " << c.play << c.stop);
        auto* sound = static_cast<CModelSimAction*>(Drop(*module, kTypeSimActionSound));
        sound->SetSoundPath(c.path);
        Feed(*sound, 10, c.play);
        Feed(*sound, 20, c.stop);
        module->ComputeStages();
        sounds.m_log.clear();
        system.m_running = c.running;
        Cycle();
        std::vector<std::string> expected;
        for (std::string line : c.log) {
            if (size_t at = line.find("%d"); at != std::string::npos)
                line.replace(at, 2, std::to_string(sound->m_id));
            expected.push_back(line);
        }
        EXPECT_EQ(sounds.m_log, expected);
        EXPECT_EQ(sound->FindInput(20)->ValueString(), c.stop ? "Stop!" : "--");
        module->m_components.Remove(sound);
    }
}

TEST_F(SimAids, AFileThatCannotPlayBeepsAndIsReportedOncePerRun) {
    CNullTimer timer;
    CSimController sim(system);
    sim.SetTimer(&timer);
    auto* sound = static_cast<CModelSimAction*>(Drop(*module, kTypeSimActionSound));
    sound->SetSoundPath("/snd/bad.wav");
    Feed(*sound, 10, 1);
    module->ComputeStages();
    const size_t before = system.Feedback().build.Size();
    ASSERT_TRUE(sim.Run());
    for (int i = 0; i < 3; ++i) sim.OnTimerTick();
    EXPECT_EQ(system.Feedback().build.Size(), before + 1);
    EXPECT_NE(system.Feedback().build.Top().find("[/snd/bad.wav]: not a wave file"), std::string::npos);
    EXPECT_EQ(std::count(sounds.m_log.begin(), sounds.m_log.end(), "beep"), 3);
    // Stopping silences it; the next run reports again, once.
    sounds.m_log.clear();
    ASSERT_TRUE(sim.Stop());
    EXPECT_EQ(sounds.m_log, (std::vector<std::string>{"stop " + std::to_string(sound->m_id)}));
    ASSERT_TRUE(sim.Run());
    sim.OnTimerTick();
    sim.OnTimerTick();
    EXPECT_EQ(system.Feedback().build.Size(), before + 2);
}

TEST_F(SimAids, MessageAndFormatChangeTheirTargets) {
    CGraphic* graphic = system.m_graphics.AddGraphic(system.Random());
    CValueWindow* window = system.m_valueWindows.AddValueWindow(system.Random());
    ASSERT_TRUE(graphic && window);
    graphic->m_text = "before";
    struct Case {
        int32_t type;
        int32_t kind;  // Format: 60 value window, 25 graphic
        bool toWindow;
        double trigger;
        const char* text;
        int32_t graphicColour, windowColour;
    } cases[] = {
        {kTypeSimActionMessage, 0, false, 0, "before", 0xFFFFFF, 0x123456},
        {kTypeSimActionMessage, 0, false, 1, "Hello", 0xFFFFFF, 0x123456},
        {kTypeSimActionFormat, kTargetValueWindow, true, 1, "before", 0xFFFFFF, 0x00FF00},
        {kTypeSimActionFormat, kTargetValueWindow, true, 0, "before", 0xFFFFFF, 0xFFFFFF},
        {kTypeSimActionFormat, kTargetGraphic, false, 0, "before", 0xFFFFFF, 0x123456},
        {kTypeSimActionFormat, kTargetGraphic, false, 1, "before", 0x00FF00, 0x123456},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.type << " kind " << c.kind << " trigger " << c.trigger);
        graphic->m_text = "before";
        graphic->m_background = 0xFFFFFF;
        window->m_background = 0x123456;
        auto* action = static_cast<CModelSimAction*>(Drop(*module, c.type));
        const int32_t target = c.toWindow ? window->m_id : graphic->m_id;
        if (c.type == kTypeSimActionMessage) action->SetMessage(target, "Hello");
        if (c.type == kTypeSimActionFormat) {
            ASSERT_TRUE(action->SetFormat(c.kind, target, 0x00FF00));
        }
        Feed(*action, 10, c.trigger);
        module->ComputeStages();
        system.m_lastActionComponentId = 0;
        Cycle();
        EXPECT_EQ(graphic->m_text, c.text);
        EXPECT_EQ(graphic->m_background, c.graphicColour);
        EXPECT_EQ(window->m_background, c.windowColour);
        EXPECT_EQ(system.m_lastActionComponentId,
                  c.trigger || c.type == kTypeSimActionFormat ? action->m_id : 0);
        module->m_components.Remove(action);
    }
    // A target that names nothing changes nothing.
    auto* lost = static_cast<CModelSimAction*>(Drop(*module, kTypeSimActionMessage));
    lost->SetMessage(graphic->m_id + 1, "lost");
    Feed(*lost, 10, 1);
    module->ComputeStages();
    Cycle();
    EXPECT_EQ(graphic->m_text, "before");
}

TEST_F(SimAids, SimInfoCountsFromOneAfterAReset) {
    CNullTimer timer;
    CSimController sim(system);
    sim.SetTimer(&timer);
    CNetworkModel* time = Drop(*module, kTypeSimInfoSimTime);
    CNetworkModel* count = Drop(*module, kTypeSimInfoCount);
    sim.RunOnce();
    sim.RunOnce();
    sim.Reset();
    EXPECT_EQ(Out(*count, 10), 0.0);
    EXPECT_EQ(count->FirstOutput()->ValueString(), "");
    sim.RunOnce();
    EXPECT_EQ(Out(*count, 10), 1.0);
    EXPECT_EQ(count->FirstOutput()->ValueString(), "1");
    EXPECT_EQ(Out(*time, 10), 0.0);
    sim.RunOnce();  // a manual cycle adds one cycle duration: 100 ms at 10 cycles per second
    EXPECT_EQ(Out(*count, 10), 2.0);
    EXPECT_DOUBLE_EQ(Out(*time, 10), 0.1);
}

TEST(SimInfoLocalTime, TwelveHourClockAndCalendarFields) {
    struct Case {
        int hour, min;
        int32_t shown;
    } cases[] = {{0, 30, 12}, {1, 0, 1}, {11, 59, 11}, {12, 0, 12}, {13, 5, 1}, {23, 59, 11}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hour);
        std::tm t{};
        t.tm_hour = c.hour;
        t.tm_min = c.min;
        t.tm_sec = 7;
        t.tm_wday = 0;
        t.tm_mday = 31;
        t.tm_mon = 11;
        t.tm_year = 124;
        const CLocalTimeFields f = LocalTimeFields(t);
        const int32_t expected[7] = {7, c.min, c.shown, 0, 31, 12, 2024};
        for (int i = 0; i < 7; ++i) EXPECT_EQ(f.values[i], expected[i]) << i;
    }
}

TEST_F(SimAids, LocalTimeKeepsItsDateWhenTheClockFails) {
    auto* local = static_cast<CModelSimInfoSysTime*>(Drop(*module, kTypeSimInfoLocalTime));
    ASSERT_EQ(local->m_outputs.Size(), 8u);
    std::tm t{};
    t.tm_hour = 13;
    t.tm_year = 99;
    local->Publish(65432, &t);
    EXPECT_EQ(local->FirstOutput()->ValueString(), "65.4");
    EXPECT_EQ(Out(*local, 40), 1.0);
    EXPECT_EQ(local->FindOutput(80)->ValueString(), "1999");
    local->Publish(1000, nullptr);
    EXPECT_EQ(Out(*local, 10), 1.0);
    EXPECT_EQ(Out(*local, 80), 1999.0);
    local->ResetValues();  // keeps every value
    EXPECT_EQ(Out(*local, 80), 1999.0);
}

TEST_F(SimAids, ExportingLocalTimeSaysTheRuntimeCannotLoadTheFile) {
    Drop(*module, kTypeSimInfoCount);
    const std::string path = ::testing::TempDir() + "zor2_aids_local_time.z2r";
    const std::string top = system.Feedback().build.Top();
    ASSERT_EQ(ExportRuntimeFile(system, path), 0);
    EXPECT_EQ(system.Feedback().build.Top(), top);
    CNetworkModel* local = Drop(*module, kTypeSimInfoLocalTime);
    ASSERT_EQ(ExportRuntimeFile(system, path), 0);
    EXPECT_EQ(
        system.Feedback().build.Top(),
        "Runtime export: \"" + local->m_name +
            "\" (Sim Info LocalTime) in module \"Plant\" runs only in the designer; the runtime library cannot load this file while it holds such a component.");
    std::remove(path.c_str());
}

TEST_F(SimAids, UpDownGeometryAndStepping) {
    auto* control = static_cast<CModelUserButtonUpDown*>(Drop(*module, kTypeUserButtonUpDown, 200, 300));
    EXPECT_EQ(control->m_box, (CRect{179, 253, 221, 347}));
    EXPECT_LT(control->UpArea().bottom, 300 - 7);
    EXPECT_GT(control->DownArea().top, 300 + 7);
    EXPECT_FALSE(control->m_displayC);
    // A stored position at either end of the coordinate range keeps both halves in order.
    for (int32_t edge : {INT32_MIN, INT32_MAX}) {
        control->SetPosition(edge, edge);
        EXPECT_LE(control->UpArea().top, control->UpArea().bottom) << edge;
        EXPECT_LE(control->UpArea().bottom, control->DownArea().top) << edge;
    }
    control->SetPosition(200, 300);
    // Held while the simulation is not running: no step.
    control->Press({200, 260});
    control->Execute();
    EXPECT_EQ(Out(*control, 10), 0.0);
    system.m_running = true;
    control->Execute();
    control->Execute();
    EXPECT_EQ(Out(*control, 10), 2.0);
    control->Release();
    control->Execute();
    EXPECT_EQ(Out(*control, 10), 2.0);
    ASSERT_TRUE(control->SetSteps(5, 0.5));
    control->ResetValues();
    EXPECT_EQ(Out(*control, 10), 5.0);
    EXPECT_EQ(control->HelperText(), (std::vector<std::string>{"Base Value: 5.00", "Increment: 0.50"}));
}

}  // namespace
}  // namespace zor2::test
