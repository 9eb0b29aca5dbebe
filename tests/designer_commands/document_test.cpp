// The document's project flows (new, open, save, export) and an end-to-end
// script that builds a system only through commands, saves, reloads and runs it.
#include "designer/commands_connect.h"
#include "doc_fixture.h"
#include "persistence/project_file.h"

namespace zor2::test {
namespace {

TEST_F(DocTest, NewProjectOffersToSaveAModifiedProject) {
    ASSERT_EQ(AddModule(m_doc), ECmd::Done);
    ASSERT_TRUE(m_doc.IsModified());
    Answer({EAnswer::Cancel});
    EXPECT_FALSE(m_doc.NewProject());
    EXPECT_EQ(LastQuestion(), "Save changes to Untitled?");
    EXPECT_EQ(Sys().m_modules.Size(), 1u);

    Answer({EAnswer::No});
    m_link.m_sent.clear();
    EXPECT_TRUE(m_doc.NewProject());
    EXPECT_TRUE(Sys().m_modules.Empty());
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_FALSE(m_doc.CanUndo());
    EXPECT_EQ(Levels(), 1u);
    ASSERT_EQ(m_link.m_sent.size(), 1u);
    EXPECT_EQ(m_link.m_sent[0], (std::pair<int32_t, int32_t>{0, 0}));
}

TEST_F(DocTest, SaveUntitledTakesTheFileTitleAsSystemName) {
    CTempFile t("robot.zr2");
    ASSERT_EQ(AddModule(m_doc), ECmd::Done);
    EXPECT_FALSE(m_doc.Save());  // no path and no file chosen: nothing written
    ASSERT_TRUE(m_doc.Save(t.Path()));
    EXPECT_EQ(Sys().m_name, "robot");
    EXPECT_EQ(m_doc.Path(), t.Path());
    EXPECT_FALSE(m_doc.IsModified());
    ASSERT_EQ(AddModule(m_doc), ECmd::Done);
    ASSERT_TRUE(m_doc.Save());  // to the document's path now
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(DocTest, SaveAsNamesTheSystemAsSaveDoes) {
    struct Case {
        const char* name;
        bool savedBefore;
    };
    for (const Case& c : {Case{"a new project", false}, Case{"one saved under another name", true}}) {
        SCOPED_TRACE(c.name);
        CTempFile first("first.zr2"), second("plant.zr2");
        ASSERT_TRUE(m_doc.NewProject());
        if (c.savedBefore) {
            ASSERT_TRUE(m_doc.Save(first.Path()));
        }
        ASSERT_TRUE(m_doc.SaveAs(second.Path()));
        EXPECT_EQ(Sys().m_name, "plant");
        EXPECT_EQ(m_doc.Path(), second.Path());
        // The file holds the name as well: it opens named so.
        ASSERT_TRUE(m_doc.Open(second.Path()));
        EXPECT_EQ(Sys().m_name, "plant");
    }
    // A cancelled dialog changes nothing.
    EXPECT_FALSE(m_doc.SaveAs(""));
    EXPECT_EQ(Sys().m_name, "plant");
}

TEST_F(DocTest, OpenReplacesTheProjectAndRestartsUndo) {
    CTempFile t("p.zr2");
    ASSERT_EQ(AddModule(m_doc), ECmd::Done);
    ASSERT_TRUE(m_doc.SaveAs(t.Path()));
    ASSERT_EQ(AddModule(m_doc), ECmd::Done);
    m_link.m_sent.clear();
    ASSERT_TRUE(m_doc.Open(t.Path()));
    EXPECT_EQ(Sys().m_modules.Size(), 1u);
    EXPECT_EQ(Levels(), 1u);
    EXPECT_FALSE(m_doc.CanUndo());
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_link.m_loaded, 1);  // the announcement carries the counts
    EXPECT_TRUE(m_link.m_sent.empty());
    EXPECT_EQ(Sys().Feedback().build.Top(), "About to open Corvel Mindlatch2 file: " + t.Path() + "\n");
}

TEST_F(DocTest, OpenOfADamagedFileKeepsEverything) {
    struct Case {
        const char* name;
        std::string content;
    };
    const Case cases[] = {
        {"empty", ""}, {"garbage", std::string("\x07\x00\x00\x00zz", 6)}, {"truncated", ""}};
    CTempFile good("good.zr2");
    ASSERT_EQ(AddModule(m_doc), ECmd::Done);
    ASSERT_TRUE(m_doc.SaveAs(good.Path()));
    const std::string full = good.Read();
    ASSERT_EQ(AddModule(m_doc), ECmd::Done);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTempFile bad("bad.zr2",
                      std::string(c.name) == "truncated" ? full.substr(0, full.size() / 2) : c.content);
        if (c.content.empty())
            bad.Write(std::string(c.name) == "truncated" ? full.substr(0, full.size() / 2) : "");
        const std::vector<uint8_t> before = SaveProjectBytes(Sys());
        const size_t levels = Levels();
        Answer({});
        EXPECT_FALSE(m_doc.Open(bad.Path()));
        EXPECT_FALSE(LastMessage().empty());
        EXPECT_EQ(SaveProjectBytes(Sys()), before);
        EXPECT_EQ(Levels(), levels);
        EXPECT_EQ(m_doc.Path(), good.Path());
        EXPECT_TRUE(m_doc.CanUndo());
    }
    EXPECT_FALSE(m_doc.OpenThroughFramework(good.Sibling("missing.zr2")));
    EXPECT_EQ(Sys().m_modules.Size(), 2u);
}

TEST_F(DocTest, ExportRuntimeWritesTheFileAndTheManifest) {
    CTempFile t("sys.z2r");
    ASSERT_EQ(AddModule(m_doc), ECmd::Done);
    CRuntimeExportInfo info;
    m_doc.SetModified(false);
    ASSERT_TRUE(m_doc.ExportRuntime(t.Path(), &info));
    EXPECT_EQ(info.runtimeFileName, "sys.z2r");
    EXPECT_EQ(info.manifestFileName, "ZOR2_RT_MANIFEST_sys.txt");
    EXPECT_TRUE(std::filesystem::exists(t.Path()));
    EXPECT_TRUE(std::filesystem::exists(t.Sibling("ZOR2_RT_MANIFEST_sys.txt")));
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_TRUE(m_prompter.m_messages.empty());  // no CSV components, no notice
}

// Builds "sum = 1.5 + 2.5 + gain" through the commands alone, saves, reloads
// into a second document and compares what one cycle gives.
TEST_F(DocTest, EndToEndBuildSaveReloadRun) {
    CTempFile t("e2e.zr2");
    ASSERT_EQ(AddModule(m_doc), ECmd::Done);
    CNetwork* m = Sys().m_modules.Head();
    CSystemInputData gain;
    gain.name = "gain";
    gain.initialValue = 4.0;
    ASSERT_EQ(AddSystemInput(m_doc, gain), ECmd::Done);
    ASSERT_EQ(ConnectSystemInputToModule(m_doc, Sys().m_inputs.Head()->m_id, m->m_id, 0), ECmd::Done);

    Ed().DesignModule(m->m_id);
    CNetworkModel* k1 = Add(kConstant, 50, 50);
    CNetworkModel* k2 = Add(kConstant, 50, 150);
    CNetworkModel* sum = Add(kAdd, 250, 100);
    k1->m_value = 1.5;
    ASSERT_EQ(RecordComponentProperties(m_doc, *k1), ECmd::Done);
    k2->m_value = 2.5;
    ASSERT_EQ(RecordComponentProperties(m_doc, *k2), ECmd::Done);
    ASSERT_EQ(ConnectComponents(m_doc, k1->m_id, 10, sum->m_id, 0), ECmd::Done);
    ASSERT_EQ(ConnectComponents(m_doc, k2->m_id, 10, sum->m_id, 0), ECmd::Done);
    ASSERT_EQ(ConnectComponents(m_doc, k2->m_id, 10, sum->m_id, 0), ECmd::Refused);  // the same output twice
    ASSERT_EQ(ConnectModuleInputToComponent(m_doc, m->m_inputs.Head()->m_id, sum->m_id, 0), ECmd::Done);
    ASSERT_EQ(AddModuleOutput(m_doc, "sum"), ECmd::Done);
    ASSERT_EQ(ConnectComponentToModuleOutput(m_doc, sum->m_id, 10, m->m_outputs.Head()->m_id), ECmd::Done);
    Ed().ShowSystem();
    ASSERT_EQ(ConnectModuleToSystemOutputs(m_doc, m->m_id), ECmd::Done);
    ASSERT_TRUE(m_doc.SaveAs(t.Path()));

    Sys().RunCycle();
    ASSERT_EQ(Sys().m_outputs.Size(), 1u);
    const double before = Sys().m_outputs.Head()->m_value;
    EXPECT_DOUBLE_EQ(before, 8.0);

    Czor2Doc reloaded;
    CScriptedPrompter quiet;
    reloaded.SetPrompter(&quiet);
    ASSERT_TRUE(reloaded.Open(t.Path()));
    CSystem& r = reloaded.System();
    ASSERT_EQ(r.m_modules.Size(), 1u);
    EXPECT_EQ(r.m_modules.Head()->m_components.Size(), 3u);
    r.RunCycle();
    ASSERT_EQ(r.m_outputs.Size(), 1u);
    EXPECT_EQ(r.m_outputs.Head()->m_name, "sum");
    EXPECT_DOUBLE_EQ(r.m_outputs.Head()->m_value, before);
    EXPECT_EQ(SaveProjectBytes(r).size(), t.Read().size());
}

}  // namespace
}  // namespace zor2::test
