// The decision matrix dialog's model without a window: every edit is one undo
// level with its feedback line (undo and redo restore the exact bytes), refusals
// and questions change nothing, and the mouse gestures map onto the same edits.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "designer/commands_window.h"
#include "designer/decision_matrix_editor.h"
#include "designer_commands/doc_fixture.h"
#include "designer_commands/scripted_host.h"
#include "engine/property_sheet.h"
#include "persistence/project_file.h"

namespace zor2::test {
namespace {

class DecisionEditor : public DocTest {
  public:
    void SetUp() override {
        module = DesignNewModule();
        matrix = dynamic_cast<CModelDecisionMatrix*>(Add(kTypeDecisionMatrix));
        ASSERT_NE(matrix, nullptr);
        editor.emplace(m_doc, module->m_id, matrix->m_id);
        editor->SetLayout({100, 20, 500, 40}, {100, 60, 500, 80}, {100, 100, 500, 300});
    }
    CModelDecisionMatrix& M() { return *editor->Component(); }
    std::vector<uint8_t> Bytes() { return SaveProjectBytes(Sys()); }
    int32_t Threshold(int input, size_t i) { return M().Matrix().Input(input).m_thresholds.at(i).m_id; }
    int32_t AddedOutput() {
        EXPECT_EQ(editor->AddOutput("Output 1", 0x00FF00), ECmd::Done);
        return M().LastOutput()->m_id;
    }
    /// A wire from output `id` to a new Add component, recorded as the view's drag records it.
    void WireOutput(int32_t id) {
        CNetworkModel* sink = Add(kAdd, 300, 100);
        // The module as it is now: an undo between cases rebuilds the project.
        EXPECT_EQ(M().m_owner->RequestConnect(M(), M().FindOutput(id), *sink, nullptr), 0);
        m_doc.RecordChange("");
    }

