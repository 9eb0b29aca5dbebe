// The sequence pane's model without a window: every edit is one undo level with
// its feedback line (undo and redo restore the exact bytes), questions and
// refusals change nothing, the timeline's gestures place actions by whole
// cycles, and previews show a moment of the sequence on the outputs.
#include "designer/sequence_editor.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "designer/context_menus.h"
#include "designer_commands/doc_fixture.h"
#include "designer_commands/scripted_host.h"
#include "persistence/project_file.h"

namespace zor2::test {
namespace {

class SequenceEditor : public DocTest {
  public:
    void SetUp() override {
        DesignNewModule();
        seq = dynamic_cast<CModelActionSequence*>(Add(kTypeActionSequence));
        ASSERT_NE(seq, nullptr);
        editor.emplace(m_doc);
        // Time starts at x 110 (after the labels); rows start at y 18, 26 pixels each.
        editor->SetTimelineArea({0, 0, 710, 200});
        ASSERT_EQ(editor->NewOutput(), ECmd::Done);
        ASSERT_EQ(editor->NewSequence(), ECmd::Done);
        ASSERT_EQ(editor->AddAction(Out(), 0.0), ECmd::Done);
    }
    CModelActionSequence& C() { return *editor->Component(); }
    CActionSequence& S() { return *editor->Sequence(); }
    int32_t Out() { return C().m_outputs.Head()->m_id; }
    int32_t FirstAction() { return S().m_actions.at(0).m_id; }
    std::vector<uint8_t> Bytes() { return SaveProjectBytes(Sys()); }
    std::string Name() { return C().m_name; }

