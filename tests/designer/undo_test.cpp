// Undo and redo over project-file snapshots, the level limit, and the change
// recorder that every editing operation ends with.
#include "designer/undo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "components/math/delay.h"
#include "components/utility/quantity_diminish.h"
#include "designer/change_recorder.h"
#include "engine/system.h"
#include "persistence/project_file.h"
#include "support/sample_project.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

using Bytes = std::vector<uint8_t>;

class UndoTest : public ::testing::Test {
  protected:
    UndoTest() : m_undo(m_system), m_recorder(m_system, m_undo) { m_undo.CheckPoint(); }
    Bytes Now() { return SaveProjectBytes(m_system); }
    /// One recorded edit: a module with a Constant (the drop records the change).
    void Edit(int i) {
        CNetwork* m = m_system.CreateModule("module " + std::to_string(i), 10 * i, 0);
        test::Drop(*m, 41);
    }

    CSystem m_system;
    CSystemUndo m_undo;
    CChangeRecorder m_recorder;
};

TEST_F(UndoTest, NewProjectCannotUndoAndOneEditCan) {
    EXPECT_FALSE(m_undo.CanUndo());
    EXPECT_FALSE(m_undo.CanRedo());
    EXPECT_FALSE(m_undo.Undo());
    EXPECT_FALSE(m_undo.Redo());
    const Bytes empty = Now();

    CNetwork* m = m_system.CreateModule("M", 0, 0);
    test::Drop(*m, 41);  // the drop records its change
    const Bytes edited = Now();
    EXPECT_TRUE(m_undo.CanUndo());
    EXPECT_EQ(*m_undo.Current(), edited);

    ASSERT_TRUE(m_undo.Undo());
    EXPECT_EQ(Now(), empty);
    EXPECT_TRUE(m_system.m_modules.Empty());
    EXPECT_FALSE(m_undo.CanUndo());
    EXPECT_TRUE(m_undo.CanRedo());

    ASSERT_TRUE(m_undo.Redo());
    EXPECT_EQ(Now(), edited);
    EXPECT_EQ(m_system.m_modules.Head()->m_components.Size(), 1u);
    EXPECT_FALSE(m_undo.CanRedo());
}

TEST_F(UndoTest, EveryLevelComesBackByteIdentical) {
    test::BuildSampleProject(m_system);
    m_system.RecordChange("sample");
    std::vector<Bytes> states{Now()};
    for (int i = 1; i <= 6; ++i) {
        Edit(i);
        states.push_back(Now());
    }
    for (int i = 5; i >= 0; --i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(m_undo.Undo());
        EXPECT_EQ(Now(), states[static_cast<size_t>(i)]);
    }
    for (int i = 1; i <= 6; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(m_undo.Redo());
        EXPECT_EQ(Now(), states[static_cast<size_t>(i)]);
    }
    // The restored system runs (references were rebuilt); the Feedback Flow
    // needs a cycle to prime before its value travels on.
    for (int i = 0; i < 3; ++i) m_system.RunCycle();
    EXPECT_NE(m_system.m_outputs.Head()->m_value, 0.0);
}

TEST_F(UndoTest, OnlyTheLastTwentyEditsCanBeUndone) {
    std::vector<Bytes> states{Now()};
    for (int i = 1; i <= 25; ++i) {
        Edit(i);
        states.push_back(Now());
    }
    EXPECT_EQ(m_undo.UndoListSize(), CUndo::kMaxLevels + 1);
    for (int k = 1; k <= 20; ++k) ASSERT_TRUE(m_undo.Undo()) << k;
    EXPECT_EQ(Now(), states[5]);
    EXPECT_FALSE(m_undo.CanUndo());
    EXPECT_FALSE(m_undo.Undo());
    EXPECT_EQ(Now(), states[5]);
    EXPECT_EQ(m_undo.RedoListSize(), 20u);
    // Redo walks all the way back and the undo list stays within its limit.
    for (int k = 1; k <= 20; ++k) ASSERT_TRUE(m_undo.Redo()) << k;
    EXPECT_EQ(Now(), states[25]);
    EXPECT_EQ(m_undo.UndoListSize(), CUndo::kMaxLevels + 1);
}

TEST_F(UndoTest, AnEditAfterUndoEmptiesTheRedoList) {
    Edit(1);
    Edit(2);
    ASSERT_TRUE(m_undo.Undo());
    ASSERT_TRUE(m_undo.CanRedo());
    Edit(3);
    EXPECT_FALSE(m_undo.CanRedo());
    EXPECT_EQ(m_undo.UndoListSize(), 3u);
    ASSERT_TRUE(m_undo.Undo());
    ASSERT_EQ(m_system.m_modules.Size(), 1u);
    EXPECT_EQ(m_system.m_modules.Head()->m_name, "module 1");
}