    CNetwork* module = nullptr;
    CModelDecisionMatrix* matrix = nullptr;
    std::optional<CDecisionMatrixEditor> editor;
};

TEST_F(DecisionEditor, EveryEditIsOneUndoLevelWithItsLine) {
    struct Case {
        const char* name;
        std::function<void(DecisionEditor&)> prepare;
        std::deque<EAnswer> answers;
        std::function<ECmd(DecisionEditor&)> act;
        ECmd outcome;
        std::string line = {};     // the feedback line of a Done edit
        std::string message = {};  // what the user is told
    };
    using E = DecisionEditor;
    const std::string name = matrix->m_name;
    const Case cases[] = {
        {"add a threshold",
         {},
         {},
         [](E& t) { return t.editor->AddThreshold(1, 2.5); },
         ECmd::Done,
         "Added threshold 2.50 to Input 1 of decision matrix: " + name},
        {"a threshold too close is refused silently",
         {},
         {},
         [](E& t) { return t.editor->AddThreshold(1, 0.00005); },
         ECmd::Refused},
        {"edit a threshold",
         {},
         {},
         [](E& t) { return t.editor->EditThreshold(2, t.Threshold(2, 0), -1.5); },
         ECmd::Done,
         "Changed a threshold of Input 2 from 0.00 to -1.50 in decision matrix: " + name},
        {"delete a threshold",
         {},
         {},
         [](E& t) { return t.editor->DeleteThreshold(1, t.Threshold(1, 0)); },
         ECmd::Done,
         "Deleted threshold 0.00 from Input 1 of decision matrix: " + name},
        {"delete all thresholds: Yes",
         {},
         {EAnswer::Yes},
         [](E& t) { return t.editor->DeleteAllThresholds(2); },
         ECmd::Done,
         "Deleted all thresholds of Input 2 of decision matrix: " + name},
        {"delete all thresholds: Cancel",
         {},
         {EAnswer::Cancel},
         [](E& t) { return t.editor->DeleteAllThresholds(2); },
         ECmd::Cancelled},
        {"add an output",
         {},
         {},
         [](E& t) { return t.editor->AddOutput("Go", 0xFF); },
         ECmd::Done,
         "Added output Go to decision matrix: " + name},
        {"assign cells",
         [](E& t) { t.AddedOutput(); },
         {},
         [](E& t) {
             return t.editor->AssignCells({{0, 0}, {1, 1}, {1, 1}}, t.M().LastOutput()->m_id);
         },
         ECmd::Done,
         "Assigned 2 decision(s) to output Output 1 in decision matrix: " + name},
        {"assign cells that already have the output",
         {},
         {},
         [](E& t) {
             return t.editor->AssignCells({{0, 0}}, kDecisionDefaultOutputId);
         },
         ECmd::Unavailable},
        {"reset the decisions: Yes",
         [](E& t) {
             EXPECT_EQ(t.editor->AssignCells({{1, 0}}, t.AddedOutput()), ECmd::Done);
         },
         {EAnswer::Yes},
         [](E& t) { return t.editor->ResetDecisions(); },
         ECmd::Done,
         "Reset all decisions to the Default output in decision matrix: " + name},
        {"edit an output",
         [](E& t) { t.AddedOutput(); },
         {},
         [](E& t) { return t.editor->EditOutput(t.M().LastOutput()->m_id, "Stop", 0xFF0000); },
         ECmd::Done,
         "Edited output Stop of decision matrix: " + name},
        {"Default cannot go",
         {},
         {},
         [](E& t) { return t.editor->DeleteOutput(kDecisionDefaultOutputId); },
         ECmd::Refused,
         "",
         "This output cannot be removed from this component."},
        {"delete a connected output: Yes",
         [](E& t) {
             const int32_t id = t.AddedOutput();
             EXPECT_EQ(t.editor->AssignCells({{1, 1}}, id), ECmd::Done);
             t.WireOutput(id);
         },
         {EAnswer::Yes},
         [](E& t) { return t.editor->DeleteOutput(t.M().LastOutput()->m_id); },
         ECmd::Done,
         "Deleted output Output 1 from decision matrix: " + name},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> start = Bytes();
        const size_t startLevels = Levels();
        if (c.prepare) c.prepare(*this);
        const std::vector<uint8_t> before = Bytes();
        const size_t levels = Levels();
        Answer(c.answers);
        EXPECT_EQ(c.act(*this), c.outcome);
        EXPECT_EQ(LastMessage(), c.message);
        if (c.outcome != ECmd::Done) {
            EXPECT_EQ(Levels(), levels);
            EXPECT_EQ(Bytes(), before);
        } else {
            EXPECT_EQ(Levels(), levels + 1);
            EXPECT_EQ(TopLine(), c.line);
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

TEST_F(DecisionEditor, DeletedOutputHandsItsCellsToDefault) {
    const int32_t id = AddedOutput();
    ASSERT_EQ(editor->AssignCells({{1, 1}}, id), ECmd::Done);
    editor->SelectOutput(id);
    ASSERT_EQ(editor->DeleteOutput(id), ECmd::Done);
    EXPECT_EQ(editor->CellOutput({1, 1}), kDecisionDefaultOutputId);
    EXPECT_EQ(editor->SelectedOutput(), kDecisionDefaultOutputId);
    EXPECT_EQ(editor->OutputItems(), std::vector<std::string>{"ID: 10, Default"});
}

TEST_F(DecisionEditor, GesturesMapOntoTheEdits) {
    const int32_t id = AddedOutput();
    editor->SelectOutput(id);
    // The lines span the thresholds with a margin: 0 alone spans -1..1.
    EXPECT_EQ(editor->LineRange(1), (std::pair<double, double>{-1.0, 1.0}));
    EXPECT_EQ(editor->XOfValue(1, 0.0), 300);
    EXPECT_EQ(editor->ValueAtX(1, 400), 0.5);
    EXPECT_EQ(editor->ThresholdAt(1, {303, 30}), Threshold(1, 0));
    EXPECT_EQ(editor->ThresholdAt(1, {306, 30}), 0);
    EXPECT_EQ(editor->CellAt({150, 150}), (CDecisionCell{0, 0}));
    EXPECT_EQ(editor->CellAt({499, 299}), (CDecisionCell{1, 1}));
    EXPECT_EQ(editor->CellRect({1, 0}), (CRect{300, 100, 500, 200}));
    EXPECT_EQ(CDecisionMatrixEditor::CellText({1, 0}), "(1, 0)");
    EXPECT_FALSE(editor->CellAt({99, 150}));

    struct Case {
        const char* name;
        std::function<ECmd(CDecisionMatrixEditor&)> gesture;
        ECmd outcome;
        std::function<bool(DecisionEditor&)> check;
    };
    const Case cases[] = {
        {"painting three cells with the selected output",
         [](CDecisionMatrixEditor& e) {
             e.PressLeft({150, 150});
             e.MoveTo({350, 150});
             e.MoveTo({350, 250});
             e.MoveTo({360, 260});
             EXPECT_EQ(e.Painting().size(), 3u);
             return e.Release();
         },
         ECmd::Done,
         [id](DecisionEditor& t) {
             return t.editor->CellOutput({0, 0}) == id && t.editor->CellOutput({1, 1}) == id &&
                    t.editor->CellOutput({0, 1}) == kDecisionDefaultOutputId;
         }},
        {"right click gives Default",
         [](CDecisionMatrixEditor& e) {
             return e.PressRight({150, 150});
         },
         ECmd::Done,
         [](DecisionEditor& t) {
             return t.editor->CellOutput({0, 0}) == kDecisionDefaultOutputId;
         }},
        {"dragging a threshold sets its value",
         [](CDecisionMatrixEditor& e) {
             e.PressLeft({300, 30});
             e.MoveTo({450, 30});
             EXPECT_EQ(e.Drag()->value, 0.75);
             return e.Release();
         },
         ECmd::Done,
         [](DecisionEditor& t) { return t.M().Matrix().m_input1.m_thresholds[0].m_value == 0.75; }},
        {"a click on a marker without moving changes nothing",
         [](CDecisionMatrixEditor& e) {
             e.PressLeft({300, 70});
             return e.Release();
         },
         ECmd::Unavailable, [](DecisionEditor&) { return true; }},
        {"double click on a line adds a threshold",
         [](CDecisionMatrixEditor& e) {
             ECmd outcome = ECmd::Refused;
             EXPECT_EQ(e.DoubleClick({200, 70}, &outcome).thresholdId, 0);
             return outcome;
         },
         ECmd::Done,
         [](DecisionEditor& t) { return t.M().Matrix().m_input2.m_thresholds[0].m_value == -0.5; }},
        {"double click on a marker asks for its value",
         [](CDecisionMatrixEditor& e) {
             ECmd outcome = ECmd::Refused;
             const CMatrixClick click = e.DoubleClick({301, 30}, &outcome);
             EXPECT_EQ(click.input, 1);
             EXPECT_NE(click.thresholdId, 0);
             return outcome;
         },
         ECmd::Unavailable, [](DecisionEditor&) { return true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t levels = Levels();
        EXPECT_EQ(c.gesture(*editor), c.outcome);
        EXPECT_EQ(Levels(), levels + (c.outcome == ECmd::Done ? 1 : 0));
        EXPECT_TRUE(c.check(*this));
    }
}

TEST_F(DecisionEditor, PropertiesOpenTheMatrixDialogAndApplyTheName) {
    CScriptedHost host;
    host.m_matrixEdits = [](CDecisionMatrixEditor& e) { EXPECT_EQ(e.AddThreshold(1, 4.0), ECmd::Done); };
    CCommandContext ctx{m_doc, host};
    const CPropertySheet sheet = ReadComponentProperties(*matrix);
    const size_t levels = Levels();
    EXPECT_EQ(EditComponentProperties(ctx, *matrix), ECmd::Unavailable) << "OK without a new name";
    EXPECT_EQ(host.m_asked, std::vector<std::string>{"Decision Matrix"});
    EXPECT_EQ(Levels(), levels + 1) << "the threshold made in the dialog";
    EXPECT_EQ(sheet.Caption(), "Component Properties - Decision Matrix");
}

}  // namespace
}  // namespace zor2::test
