// The command rows without a window: when each command is enabled and
// checked, that every place names a command and every command has a place,
// what the commands ask of their host, and the context-menu items' rows.
#include "designer/command_rows.h"

#include <set>

#include "aids_fixture.h"
#include "designer/commands_clipboard.h"
#include "designer/commands_window.h"
#include "designer/context_menus.h"
#include "realtime/udp_link.h"
#include "scripted_host.h"
#include "simulation/sim_controller.h"

namespace zor2::test {
namespace {

/// The arrangements the rules are read in.
enum class EState {
    SystemView,       // nothing selected
    Module,           // one module selected in the system view
    SystemInput,      // ... a system input
    SystemOutput,     // ... a system output
    InputCategory,    // ... the default input category
    OutputCategory,   // ... the default output category
    ModuleInput,      // ... the module's input
    ModuleOutput,     // ... the module's output
    Designing,        // the module with the charts open, nothing selected
    DesigningOther,   // a module without charts open
    Component,        // the adder selected
    ComponentInput,   // the adder's input
    ComponentOutput,  // the first constant's output
    Components,       // both constants
    Graphic,          // one (bold) graphic
    Graphics,         // two graphics, the plain one first
    Chart,            // the chart
    ValueWindow,      // the value window
    Running,          // designing with the simulation running
    NoSimulator,      // a context without a simulator
    Undone,           // after one undo
    InputChanged,     // a selected system input away from its initial value
    Behavior,         // the system input has a behaviour
    PaneShown,        // the host shows the feedback pane
    LinkUnbound,      // a link that did not bind
    LinkOn,           // a bound link
    LinkOff,          // a bound link switched off
};

class CommandRowsTest : public AidsTest {
  protected:
    CommandRowsTest() {
        CNetworkModel* sum = Add(kAdd, 300, 100);
        Wire(*m_a, *sum);
        m_ids = {m_a->m_id, m_b->m_id, sum->m_id};
        m_chartId = NewChart(m_a)->m_id;
        m_windowId = NewValueWindow(m_b)->m_id;
        m_graphics = {NewGraphic(500, 100)->m_id, NewGraphic(500, 300)->m_id};
        Ed().ShowSystem();
        Ed().SelectModules({m_module->m_id});
        AddModuleInput(m_doc, "in");
        AddModuleOutput(m_doc, "out");
        AddSystemInputFromBar(m_doc);
        AddSystemOutputFromBar(m_doc);
        Ed().ClearSelection();
        m_otherId = NewModule()->m_id;
    }

    CCommandContext Ctx() {
        return {m_doc, m_host, m_withSimulator ? &m_sim : nullptr, m_link, &m_clipboard};
    }
    // By id: an undo reloads the system.
    CNetwork* Module() { return Sys().FindModule(m_moduleId); }
    CNetworkModel* Constant() { return Module()->FindComponent(m_ids[0]); }
    CNetworkModel* Sum() { return Module()->FindComponent(m_ids[2]); }

