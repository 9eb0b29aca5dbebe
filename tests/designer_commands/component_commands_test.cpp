// Component-level commands: deletion paths, removable inputs, disconnecting,
// deleting and exposing ports, charts and value windows, graphics.
#include "doc_fixture.h"

namespace zor2::test {
namespace {

class ComponentTest : public DocTest {
  protected:
    ComponentTest() { m_module = DesignNewModule(); }
    CNetwork* m_module = nullptr;
};

TEST_F(ComponentTest, DeleteComponentAsksByConnections) {
    struct Case {
        const char* name;
        bool connected;
        EAnswer answer;
        std::string question;
        bool deleted;
    };
    const std::string plain = "Are you sure you want to delete the [M2 Add Input Values] component?";
    const std::string wired =
        "The [M2 Add Input Values] component has existing connections to other elements within this module. These connections will be deleted also. Do you want to continue?";
    const Case cases[] = {
        {"plain yes", false, EAnswer::Yes, plain, true},
        {"plain no", false, EAnswer::No, plain, false},
        {"connected yes", true, EAnswer::Yes, wired, true},
        {"connected no", true, EAnswer::No, wired, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_doc.SetModified(false);
        ASSERT_TRUE(m_doc.NewProject());
        CNetwork* m = DesignNewModule();
        CNetworkModel* k = Add(kConstant);
        CNetworkModel* add = Add(kAdd);
        if (c.connected) Wire(*k, *add);
        Select(add);
        const size_t levels = Levels();
        Answer({c.answer});
        EXPECT_EQ(DeleteComponent(m_doc), c.deleted ? ECmd::Done : ECmd::Cancelled);
        EXPECT_EQ(LastQuestion(), c.question);
        EXPECT_EQ(m->m_components.Size(), c.deleted ? 1u : 2u);
        EXPECT_EQ(Levels(), levels + (c.deleted ? 1 : 0));
        if (c.deleted) {
            EXPECT_EQ(TopLine(), "Deleted [M2 Add Input Values] component in system module [Network 1].");
            EXPECT_TRUE(k->FirstOutput()->m_connections.Empty());
            EXPECT_TRUE(Ed().m_components.empty());
        }
    }
}

TEST_F(ComponentTest, DeleteAllInputsKeepsTemplateInputs) {
    CNetworkModel* k = Add(kConstant);
    CNetworkModel* cmp = Add(kCompareToInput);
    ASSERT_EQ(cmp->m_inputs.Size(), 1u);
    Select(cmp);
    const size_t levels = Levels();
    Answer({});
    EXPECT_EQ(DeleteAllInputs(m_doc), ECmd::Refused);
    EXPECT_EQ(LastMessage(),
              "Component: M2 Compare to Input (=) does not curently have any removeable inputs.");
    EXPECT_TRUE(m_prompter.m_questions.empty());
    EXPECT_EQ(Levels(), levels);

    Wire(*k, *cmp);
    ASSERT_EQ(AddComponentInput(m_doc), ECmd::Done);
    ASSERT_EQ(cmp->m_inputs.Size(), 3u);
    Answer({EAnswer::No});
    EXPECT_EQ(DeleteAllInputs(m_doc), ECmd::Cancelled);
    EXPECT_EQ(
        LastQuestion(),
        "Are you sure you want to delete 2 inputs from component: M2 Compare to Input (=)? (template based inputs will be retained)");
    Answer({EAnswer::Yes});
    m_link.m_sent.clear();
    EXPECT_EQ(DeleteAllInputs(m_doc), ECmd::Done);
    EXPECT_EQ(TopLine(), "Disconnected and deleted all inputs to component: M2 Compare to Input (=)");
    ASSERT_EQ(cmp->m_inputs.Size(), 1u);
    EXPECT_TRUE(cmp->FirstInput()->m_template);
    EXPECT_EQ(cmp->FirstInput()->m_name, "CompareVal");
    EXPECT_TRUE(k->FirstOutput()->m_connections.Empty());
    EXPECT_EQ(m_link.m_sent.size(), 1u);
}

TEST_F(ComponentTest, RemoveAllConnectionsAsksWithTheCountsAndKeepsPorts) {
    CNetworkModel* k = Add(kConstant);
    CNetworkModel* mid = Add(kAdd);
    CNetworkModel* end = Add(kAdd);
    CNetworkModel* k2 = Add(kConstant);
    Wire(*k, *mid);
    Wire(*mid, *end);
    Wire(*k2, *end);
    struct Case {
        CNetworkModel* component;
        std::string question;
    };
    const Case cases[] = {
        {k2, "Are you sure you want to remove the 1 output connections of the 'M4 Constant (k)' component?"},
        {mid,
         "Are you sure you want to remove the 1 input and 1 output connections of the 'M2 Add Input Values' component?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.component->m_name);
        Select(c.component);
        const size_t inputs = c.component->m_inputs.Size(), outputs = c.component->m_outputs.Size();
        Answer({EAnswer::Yes});
        EXPECT_EQ(RemoveAllConnections(m_doc), ECmd::Done);
        EXPECT_EQ(LastQuestion(), c.question);
        EXPECT_EQ(c.component->m_inputs.Size(), inputs);
        EXPECT_EQ(c.component->m_outputs.Size(), outputs);
        for (CModelInput* in : c.component->m_inputs) EXPECT_FALSE(in->HasSource());
        EXPECT_EQ(c.component->CountConnectionsOut(), 0);
    }
    Select(end);
    EXPECT_EQ(RemoveAllConnections(m_doc), ECmd::Unavailable);
}

TEST_F(ComponentTest, OneSidedRemovalLeavesTheOtherSide) {
    CNetworkModel* k = Add(kConstant);
    CNetworkModel* mid = Add(kAdd);
    CNetworkModel* end = Add(kAdd);
    Wire(*k, *mid);
    Wire(*mid, *end);
    Select(mid);
    Answer({EAnswer::Yes});
    EXPECT_EQ(RemoveOutputConnections(m_doc), ECmd::Done);
    EXPECT_EQ(
        LastQuestion(),
        "Are you sure you want to remove the 1 output connections of the 'M2 Add Input Values' component?");
    EXPECT_EQ(mid->CountConnectionsOut(), 0);
    EXPECT_TRUE(mid->FirstInput()->HasSource());
    EXPECT_EQ(RemoveOutputConnections(m_doc), ECmd::Unavailable);
    Answer({EAnswer::Yes});
    EXPECT_EQ(RemoveInputConnections(m_doc), ECmd::Done);
    EXPECT_FALSE(mid->FirstInput()->HasSource());
    EXPECT_TRUE(k->FirstOutput()->m_connections.Empty());
}

TEST_F(ComponentTest, DisconnectInputTextsAndLine) {
    CNetworkModel* k = Add(kConstant);
    CNetworkModel* add = Add(kAdd);
    CModelInput* in = Wire(*k, *add);
    ASSERT_NE(in, nullptr);
    const std::string name = in->m_name;
    Ed().SelectComponentInput(add->m_id, in->m_id);
    Answer({EAnswer::Yes});
    EXPECT_EQ(DisconnectComponentInput(m_doc), ECmd::Done);
    EXPECT_EQ(LastQuestion(), "Are you sure you want to remove the " + name +
                                  " input connection from component: M2 Add Input Values?");
    EXPECT_EQ(TopLine(), "Removed 1 connections to the " + name + " input on component: M2 Add Input Values");
    EXPECT_FALSE(in->HasSource());
    Answer({});
    EXPECT_EQ(DisconnectComponentInput(m_doc), ECmd::Refused);
    EXPECT_EQ(LastMessage(),
              "Component: M2 Add Input Values does not curently have any removeable input connections.");
}

TEST_F(ComponentTest, DeleteComponentInputNamesItsSource) {
    CNetworkModel* k = Add(kConstant);
    CNetworkModel* add = Add(kAdd);
    CModelInput* fromComponent = Wire(*k, *add);
    ASSERT_EQ(AddModuleInput(m_doc, "ext"), ECmd::Done);
    CModelConnection* made = nullptr;
    ASSERT_EQ(m_module->RequestConnectModuleInput(*m_module->m_inputs.Head(), *add, nullptr, &made), 0);
    CModelInput* fromModule = made->m_dstInput;
    struct Case {
        CModelInput* input;
        std::string question;
    };
    const Case cases[] = {
        {fromComponent,
         "This component input currently receives data from the M1 Constant (k) component. This connection will be also be removed. Are you sure you want to delete this component input?"},
        {fromModule,
         "This component input currently receives data from the ext module input. This connection will be also be removed. Are you sure you want to delete this component input?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question);
        const int32_t id = c.input->m_id;
        Ed().SelectComponentInput(add->m_id, id);
        Answer({EAnswer::Yes});
        EXPECT_EQ(DeleteComponentInput(m_doc), ECmd::Done);
        EXPECT_EQ(LastQuestion(), c.question);
        EXPECT_EQ(add->FindInput(id), nullptr);
    }
    EXPECT_TRUE(k->FirstOutput()->m_connections.Empty());
    EXPECT_TRUE(m_module->m_inputs.Head()->m_connections.Empty());
}

TEST_F(ComponentTest, DeleteComponentOutputOnlyForAddedOutputs) {
    CNetworkModel* k = Add(kConstant);
    CNetworkModel* add = Add(kAdd);
    Ed().SelectComponentOutput(k->m_id, k->FirstOutput()->m_id);
    EXPECT_EQ(DeleteComponentOutput(m_doc), ECmd::Refused);  // the template output stays
    EXPECT_EQ(m_prompter.m_beeps, 1);
    Select(k);
    EXPECT_EQ(AddComponentOutput(m_doc), ECmd::Refused);  // a Constant has one output at most
    EXPECT_EQ(m_prompter.m_beeps, 2);

    // User outputs of types that allow them; made directly here.
    CModelOutput* wired = k->AddOutput(0);
    wired->m_name = "wired";
    CModelOutput* spare = k->AddOutput(0);
    spare->m_name = "spare";
    ASSERT_EQ(m_module->RequestConnect(*k, wired, *add, nullptr), 0);
    struct Case {
        CModelOutput* output;
        std::string question;
        std::string line;  // empty: none written
    };
    const Case cases[] = {
        {wired,
         "The [wired] component output has 1 existing connections. These connections will be deleted also. Do you want to continue?",
         ""},
        {spare, "About to delete the [spare] component output. Do you want to continue?",
         "Deleted the spare component output which had (0) connections."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question);
        const int32_t id = c.output->m_id;
        const std::string before = TopLine();
        const size_t levels = Levels();
        Ed().SelectComponentOutput(k->m_id, id);
        Answer({EAnswer::Yes});
        EXPECT_EQ(DeleteComponentOutput(m_doc), ECmd::Done);
        EXPECT_EQ(LastQuestion(), c.question);
        EXPECT_EQ(TopLine(), c.line.empty() ? before : c.line);
        EXPECT_EQ(k->FindOutput(id), nullptr);
        EXPECT_EQ(Levels(), levels + 1);
    }
    for (CModelInput* in : add->m_inputs) EXPECT_FALSE(in->HasSource());
    EXPECT_EQ(k->m_outputs.Size(), 1u);
}

TEST_F(ComponentTest, ExposeInputRefusedWhenConnected) {
    CNetworkModel* k = Add(kConstant);
    CNetworkModel* add = Add(kAdd);
    CModelInput* in = Wire(*k, *add);
    Ed().SelectComponentInput(add->m_id, in->m_id);
    const size_t levels = Levels();
    Answer({});
    EXPECT_EQ(ExposeComponentInput(m_doc), ECmd::Refused);
    EXPECT_EQ(LastMessage(),
              "Cannot expose externally, as this input is already connected to a given data source.");
    EXPECT_EQ(Levels(), levels);
    EXPECT_TRUE(m_module->m_inputs.Empty());
}

TEST_F(ComponentTest, ExposeInputAndAllInputs) {
    CNetworkModel* cmp = Add(kCompareToInput);
    Ed().SelectComponentInput(cmp->m_id, cmp->FirstInput()->m_id);
    const size_t levels = Levels();
    EXPECT_EQ(ExposeComponentInput(m_doc), ECmd::Done);
    EXPECT_EQ(TopLine(), "Exposed 1 input for component: M1 Compare to Input (=)");
    EXPECT_EQ(Levels(), levels + 1);
    ASSERT_EQ(m_module->m_inputs.Size(), 1u);
    EXPECT_EQ(m_module->m_inputs.Head()->m_name, "CompareVal");
    EXPECT_EQ(cmp->FirstInput()->m_sourceKind, kSourceModuleInput);

    Select(cmp);
    EXPECT_EQ(ExposeAllComponentInputs(m_doc), ECmd::Unavailable);  // nothing left unconnected
    ASSERT_EQ(AddComponentInput(m_doc), ECmd::Done);
    ASSERT_EQ(AddComponentInput(m_doc), ECmd::Done);
    EXPECT_EQ(ExposeAllComponentInputs(m_doc), ECmd::Done);
    EXPECT_EQ(TopLine(), "Exposed 2 input(s) for component: M1 Compare to Input (=)");
    EXPECT_EQ(m_module->m_inputs.Size(), 3u);
}

TEST_F(ComponentTest, ExposeOutputs) {
    CNetworkModel* cmp = Add(kCompareToInput);
    Ed().SelectComponentOutput(cmp->m_id, cmp->FirstOutput()->m_id);
    EXPECT_EQ(ExposeComponentOutput(m_doc), ECmd::Done);
    EXPECT_EQ(TopLine(), "Exposed " + cmp->FirstOutput()->m_name +
                             " output connection for component: M1 Compare to Input (=)");
    ASSERT_EQ(m_module->m_outputs.Size(), 1u);
    EXPECT_EQ(m_module->m_outputs.Head()->SourceOutput(), cmp->FirstOutput());
    Select(cmp);
    EXPECT_EQ(ExposeAllComponentOutputs(m_doc), ECmd::Done);
    EXPECT_EQ(TopLine(), Fmt("Exposed %d output connections for component: M1 Compare to Input (=)",
                             static_cast<int>(cmp->m_outputs.Size())));
    EXPECT_EQ(m_module->m_outputs.Size(), 1u + cmp->m_outputs.Size());
}

TEST_F(ComponentTest, ChartsAndValueWindowsGoWithTheirComponent) {
    CNetworkModel* k = Add(kConstant);
    Ed().SelectComponentOutput(k->m_id, k->FirstOutput()->m_id);
    EXPECT_EQ(ShowChart(m_doc), ECmd::Done);
    EXPECT_EQ(TopLine(), "Added chart visibility to the [Constant] output from component [M1 Constant (k)].");
    EXPECT_EQ(ShowValueWindow(m_doc), ECmd::Done);
    EXPECT_EQ(TopLine(),
              "Added data value visibility to the [Constant] output from component [M1 Constant (k)].");
    Select(k);
    Answer({EAnswer::Yes});
    EXPECT_EQ(DeleteComponent(m_doc), ECmd::Done);
    EXPECT_TRUE(Sys().m_charts.m_charts.Empty());
    EXPECT_TRUE(Sys().m_valueWindows.m_windows.Empty());
}

TEST_F(ComponentTest, DeleteSelectedItemsWritesOneLinePerKindAndOneUndoLevel) {
    CNetworkModel* a = Add(kConstant);
    CNetworkModel* b = Add(kConstant);
    Ed().SelectComponentOutput(a->m_id, a->FirstOutput()->m_id);
    ASSERT_EQ(ShowChart(m_doc), ECmd::Done);
    Ed().SelectComponents({a->m_id, b->m_id});
    Ed().m_charts = {Sys().m_charts.m_charts.Head()->m_id};
    const size_t levels = Levels();
    Answer({EAnswer::Yes});
    EXPECT_EQ(DeleteSelectedItems(m_doc), ECmd::Done);
    EXPECT_EQ(LastQuestion(), "Are you sure you want to delete the currently selected items?");
    EXPECT_EQ(Levels(), levels + 1);
    EXPECT_TRUE(m_module->m_components.Empty());
    EXPECT_EQ(Sys().Feedback().build.Line(0), "Deleted 2 components from Network 1 system module");
    EXPECT_EQ(Sys().Feedback().build.Line(1), "Deleted chart from system module");
}

TEST_F(ComponentTest, GraphicsHoldAndReleaseComponents) {
    CNetworkModel* a = Add(kConstant, 100, 100);
    ASSERT_EQ(AddGraphic(m_doc, 0, 0), ECmd::Done);
    CGraphic* g = Sys().m_graphics.m_graphics.Head();
    g->m_rect = {0, 0, 400, 400};
    EXPECT_EQ(ConsolidateComponents(m_doc, g->m_id), ECmd::Done);
    EXPECT_EQ(TopLine(), "Consolidated 1 component(s) in graphic element in system module [Network 1].");
    EXPECT_EQ(a->m_graphic, g);
    Answer({EAnswer::No});
    EXPECT_EQ(ReleaseComponents(m_doc, g->m_id), ECmd::Cancelled);
    EXPECT_EQ(
        LastQuestion(),
        "This graphic has 1 consolidated component inside. Internal component(s) will be released and remain with all connections unaffected in their original positions. Do you want to continue?");
    Answer({EAnswer::Yes});
    EXPECT_EQ(DeleteGraphic(m_doc, g->m_id), ECmd::Done);
    EXPECT_EQ(
        TopLine(),
        "Deleted graphic element in system module [Network 1] and released 1 consolidated component(s).");
    EXPECT_EQ(a->m_graphic, nullptr);
    EXPECT_TRUE(Sys().m_graphics.m_graphics.Empty());
}

TEST_F(ComponentTest, PropertyChangesAskOnlyWhenOutputsAreConnected) {
    CNetworkModel* k = Add(kConstant);
    CNetworkModel* add = Add(kAdd);
    Answer({});
    EXPECT_TRUE(ConfirmSegmentOutputsChange(m_doc, *k));
    EXPECT_TRUE(m_prompter.m_questions.empty());
    Wire(*k, *add);
    Answer({EAnswer::No, EAnswer::Yes});
    EXPECT_FALSE(ConfirmSegmentOutputsChange(m_doc, *k));
    EXPECT_EQ(
        LastQuestion(),
        "This component has 1 existing output connections. If you modify the number of segment outputs, these connections will be deleted. You will need to manually reconnect them after the new segmentation is made. Do you wish to continue?");
    EXPECT_TRUE(ConfirmDataSourceChange(m_doc, *k));
    EXPECT_EQ(
        LastQuestion(),
        "This component has 1 existing output connections. If you change the data source, these connections and outputs will be deleted. You will need to manually reconnect them after the new segmentation is made. Do you wish to continue?");
}

TEST_F(ComponentTest, PropertiesRefusedWhileRunning) {
    CNetworkModel* k = Add(kConstant);
    Select(k);
    EXPECT_TRUE(CanEditComponentProperties(m_doc));
    Sys().m_running = true;
    EXPECT_FALSE(CanEditComponentProperties(m_doc));
    EXPECT_EQ(LastMessage(),
              "Please stop the simulator before modifying component properties via the dialog interface.");
}

}  // namespace
}  // namespace zor2::test
