// The simulation aids in the designer: user controls pressed, held, released
// and double-clicked through the command layer with the simulation running and
// stopped; sim action targets set by a dropped connection; and the property
// dialogs of the controls, the light and the sim actions.
#include "components/utility/sim_action.h"
#include "components/utility/sim_light.h"
#include "components/utility/user_control.h"
#include "designer/commands_controls.h"
#include "designer/component_properties.h"
#include "doc_fixture.h"
#include "simulation/sim_controller.h"
#include "support/sound_recorder.h"

namespace zor2::test {
namespace {

struct CNullTimer final : ISimTimer {
    void Start(int32_t) override {}
    void Stop() override {}
};

class SimAidsCommands : public DocTest {
  protected:
    SimAidsCommands() {
        m_sim.SetTimer(&m_timer);
        m_sim.SetSounds(&m_sounds);
        m_module = DesignNewModule();
    }
    ~SimAidsCommands() override { m_sim.SetSounds(nullptr); }
    /// OK of the component's dialog after `edit` changed its sheet.
    template <class Edit>
    ECmd Dialog(CNetworkModel& c, Edit edit) {
        CPropertySheet sheet = ReadComponentProperties(c);
        edit(sheet);
        return ApplyComponentProperties(m_doc, c, sheet);
    }
    double Shown(const CNetworkModel& c) const { return c.FirstOutput()->m_value; }

