// Undo levels as the commands produce them: one per success, none per refusal
// or cancel, the 20-level limit, and undo/redo restoring the same bytes.
#include "doc_fixture.h"
#include "persistence/project_file.h"

namespace zor2::test {
namespace {

TEST_F(DocTest, OneLevelPerSuccessNonePerRefusalOrCancel) {
    struct Step {
        const char* name;
        std::deque<EAnswer> answers;
        ECmd (*run)(Czor2Doc&);
        ECmd expected;
        size_t added;
    };
    const Step steps[] = {
        {"add module", {}, [](Czor2Doc& d) { return AddModule(d); }, ECmd::Done, 1},
        {"add input", {}, [](Czor2Doc& d) { return AddModuleInput(d); }, ECmd::Done, 1},
        {"expose cancelled",
         {EAnswer::Cancel},
         [](Czor2Doc& d) { return ExposeModuleInputs(d); },
         ECmd::Cancelled,
         0},
        {"expose", {EAnswer::No}, [](Czor2Doc& d) { return ExposeModuleInputs(d); }, ECmd::Done, 1},
        {"expose refused", {}, [](Czor2Doc& d) { return ExposeModuleInputs(d); }, ECmd::Refused, 0},
        {"delete refused by no",
         {EAnswer::No},
         [](Czor2Doc& d) { return DeleteModule(d); },
         ECmd::Cancelled,
         0},
        {"delete", {EAnswer::Yes}, [](Czor2Doc& d) { return DeleteModule(d); }, ECmd::Done, 1},
        {"delete with nothing selected",
         {},
         [](Czor2Doc& d) { return DeleteModule(d); },
         ECmd::Unavailable,
         0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        const size_t levels = Levels();
        const std::vector<uint8_t> bytes = SaveProjectBytes(Sys());
        Answer(s.answers);
        EXPECT_EQ(s.run(m_doc), s.expected);
        EXPECT_EQ(Levels(), levels + s.added);
        if (s.added == 0) {
            EXPECT_EQ(SaveProjectBytes(Sys()), bytes);
        }
    }
}

TEST_F(DocTest, UndoRestoresTheEmptySystemAndRedoTheEdit) {
    EXPECT_FALSE(m_doc.CanUndo());
    const std::vector<uint8_t> empty = SaveProjectBytes(Sys());
    ASSERT_EQ(AddModule(m_doc), ECmd::Done);
    const std::vector<uint8_t> edited = SaveProjectBytes(Sys());
    EXPECT_TRUE(m_doc.CanUndo());
    EXPECT_TRUE(m_doc.UndoChange());
    EXPECT_EQ(SaveProjectBytes(Sys()), empty);
    EXPECT_TRUE(m_doc.CanRedo());
    EXPECT_TRUE(Ed().m_modules.empty());  // the selection named a module that is gone
    EXPECT_TRUE(m_doc.RedoChange());
    EXPECT_EQ(SaveProjectBytes(Sys()), edited);
    EXPECT_TRUE(m_doc.UndoChange());
    ASSERT_EQ(AddModule(m_doc), ECmd::Done);  // a new edit empties the redo list
    EXPECT_FALSE(m_doc.CanRedo());
}

TEST_F(DocTest, TwentyLevelsAtMost) {
    for (int i = 0; i < 25; ++i) ASSERT_EQ(AddModule(m_doc), ECmd::Done);
    EXPECT_EQ(Levels(), 21u);
    int undone = 0;
    while (m_doc.UndoChange()) ++undone;
    EXPECT_EQ(undone, 20);
    EXPECT_EQ(Sys().m_modules.Size(), 5u);
    EXPECT_EQ(Sys().m_modules.Tail()->m_name, "Network 5");
}

TEST_F(DocTest, EmptyFeedbackLinesStillTakeACheckpoint) {
    DesignNewModule();
    CNetworkModel* k = Add(kConstant);
    Select(k);
    const size_t lines = Sys().Feedback().build.Size();
    const size_t levels = Levels();
    ASSERT_EQ(AddComponentInput(m_doc), ECmd::Refused);  // a Constant takes no input
    ASSERT_EQ(EditComponentOutput(m_doc, "x"), ECmd::Unavailable);
    Ed().SelectComponentOutput(k->m_id, k->FirstOutput()->m_id);
    ASSERT_EQ(EditComponentOutput(m_doc, "renamed"), ECmd::Done);
    EXPECT_EQ(Levels(), levels + 1);
    EXPECT_EQ(Sys().Feedback().build.Size(), lines);
    EXPECT_TRUE(m_doc.IsModified());
}

}  // namespace
}  // namespace zor2::test