    void Arrange(EState state) {
        m_sim.Stop();
        m_withSimulator = true;
        m_link = nullptr;
        Ed().ShowSystem();
        Ed().ClearSelection();
        CSystem& s = Sys();
        CNetwork* m = Module();
        switch (state) {
            case EState::SystemView:
            case EState::NoSimulator:
                m_withSimulator = state != EState::NoSimulator;
                break;
            case EState::Module:
                Ed().SelectModules({m->m_id});
                break;
            case EState::SystemInput:
            case EState::InputChanged:
            case EState::Behavior:
                Ed().SelectSystemInput(s.m_inputs.Head()->m_id);
                if (state == EState::InputChanged) s.m_inputs.Head()->SetValue(7.0);
                if (state == EState::Behavior)
                    AddBehavior(m_doc, NewBehaviorData(s, s.m_inputs.Head()->m_id));
                break;
            case EState::SystemOutput:
                Ed().SelectSystemOutput(s.m_outputs.Head()->m_id);
                break;
            case EState::InputCategory:
                Ed().SelectInputCategory(s.m_inputCategories.Head()->m_id);
                break;
            case EState::OutputCategory:
                Ed().SelectOutputCategory(s.m_outputCategories.Head()->m_id);
                break;
            case EState::ModuleInput:
                Ed().SelectModuleInput(m->m_id, m->m_inputs.Head()->m_id);
                break;
            case EState::ModuleOutput:
                Ed().SelectModuleOutput(m->m_id, m->m_outputs.Head()->m_id);
                break;
            case EState::DesigningOther:
                Ed().DesignModule(m_otherId);
                break;
            default:
                Ed().DesignModule(m->m_id);
                break;
        }
        switch (state) {
            case EState::Component:
                Ed().SelectComponents({m_ids[2]});
                break;
            case EState::ComponentInput:
                Ed().SelectComponentInput(m_ids[2], Sum()->m_inputs.Head()->m_id);
                break;
            case EState::ComponentOutput:
                Ed().SelectComponentOutput(m_ids[0], Constant()->FirstOutput()->m_id);
                break;
            case EState::Components:
                Ed().SelectComponents({m_ids[0], m_ids[1]});
                break;
            case EState::Graphic:
                Ed().m_graphics = {m_graphics[0]};
                s.m_graphics.m_graphics.Find(m_graphics[0])->m_bold = true;
                break;
            case EState::Graphics:  // the first selected one is not bold
                Ed().m_graphics = {m_graphics[1], m_graphics[0]};
                break;
            case EState::Chart:
                Ed().m_charts = {m_chartId};
                break;
            case EState::ValueWindow:
                Ed().m_valueWindows = {m_windowId};
                break;
            case EState::Running:
                Ed().SelectComponents({m_ids[2]});
                m_sim.Run();
                break;
            case EState::Undone:
                SetProjectDescription(m_doc, "undone");
                m_doc.UndoChange();
                break;
            case EState::PaneShown:
                m_host.m_panes[static_cast<size_t>(EPane::Feedback)] = true;
                break;
            case EState::LinkUnbound:
            case EState::LinkOn:
            case EState::LinkOff:
                m_link = &m_udp;
                if (state != EState::LinkUnbound && !m_udp.Bound()) m_udp.Start();
                if (m_udp.Enabled() != (state == EState::LinkOn)) m_udp.ToggleEnabled();
                break;
            default:
                break;
        }
    }

