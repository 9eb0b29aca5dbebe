// The autosave without a window: when it writes, what a clean save or exit
// removes, and the recovery offered after a designer ended without one.
#include "designer/autosave.h"

#include "doc_fixture.h"
#include "persistence/project_file.h"

namespace zor2::test {
namespace {

namespace fs = std::filesystem;

class CFolder final : public IUserFolder {
  public:
    explicit CFolder(std::string path) : m_path(std::move(path)) {}
    std::string Path() const override { return m_path; }

  private:
    std::string m_path;
};

class AutosaveTest : public DocTest {
  protected:
    AutosaveTest() : m_folder(m_dir.Sibling("settings")) {}
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(m_folder.Path(), ec))
            names.push_back(e.path().extension().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    void Edit() { ASSERT_EQ(AddModule(m_doc), ECmd::Done); }

    CTempFile m_dir{"project.zr2"};
    CFolder m_folder;
    CManualClock m_clock;
};

TEST_F(AutosaveTest, WritesAModifiedProjectOncePerIntervalAndOnlyWhenItChanged) {
    CAutosave autosave(m_doc, m_clock, m_folder, 1000);
    struct Step {
        const char* name;
        bool edit;
        uint32_t advanceMs;
        bool writes;
    };
    const Step steps[] = {
        {"unmodified", false, 5000, false},
        {"modified, interval not over", true, 999, false},
        {"interval over", false, 1, true},
        {"nothing changed since", false, 5000, false},
        {"changed again, too soon", true, 10, false},
        {"changed, interval over", false, 990, true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.edit) Edit();
        m_clock.Advance(s.advanceMs);
        EXPECT_EQ(autosave.Tick(), s.writes);
    }
    CSystem saved;
    ASSERT_TRUE(LoadProjectFile(saved, autosave.FilePath()));
    EXPECT_EQ(SaveProjectBytes(saved), SaveProjectBytes(Sys()));
    EXPECT_EQ(Files(), (std::vector<std::string>{".lock", ".path", ".zr2"}));

    ASSERT_TRUE(m_doc.Save(m_dir.Path()));  // a clean save makes the autosave needless
    EXPECT_EQ(Files(), std::vector<std::string>{".lock"});
    Edit();
    m_clock.Advance(1000);
    EXPECT_TRUE(autosave.Tick());
    autosave.OnCleanExit();
    EXPECT_TRUE(Files().empty());
}

TEST_F(AutosaveTest, AfterAnUncleanExitTheWorkIsOfferedAtTheNextStart) {
    ASSERT_TRUE(m_doc.Save(m_dir.Path()));
    Edit();
    const std::vector<uint8_t> lost = SaveProjectBytes(Sys());
    {
        CAutosave crashed(m_doc, m_clock, m_folder);
        ASSERT_TRUE(crashed.WriteNow());
        // A designer running beside it does not take its autosave for abandoned.
        CAutosave beside(m_doc, m_clock, m_folder);
        EXPECT_TRUE(beside.FindRecoverable().empty());
    }  // ends without a clean exit
    struct Case {
        const char* name;
        EAnswer answer;
        bool opened;
        size_t filesLeft;  // of the crashed session
    };
    const Case cases[] = {
        {"cancel keeps it for the next start", EAnswer::Cancel, false, 3},
        {"yes opens it as the modified project of its file", EAnswer::Yes, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_doc.SetModified(false);
        ASSERT_TRUE(m_doc.NewProject());
        CAutosave next(m_doc, m_clock, m_folder);
        const std::vector<CRecoverable> found = next.FindRecoverable();
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].originalPath, m_dir.Path());
        Answer({c.answer});
        EXPECT_EQ(next.OfferRecovery(), c.opened);
        EXPECT_NE(LastQuestion().find(m_dir.Path()), std::string::npos);
        EXPECT_EQ(next.FindRecoverable().size(), c.filesLeft ? 1u : 0u);
        if (c.opened) {
            EXPECT_EQ(SaveProjectBytes(Sys()), lost);
            EXPECT_EQ(m_doc.Path(), m_dir.Path());
            EXPECT_TRUE(m_doc.IsModified());
            EXPECT_TRUE(fs::exists(next.FilePath()));  // the recovered work is autosaved at once
        }
        next.OnCleanExit();
    }
    EXPECT_TRUE(Files().empty());
}

TEST_F(AutosaveTest, NoRemovesTheAbandonedAutosave) {
    Edit();
    {
        CAutosave crashed(m_doc, m_clock, m_folder);
        ASSERT_TRUE(crashed.WriteNow());
    }
    m_doc.SetModified(false);
    ASSERT_TRUE(m_doc.NewProject());
    const std::vector<uint8_t> fresh = SaveProjectBytes(Sys());
    CAutosave next(m_doc, m_clock, m_folder);
    Answer({EAnswer::No});
    EXPECT_FALSE(next.OfferRecovery());
    EXPECT_NE(LastQuestion().find("an untitled project"), std::string::npos);
    EXPECT_EQ(SaveProjectBytes(Sys()), fresh);
    EXPECT_EQ(Files(), std::vector<std::string>{".lock"});  // only the running session's
}

}  // namespace
}  // namespace zor2::test