    CNullTimer m_timer;
    CSoundRecorder m_sounds;
    CSimController m_sim{m_doc.System()};
    CNetwork* m_module = nullptr;
};

TEST_F(SimAidsCommands, ControlGesturesWhileRunning) {
    // Steps: P press the upper half, L the lower half, R release, D double
    // click (press, release, press, release), T a timer tick, S Stop then Run.
    struct Case {
        const char* name;
        int32_t type;
        int32_t mode;  // the button's dialog choice; -1 keeps the default
        const char* steps;
        double shownAtPress;        // the output right after the first press, before any cycle
        std::vector<double> ticks;  // the output after each tick
    } cases[] = {
        {"single event held five cycles", 59, 0, "PTTTTTRT", 1, {1, 0, 0, 0, 0, 0}},
        {"single event clicked between cycles", 59, 0, "PRTT", 1, {1, 0}},
        {"continuous held", 59, -1, "PTTTRT", 1, {1, 1, 1, 0}},
        {"toggle flips at each press", 59, 2, "PRTTPRT", 1, {1, 1, 0}},
        {"toggle double click flips twice", 59, 2, "DT", 1, {0}},
        {"toggle kept across stop and run", 59, 2, "PRTST", 1, {1, 1}},
        {"up down held on the upper half", 78, -1, "PTTTR", 0, {1, 2, 3}},
        {"up down then held on the lower half", 78, -1, "PTTTRLTTR", 0, {1, 2, 3, 2, 1}},
        {"up down double click", 78, -1, "DT", 0, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNetworkModel* control = Add(c.type, 300, 200);
        if (c.mode >= 0) {
            ASSERT_EQ(Dialog(*control, [&](CPropertySheet& s) { s.Choose("mode", c.mode); }), ECmd::Done);
        }
        ASSERT_TRUE(m_sim.Run());
        const int32_t id = control->m_id;
        const CPoint upper{300, control->m_box.top + 2}, lower{300, control->m_box.bottom - 2};
        std::vector<double> ticks;
        bool pressed = false;
        auto press = [&](CPoint at) {
            ASSERT_EQ(PressControl(m_doc, id, at), ECmd::Done);
            if (!pressed) {
                EXPECT_EQ(Shown(*control), c.shownAtPress);
            }
            pressed = true;
        };
        for (const char* step = c.steps; *step; ++step) {
            switch (*step) {
                case 'P':
                    press(upper);
                    break;
                case 'L':
                    press(lower);
                    break;
                case 'R':
                    EXPECT_EQ(ReleaseControl(m_doc), ECmd::Done);
                    break;
                case 'D':
                    press(upper);
                    EXPECT_EQ(ReleaseControl(m_doc), ECmd::Done);
                    press(upper);
                    EXPECT_EQ(ReleaseControl(m_doc), ECmd::Done);
                    break;
                case 'T':
                    m_sim.OnTimerTick();
                    ticks.push_back(Shown(*control));
                    break;
                case 'S':
                    ASSERT_TRUE(m_sim.Stop());
                    ASSERT_TRUE(m_sim.Run());
                    break;
            }
        }
        EXPECT_EQ(ticks, c.ticks);
        EXPECT_TRUE(Ed().m_components.empty());  // a release clears the module's selection
        ASSERT_TRUE(m_sim.Stop());
        if (c.type == kTypeUserButtonUpDown && std::string(c.steps).find('L') != std::string::npos) {
            EXPECT_EQ(static_cast<CModelUserButtonUpDown*>(control)->Fields().increment, -1.0);
        }
    }
}

TEST_F(SimAidsCommands, StoppedControlsAreNotOperated) {
    for (int32_t type : {kTypeUserButton, kTypeUserButtonUpDown}) {
        SCOPED_TRACE(type);
        CNetworkModel* control = Add(type);
        EXPECT_FALSE(OperatesControl(m_doc, *control));
        EXPECT_EQ(PressControl(m_doc, control->m_id, {100, 60}), ECmd::Unavailable);
        EXPECT_EQ(ReleaseControl(m_doc), ECmd::Unavailable);
        EXPECT_EQ(control->m_value, 0.0);
    }
    CNetworkModel* add = Add(kAdd);
    ASSERT_TRUE(m_sim.Run());
    EXPECT_FALSE(OperatesControl(m_doc, *add));
    EXPECT_EQ(PressControl(m_doc, add->m_id, {100, 100}), ECmd::Unavailable);
    EXPECT_EQ(PressControl(m_doc, 31999, {100, 100}), ECmd::Unavailable);
}

TEST_F(SimAidsCommands, TargetsFromADroppedConnection) {
    ASSERT_EQ(AddGraphic(m_doc, 50, 50), ECmd::Done);
    CGraphic* graphic = Sys().m_graphics.m_graphics.Tail();
    CValueWindow* window = Sys().m_valueWindows.AddValueWindow(Sys().Random());
    window->m_moduleId = m_module->m_id;
    struct Case {
        int32_t type;
        bool toWindow;
        ECmd result;
        int32_t kind;  // the Format's target kind afterwards
    } cases[] = {
        {kTypeSimActionMessage, false, ECmd::Done, 0},
        {kTypeSimActionMessage, true, ECmd::Refused, 0},
        {kTypeSimActionFormat, false, ECmd::Done, kTargetGraphic},
        {kTypeSimActionFormat, true, ECmd::Done, kTargetValueWindow},
        {kTypeSimActionStop, false, ECmd::Refused, 0},
        {kAdd, false, ECmd::Refused, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.type << (c.toWindow ? " on a window" : " on a graphic"));
        CNetworkModel* action = Add(c.type);
        const size_t levels = Levels();
        const ECmd r = c.toWindow ? TargetValueWindow(m_doc, action->m_id, window->m_id)
                                  : TargetGraphic(m_doc, action->m_id, graphic->m_id);
        EXPECT_EQ(r, c.result);
        EXPECT_EQ(Levels(), levels + (r == ECmd::Done ? 1 : 0));
        if (auto* a = dynamic_cast<CModelSimAction*>(action)) {
            EXPECT_EQ(a->Fields().targetId,
                      r == ECmd::Done ? (c.toWindow ? window->m_id : graphic->m_id) : 0);
            EXPECT_EQ(a->TargetKind(), c.kind);
        }
    }
    CNetworkModel* message = Add(kTypeSimActionMessage);
    EXPECT_EQ(TargetGraphic(m_doc, message->m_id, graphic->m_id + 1), ECmd::Refused);
}

TEST_F(SimAidsCommands, DialogsOfTheControlsAndTheLight) {
    auto* button = static_cast<CModelUserButton*>(Add(kTypeUserButton));
    const CPropertySheet buttonSheet = ReadComponentProperties(*button);
    EXPECT_EQ(buttonSheet.Caption(), "Component Properties - User Button");
    EXPECT_EQ(buttonSheet.Find("mode")->group, "Type of Button Response");
    EXPECT_EQ(buttonSheet.Find("mode")->choice, kButtonContinuous);

    auto* upDown = static_cast<CModelUserButtonUpDown*>(Add(kTypeUserButtonUpDown));
    EXPECT_EQ(ReadComponentProperties(*upDown).Find("increment")->text, "1.00");
    EXPECT_EQ(Dialog(*upDown,
                     [](CPropertySheet& s) {
                         s.SetText("base", "2.5");
                         s.SetText("increment", "-0.25");
                     }),
              ECmd::Done);
    EXPECT_EQ(upDown->Fields().baseValue, 2.5);
    EXPECT_EQ(upDown->Fields().increment, -0.25);
    EXPECT_EQ(Dialog(*upDown, [](CPropertySheet& s) { s.SetText("base", "two"); }), ECmd::Refused);
    EXPECT_EQ(LastMessage(), "Please enter a number for \"Starting Value\" (\"two\" is not a number).");

    auto* light = static_cast<CModelSimLight*>(Add(kTypeIndicatorLight));
    EXPECT_EQ(ReadComponentProperties(*light).Find("offColour")->options[3], "Grey");
    EXPECT_EQ(Dialog(*light,
                     [](CPropertySheet& s) {
                         s.Choose("onColour", kLightBlue);
                         s.Choose("offColour", kLightBlack);
                     }),
              ECmd::Done);
    EXPECT_EQ(light->Colours().on, kLightBlue);
    EXPECT_EQ(light->Colours().off, kLightBlack);
}

TEST_F(SimAidsCommands, MessageAndFormatDialogsListTheirTargets) {
    ASSERT_EQ(AddGraphic(m_doc, 50, 50), ECmd::Done);
    ASSERT_EQ(AddGraphic(m_doc, 250, 50), ECmd::Done);
    CGraphic* second = Sys().m_graphics.m_graphics.Tail();
    second->m_text = "Alarm\nsecond line";
    CValueWindow* window = Sys().m_valueWindows.AddValueWindow(Sys().Random());
    window->m_moduleId = m_module->m_id;
    window->m_title = "Level";

    auto* message = static_cast<CModelSimAction*>(Add(kTypeSimActionMessage));
    CPropertySheet sheet = ReadComponentProperties(*message);
    const CPropField* list = sheet.Find("targetGraphic");
    ASSERT_EQ(list->options.size(), 2u);
    EXPECT_EQ(list->options[1], std::to_string(second->m_id) + ": Alarm");
    EXPECT_EQ(list->choice, -1);
    ASSERT_TRUE(sheet.Choose("targetGraphic", 1));
    ASSERT_TRUE(sheet.SetText("message", "Too hot"));
    ASSERT_EQ(ApplyComponentProperties(m_doc, *message, sheet), ECmd::Done);
    EXPECT_EQ(message->Fields().targetId, second->m_id);
    EXPECT_EQ(message->Fields().message, "Too hot");
    EXPECT_EQ(ReadComponentProperties(*message).Find("targetGraphic")->choice, 1);

    auto* format = static_cast<CModelSimAction*>(Add(kTypeSimActionFormat));
    sheet = ReadComponentProperties(*format);
    EXPECT_EQ(sheet.Find("targetKind")->choice, -1);
    EXPECT_FALSE(sheet.Find("targetWindow")->visible);
    ASSERT_TRUE(sheet.Choose("targetKind", 0));
    EXPECT_TRUE(sheet.Find("targetWindow")->visible);
    EXPECT_FALSE(sheet.Find("targetGraphic")->visible);
    EXPECT_EQ(sheet.Find("targetWindow")->options,
              (std::vector<std::string>{std::to_string(window->m_id) + ": Level"}));
    ASSERT_TRUE(sheet.Choose("targetWindow", 0));
    EXPECT_EQ(sheet.Find("colour")->number, 0xFF9933);
    ASSERT_TRUE(sheet.SetColour("colour", 0x0000FF));
    ASSERT_EQ(ApplyComponentProperties(m_doc, *format, sheet), ECmd::Done);
    EXPECT_EQ(format->TargetKind(), kTargetValueWindow);
    EXPECT_EQ(format->Fields().targetId, window->m_id);
    EXPECT_EQ(format->Fields().colour, 0x0000FF);
    // Another kind without a chosen object drops the old target.
    ASSERT_EQ(Dialog(*format, [](CPropertySheet& s) { s.Choose("targetKind", 1); }), ECmd::Done);
    EXPECT_EQ(format->TargetKind(), kTargetGraphic);
    EXPECT_EQ(format->Fields().targetId, 0);
}

TEST_F(SimAidsCommands, SoundDialogOpensTestsAndAsksAboutUnplayableFiles) {
    const std::string wave("RIFF\x24\0\0\0WAVEfmt ", 16);
    CTempFile good("ping.wav", wave);
    auto* sound = static_cast<CModelSimAction*>(Add(kTypeSimActionSound));
    const std::string id = std::to_string(sound->m_id);
    CPropertySheet sheet = ReadComponentProperties(*sound);
    EXPECT_EQ(sheet.Caption(), "Component Properties");
    EXPECT_EQ(sheet.Find("soundPath")->label, "WAV Filename:");
    EXPECT_EQ(sheet.Find("soundPath")->options[0], "Open WAV file for Action Component(WAV)");
    // "Test Sound" plays the file in the dialog, only when it is a wave file that exists.
    ASSERT_TRUE(sheet.SetText("soundPath", good.Sibling("missing.wav")));
    EXPECT_TRUE(sheet.Press("testSound"));
    ASSERT_TRUE(sheet.SetText("soundPath", good.Path()));
    EXPECT_TRUE(sheet.Press("testSound"));
    EXPECT_EQ(m_sounds.m_log, (std::vector<std::string>{"test " + good.Path()}));

    m_sounds.m_log.clear();
    ASSERT_EQ(ApplyComponentProperties(m_doc, *sound, sheet), ECmd::Done);
    EXPECT_EQ(m_sounds.m_log, (std::vector<std::string>{"close " + id, "open " + id + " " + good.Path()}));
    EXPECT_EQ(sound->Fields().soundFile, "ping.wav");
    EXPECT_TRUE(m_prompter.m_questions.empty());

    struct Case {
        EAnswer answer;
        const char* kept;
    } cases[] = {{EAnswer::Yes, "/snd/bad.wav"}, {EAnswer::No, ""}};
    for (const Case& c : cases) {
        Answer({c.answer});
        EXPECT_EQ(Dialog(*sound, [](CPropertySheet& s) { s.SetText("soundPath", "/snd/bad.wav"); }),
                  ECmd::Done);
        EXPECT_EQ(
            LastQuestion(),
            "Sound system has identified an error code:\n 2\n\n with the file: \n[/snd/bad.wav] \n\nand will not be able to play this selection. \n\nThe message is [not a wave file]. \n\nDo you want to continue anyway?");
        EXPECT_EQ(sound->Fields().soundPath, c.kept);
        Dialog(*sound, [&](CPropertySheet& s) { s.SetText("soundPath", good.Path()); });
    }
}

TEST_F(SimAidsCommands, ClosingTheProjectClosesEverySound) {
    m_sounds.m_log.clear();
    Answer({EAnswer::No});  // not saved
    ASSERT_TRUE(m_doc.NewProject());
    EXPECT_EQ(m_sounds.m_log, (std::vector<std::string>{"close all"}));
}

}  // namespace
}  // namespace zor2::test
