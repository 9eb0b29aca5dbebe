// Module-level commands: module ports, exposing them with the category
// question, the four disconnect commands and the ports they keep, and the
// "New Input Connection" dialog.
#include "designer/commands_connect.h"
#include "doc_fixture.h"

namespace zor2::test {
namespace {

class ModuleTest : public DocTest {
  protected:
    ModuleTest() {
        m_module = NewModule();
        m_upstream = NewModule();
        Ed().SelectModules({m_module->m_id});
    }
    CNetwork* m_module = nullptr;
    CNetwork* m_upstream = nullptr;
};

TEST_F(ModuleTest, ExposeInputsRefusedWhenEveryInputHasASource) {
    ASSERT_EQ(AddSystemInput(m_doc, {}), ECmd::Done);
    ASSERT_NE(Sys().ConnectSystemInput(*Sys().m_inputs.Head(), *m_module), nullptr);
    Ed().SelectModules({m_module->m_id});
    const size_t levels = Levels();
    EXPECT_EQ(ExposeModuleInputs(m_doc), ECmd::Refused);
    EXPECT_EQ(
        LastMessage(),
        "All current inputs to this module have existing connections to a data source. Delete these connections prior to exposing the input. Exposing the input automatically connects it to its new external source.");
    EXPECT_TRUE(m_prompter.m_questions.empty());
    EXPECT_EQ(Levels(), levels);
    EXPECT_EQ(Sys().m_inputs.Size(), 1u);
}

TEST_F(ModuleTest, ExposeInputsFollowsTheCategoryAnswer) {
    struct Case {
        const char* name;
        EAnswer answer;
        std::string categoryName;
        ECmd result;
        size_t categories;  // input categories afterwards
    };
    const Case cases[] = {
        {"new category", EAnswer::Yes, "Exposed", ECmd::Done, 2},
        {"default category", EAnswer::No, "Exposed", ECmd::Done, 1},
        {"cancel", EAnswer::Cancel, "Exposed", ECmd::Cancelled, 1},
        {"category dialog cancelled", EAnswer::Yes, "", ECmd::Cancelled, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_doc.SetModified(false);
        ASSERT_TRUE(m_doc.NewProject());
        CNetwork* m = NewModule();
        ASSERT_EQ(AddModuleInput(m_doc), ECmd::Done);
        ASSERT_EQ(AddModuleInput(m_doc, "speed"), ECmd::Done);
        const size_t levels = Levels();
        Answer({c.answer});
        EXPECT_EQ(ExposeModuleInputs(m_doc, c.categoryName), c.result);
        EXPECT_EQ(LastQuestion(), "Would you like to create a new category for the new external inputs?");
        EXPECT_EQ(Sys().m_inputCategories.Size(), c.categories);
        if (c.result != ECmd::Done) {
            EXPECT_EQ(Levels(), levels);
            EXPECT_TRUE(Sys().m_inputs.Empty());
            continue;
        }
        EXPECT_EQ(Levels(), levels + 1);
        EXPECT_EQ(TopLine(), "Exposed inputs for system module: Network 1");
        ASSERT_EQ(Sys().m_inputs.Size(), 2u);
        EXPECT_EQ(Sys().m_inputs.Tail()->m_name, "speed");
        EXPECT_EQ(Sys().m_inputCategories.Tail()->m_members.Size(), 2u);
        for (CNetworkInput* in : m->m_inputs) EXPECT_EQ(in->m_sourceKind, kSourceSystemInput);
    }
}

TEST_F(ModuleTest, ExposeOneInputFeedsItFromANewSystemInput) {
    ASSERT_EQ(AddModuleInput(m_doc, "speed"), ECmd::Done);
    CNetworkInput* in = m_module->m_inputs.Tail();
    const size_t levels = Levels();
    EXPECT_EQ(ExposeModuleInput(m_doc, m_module->m_id, in->m_id), ECmd::Done);
    EXPECT_EQ(Levels(), levels + 1);
    ASSERT_EQ(Sys().m_inputs.Size(), 1u);
    const CExternalInput* made = Sys().m_inputs.Head();
    EXPECT_EQ(made->m_name, "speed");
    EXPECT_EQ(made->m_categoryId, kDefaultCategoryId);
    EXPECT_TRUE(in->HasSource());
    EXPECT_EQ(TopLine(), "Exposed inputs for system module: " + m_module->m_name);
    // One undo takes back both the system input and its connection.
    const int32_t moduleId = m_module->m_id;
    ASSERT_TRUE(m_doc.UndoChange());
    EXPECT_TRUE(Sys().m_inputs.Empty());
    const CNetwork* reloaded = Sys().FindModule(moduleId);
    ASSERT_NE(reloaded, nullptr);
    ASSERT_FALSE(reloaded->m_inputs.Empty());
    EXPECT_FALSE(reloaded->m_inputs.Tail()->HasSource());
}

TEST_F(ModuleTest, ExposeOneInputRefusals) {
    ASSERT_EQ(AddModuleInput(m_doc, "speed"), ECmd::Done);
    CNetworkInput* in = m_module->m_inputs.Tail();
    CNetworkOutput* out = m_upstream->CreateOutput("flow");
    ASSERT_NE(out, nullptr);
    ASSERT_NE(Sys().ConnectModules(*m_upstream, *m_module, out, in), nullptr);
    struct Case {
        const char* name;
        int32_t moduleId, inputId;
        ECmd expected;
        const char* told;  // nullptr: nothing told
    };
    const Case cases[] = {
        {"already fed", m_module->m_id, in->m_id, ECmd::Refused,
         "Cannot expose externally, as this input is already connected to a given data source."},
        {"no such input", m_module->m_id, 0, ECmd::Unavailable, nullptr},
        {"no such module", 0, in->m_id, ECmd::Unavailable, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_prompter.m_messages.clear();
        const size_t levels = Levels();
        const bool modified = m_doc.IsModified();
        EXPECT_EQ(ExposeModuleInput(m_doc, c.moduleId, c.inputId), c.expected);
        EXPECT_EQ(Levels(), levels);
        EXPECT_EQ(m_doc.IsModified(), modified);
        EXPECT_TRUE(Sys().m_inputs.Empty());
        if (c.told)
            EXPECT_EQ(LastMessage(), c.told);
        else
            EXPECT_TRUE(m_prompter.m_messages.empty());
    }
}

TEST_F(ModuleTest, InputsBarDropMakesAFedSystemInput) {
    const size_t levels = Levels();
    EXPECT_EQ(ConnectNewSystemInputToModule(m_doc, 0), ECmd::Unavailable);
    EXPECT_EQ(Levels(), levels);
    EXPECT_TRUE(Sys().m_inputs.Empty());
    EXPECT_EQ(ConnectNewSystemInputToModule(m_doc, m_module->m_id), ECmd::Done);
    EXPECT_EQ(Levels(), levels + 1);
    ASSERT_EQ(Sys().m_inputs.Size(), 1u);
    EXPECT_EQ(Sys().m_inputs.Head()->m_name, "New input");
    ASSERT_FALSE(m_module->m_inputs.Empty());
    EXPECT_TRUE(m_module->m_inputs.Tail()->HasSource());
    EXPECT_EQ(m_link.m_sent.back(), (std::pair<int32_t, int32_t>{1, 0}));
}

TEST_F(ModuleTest, ExposeAllInputsToModuleLayerFeedsEachInputByName) {
    Ed().DesignModule(m_module->m_id);
    CNetworkModel* c = Add(kCompareToInput);
    ASSERT_NE(c, nullptr);
    ASSERT_FALSE(c->m_inputs.Empty());
    Ed().ClearSelection();
    const size_t levels = Levels();
    EXPECT_EQ(ExposeAllInputsToModuleLayer(m_doc), ECmd::Unavailable);
    EXPECT_EQ(Levels(), levels);
    Select(c);
    EXPECT_EQ(ExposeAllInputsToModuleLayer(m_doc), ECmd::Done);
    EXPECT_EQ(Levels(), levels + 1);
    for (const CModelInput* in : c->m_inputs) {
        SCOPED_TRACE(in->m_name);
        EXPECT_TRUE(in->HasSource());
        bool named = false;
        for (const CNetworkInput* m : m_module->m_inputs) named |= m->m_name == in->m_name;
        EXPECT_TRUE(named);
    }
    EXPECT_EQ(TopLine(), Fmt("Exposed %d input connections for component: %s",
                             static_cast<int>(c->m_inputs.Size()), c->m_name.c_str()));
}

TEST_F(ModuleTest, ExposeOutputsSkipsOutputsThatAlreadyFeedASystemOutput) {
    ASSERT_EQ(AddModuleOutput(m_doc), ECmd::Done);
    ASSERT_EQ(AddModuleOutput(m_doc), ECmd::Done);
    ASSERT_NE(Sys().ConnectSystemOutput(*m_module, *Sys().CreateSystemOutput("taken", 1),
                                        m_module->m_outputs.Head()),
              nullptr);
    Answer({EAnswer::No});
    EXPECT_EQ(ExposeModuleOutputs(m_doc), ECmd::Done);
    EXPECT_EQ(LastQuestion(), "Would you like to create a new category for the new system outputs?");
    ASSERT_EQ(Sys().m_outputs.Size(), 2u);
    EXPECT_EQ(Sys().m_outputs.Tail()->SourceOutput(), m_module->m_outputs.Tail());
    Answer({});
    EXPECT_EQ(ExposeModuleOutputs(m_doc), ECmd::Refused);
    EXPECT_EQ(LastMessage(), "All module outputs exposed");
}

TEST_F(ModuleTest, DeleteModuleInputAsksOneOfFourQuestions) {
    struct Case {
        const char* name;
        bool external, internal;
        const char* question;
    };
    const Case cases[] = {
        {"both", true, true,
         "This Module Input is currently connected to another network or system input, as well as connected to one or more internal components. If you delete the input, these connections will also be removed. Are you sure you want to delete this input?"},
        {"external", true, false,
         "This Module Input is currently connected to another network or system input. If you delete the input, this connection will also be removed. Are you sure you want to delete this input?"},
        {"internal", false, true,
         "This Module Input is currently connected to one or more internal components. If you delete the input, these connections will also be removed. Are you sure you want to delete this input?"},
        {"none", false, false, "Are you sure you want to delete this module input?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(AddModuleInput(m_doc, c.name), ECmd::Done);
        CNetworkInput* in = m_module->m_inputs.Tail();
        if (c.external) {
            ASSERT_NE(Sys().ConnectModules(*m_upstream, *m_module, nullptr, in), nullptr);
        }
        CNetworkModel* target = nullptr;
        if (c.internal) {
            Ed().DesignModule(m_module->m_id);
            target = Add(kAdd);
            ASSERT_EQ(m_module->RequestConnectModuleInput(*in, *target, nullptr), 0);
        }
        const int32_t inId = in->m_id;
        Ed().SelectModuleInput(m_module->m_id, inId);
        Answer({EAnswer::No});
        EXPECT_EQ(DeleteModuleInput(m_doc), ECmd::Cancelled);
        EXPECT_EQ(LastQuestion(), c.question);
        Answer({EAnswer::Yes});
        EXPECT_EQ(DeleteModuleInput(m_doc), ECmd::Done);
        EXPECT_EQ(TopLine(), std::string("Deleted module input: ") + c.name);
        EXPECT_EQ(m_module->m_inputs.Find(inId), nullptr);
        EXPECT_TRUE(Sys().m_moduleConnections.Empty());
        if (target) {
            for (CModelInput* ti : target->m_inputs) EXPECT_FALSE(ti->HasSource());
        }
        Ed().ShowSystem();
        Ed().SelectModules({m_module->m_id});
    }
    EXPECT_TRUE(m_module->m_inputs.Empty());
}

TEST_F(ModuleTest, DeleteModuleOutputAsksTwiceWhenConnected) {
    ASSERT_EQ(AddModuleOutput(m_doc), ECmd::Done);
    CNetworkOutput* out = m_module->m_outputs.Head();
    ASSERT_NE(Sys().ConnectModules(*m_module, *m_upstream, out), nullptr);
    Ed().SelectModuleOutput(m_module->m_id, out->m_id);
    Answer({EAnswer::Yes, EAnswer::No});
    EXPECT_EQ(DeleteModuleOutput(m_doc), ECmd::Cancelled);
    ASSERT_EQ(m_prompter.m_questions.size(), 2u);
    EXPECT_EQ(m_prompter.m_questions[0], "Are you sure you want to delete the output1 output?");
    EXPECT_EQ(
        m_prompter.m_questions[1],
        "This output has one or more existing connections. These connections will be deleted. Do you want to continue?");
    EXPECT_EQ(m_module->m_outputs.Size(), 1u);
    Answer({EAnswer::Yes, EAnswer::Yes});
    const size_t levels = Levels();
    EXPECT_EQ(DeleteModuleOutput(m_doc), ECmd::Done);
    EXPECT_TRUE(m_module->m_outputs.Empty());
    EXPECT_TRUE(Sys().m_moduleConnections.Empty());
    EXPECT_FALSE(m_upstream->m_inputs.Head()->HasSource());
    EXPECT_EQ(Levels(), levels + 1);
}

TEST_F(ModuleTest, RemoveIncomingKeepsTheInputs) {
    ASSERT_NE(Sys().ConnectModules(*m_upstream, *m_module), nullptr);
    CNetworkInput* in = m_module->m_inputs.Head();
    Ed().SelectModuleInput(m_module->m_id, in->m_id);
    Answer({EAnswer::No});
    EXPECT_EQ(RemoveIncomingConnections(m_doc), ECmd::Cancelled);
    EXPECT_EQ(LastQuestion(),
              "Are you sure you want to remove the incoming connection to the selected input(s)?");
    EXPECT_TRUE(in->HasSource());
    Answer({EAnswer::Yes});
    m_link.m_sent.clear();
    EXPECT_EQ(RemoveIncomingConnections(m_doc), ECmd::Done);
    EXPECT_EQ(TopLine(),
              "Disconnected and deleted incoming connections to selected inputs to Module: Network 1");
    EXPECT_EQ(m_module->m_inputs.Size(), 1u);
    EXPECT_FALSE(in->HasSource());
    EXPECT_TRUE(Sys().m_moduleConnections.Empty());
    EXPECT_EQ(m_upstream->m_outputs.Size(), 1u);  // the source output stays too
    EXPECT_EQ(m_link.m_sent.size(), 1u);
    EXPECT_EQ(RemoveIncomingConnections(m_doc), ECmd::Unavailable);
}

TEST_F(ModuleTest, RemoveInternalInputConnectionsKeepsInputsAndComponents) {
    ASSERT_EQ(AddModuleInput(m_doc), ECmd::Done);
    CNetworkInput* in = m_module->m_inputs.Head();
    Ed().DesignModule(m_module->m_id);
    CNetworkModel* a = Add(kAdd);
    CNetworkModel* b = Add(kAdd);
    ASSERT_EQ(m_module->RequestConnectModuleInput(*in, *a, nullptr), 0);
    ASSERT_EQ(m_module->RequestConnectModuleInput(*in, *b, nullptr), 0);
    Ed().SelectModuleInput(m_module->m_id, in->m_id);
    Answer({EAnswer::Yes});
    EXPECT_EQ(RemoveInternalInputConnections(m_doc), ECmd::Done);
    EXPECT_EQ(LastQuestion(),
              "Are you sure you want to remove internal connections from the selected input(s)?");
    EXPECT_EQ(TopLine(),
              "Disconnected and deleted internal connections to selected inputs to Module: Network 1");
    EXPECT_TRUE(in->m_connections.Empty());
    EXPECT_FALSE(a->FirstInput()->HasSource());
    EXPECT_FALSE(b->FirstInput()->HasSource());
    EXPECT_EQ(m_module->m_components.Size(), 2u);
}

TEST_F(ModuleTest, RemoveOutgoingCountsModuleAndSystemTargets) {
    ASSERT_EQ(AddModuleOutput(m_doc), ECmd::Done);
    CNetworkOutput* out = m_module->m_outputs.Head();
    Ed().SelectModuleOutput(m_module->m_id, out->m_id);
    Answer({});
    EXPECT_EQ(RemoveOutgoingConnections(m_doc), ECmd::Refused);
    EXPECT_EQ(LastMessage(), "No outgoing connections to delete...");

    ASSERT_NE(Sys().ConnectModules(*m_module, *m_upstream, out), nullptr);
    ASSERT_NE(Sys().ConnectSystemOutput(*m_module, *Sys().CreateSystemOutput("q", 1), out), nullptr);
    Answer({EAnswer::Yes});
    EXPECT_EQ(RemoveOutgoingConnections(m_doc), ECmd::Done);
    EXPECT_EQ(
        LastQuestion(),
        "You are about to remove 2 active connection(s) from the output1 output of the Network 1 module. Do you wish to continue?");
    EXPECT_EQ(TopLine(), "Removed 2 connection(s) from the output1 output of the Network 1 module");
    EXPECT_EQ(m_module->m_outputs.Size(), 1u);
    EXPECT_EQ(Sys().m_outputs.Head()->SourceOutput(), nullptr);
    EXPECT_FALSE(m_upstream->m_inputs.Head()->HasSource());
}

TEST_F(ModuleTest, ModuleMenuRemovesTheOutgoingConnectionsOfEachOutput) {
    for (int i = 0; i < 3; ++i) ASSERT_EQ(AddModuleOutput(m_doc), ECmd::Done);
    ASSERT_EQ(m_module->m_outputs.Size(), 3u);
    CNetworkOutput* first = m_module->m_outputs.At(0);
    CNetworkOutput* last = m_module->m_outputs.At(2);
    ASSERT_NE(Sys().ConnectModules(*m_module, *m_upstream, first), nullptr);
    ASSERT_NE(Sys().ConnectModules(*m_module, *m_upstream, last), nullptr);
    const int32_t id = m_module->m_id;
    size_t levels = Levels();
    // The first output's question is answered Yes, the last one's No: the walk stops there.
    Answer({EAnswer::Yes, EAnswer::No});
    EXPECT_EQ(RemoveModuleOutgoingConnections(m_doc, id), ECmd::Cancelled);
    EXPECT_EQ(m_prompter.m_questions.size(), 2u);
    EXPECT_EQ(Levels(), levels + 1);
    EXPECT_EQ(Sys().m_moduleConnections.Size(), 1u);
    EXPECT_EQ(Sys().m_moduleConnections.Head()->m_srcOutput, last);

    Answer({EAnswer::Yes});
    EXPECT_EQ(RemoveModuleOutgoingConnections(m_doc, id), ECmd::Done);
    EXPECT_EQ(m_prompter.m_questions.size(), 1u);
    EXPECT_EQ(Levels(), levels + 2);
    EXPECT_TRUE(Sys().m_moduleConnections.Empty());
    EXPECT_EQ(m_module->m_outputs.Size(), 3u);

    levels = Levels();
    Answer({});
    EXPECT_EQ(RemoveModuleOutgoingConnections(m_doc, id), ECmd::Unavailable);
    EXPECT_EQ(LastMessage(), "No outgoing connections to delete...");
    EXPECT_TRUE(m_prompter.m_questions.empty());
    EXPECT_EQ(RemoveModuleOutgoingConnections(m_doc, 0), ECmd::Unavailable);
    EXPECT_EQ(Levels(), levels);
}

TEST_F(ModuleTest, ModuleMenuRemovesTheIncomingConnectionsOfEveryInput) {
    EXPECT_EQ(RemoveModuleIncomingConnections(m_doc, m_upstream->m_id), ECmd::Unavailable);  // no inputs
    for (const char* name : {"a", "b", "c"}) {
        CNetworkInput* in = m_module->CreateInput(name);
        ASSERT_NE(in, nullptr);
        if (std::string(name) == "b") continue;  // one input without a source
        CNetworkOutput* out = m_upstream->CreateOutput(name);
        ASSERT_NE(out, nullptr);
        ASSERT_NE(Sys().ConnectModules(*m_upstream, *m_module, out, in), nullptr);
    }
    const size_t levels = Levels();
    Answer({EAnswer::No});
    EXPECT_EQ(RemoveModuleIncomingConnections(m_doc, m_module->m_id), ECmd::Cancelled);
    EXPECT_EQ(Sys().m_moduleConnections.Size(), 2u);
    EXPECT_EQ(Levels(), levels);
    Answer({EAnswer::Yes});
    EXPECT_EQ(RemoveModuleIncomingConnections(m_doc, m_module->m_id), ECmd::Done);
    EXPECT_EQ(LastQuestion(),
              "Are you sure you want to remove the incoming connection to the selected input(s)?");
    EXPECT_EQ(Levels(), levels + 1);
    EXPECT_TRUE(Sys().m_moduleConnections.Empty());
    for (const CNetworkInput* in : m_module->m_inputs) EXPECT_FALSE(in->HasSource()) << in->m_name;
    EXPECT_EQ(m_module->m_inputs.Size(), 3u);
}

TEST_F(ModuleTest, RemoveInternalOutputConnectionKeepsTheComponentOutput) {
    ASSERT_EQ(AddModuleOutput(m_doc), ECmd::Done);
    CNetworkOutput* out = m_module->m_outputs.Head();
    Ed().SelectModuleOutput(m_module->m_id, out->m_id);
    Answer({});
    EXPECT_EQ(RemoveInternalOutputConnection(m_doc), ECmd::Refused);
    EXPECT_EQ(LastMessage(), "No internal connection to delete...");

    Ed().DesignModule(m_module->m_id);
    CNetworkModel* k = Add(kConstant);
    ASSERT_EQ(m_module->RequestConnectToModuleOutput(*k, k->FirstOutput(), *out), 0);
    Ed().SelectModuleOutput(m_module->m_id, out->m_id);
    Answer({EAnswer::Yes});
    EXPECT_EQ(RemoveInternalOutputConnection(m_doc), ECmd::Done);
    EXPECT_EQ(
        LastQuestion(),
        "You are about to remove the active internal connection to the output1 output of the Network 1 module. Do you wish to continue?");
    EXPECT_EQ(TopLine(), "Removed internal connection to the output1 output of the Network 1 module");
    EXPECT_FALSE(out->HasSource());
    EXPECT_TRUE(k->FirstOutput()->m_connections.Empty());
    EXPECT_EQ(k->m_outputs.Size(), 1u);
}

TEST_F(ModuleTest, AddDataConnectionMakesPortsAndConnects) {
    CDataConnectionRequest r;
    r.newInputName = "from upstream";
    r.sourceModuleId = m_upstream->m_id;
    r.newOutputName = "result";
    const size_t levels = Levels();
    EXPECT_EQ(AddDataConnection(m_doc, r), ECmd::Done);
    EXPECT_EQ(Levels(), levels + 1);
    ASSERT_EQ(m_module->m_inputs.Size(), 1u);
    EXPECT_EQ(m_module->m_inputs.Head()->m_name, "from upstream");
    EXPECT_EQ(m_upstream->m_outputs.Head()->m_name, "result");
    EXPECT_EQ(m_module->m_level, 2);

    // The same source again into the now busy input is refused and leaves no new port.
    r.inputId = m_module->m_inputs.Head()->m_id;
    r.sourceOutputId = m_upstream->m_outputs.Head()->m_id;
    const size_t outputs = m_upstream->m_outputs.Size();
    EXPECT_EQ(AddDataConnection(m_doc, r), ECmd::Refused);
    EXPECT_EQ(m_upstream->m_outputs.Size(), outputs);
    EXPECT_EQ(Levels(), levels + 1);
}

TEST_F(ModuleTest, ExecuteModuleRunsOnePassWithoutAnUndoLevel) {
    Ed().DesignModule(m_module->m_id);
    CNetworkModel* k = Add(kConstant);
    k->m_value = 7.0;
    const size_t levels = Levels();
    EXPECT_EQ(ExecuteModule(m_doc), ECmd::Done);
    EXPECT_DOUBLE_EQ(k->FirstOutput()->m_value, 7.0);
    EXPECT_EQ(Levels(), levels);
}

}  // namespace
}  // namespace zor2::test