TEST_F(UndoTest, RecorderMarksModifiedWritesTheLineAndCheckpoints) {
    std::vector<std::string> seen;
    m_recorder.m_afterRecord = [&seen](const std::string& line) { seen.push_back(line); };
    EXPECT_FALSE(m_recorder.Modified());
    CNetwork* m = m_system.CreateModule("Pane", 0, 0);
    CNetworkModel* c = test::Drop(*m, 41);
    EXPECT_TRUE(m_recorder.Modified());
    const std::string line = "Added component: " + c->m_name + " to system module: Pane";
    EXPECT_EQ(m_system.Feedback().build.Top(), line);
    EXPECT_EQ(seen, std::vector<std::string>{line});
    EXPECT_EQ(m_undo.UndoListSize(), 2u);
    EXPECT_EQ(*m_undo.Current(), Now());
    // Undo leaves the feedback lists alone.
    ASSERT_TRUE(m_undo.Undo());
    EXPECT_EQ(m_system.Feedback().build.Top(), line);
}

TEST(UndoFailure, ASnapshotThatCannotBeReadChangesNothing) {
    class CBrokenUndo final : public CUndo {
      public:
        int m_state = 0;
        bool m_fail = false;

      protected:
        void WriteSnapshot(Bytes& bytes) override { bytes.push_back(static_cast<uint8_t>(m_state)); }
        bool ReadSnapshot(const Bytes& bytes, std::string& error) override {
            if (m_fail) {
                error = "broken";
                return false;
            }
            m_state = bytes[0];
            return true;
        }
    } undo;
    undo.CheckPoint();
    undo.m_state = 1;
    undo.CheckPoint();
    undo.m_fail = true;
    EXPECT_FALSE(undo.Undo());
    EXPECT_EQ(undo.m_state, 1);
    EXPECT_EQ(undo.UndoListSize(), 2u);
    EXPECT_EQ(undo.RedoListSize(), 0u);
    undo.m_fail = false;
    ASSERT_TRUE(undo.Undo());
    EXPECT_EQ(undo.m_state, 0);
    undo.m_fail = true;
    EXPECT_FALSE(undo.Redo());
    EXPECT_EQ(undo.m_state, 0);
    EXPECT_EQ(undo.UndoListSize(), 1u);
    EXPECT_EQ(undo.RedoListSize(), 1u);
}

TEST(DesignerCore, NoGuiToolkitBelowTheGuiFolder) {
    namespace fs = std::filesystem;
    for (const auto& e : fs::directory_iterator(fs::path(ZOR2_SOURCE_DIR) / "designer")) {
        const std::string ext = e.path().extension().string();
        if (!e.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
        std::ifstream in(e.path());
        std::string line;
        while (std::getline(in, line)) {
            const bool qt = line.rfind("#include <Q", 0) == 0 || line.rfind("#include <qt", 0) == 0;
            EXPECT_FALSE(qt) << e.path() << ": " << line;
        }
    }
}

// The Delay's factor and Quantity Diminishing's auto settings are not in the
// project record; undo and redo of unrelated edits must not reset them.
TEST_F(UndoTest, UndoKeepsSettingsTheProjectRecordCannotCarry) {
    CNetwork* m = m_system.CreateModule("M", 0, 0);
    auto* delay = dynamic_cast<CModelDelay*>(test::Drop(*m, 2));
    auto* quantity = dynamic_cast<CModelQuantityDiminish*>(test::Drop(*m, 68));
    ASSERT_TRUE(delay && quantity);
    ASSERT_TRUE(delay->SetFeedbackFactor(0.5));
    ASSERT_TRUE(quantity->SetAuto(false, 2.5));
    m_undo.CheckPoint();
    const Bytes project = Now();
    const int32_t moduleId = m->m_id, delayId = delay->m_id, quantityId = quantity->m_id;

    Edit(1);
    ASSERT_TRUE(m_undo.Undo());
    EXPECT_EQ(Now(), project);  // the project part is untouched by the extra entries
    for (int step = 0; step < 2; ++step) {
        SCOPED_TRACE(step == 0 ? "after undo" : "after redo");
        CNetwork* restored = m_system.FindModule(moduleId);
        ASSERT_NE(restored, nullptr);
        auto* d = dynamic_cast<CModelDelay*>(restored->FindComponent(delayId));
        auto* q = dynamic_cast<CModelQuantityDiminish*>(restored->FindComponent(quantityId));
        ASSERT_TRUE(d && q);
        EXPECT_EQ(d->FeedbackFactor(), 0.5);
        EXPECT_FALSE(q->AutoMode());
        EXPECT_EQ(q->AutoRate(), 2.5);
        if (step == 0) {
            ASSERT_TRUE(m_undo.Redo());
        }
    }
}

}  // namespace
}  // namespace zor2
