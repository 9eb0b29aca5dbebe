// Behaviour commands and the Load Data Wizard model.
#include "designer/commands_behaviors.h"
#include "designer/load_data_wizard.h"
#include "doc_fixture.h"

namespace zor2::test {
namespace {

class BehaviorTest : public DocTest {
  protected:
    BehaviorTest() {
        EXPECT_EQ(AddSystemInput(m_doc, {}), ECmd::Done);
        m_input = Sys().m_inputs.Head();
    }
    CExternalInput* m_input = nullptr;
};

TEST_F(BehaviorTest, AddEditAndListBehaviours) {
    CBehaviorData d = NewBehaviorData(Sys(), m_input->m_id);
    EXPECT_EQ(d.name, "behavior1");
    d.type = kBehaviorToCeiling;
    d.rate = 1.0;
    d.ceiling = 5.0;
    const size_t levels = Levels();
    EXPECT_EQ(AddBehavior(m_doc, d), ECmd::Done);
    EXPECT_EQ(Levels(), levels + 1);
    EXPECT_EQ(NewBehaviorData(Sys(), m_input->m_id).name, "behavior2");
    CSimBehavior* b = Sys().m_behaviors.m_behaviors.Head();
    EXPECT_EQ(b->m_target, m_input);
    EXPECT_DOUBLE_EQ(b->m_ceiling, 5.0);

    d.enabled = false;
    d.name = "slow";
    EXPECT_EQ(EditBehavior(m_doc, b->m_id, d), ECmd::Done);
    EXPECT_EQ(InputBehaviorLines(Sys(), m_input->m_id), std::vector<std::string>{"slow (disabled)"});
    EXPECT_EQ(ManageBehaviorLines(Sys()), std::vector<std::string>{"(OFF) slow (Ascending to Ceiling)"});

    Ed().ClearSelection();
    EXPECT_EQ(AddBehavior(m_doc, d), ECmd::Unavailable);  // no system input selected
}

TEST_F(BehaviorTest, DeleteAllOnlyOnYes) {
    ASSERT_EQ(AddBehavior(m_doc, NewBehaviorData(Sys(), m_input->m_id)), ECmd::Done);
    ASSERT_EQ(AddBehavior(m_doc, NewBehaviorData(Sys(), m_input->m_id)), ECmd::Done);
    for (EAnswer a : {EAnswer::No, EAnswer::Cancel}) {
        Answer({a});
        EXPECT_EQ(DeleteAllBehaviors(m_doc), ECmd::Cancelled);
        EXPECT_EQ(Sys().m_behaviors.m_behaviors.Size(), 2u);
    }
    EXPECT_EQ(LastQuestion(), "Currently there are 2 behaviors. Are you sure you want to delete all?");
    Answer({EAnswer::Yes});
    EXPECT_EQ(DeleteAllBehaviors(m_doc), ECmd::Done);
    EXPECT_TRUE(Sys().m_behaviors.m_behaviors.Empty());
    EXPECT_EQ(DeleteAllBehaviors(m_doc), ECmd::Unavailable);
}

TEST_F(BehaviorTest, DeleteInputBehavioursLeavesOtherInputsAlone) {
    ASSERT_EQ(AddBehavior(m_doc, NewBehaviorData(Sys(), m_input->m_id)), ECmd::Done);
    ASSERT_EQ(AddSystemInputFromBar(m_doc), ECmd::Done);
    const int32_t other = Sys().m_inputs.Tail()->m_id;
    ASSERT_EQ(AddBehaviorTo(m_doc, other, NewBehaviorData(Sys(), other)), ECmd::Done);
    Ed().SelectSystemInput(m_input->m_id);
    Answer({EAnswer::Yes});
    EXPECT_EQ(DeleteInputBehaviors(m_doc), ECmd::Done);
    ASSERT_EQ(Sys().m_behaviors.m_behaviors.Size(), 1u);
    EXPECT_EQ(Sys().m_behaviors.m_behaviors.Head()->m_targetInputId, other);
    EXPECT_EQ(DeleteInputBehaviors(m_doc), ECmd::Unavailable);

    EXPECT_FALSE(ToggleBehaviors(m_doc));
    EXPECT_FALSE(Sys().m_behaviorsEnabled);
    EXPECT_TRUE(ToggleBehaviors(m_doc));
}

TEST_F(BehaviorTest, ResetValueRunsOneCycleWithBehavioursHeldOff) {
    CBehaviorData d = NewBehaviorData(Sys(), m_input->m_id);
    d.rate = 10.0;
    ASSERT_EQ(AddBehavior(m_doc, d), ECmd::Done);
    EXPECT_FALSE(CanResetInputValue(m_doc));
    m_input->SetValue(3.0);
    ASSERT_TRUE(CanResetInputValue(m_doc));
    const int32_t cycles = Sys().m_cycleCount;
    EXPECT_EQ(ResetInputValue(m_doc), ECmd::Done);
    EXPECT_DOUBLE_EQ(m_input->m_value, 0.0);  // the behaviour did not move it
    EXPECT_EQ(Sys().m_cycleCount, cycles + 1);
    EXPECT_TRUE(Sys().m_behaviorsEnabled);
}

TEST(LoadDataWizard, StepsNavigationAndSummary) {
    std::string content = "name,class,f1,f2,f3,f4\n";
    for (int i = 0; i < 10; ++i) content += "v,c,1,2,3,4\n";
    CTempFile t("features.csv", content);

    CLoadDataWizard w;
    EXPECT_EQ(w.Step(), 1);
    EXPECT_STREQ(w.Title(), "New Project Wizard - Welcome");
    EXPECT_EQ(w.Status(), "Click the Browse button to select file...");
    EXPECT_EQ(w.PreviewCaption(), "Preview of your CSV File: (none loaded yet)");
    EXPECT_FALSE(w.CanNext());
    EXPECT_FALSE(w.CanBack());
    w.Browse("");
    EXPECT_EQ(w.FileField(), "no file provided");
    w.Browse(t.Sibling("nothing.csv"));
    EXPECT_EQ(w.FileField(), "file not valid");
    EXPECT_FALSE(w.Next());

    w.Browse(t.Path());
    EXPECT_TRUE(w.Result().fileChosen);
    EXPECT_EQ(w.Result().lineCount, 11);
    EXPECT_EQ(w.Result().fieldCount, 6);
    EXPECT_EQ(w.Result().fileTitle, "features");
    EXPECT_EQ(w.Status(), "Click the Next button to proceed...");
    EXPECT_EQ(w.PreviewCaption(), "Preview of your CSV File: features.csv");
    EXPECT_EQ(w.Preview().size(), 9u);

    // Start layout (code 1) with a header row: 5 features, 10 vectors.
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(w.Step(), 4);
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(w.Step(), 5);
    EXPECT_FALSE(w.Next());
    EXPECT_EQ(
        w.SummaryText(),
        "Finished. Your data file is ready to be loaded. About to import 5 features and 10 feature vectors. Click the Finish button below.");

    // "First column of Feature Values" skips step 4 both ways and counts every column.
    ASSERT_TRUE(w.Back());
    ASSERT_TRUE(w.Back());
    EXPECT_EQ(w.Step(), 3);
    w.SetFirstColumn(kLayoutValues);
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(w.Step(), 5);
    EXPECT_EQ(w.FeatureCount(), 6);
    ASSERT_TRUE(w.Back());
    EXPECT_EQ(w.Step(), 3);

    w.SetFirstColumn(kLayoutClassThenValues);
    ASSERT_TRUE(w.Next());
    w.SetSecondColumnVectorNames(true);
    w.SetHasHeaderRow(false);
    ASSERT_TRUE(w.Next());
    EXPECT_EQ(w.FeatureCount(), 4);
    EXPECT_EQ(w.VectorCount(), 11);
    EXPECT_TRUE(w.Result().secondColumnVectorNames);
    EXPECT_TRUE(w.Finish());
    std::vector<std::string> row;
    ASSERT_NE(w.DataFile(), nullptr);
    ASSERT_TRUE(w.DataFile()->ReadLine(row));
    EXPECT_EQ(row.front(), "name");  // the caller reads from the start
}

}  // namespace
}  // namespace zor2::test