    CModelActionSequence* seq = nullptr;
    std::optional<CSequenceEditor> editor;
};

TEST_F(SequenceEditor, EveryEditIsOneUndoLevelWithItsLine) {
    using E = SequenceEditor;
    struct Case {
        const char* name;
        std::function<void(E&)> prepare;
        std::deque<EAnswer> answers;
        std::function<ECmd(E&)> act;
        ECmd outcome;
        std::function<std::string(E&)> line = {};  // a Done edit's line, from the state before it
        std::string message = {};
        bool lineAfter = false;  // the line names what the edit made
    };
    const Case cases[] = {
        {"new sequence",
         {},
         {},
         [](E& t) { return t.editor->NewSequence(); },
         ECmd::Done,
         [](E& t) {
             return "Added action sequence " + t.S().m_name + " (trigger 2) to component: " + t.Name();
         },
         {},
         true},
        {"edit sequence",
         {},
         {},
         [](E& t) {
             return t.editor->EditSequence({"Walk", "slow", 7, true});
         },
         ECmd::Done,
         [](E& t) { return "Edited action sequence Walk of component: " + t.Name(); }},
        {"a trigger in use is refused",
         [](E& t) { EXPECT_EQ(t.editor->NewSequence(), ECmd::Done); },
         {},
         [](E& t) {
             return t.editor->EditSequence({"Twin", "", 1, false});
         },
         ECmd::Refused,
         {},
         "The trigger value of 1 is already being used to trigger a different action sequence. Trigger values must be unique. Please enter a different integer value for the sequence."},
        {"delete sequence: Yes",
         {},
         {EAnswer::Yes},
         [](E& t) { return t.editor->DeleteSequence(); },
         ECmd::Done,
         [](E& t) { return "Deleted action sequence " + t.S().m_name + " from component: " + t.Name(); }},
        {"delete sequence: No",
         {},
         {EAnswer::No},
         [](E& t) { return t.editor->DeleteSequence(); },
         ECmd::Cancelled},
        {"clear sequence",
         [](E& t) { t.editor->AddAction(t.Out(), 500); },
         {},
         [](E& t) { return t.editor->ClearSequence(); },
         ECmd::Done,
         [](E& t) {
             return "Deleted 2 event(s) from action sequence " + t.S().m_name + " of component: " + t.Name();
         }},
        {"new output",
         {},
         {},
         [](E& t) { return t.editor->NewOutput(); },
         ECmd::Done,
         [](E& t) { return "Added output Output 2 to component: " + t.Name(); }},
        {"rename output",
         {},
         {},
         [](E& t) { return t.editor->RenameOutput(t.Out(), "Motor"); },
         ECmd::Done,
         [](E& t) { return "Renamed output Output 1 to Motor on component: " + t.Name(); }},
        {"clear output in every sequence: Yes",
         [](E& t) {
             t.editor->NewSequence();
             t.editor->AddAction(t.Out(), 100);
         },
         {EAnswer::Yes},
         [](E& t) { return t.editor->ClearOutput(t.Out()); },
         ECmd::Done,
         [](E& t) { return "Deleted 2 event(s) of output Output 1 in component: " + t.Name(); }},
        {"delete output: Yes",
         {},
         {EAnswer::Yes},
         [](E& t) { return t.editor->DeleteOutput(t.Out()); },
         ECmd::Done,
         [](E& t) { return "Deleted output Output 1 from component: " + t.Name(); }},
        {"delete output: Cancel",
         {},
         {EAnswer::Cancel},
         [](E& t) { return t.editor->DeleteOutput(t.Out()); },
         ECmd::Cancelled},
        {"add action",
         {},
         {},
         [](E& t) { return t.editor->AddAction(t.Out(), 300); },
         ECmd::Done,
         [](E& t) {
             return "Added an event at 0.30 secs on output Output 1 to action sequence " + t.S().m_name;
         }},
        {"edit action",
         {},
         {},
         [](E& t) {
             return t.editor->EditAction(t.FirstAction(), {kActionDynamic, 9, 1, 2});
         },
         ECmd::Done,
         [](E& t) {
             return "Edited the event at 0.00 secs on output Output 1 in action sequence " + t.S().m_name;
         }},
        {"place action",
         {},
         {},
         [](E& t) { return t.editor->PlaceAction(t.FirstAction(), t.Out(), 200, 300); },
         ECmd::Done,
         [](E& t) {
             return "Placed the event on output Output 1 at 0.20 to 0.50 secs in action sequence " +
                    t.S().m_name;
         }},
        {"delete action",
         {},
         {},
         [](E& t) { return t.editor->DeleteAction(t.FirstAction()); },
         ECmd::Done,
         [](E& t) {
             return "Deleted the event at 0.00 secs on output Output 1 from action sequence " + t.S().m_name;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> start = Bytes();
        const size_t startLevels = Levels();
        if (c.prepare) c.prepare(*this);
        const std::vector<uint8_t> before = Bytes();
        const size_t levels = Levels();
        const std::string line = c.line && !c.lineAfter ? c.line(*this) : "";
        Answer(c.answers);
        EXPECT_EQ(c.act(*this), c.outcome);
        EXPECT_EQ(LastMessage(), c.message);
        if (c.outcome != ECmd::Done) {
            EXPECT_EQ(Levels(), levels);
            EXPECT_EQ(Bytes(), before);
        } else {
            EXPECT_EQ(Levels(), levels + 1);
            EXPECT_EQ(TopLine(), c.lineAfter ? c.line(*this) : line);
            const std::vector<uint8_t> after = Bytes();
            ASSERT_TRUE(m_doc.UndoChange());
            EXPECT_EQ(Bytes(), before);
            ASSERT_TRUE(m_doc.RedoChange());
            EXPECT_EQ(Bytes(), after);
        }
        while (Levels() > startLevels) ASSERT_TRUE(m_doc.UndoChange());
        EXPECT_EQ(Bytes(), start);
    }
}

TEST_F(SequenceEditor, TimelineGesturesPlaceActionsByWholeCycles) {
    ASSERT_EQ(editor->NewOutput(), ECmd::Done);
    const int32_t first = FirstAction();
    const int32_t second = C().m_outputs.Tail()->m_id;
    auto added = [this] { return S().m_actions.back(); };
    struct Case {
        const char* name;
        std::vector<CPoint> path;  // press, moves, release at the last
        ECmd outcome;
        std::function<bool(SequenceEditor&)> check;
    };
    // Time starts at x 110, 16 pixels a cycle of 100 ms; row 1 is y 18..44, row 2 y 44..70.
    const Case cases[] = {
        {"a click on an empty cell adds an action and previews it",
         {{163, 30}},
         ECmd::Done,
         [&](SequenceEditor& t) {
             return added().m_start == 300 && added().m_duration == 100 &&
                    t.editor->SelectedAction() == added().m_id && t.C().m_outputs.Head()->m_value == 1.0 &&
                    t.S().m_t == 400;
         }},
        {"the bar moves two columns",
         {{166, 30}, {198, 31}},
         ECmd::Done,
         [&](SequenceEditor&) { return added().m_start == 500; }},
        {"its right edge stretches three columns",
         {{205, 30}, {253, 30}},
         ECmd::Done,
         [&](SequenceEditor&) { return added().m_start == 500 && added().m_duration == 400; }},
        {"its left edge moves one column earlier",
         {{191, 30}, {175, 30}},
         ECmd::Done,
         [&](SequenceEditor&) { return added().m_start == 400 && added().m_duration == 500; }},
        {"the left edge past the end keeps one cycle",
         {{175, 30}, {375, 30}},
         ECmd::Done,
         [&](SequenceEditor&) { return added().m_start == 800 && added().m_duration == 100; }},
        {"a bar dragged down goes to the next output",
         {{118, 30}, {118, 56}},
         ECmd::Done,
         [&](SequenceEditor& t) {
             const CAction* a = t.S().FindAction(first);
             return a->m_outputId == second && a->m_start == 0;
         }},
        {"a bar dragged before second 0 stays at 0",
         {{118, 56}, {20, 56}},
         ECmd::Unavailable,
         [&](SequenceEditor& t) { return t.S().FindAction(first)->m_start == 0; }},
        {"the time marker previews where it is dropped",
         {{126, 5}, {192, 5}},
         ECmd::Unavailable,
         [](SequenceEditor& t) { return t.S().m_t == 600; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t levels = Levels();
        ECmd outcome = editor->Press(c.path.front());
        for (size_t i = 1; i < c.path.size(); ++i) editor->MoveTo(c.path[i]);
        if (c.path.size() > 1) outcome = editor->Release();
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(Levels(), levels + (c.outcome == ECmd::Done ? 1 : 0));
        EXPECT_TRUE(c.check(*this));
    }
    EXPECT_EQ(editor->DoubleClick({118, 56}), first);
    EXPECT_EQ(editor->DoubleClick({118, 30}), 0);
}

TEST_F(SequenceEditor, StatusListsZoomAndScroll) {
    const std::string name = S().m_name;
    EXPECT_EQ(editor->SequenceItems(), std::vector<std::string>{name + " [Trigger: 1]"});
    EXPECT_EQ(editor->RowLabel(Out()), (std::vector<std::string>{"Output 1", "Events: 1"}));
    EXPECT_EQ(editor->StatusLines(),
              (std::vector<std::string>{"Current Sequence:   " + name, "Time:   0.00 secs",
                                        "Duration:   0.10 secs", "Repeat: No", "Total Events:  1"}));
    editor->Preview(100);
    EXPECT_EQ(editor->StatusLines()[1], "Time:   0.20 secs (done)");
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(editor->ZoomIn());
    EXPECT_FALSE(editor->ZoomIn());
    EXPECT_EQ(editor->ColumnWidth(), 64);
    EXPECT_FALSE(editor->ScrollLeft());
    editor->ScrollRight();
    EXPECT_EQ(editor->XOfTime(1000), 110);
    EXPECT_EQ(editor->HitTest({120, 30}).start, 1000);

    Answer({EAnswer::Yes});
    ASSERT_EQ(editor->DeleteSequence(), ECmd::Done);
    EXPECT_EQ(editor->StatusLines(),
              (std::vector<std::string>{"Current Sequence:  none selected", "Time: --", "Duration: --",
                                        "Repeat: --", "Total Events: --"}));
    EXPECT_EQ(editor->EmptyText(), "Click 'New' below...");
    Ed().ClearSelection();
    EXPECT_EQ(
        editor->StatusLines(),
        std::vector<std::string>{"Select an Action Sequence Component to create and edit Pattern Sequences"});
    EXPECT_EQ(editor->NewSequence(), ECmd::Unavailable);
}

TEST_F(SequenceEditor, RibbonAndMenuShowThePane) {
    CScriptedHost host;
    CCommandContext ctx{m_doc, host};
    const auto pane = static_cast<size_t>(EPane::SequenceTimeline);
    EXPECT_EQ(RunCommand(ctx, 33165), ECmd::Done);
    EXPECT_TRUE(host.m_panes[pane]);
    EXPECT_TRUE(IsChecked(*FindCommand(33165), ctx));
    host.m_panes[pane] = false;
    Ed().ClearSelection();
    const CMenuAction* show = FindMenuAction(EHit::Component, "Show Sequence Timeline Editor");
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(RunMenuAction(ctx, {.kind = EHit::Component, .component = seq}, *show), ECmd::Done);
    EXPECT_TRUE(host.m_panes[pane]);
    EXPECT_EQ(editor->Component(), seq);
}

}  // namespace
}  // namespace zor2::test
