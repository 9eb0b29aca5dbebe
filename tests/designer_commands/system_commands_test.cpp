// System-level commands: default names, module deletion paths, system inputs
// and outputs, categories, the many-at-once gestures and project information.
#include "designer/commands_connect.h"
#include "doc_fixture.h"

namespace zor2::test {
namespace {

TEST_F(DocTest, DefaultNamesCountTheObjectsOfTheirKind) {
    for (int i = 0; i < 3; ++i) NewModule();
    ASSERT_EQ(AddModule(m_doc), ECmd::Done);
    EXPECT_EQ(Sys().m_modules.Tail()->m_name, "Network 4");
    EXPECT_EQ(TopLine(), "Added new system module: Network 4");
    EXPECT_EQ(AddModuleAt(m_doc, 10, 10), ECmd::Done);
    EXPECT_EQ(Sys().m_modules.Tail()->m_name, "Module 5");
    EXPECT_EQ(TopLine(), "Added System Module: Module 5");

    CNetwork* m = Sys().m_modules.Head();
    Ed().DesignModule(m->m_id);
    Add(kConstant);
    CNetworkModel* second = Add(kAdd);
    EXPECT_EQ(second->m_name, "M2 Add Input Values");
    EXPECT_EQ(TopLine(), "Added component: M2 Add Input Values to system module: Network 1");

    ASSERT_EQ(AddModuleInput(m_doc), ECmd::Done);
    ASSERT_EQ(AddModuleInput(m_doc), ECmd::Done);
    EXPECT_EQ(m->m_inputs.Tail()->m_name, "input2");
    EXPECT_EQ(TopLine(), "Added new input: input2 for system module: Network 1");
    ASSERT_EQ(AddModuleOutput(m_doc), ECmd::Done);
    EXPECT_EQ(m->m_outputs.Tail()->m_name, "output1");
    EXPECT_EQ(TopLine(), "Added new output: output1 for system module: Network 1");

    EXPECT_EQ(CSystemInputData().name, "input name");
    EXPECT_EQ(CSystemOutputData().name, "output name");
    EXPECT_STREQ(kDefaultCategoryName, "category name");
}

TEST_F(DocTest, NewModuleGoesToTheCentreOfTheVisibleArea) {
    Ed().m_visible = {100, 50, 901, 651};
    CNetwork* m = NewModule();
    EXPECT_EQ(m->m_position, (CPoint{500, 350}));
}

TEST_F(DocTest, DeleteModuleAsksByConnectionsAndOnlyYesDeletes) {
    struct Case {
        const char* name;
        bool connected;
        EAnswer answer;
        const char* question;
        bool deleted;
    };
    const Case cases[] = {
        {"plain yes", false, EAnswer::Yes, "Are you sure you want to delete the Network 1 system module?",
         true},
        {"plain no", false, EAnswer::No, "Are you sure you want to delete the Network 1 system module?",
         false},
        {"connected yes", true, EAnswer::Yes,
         "The Network 1 module has 1 existing connection(s). If you delete this module, these connections will also be deleted. Continue?",
         true},
        {"connected no", true, EAnswer::No,
         "The Network 1 module has 1 existing connection(s). If you delete this module, these connections will also be deleted. Continue?",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_doc.SetModified(false);
        ASSERT_TRUE(m_doc.NewProject());
        CNetwork* m = NewModule();
        if (c.connected) {
            ASSERT_EQ(AddSystemInput(m_doc, {}), ECmd::Done);
            ASSERT_NE(Sys().ConnectSystemInput(*Sys().m_inputs.Head(), *m), nullptr);
        }
        Ed().SelectModules({m->m_id});
        const size_t levels = Levels();
        m_link.m_sent.clear();
        Answer({c.answer});
        EXPECT_EQ(DeleteModule(m_doc), c.deleted ? ECmd::Done : ECmd::Cancelled);
        EXPECT_EQ(LastQuestion(), c.question);
        EXPECT_EQ(Sys().m_modules.Size(), c.deleted ? 0u : 1u);
        EXPECT_EQ(Levels(), levels + (c.deleted ? 1 : 0));
        EXPECT_EQ(m_link.m_sent.size(), c.deleted ? 1u : 0u);
        if (c.deleted) {
            EXPECT_EQ(TopLine(), "Deleted Network 1 system module.");
            if (c.connected) {
                EXPECT_TRUE(Sys().m_inputs.Head()->m_connections.Empty());
            }
        }
    }
}

TEST_F(DocTest, SystemInputLifecycle) {
    ASSERT_EQ(AddInputCategory(m_doc, "Sensors"), ECmd::Done);
    EXPECT_EQ(TopLine(), "Added input category: Sensors");
    CSystemInputData d;
    d.name = "Speed";
    d.categoryId = Sys().m_inputCategories.Tail()->m_id;
    d.initialValue = 2.5;
    m_link.m_sent.clear();
    ASSERT_EQ(AddSystemInput(m_doc, d), ECmd::Done);
    EXPECT_EQ(TopLine(), "Added System Input: Speed to category: Sensors");
    ASSERT_EQ(m_link.m_sent.size(), 1u);
    EXPECT_EQ(m_link.m_sent[0], (std::pair<int32_t, int32_t>{1, 0}));
    CExternalInput* p = Sys().m_inputs.Head();
    EXPECT_EQ(p->m_kind, 1);
    EXPECT_DOUBLE_EQ(p->m_value, 2.5);
    EXPECT_DOUBLE_EQ(p->m_initialValue, 2.5);
    EXPECT_TRUE(Sys().m_inputCategories.Tail()->m_members.Contains(p));

    d.name = "Velocity";
    ASSERT_EQ(EditSystemInput(m_doc, d), ECmd::Done);
    EXPECT_EQ(TopLine(), "Modified System Input: Velocity");

    Answer({EAnswer::No});
    EXPECT_EQ(DeleteSystemInput(m_doc), ECmd::Cancelled);
    EXPECT_EQ(LastQuestion(), "Are you sure you want to delete this system input?");
    Answer({EAnswer::Yes});
    EXPECT_EQ(DeleteSystemInput(m_doc), ECmd::Done);
    EXPECT_EQ(TopLine(), "Deleted system input: Velocity");
    EXPECT_TRUE(Sys().m_inputs.Empty());
    EXPECT_TRUE(Sys().m_inputCategories.Tail()->m_members.Empty());
}

TEST_F(DocTest, SystemInputFromADataFileColumnReadsTheColumnAfterTheHeader) {
    CTempFile file("data.csv", "a,b\n1,10\n2,20.5\n3\n");
    CSystemInputData d;
    d.name = "Signal";
    d.fromDataFile = true;
    d.dataFilePath = file.Path();
    d.dataColumn = 2;
    ASSERT_EQ(AddSystemInput(m_doc, d), ECmd::Done);
    CExternalInput* p = Sys().m_inputs.Head();
    EXPECT_EQ(p->m_kind, 2);
    EXPECT_EQ(p->m_array, (std::vector<double>{10.0, 20.5, 0.0}));
    EXPECT_EQ(Sys().Feedback().build.Line(1),
              "Read 3 values from column 2 in datafile " + file.Path() + "\n");
    EXPECT_EQ(TopLine(), "Added System Input: Signal to category: Default Category");
}

TEST_F(DocTest, DeleteSystemOutputAsksByConnection) {
    CNetwork* m = NewModule();
    ASSERT_EQ(AddSystemOutput(m_doc, {}), ECmd::Done);
    EXPECT_EQ(TopLine(), "Added System Output: output name to category: Default Category");
    CExternalOutput* q = Sys().m_outputs.Head();
    ASSERT_NE(Sys().ConnectSystemOutput(*m, *q), nullptr);
    Ed().SelectSystemOutput(q->m_id);
    Answer({EAnswer::No});
    EXPECT_EQ(DeleteSystemOutput(m_doc), ECmd::Cancelled);
    EXPECT_EQ(
        LastQuestion(),
        "This System Output has an existing connection to a system module. This connection will also be deleted. Do you want to continue?");
    Answer({EAnswer::Yes});
    const size_t levels = Levels();
    EXPECT_EQ(DeleteSystemOutput(m_doc), ECmd::Done);
    EXPECT_TRUE(Sys().m_outputs.Empty());
    EXPECT_EQ(Levels(), levels + 1);
}

TEST_F(DocTest, CategoryEditsRenameTheSelectedCategory) {
    ASSERT_EQ(AddInputCategory(m_doc, kDefaultCategoryName), ECmd::Done);
    EXPECT_EQ(EditInputCategory(m_doc, "Motors"), ECmd::Done);
    EXPECT_EQ(TopLine(), "Modified inputs category: Motors");
    EXPECT_EQ(Sys().m_inputCategories.Tail()->m_name, "Motors");
    ASSERT_EQ(AddOutputCategory(m_doc, "Lights"), ECmd::Done);
    EXPECT_EQ(TopLine(), "Added output category: Lights");
    EXPECT_EQ(EditInputCategory(m_doc, "x"), ECmd::Unavailable);  // an output category is selected
}

TEST_F(DocTest, CategoryDropConnectsEveryInputNotYetReceived) {
    CNetwork* m = NewModule();
    ASSERT_EQ(AddInputCategory(m_doc, "Sensors"), ECmd::Done);
    const int32_t cat = Sys().m_inputCategories.Tail()->m_id;

    Answer({});
    EXPECT_EQ(ConnectCategoryToModule(m_doc, cat, m->m_id), ECmd::Refused);
    EXPECT_EQ(
        LastMessage(),
        "No connections added to system module: Network 1. There are no system inputs yet in this category. Double click on the category to add a new system input first.");

    CSystemInputData d;
    d.categoryId = cat;
    for (const char* name : {"a", "b", "c"}) {
        d.name = name;
        ASSERT_EQ(AddSystemInput(m_doc, d), ECmd::Done);
    }
    ASSERT_NE(Sys().ConnectSystemInput(*Sys().m_inputs.Head(), *m), nullptr);
    const size_t levels = Levels();
    EXPECT_EQ(ConnectCategoryToModule(m_doc, cat, m->m_id), ECmd::Done);
    EXPECT_EQ(TopLine(), "Added 2 connections from system inputs to system module: Network 1");
    EXPECT_EQ(Levels(), levels + 1);
    EXPECT_EQ(m->m_inputs.Size(), 3u);
    EXPECT_EQ(ConnectCategoryToModule(m_doc, cat, m->m_id), ECmd::Unavailable);
}

TEST_F(DocTest, ModuleDropOnOutputsBarMakesOneSystemOutputPerModuleOutput) {
    CNetwork* m = NewModule();
    ASSERT_EQ(AddModuleOutput(m_doc), ECmd::Done);
    ASSERT_EQ(AddModuleOutput(m_doc), ECmd::Done);
    const size_t levels = Levels();
    EXPECT_EQ(ConnectModuleToSystemOutputs(m_doc, m->m_id), ECmd::Done);
    EXPECT_EQ(TopLine(), "Added 2 connections from system module Network 1 to system outputs.");
    EXPECT_EQ(Levels(), levels + 1);
    ASSERT_EQ(Sys().m_outputs.Size(), 2u);
    EXPECT_EQ(Sys().m_outputs.Head()->SourceOutput(), m->m_outputs.Head());
    EXPECT_EQ(Sys().m_outputs.Head()->m_name, "output1");
}

TEST_F(DocTest, ProjectInformationListsModulesAndComponents) {
    CNetwork* m = DesignNewModule();
    CNetworkModel* k = Add(kConstant);
    CNetworkModel* add = Add(kAdd);
    Wire(*k, *add);
    const CProjectInformation info = ProjectInformation(Sys());
    EXPECT_EQ(info.moduleCount, 1);
    EXPECT_EQ(info.modules, std::vector<std::string>{"[ 1 ] Network 1"});
    ASSERT_EQ(info.components.size(), 2u);
    EXPECT_EQ(info.components[0],
              Fmt("(Type: 41) ID: %d, Module: Network 1, Name: M1 Constant (k)", k->m_id));
    EXPECT_EQ(info.components[1],
              Fmt("(Type: 21) ID: %d, Module: Network 1, Name: M2 Add Input Values (No output connect)",
                  add->m_id));
    (void)m;
    const size_t levels = Levels();
    EXPECT_EQ(SetProjectDescription(m_doc, "robot arm"), ECmd::Done);
    EXPECT_EQ(Sys().m_description, "robot arm");
    EXPECT_EQ(SetProjectDescription(m_doc, "robot arm"), ECmd::Unavailable);
    EXPECT_EQ(Levels(), levels + 1);
}

}  // namespace
}  // namespace zor2::test

namespace zor2::test {
namespace {

TEST_F(DocTest, ModuleFilesExportAndImport) {
    CTempFile t("m.zrm");
    CNetwork* m = DesignNewModule();
    Add(kConstant);
    Ed().ShowSystem();
    Ed().SelectModules({m->m_id});
    const size_t levels = Levels();
    EXPECT_EQ(ExportModule(m_doc, t.Path()), ECmd::Done);
    EXPECT_EQ(Levels(), levels);  // writing a file is no edit
    EXPECT_EQ(ImportModule(m_doc, t.Path()), ECmd::Done);
    EXPECT_EQ(Levels(), levels + 1);
    ASSERT_EQ(Sys().m_modules.Size(), 2u);
    EXPECT_EQ(TopLine(), "Imported system module: " + Sys().m_modules.Tail()->m_name);
    EXPECT_EQ(Sys().m_modules.Tail()->m_components.Size(), 1u);

    CTempFile bad("bad.zrm", "not a module");
    Answer({});
    EXPECT_EQ(ImportModule(m_doc, bad.Path()), ECmd::Refused);
    EXPECT_FALSE(LastMessage().empty());
    EXPECT_EQ(Sys().m_modules.Size(), 2u);
    EXPECT_EQ(Levels(), levels + 1);
}

}  // namespace
}  // namespace zor2::test

namespace zor2::test {
namespace {

TEST_F(DocTest, BarDoubleClicksAddNumberedPortsToTheDefaultCategory) {
    struct Case {
        const char* name;
        ECmd (*run)(Czor2Doc&);
        const char* line;
    };
    const Case cases[] = {
        {"input", [](Czor2Doc& d) { return AddSystemInputFromBar(d); }, "Added System Input: 1"},
        {"input again", [](Czor2Doc& d) { return AddSystemInputFromBar(d); }, "Added System Input: 2"},
        {"output", [](Czor2Doc& d) { return AddSystemOutputFromBar(d); }, "Added System Output: Output: 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t levels = Levels();
        m_link.m_sent.clear();
        EXPECT_EQ(c.run(m_doc), ECmd::Done);
        EXPECT_EQ(TopLine(), c.line);
        EXPECT_EQ(Levels(), levels + 1);
        EXPECT_EQ(m_link.m_sent.size(), 1u);
    }
    EXPECT_EQ(Sys().m_inputCategories.Find(kDefaultCategoryId)->m_members.Size(), 2u);
    EXPECT_EQ(Sys().m_outputCategories.Find(kDefaultCategoryId)->m_members.Size(), 1u);
}

TEST_F(DocTest, RemoveSystemOutputConnectionKeepsBothPorts) {
    CNetwork* m = NewModule();
    ASSERT_EQ(AddSystemOutputFromBar(m_doc), ECmd::Done);
    CExternalOutput* q = Sys().m_outputs.Head();
    ASSERT_NE(Sys().ConnectSystemOutput(*m, *q), nullptr);
    Ed().SelectSystemOutput(q->m_id);
    EXPECT_EQ(RemoveSystemOutputConnection(m_doc), ECmd::Done);
    EXPECT_EQ(q->SourceOutput(), nullptr);
    EXPECT_EQ(m->m_outputs.Size(), 1u);
    EXPECT_EQ(Sys().m_outputs.Size(), 1u);
    EXPECT_EQ(RemoveSystemOutputConnection(m_doc), ECmd::Unavailable);
}

}  // namespace
}  // namespace zor2::test

namespace zor2::test {
namespace {

TEST_F(DocTest, DeleteSystemInputWithConnectionsAsksTheLongerQuestion) {
    CNetwork* m = NewModule();
    ASSERT_EQ(AddSystemInput(m_doc, {}), ECmd::Done);
    CExternalInput* p = Sys().m_inputs.Head();
    ASSERT_EQ(ConnectSystemInputToModule(m_doc, p->m_id, m->m_id, 0), ECmd::Done);
    Ed().SelectSystemInput(p->m_id);
    Answer({EAnswer::Yes});
    EXPECT_EQ(DeleteSystemInput(m_doc), ECmd::Done);
    EXPECT_EQ(
        LastQuestion(),
        "This System Input has existing connections to system modules. These connections will also be deleted. Do you want to continue?");
    ASSERT_EQ(m->m_inputs.Size(), 1u);
    EXPECT_FALSE(m->m_inputs.Head()->HasSource());  // the module input stays, without its source
}

}  // namespace
}  // namespace zor2::test