    CScriptedHost m_host;
    CSimController m_sim{Sys()};
    CUdpLink m_udp{Sys(), CUdpConfig{kUdpLoopback, 0, 9}};  // any free port; sent to discard
    CUdpLink* m_link = nullptr;
    CGraphicClipboard m_clipboard;
    bool m_withSimulator = true;
    std::vector<int32_t> m_ids;  // the two constants and the adder
    std::vector<int32_t> m_graphics;
    int32_t m_chartId = 0, m_windowId = 0, m_otherId = 0;
    int32_t m_moduleId = m_module->m_id;
    size_t m_levels = 0;
};

TEST_F(CommandRowsTest, EnabledAndCheckedFollowTheState) {
    struct Case {
        const char* name;
        EState state;
        int id;
        bool enabled;
        bool checked;
    };
    using S = EState;
    const Case cases[] = {
        {"always", S::Running, kCmdFileNew, true, false},
        {"not carried out", S::Component, 33000, false, false},
        {"system view", S::SystemView, kCmdAddModule, true, false},
        {"system view, designing", S::Designing, kCmdAddModule, false, false},
        {"module view", S::Designing, 32888, true, false},
        {"module view, system", S::SystemView, 32888, false, false},
        {"module", S::Module, kCmdDeleteModule, true, false},
        {"module, designed", S::Designing, kCmdDeleteModule, true, false},
        {"module, nothing", S::SystemView, kCmdDeleteModule, false, false},
        {"design module, system view", S::Module, kCmdDesignModule, true, false},
        {"design module, designing", S::Designing, kCmdDesignModule, false, false},
        {"system input", S::SystemInput, kCmdEditSystemInput, true, false},
        {"system input, output selected", S::SystemOutput, kCmdEditSystemInput, false, false},
        {"system output", S::SystemOutput, kCmdDeleteSystemOutput, true, false},
        {"input category", S::InputCategory, kCmdEditInputCategory, true, false},
        {"input category, output one", S::OutputCategory, kCmdEditInputCategory, false, false},
        {"output category", S::OutputCategory, kCmdEditOutputCategory, true, false},
        {"one module input", S::ModuleInput, kCmdModuleEditInput, true, false},
        {"module inputs", S::ModuleInput, kCmdModuleDeleteInput, true, false},
        {"module inputs, module only", S::Module, kCmdModuleDeleteInput, false, false},
        {"one module output", S::ModuleOutput, kCmdModuleEditOutput, true, false},
        {"module outputs", S::ModuleOutput, kCmdRemoveOutgoing, true, false},
        {"component", S::Component, kCmdDeleteComponent, true, false},
        {"component, none", S::Designing, kCmdDeleteComponent, false, false},
        {"component of a selected port", S::ComponentInput, kCmdExposeAllInputs, true, false},
        {"component input", S::ComponentInput, kCmdDisconnectComponentInput, true, false},
        {"component input, output selected", S::ComponentOutput, kCmdDisconnectComponentInput, false, false},
        {"component output", S::ComponentOutput, kCmdShowChart, true, false},
        {"selection: modules", S::Module, 32876, true, false},
        {"selection: components", S::Components, 32876, true, false},
        {"selection: none", S::Designing, 32876, false, false},
        {"components", S::Components, 33149, true, false},
        {"components, system view", S::Module, 33149, false, false},
        {"graphics", S::Graphic, 33051, true, false},
        {"two graphics, one", S::Graphic, 33144, false, false},
        {"two graphics", S::Graphics, 33144, true, false},
        {"charts", S::Chart, 33042, true, false},
        {"charts, none selected", S::Designing, 33042, false, false},
        {"charts shown, this module", S::Designing, 33046, true, false},
        {"charts shown, other module", S::DesigningOther, 33046, false, false},
        {"charts shown, system view", S::SystemView, 33046, true, false},
        {"value windows", S::ValueWindow, 33121, true, false},
        {"value windows, chart selected", S::Chart, 33121, false, false},
        {"behaviours, none", S::SystemInput, kCmdViewBehaviors, false, false},
        {"behaviours", S::Behavior, kCmdDeleteAllBehaviors, true, false},
        {"copy components", S::Components, kCmdCopy, true, false},
        {"copy modules", S::Module, kCmdCopy, true, false},
        {"copy, nothing selected", S::Designing, kCmdCopy, false, false},
        {"copy while running", S::Running, kCmdCopy, true, false},
        {"cut while running", S::Running, kCmdCut, false, false},
        {"duplicate", S::Components, kCmdDuplicate, true, false},
        {"duplicate while running", S::Running, kCmdDuplicate, false, false},
        {"paste, clipboard empty", S::Designing, kCmdPaste, false, false},
        {"undo after edits", S::Designing, kCmdUndo, true, false},
        {"undo while running", S::Running, kCmdUndo, false, false},
        {"redo, nothing undone", S::Designing, kCmdRedo, false, false},
        {"redo after undo", S::Undone, kCmdRedo, true, false},
        {"run, stopped", S::Designing, kCmdRun, true, false},
        {"run, running", S::Running, kCmdRun, false, false},
        {"stop, stopped", S::Designing, kCmdStop, false, false},
        {"stop, running", S::Running, kCmdStop, true, false},
        {"pause, running", S::Running, kCmdPause, true, false},
        {"run once", S::SystemView, kCmdRunOnce, true, false},
        {"run once without a simulator", S::NoSimulator, kCmdRunOnce, false, false},
        {"properties, stopped", S::Component, kCmdComponentProperties, true, false},
        {"properties while running", S::Running, kCmdComponentProperties, false, false},
        {"reset value, unchanged", S::SystemInput, kCmdResetInput, false, false},
        {"reset value, changed", S::InputChanged, kCmdResetInput, true, false},
        {"link absent", S::SystemView, kCmdEnableRealtime, false, false},
        {"link unbound", S::LinkUnbound, kCmdEnableRealtime, false, false},
        {"link on", S::LinkOn, kCmdEnableRealtime, true, true},
        {"link off", S::LinkOff, kCmdEnableRealtime, true, false},
        {"pane hidden", S::SystemView, kCmdPaneFeedback, true, false},
        {"pane shown", S::PaneShown, kCmdPaneFeedback, true, true},
        {"grid shown", S::SystemView, kCmdShowGrid, true, true},
        {"bold graphic", S::Graphic, 33068, true, true},
        {"not bold", S::Graphics, 33068, true, false},
        {"chart auto scale", S::Chart, 33020, true, true},
        {"chart range", S::Chart, 33021, true, false},
        {"window suffix", S::ValueWindow, 33101, true, true},
        {"behaviours allowed", S::SystemView, kCmdEnableBehaviors, true, true},
        {"render while running", S::Running, kCmdPreventRender, true, false},
        {"category detail", S::SystemView, 32959, true, true},
        {"category detail, designing", S::Designing, 32959, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Arrange(c.state);
        const CCommandContext ctx = Ctx();
        const CCommand* command = FindCommand(c.id);
        ASSERT_NE(command, nullptr);
        EXPECT_EQ(IsEnabled(*command, ctx), c.enabled);
        EXPECT_EQ(IsEnabled(*command, ctx, EvaluateNeeds(ctx)), c.enabled);
        EXPECT_EQ(IsChecked(*command, ctx), c.checked);
    }
}

TEST(CommandRows, EveryPlaceNamesACommandAndEveryCommandHasAPlace) {
    std::set<int> ids, placed;
    for (const CCommand& c : Commands()) {
        SCOPED_TRACE(c.ident);
        EXPECT_TRUE(ids.insert(c.id).second) << "one row per command";
        EXPECT_EQ(CommandId(c.ident), c.id);
        // A command runs, is a field another command reads, or is shown disabled.
        EXPECT_TRUE(c.run || FindFieldCommand(c.id) || c.need == ENeed::Unavailable);
    }
    for (const CRibbonRow& r : RibbonRows()) {
        SCOPED_TRACE(r.ident);
        const CCommand* c = FindCommand(r.id);
        ASSERT_NE(c, nullptr);
        EXPECT_STREQ(c->ident, r.ident);
        placed.insert(r.id);
        // A spin box, combo box or edit is a field; a check is a toggle.
        const bool field = r.kind != ECommandKind::Button && r.kind != ECommandKind::Check;
        const bool shown = c->need != ENeed::Unavailable;
        EXPECT_TRUE(!shown || !field || FindFieldCommand(r.id));
        EXPECT_TRUE(!shown || r.kind != ECommandKind::Check || c->checked);
    }
    for (const CMenuBarItem& m : MenuBarItems()) {
        if (m.id <= 0) continue;
        EXPECT_TRUE(ids.count(m.id)) << m.id;
        placed.insert(m.id);
    }
    for (const CMenuAction& a : MenuActions()) {
        if (!a.command) continue;
        EXPECT_TRUE(ids.count(a.command)) << a.item;
        placed.insert(a.command);
    }
    for (int id : ids) EXPECT_TRUE(placed.count(id)) << id << " has no place";
    for (const CFieldCommand& f : FieldCommands()) EXPECT_TRUE(ids.count(f.id)) << f.id;
}

TEST(ContextMenus, EveryItemActsButTheMissingParts) {
    struct Case {
        EContextMenu menu;
        EHit kind;
        std::set<std::string> dead;  // items whose operation does not exist yet
    };
    const Case cases[] = {
        {EContextMenu::Module, EHit::Module, {}},
        {EContextMenu::ModuleInput, EHit::ModInput, {}},
        {EContextMenu::ModuleOutput, EHit::ModuleOutput, {}},
        {EContextMenu::InputsBar, EHit::InputsBar, {}},
        {EContextMenu::OutputsBar, EHit::OutputsBar, {}},
        {EContextMenu::SystemInput, EHit::SystemInput, {}},
        {EContextMenu::SystemOutput, EHit::SystemOutput, {}},
        {EContextMenu::InputCategory, EHit::InputCategory, {}},
        {EContextMenu::OutputCategory, EHit::OutputCategory, {}},
        {EContextMenu::Component, EHit::Component, {}},
        {EContextMenu::Mfcc, EHit::Component, {}},
        {EContextMenu::NeuralNetwork, EHit::Component, {}},
        {EContextMenu::Sequencer, EHit::Component, {}},
        {EContextMenu::ComponentInput, EHit::ComponentInput, {}},
        {EContextMenu::ComponentOutput, EHit::ComponentOutput, {}},
        {EContextMenu::Graphic, EHit::Graphic, {}},
    };
    std::set<const CMenuAction*> used;
    for (const Case& c : cases) {
        std::string prefix;
        std::set<std::string> dead;
        for (const std::string& item : ContextMenuItems(c.menu)) {
            if (item == "-") continue;
            if (item.front() == '>' || item == "<") {
                prefix = item == "<" ? "" : item.substr(1) + "/";
                continue;
            }
            const CMenuAction* a = FindMenuAction(c.kind, prefix + item);
            if (!a) dead.insert(item);
            used.insert(a);
        }
        EXPECT_EQ(dead, c.dead) << static_cast<int>(c.menu);
    }
    // No row for an item that no menu shows.
    for (const CMenuAction& a : MenuActions()) EXPECT_TRUE(used.count(&a)) << a.item;
}

TEST_F(CommandRowsTest, CommandsAskTheHostAndCancelChangesNothing) {
    struct Case {
        const char* name;
        EState state;
        int id;
        bool confirm;
        std::string asked;  // what the host was asked
        ECmd outcome;
        std::function<bool()> changed;
    };
    auto inputs = [this] { return Sys().m_inputs.Size() == 2; };
    auto categoryRenamed = [this] { return Sys().m_inputCategories.Head()->m_name == "Sensors"; };
    auto chartBack = [this] { return Sys().m_chartBackground == 0x123456; };
    const Case cases[] = {
        {"add system input", EState::SystemView, kCmdAddSystemInput, true, "Add System Input", ECmd::Done,
         inputs},
        {"add system input, cancelled", EState::SystemView, kCmdAddSystemInput, false, "Add System Input",
         ECmd::Cancelled, inputs},
        {"edit category", EState::InputCategory, kCmdEditInputCategory, true, "Category", ECmd::Done,
         categoryRenamed},
        {"edit category, cancelled", EState::InputCategory, kCmdEditInputCategory, false, "Category",
         ECmd::Cancelled, categoryRenamed},
        {"chart colour", EState::Chart, 33030, true, "ChooseColour", ECmd::Done, chartBack},
        {"chart colour, cancelled", EState::Chart, 33030, false, "ChooseColour", ECmd::Cancelled, chartBack},
        {"import without a file", EState::SystemView, kCmdImportInputs, false, "ChooseOpenPath",
         ECmd::Cancelled, inputs},
        {"data connection, cancelled", EState::Module, kCmdAddDataConnection, false, "Data Connection",
         ECmd::Cancelled, [this] { return Module()->m_inputs.Size() != 1; }},
        {"module properties", EState::Module, kCmdModuleProperties, true, "Module Properties", ECmd::Done,
         [this] { return Module()->m_name == "Sensors"; }},
        {"disabled: nothing asked", EState::Designing, kCmdAddSystemInput, true, "", ECmd::Unavailable,
         inputs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Arrange(c.state);
        m_host = CScriptedHost();
        m_host.m_confirm = c.confirm;
        m_host.m_name = "Sensors";
        m_host.m_colour = c.confirm ? std::optional<int32_t>(0x123456) : std::nullopt;
        const size_t levels = Levels();
        CCommandContext ctx = Ctx();
        EXPECT_EQ(RunCommand(ctx, c.id), c.outcome);
        EXPECT_EQ(m_host.m_asked,
                  c.asked.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.asked});
        EXPECT_EQ(c.changed(), c.outcome == ECmd::Done);
        EXPECT_EQ(Levels(), levels + (c.outcome == ECmd::Done ? 1 : 0));
        if (c.outcome == ECmd::Done) m_doc.UndoChange();
    }
}

TEST_F(CommandRowsTest, ClipboardCommandsGoThroughTheHost) {
    struct Step {
        const char* name;
        int id;
        std::optional<std::pair<int32_t, int32_t>> mouse;
        int added;  // components
        size_t levels;
        CPoint corner;  // of the selection afterwards
    };
    const Step steps[] = {
        {"copy changes nothing", kCmdCopy, {}, 0, 0, {0, 0}},
        {"paste under the mouse", kCmdPaste, std::pair{700, 500}, 2, 1, {700, 500}},
        {"paste without a mouse", kCmdPaste, {}, 2, 1, {kDuplicateOffset, kDuplicateOffset}},
        {"duplicate beside", kCmdDuplicate, {}, 2, 1, {2 * kDuplicateOffset, 2 * kDuplicateOffset}},
        {"cut", kCmdCut, {}, -2, 1, {0, 0}},
    };
    Arrange(EState::Components);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        m_host.m_mouse = s.mouse;
        const size_t before = Module()->m_components.Size(), levels = Levels();
        CCommandContext ctx = Ctx();
        EXPECT_EQ(RunCommand(ctx, s.id), ECmd::Done);
        EXPECT_TRUE(IsEnabled(*FindCommand(kCmdPaste), Ctx()));
        EXPECT_EQ(static_cast<int>(Module()->m_components.Size()), static_cast<int>(before) + s.added);
        EXPECT_EQ(Levels(), levels + s.levels);
        if (s.corner.x == 0) continue;
        CPoint corner{INT32_MAX, INT32_MAX};
        for (const CNetworkModel* c : Ed().SelectedComponents(Sys()))
            corner = {std::min(corner.x, c->m_position.x), std::min(corner.y, c->m_position.y)};
        EXPECT_EQ(corner.x, s.corner.x);
        EXPECT_EQ(corner.y, s.corner.y);
    }
}

TEST_F(CommandRowsTest, WindowCommandsGoToTheHost) {
    struct Case {
        const char* name;
        EState state;
        int id;
        std::function<bool()> done;
    };
    const Case cases[] = {
        {"pane toggles", EState::PaneShown, kCmdPaneFeedback,
         [this] { return !m_host.PaneVisible(EPane::Feedback); }},
        {"quick print", EState::SystemView, kCmdFilePrintDirect,
         [this] { return m_host.m_printed == EPrintJob::QuickPrint; }},
        {"design module", EState::Module, kCmdDesignModule,
         [this] { return m_host.Asked("ShowModule") && Ed().DesignedModule(Sys()); }},
        {"exit", EState::Designing, kCmdExit, [this] { return m_host.Asked("Close"); }},
        {"run", EState::Designing, kCmdRun, [this] { return m_sim.IsActive(); }},
        {"stop", EState::Running, kCmdStop, [this] { return !m_sim.IsActive(); }},
        {"link off", EState::LinkOn, kCmdEnableRealtime, [this] { return !m_udp.Enabled(); }},
        {"grid", EState::SystemView, kCmdShowGrid,
         [this] { return !Ed().m_options.showGrid && Levels() == m_levels; }},
        {"select all skips what a graphic hides", EState::Designing, kCmdSelectAll,
         [this] {
             return Ed().m_components == std::vector<int32_t>{m_ids[0], m_ids[2]};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Arrange(c.state);
        m_host.m_asked.clear();
        Module()->FindComponent(m_ids[1])->m_graphicId = m_graphics[0];  // consolidated
        m_levels = Levels();
        CCommandContext ctx = Ctx();
        EXPECT_EQ(RunCommand(ctx, c.id), ECmd::Done);
        EXPECT_TRUE(c.done());
        Module()->FindComponent(m_ids[1])->m_graphicId = 0;
        Ed().m_options = CViewOptions{};
    }
}

}  // namespace
}  // namespace zor2::test

namespace zor2::test {
namespace {

TEST_F(CommandRowsTest, MenuItemsActOnTheObjectUnderTheCursor) {
    struct Case {
        const char* name;
        EState state;  // the object under the cursor is selected as the view does
        std::function<CHit()> hit;
        const char* item;
        std::string asked;
        std::function<bool()> done;
    };
    auto category = [this] {
        return CHit{.kind = EHit::InputCategory, .inputCategory = Sys().m_inputCategories.Head()};
    };
    const Case cases[] = {
        // A category's properties are its name, not a new input in it.
        {"category properties", EState::InputCategory, category, "Category Properties...", "Category",
         [this] {
             return Sys().m_inputCategories.Head()->m_name == "Sensors" && Sys().m_inputs.Size() == 1;
         }},
        {"new input in the category", EState::InputCategory, category, "Add New Input...", "Add System Input",
         [this] { return Sys().m_inputs.Tail()->m_categoryId == Sys().m_inputCategories.Head()->m_id; }},
        {"reset value", EState::InputChanged,
         [this] { return CHit{.kind = EHit::SystemInput, .systemInput = Sys().m_inputs.Head()}; },
         "Reset Value", "",
         [this] { return Sys().m_inputs.Head()->m_value == Sys().m_inputs.Head()->m_initialValue; }},
        {"view components", EState::Module, [this] { return CHit{.kind = EHit::Module, .module = Module()}; },
         "View Components...", "ShowModule", [] { return true; }},
        {"add connection", EState::Module, [this] { return CHit{.kind = EHit::Module, .module = Module()}; },
         "Inputs/Add Connection...", "Data Connection", [this] { return Module()->m_inputs.Size() == 2; }},
        {"module port in the module view", EState::Designing,
         [this] {
             return CHit{
                 .kind = EHit::ModInput, .module = Module(), .moduleInput = Module()->m_inputs.Head()};
         },
         "Properties...", "Module Input", [this] { return Module()->m_inputs.Head()->m_name == "Sensors"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Arrange(c.state);
        m_host = CScriptedHost();
        m_host.m_name = "Sensors";
        m_host.m_connection.newInputName = "Sensors";
        m_host.m_connection.systemInputId = Sys().m_inputs.Head()->m_id;
        const CHit hit = c.hit();
        const CMenuAction* action = FindMenuAction(hit.kind, c.item);
        ASSERT_NE(action, nullptr);
        CCommandContext ctx = Ctx();
        EXPECT_EQ(RunMenuAction(ctx, hit, *action), ECmd::Done);
        EXPECT_EQ(m_host.m_asked,
                  c.asked.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.asked});
        EXPECT_TRUE(c.done());
    }
}

TEST_F(CommandRowsTest, PasteWaitsForACopy) {
    Arrange(EState::Graphic);
    const CHit hit{.kind = EHit::Graphic, .module = Module(), .graphic = Sys().m_graphics.m_graphics.Head()};
    const CMenuAction* paste = FindMenuAction(EHit::Graphic, "Paste");
    ASSERT_NE(paste, nullptr);
    CCommandContext ctx = Ctx();
    EXPECT_FALSE(MenuActionAvailable(*paste, ctx));
    EXPECT_EQ(RunMenuAction(ctx, hit, *paste), ECmd::Unavailable);
    EXPECT_EQ(RunMenuAction(ctx, hit, *FindMenuAction(EHit::Graphic, "Copy")), ECmd::Done);
    EXPECT_TRUE(MenuActionAvailable(*paste, ctx));
    EXPECT_EQ(RunMenuAction(ctx, hit, *paste), ECmd::Done);
    EXPECT_EQ(Sys().m_graphics.m_graphics.Size(), 3u);
}

TEST_F(CommandRowsTest, EditObjectOpensTheDialogOfEachKind) {
    struct Case {
        const char* name;
        std::function<CHit()> hit;
        std::string asked;
        ECmd outcome;
        std::function<bool()> done;
    };
    auto component = [this] { return CHit{.kind = EHit::Component, .module = Module(), .component = Sum()}; };
    const Case cases[] = {
        {"module", [this] { return CHit{.kind = EHit::Module, .module = Module()}; }, "Module Properties",
         ECmd::Done, [this] { return Module()->m_name == "Sensors"; }},
        {"module output",
         [this] {
             return CHit{
                 .kind = EHit::ModuleOutput, .module = Module(), .moduleOutput = Module()->m_outputs.Head()};
         },
         "Module Output", ECmd::Done, [this] { return Module()->m_outputs.Head()->m_name == "Sensors"; }},
        {"system output",
         [this] { return CHit{.kind = EHit::SystemOutput, .systemOutput = Sys().m_outputs.Head()}; },
         "Edit Output", ECmd::Done, [this] { return Sys().m_outputs.Head()->m_name == "Sensors"; }},
        {"output category",
         [this] {
             return CHit{.kind = EHit::OutputCategory, .outputCategory = Sys().m_outputCategories.Head()};
         },
         "Add System Output", ECmd::Done, [this] { return Sys().m_outputs.Size() == 2; }},
        {"component input",
         [this] {
             return CHit{.kind = EHit::ComponentInput,
                         .module = Module(),
                         .component = Sum(),
                         .input = Sum()->m_inputs.Head()};
         },
         "Edit Input", ECmd::Done, [this] { return Sum()->m_inputs.Head()->m_name == "Sensors"; }},
        {"graphic",
         [this] {
             return CHit{
                 .kind = EHit::Graphic, .module = Module(), .graphic = Sys().m_graphics.m_graphics.Head()};
         },
         "Graphic Text", ECmd::Done,
         [this] { return Sys().m_graphics.m_graphics.Head()->m_text == "Sensors"; }},
        {"value window",
         [this] {
             return CHit{.kind = EHit::ValueWindow,
                         .module = Module(),
                         .valueWindow = Sys().m_valueWindows.m_windows.Head()};
         },
         "Value Window", ECmd::Unavailable, [this] { return Ed().m_valueWindows.size() == 1; }},
        {"component, stopped", component, "Properties", ECmd::Cancelled, [] { return true; }},
        {"component while running", component, "", ECmd::Refused,
         [this] { return LastMessage().find("Please stop the simulator") == 0; }},
        {"nothing", [] { return CHit{}; }, "", ECmd::Unavailable, [] { return true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Arrange(EState::Designing);
        if (std::string(c.name) == "component while running") m_sim.Run();
        m_host = CScriptedHost();
        m_host.m_name = "Sensors";
        m_host.m_confirm = c.outcome != ECmd::Cancelled;
        CCommandContext ctx = Ctx();
        EXPECT_EQ(EditObject(ctx, c.hit()), c.outcome);
        EXPECT_EQ(m_host.m_asked,
                  c.asked.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.asked});
        EXPECT_TRUE(c.done());
    }
}

TEST_F(CommandRowsTest, ProjectFilesGoThroughTheHost) {
    CTempFile file("project.zr2");
    struct Case {
        const char* name;
        std::string path;  // what the file dialog answers
        std::function<ECmd(CCommandContext&)> run;
        ECmd outcome;
        std::vector<std::string> asked;
        bool used;                         // the file went to the recent-file list
        std::deque<EAnswer> answers = {};  // to "Save changes to ...?"
        const char* told = "";             // the start of the message the user is told
    };
    const Case cases[] = {
        {"save untitled, cancelled", "", SaveProject, ECmd::Cancelled, {"ChooseSavePath Untitled"}, false},
        {"save untitled", file.Path(), SaveProject, ECmd::Done, {"ChooseSavePath Untitled"}, true},
        {"save titled", "", SaveProject, ECmd::Done, {}, true},
        {"save to a folder that is not there",
         "",
         [](CCommandContext& ctx) { return SaveProjectTo(ctx, "/nonexistent/folder/x.zr2"); },
         ECmd::Refused,
         {},
         false,
         {},
         "Could not save /nonexistent/folder/x.zr2:\n"},
        {"export with its report",
         file.Sibling("project.z2r"),
         ExportRuntimeSystem,
         ECmd::Done,
         {"ChooseSavePath project", "ShowExportSuccess"},
         false},
        {"open a missing file from the recent list",
         "",
         [&file](CCommandContext& ctx) { return OpenProjectFile(ctx, file.Sibling("missing.zr2"), true); },
         ECmd::Refused,
         {},
         false},
        {"open",
         file.Path(),
         OpenProject,
         ECmd::Done,
         {"ChooseOpenPath", "ShowSystem", "CenterView"},
         true,
         {EAnswer::Yes}},
        {"new", "", NewProject, ECmd::Done, {"ShowSystem"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Arrange(EState::Running);
        m_host = CScriptedHost();
        m_host.m_path = c.path;
        m_prompter.Script(c.answers);
        CCommandContext ctx = Ctx();
        EXPECT_EQ(c.run(ctx), c.outcome);
        EXPECT_EQ(m_host.m_asked, c.asked);
        EXPECT_EQ(!m_host.m_used.empty(), c.used);
        EXPECT_EQ(m_prompter.m_questions.size(), c.answers.size());
        if (*c.told) {
            bool told = false;
            for (const std::string& m : m_prompter.m_messages) told |= m.rfind(c.told, 0) == 0;
            EXPECT_TRUE(told);
        }
    }
    EXPECT_FALSE(m_sim.IsActive());  // a new project stops the run
}

TEST_F(CommandRowsTest, FieldsShowAndApplyTheirValue) {
    struct Case {
        const char* name;
        EState state;
        int id;
        CCommandValue value;
        ECmd outcome;
        std::string shownText;
        int32_t shownNumber;
    };
    const Case cases[] = {
        {"rate", EState::SystemView, kCmdRate, {.number = 4, .text = {}}, ECmd::Done, "", 4},
        {"rate without a simulator",
         EState::NoSimulator,
         kCmdRate,
         {.number = 5, .text = {}},
         ECmd::Unavailable,
         "",
         0},
        {"grid spacing", EState::SystemView, kCmdGridSpacing, {.number = 24, .text = {}}, ECmd::Done, "", 24},
        {"connector without an entry",
         EState::SystemView,
         kCmdConnectorType,
         {.number = -1, .text = {}},
         ECmd::Unavailable,
         "",
         2},
        {"line width", EState::Graphic, 33096, {.number = 3, .text = {}}, ECmd::Done, "", 3},
        {"line width, no graphic",
         EState::Designing,
         33096,
         {.number = 3, .text = {}},
         ECmd::Unavailable,
         "",
         0},
        {"caption",
         EState::ValueWindow,
         kCmdValueCaption,
         {.number = 0, .text = "Speed"},
         ECmd::Done,
         "Speed",
         0},
        {"chart maximum is read by Apply",
         EState::Chart,
         kCmdChartMax,
         {.number = 0, .text = "5"},
         ECmd::Unavailable,
         "100",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Arrange(c.state);
        CCommandContext ctx = Ctx();
        EXPECT_EQ(ApplyField(ctx, c.id, c.value), c.outcome);
        CCommandValue shown;
        const CFieldCommand* field = FindFieldCommand(c.id);
        ASSERT_NE(field, nullptr);
        if (field->shown(ctx, shown)) {
            EXPECT_EQ(shown.text, c.shownText);
            EXPECT_EQ(shown.number, c.shownNumber);
        }
    }
    // The scale fields reach the chart through Apply; a field that is no number changes nothing.
    Arrange(EState::Chart);
    m_host.m_fields = {
        {kCmdChartMin, "-5"}, {kCmdChartMax, "25 "}, {kCmdChartMajor, "5"}, {kCmdChartMinor, "x1"}};
    CCommandContext ctx = Ctx();
    EXPECT_NE(RunCommand(ctx, 33025), ECmd::Done);
    m_host.m_fields[kCmdChartMinor] = "1";
    EXPECT_EQ(RunCommand(ctx, 33025), ECmd::Done);
    const CChart* chart = Sys().m_charts.m_charts.Find(m_chartId);
    EXPECT_EQ(chart->m_min, -5.0);
    EXPECT_EQ(chart->m_max, 25.0);
}

}  // namespace
}  // namespace zor2::test
