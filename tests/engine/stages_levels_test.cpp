// Stage order inside a module and level order among modules, including gaps
// and the cycles only a damaged file can hold.
#include <gtest/gtest.h>

#include "support/scripted_prompter.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

using test::Drop;
using test::DropConstant;

class Stages : public ::testing::Test {
  protected:
    void SetUp() override {
        system.SetRandom(&random);
        system.SetPrompter(&prompter);
        module = system.CreateModule("Network 1", 0, 0);
    }
    CLcgRandom random{5};
    test::CScriptedPrompter prompter;
    CSystem system;
    CNetwork* module = nullptr;
};

TEST_F(Stages, ChainsFanInAndFeedbackSources) {
    CNetworkModel* k1 = DropConstant(*module, 1);
    CNetworkModel* k2 = DropConstant(*module, 2);
    CNetworkModel* add = Drop(*module, 21);
    CNetworkModel* neg = Drop(*module, 88);
    CNetworkModel* fb = Drop(*module, 56);
    CNetworkModel* afterFb = Drop(*module, 21);
    ASSERT_EQ(module->RequestConnect(*k1, k1->FirstOutput(), *add, nullptr), 0);
    ASSERT_EQ(module->RequestConnect(*k2, k2->FirstOutput(), *add, nullptr), 0);
    ASSERT_EQ(module->RequestConnect(*add, add->FirstOutput(), *neg, neg->FirstInput()), 0);
    ASSERT_EQ(module->RequestConnect(*neg, neg->FirstOutput(), *fb, fb->FirstInput()), 0);
    ASSERT_EQ(module->RequestConnect(*fb, fb->FirstOutput(), *afterFb, nullptr), 0);
    struct Case {
        CNetworkModel* c;
        int32_t stage;
    } cases[] = {{k1, 1}, {k2, 1}, {add, 2}, {neg, 3}, {fb, 0}, {afterFb, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.c->m_name);
        EXPECT_EQ(c.c->m_stage, c.stage);
    }
}

TEST_F(Stages, LoopThroughFeedbackIsAcceptedLoopWithoutIsRefused) {
    CNetworkModel* a = Drop(*module, 21);
    CNetworkModel* fb = Drop(*module, 56);
    CNetworkModel* b = Drop(*module, 21);
    ASSERT_EQ(module->RequestConnect(*a, a->FirstOutput(), *fb, fb->FirstInput()), 0);
    ASSERT_EQ(module->RequestConnect(*fb, fb->FirstOutput(), *b, nullptr), 0);
    EXPECT_EQ(module->RequestConnect(*b, b->FirstOutput(), *a, nullptr), 0);
    CNetworkModel* c = Drop(*module, 21);
    CNetworkModel* d = Drop(*module, 21);
    ASSERT_EQ(module->RequestConnect(*c, c->FirstOutput(), *d, nullptr), 0);
    EXPECT_EQ(module->RequestConnect(*d, d->FirstOutput(), *c, nullptr), kRefuseCircular);
}

TEST_F(Stages, GapsAfterDeletionStillRunInOrder) {
    CNetworkModel* k = DropConstant(*module, 3);
    CNetworkModel* mid = Drop(*module, 88);
    CNetworkModel* last = Drop(*module, 88);
    ASSERT_EQ(module->RequestConnect(*k, k->FirstOutput(), *mid, mid->FirstInput()), 0);
    ASSERT_EQ(module->RequestConnect(*mid, mid->FirstOutput(), *last, last->FirstInput()), 0);
    // Wire the constant to the last one as well, then drop the middle one: stage 3 stays with a gap at 2.
    last->m_maxInputs = -1;
    ASSERT_EQ(module->RequestConnect(*k, k->FirstOutput(), *last, nullptr), 0);
    module->DeleteComponent(mid);
    EXPECT_EQ(last->m_stage, 3);
    module->ExecuteModule();
    EXPECT_EQ(last->FirstOutput()->m_value, 0.0);  // its first input lost its source and reads 0
    module->ComputeStages();
    EXPECT_EQ(last->m_stage, 2);
}

TEST_F(Stages, DamagedCycleStopsAndDoesNotRun) {
    CNetworkModel* k = DropConstant(*module, 1);
    CNetworkModel* a = Drop(*module, 21);
    CNetworkModel* b = Drop(*module, 21);
    // Only a damaged file holds such a loop: wire it without the rules.
    ASSERT_NE(module->ConnectOutputToInput(*a->FirstOutput(), *b->AddInput(0)), nullptr);
    ASSERT_NE(module->ConnectOutputToInput(*b->FirstOutput(), *a->AddInput(0)), nullptr);
    module->ComputeStages();
    EXPECT_EQ(k->m_stage, 1);
    EXPECT_EQ(a->m_stage, 0);
    EXPECT_EQ(b->m_stage, 0);
    module->ExecuteModule();  // must return
    EXPECT_EQ(k->FirstOutput()->m_value, 1.0);
}

TEST_F(Stages, UpstreamSearchIsBoundedOnWideFanIn) {
    // A component fed by 100 sources counts as upstream of everything.
    CNetworkModel* sink = Drop(*module, 21);
    for (int i = 0; i < 100; ++i) {
        CNetworkModel* k = module->CreateComponent(41, 0, "k", 0, 0);
        AddTemplatePorts(*k);
        ASSERT_NE(module->ConnectOutputToInput(*k->FirstOutput(), *sink->AddInput(0)), nullptr);
    }
    CNetworkModel* unrelated = Drop(*module, 21);
    EXPECT_TRUE(module->IsUpstream(unrelated, sink));
}

TEST_F(Stages, UpstreamSearchOnDeepDiamondsIsFast) {
    // 60 layers of diamonds would take 2^60 steps without memory of cleared components.
    CNetworkModel* prevA = Drop(*module, 21);
    CNetworkModel* prevB = Drop(*module, 21);
    for (int i = 0; i < 60; ++i) {
        CNetworkModel* a = module->CreateComponent(21, 0, "a", 0, 0);
        CNetworkModel* b = module->CreateComponent(21, 0, "b", 0, 0);
        AddTemplatePorts(*a);
        AddTemplatePorts(*b);
        for (CNetworkModel* dst : {a, b})
            for (CNetworkModel* src : {prevA, prevB})
                ASSERT_NE(module->ConnectOutputToInput(*src->FirstOutput(), *dst->AddInput(0)), nullptr);
        prevA = a;
        prevB = b;
    }
    CNetworkModel* stranger = Drop(*module, 21);
    EXPECT_FALSE(module->IsUpstream(stranger, prevA));
}

// --- levels ---------------------------------------------------------------

TEST(Levels, FanInAndSystemInputsAndEmptySystem) {
    CLcgRandom random(9);
    CSystem system;
    system.SetRandom(&random);
    system.ComputeLevels();
    EXPECT_EQ(system.m_highestLevel, 0);
    CNetwork* a = system.CreateModule("A", 0, 0);
    CNetwork* b = system.CreateModule("B", 0, 0);
    CNetwork* c = system.CreateModule("C", 0, 0);
    CNetwork* d = system.CreateModule("D", 0, 0);
    CExternalInput* p = system.CreateSystemInput("p", 1);
    ASSERT_NE(system.ConnectSystemInput(*p, *a), nullptr);
    ASSERT_NE(system.ConnectModules(*a, *c), nullptr);
    ASSERT_NE(system.ConnectModules(*b, *c), nullptr);
    ASSERT_NE(system.ConnectModules(*c, *d), nullptr);
    ASSERT_NE(system.ConnectModules(*a, *d), nullptr);
    EXPECT_EQ(a->m_level, 1);
    EXPECT_EQ(b->m_level, 1);
    EXPECT_EQ(c->m_level, 2);
    EXPECT_EQ(d->m_level, 3);
    EXPECT_EQ(system.m_highestLevel, 3);
}

TEST(Levels, DamagedModuleCycleStops) {
    CSystem system;
    CNetwork* a = system.CreateModule("A", 0, 0);
    CNetwork* b = system.CreateModule("B", 0, 0);
    ASSERT_NE(system.ConnectModules(*a, *b), nullptr);
    // Close the loop by hand, as a damaged file could.
    auto loop = std::make_unique<CNetworkConnection>();
    CNetworkInput* in = a->CreateInput("back");
    loop->m_id = 77;
    loop->m_srcModule = b;
    loop->m_dstModule = a;
    loop->m_srcOutput = b->CreateOutput("o");
    loop->m_dstInput = in;
    in->m_sourceNetConnection = loop.get();
    in->m_sourceKind = kSourceModuleOutput;
    system.m_moduleConnections.Append(std::move(loop));
    system.ComputeLevels();
    EXPECT_EQ(a->m_level, 0);
    EXPECT_EQ(b->m_level, 0);
    system.RunCycle();  // must return; neither module runs
    EXPECT_EQ(system.m_cycleCount, 1);
}

TEST(Levels, ModuleConnectionRefusals) {
    test::CScriptedPrompter prompter;
    CSystem system;
    system.SetPrompter(&prompter);
    CNetwork* a = system.CreateModule("A", 0, 0);
    CNetwork* b = system.CreateModule("B", 0, 0);
    CNetwork* c = system.CreateModule("C", 0, 0);
    EXPECT_EQ(system.ConnectModules(*a, *a), nullptr);
    ASSERT_NE(system.ConnectModules(*a, *b), nullptr);
    ASSERT_NE(system.ConnectModules(*b, *c), nullptr);
    EXPECT_EQ(system.ConnectModules(*c, *a), nullptr);
    ASSERT_EQ(prompter.m_messages.size(), 1u);
    EXPECT_EQ(
        prompter.m_messages[0],
        "Circular dependency: Cannot connect module output to input of module upstream in execution sequencing.");
    // An existing module output that already feeds the module.
    CNetworkOutput* out = b->m_inputs.Head() ? a->m_outputs.Head() : nullptr;
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(system.ConnectModules(*a, *b, out), nullptr);
    EXPECT_EQ(
        system.Feedback().build.Top(),
        "The (B) module already receives input from the (out) output of the (A) module. A duplicate connection from this output will not be not made. You can add a new connection by dragging directly from the module object itself. ");
    // A module input that already has a source.
    EXPECT_EQ(system.ConnectModules(*a, *b, nullptr, b->m_inputs.Head()), nullptr);
    EXPECT_EQ(
        system.Feedback().build.Top(),
        "Connection Not allowed: This module input already receives input from another node. No new connection made.");
    EXPECT_EQ(system.m_moduleConnections.Size(), 2u);
}

TEST(Levels, SystemPortConnectionsAndRefusals) {
    test::CScriptedPrompter prompter;
    CSystem system;
    system.SetPrompter(&prompter);
    CNetwork* a = system.CreateModule("A", 0, 0);
    CExternalInput* p = system.CreateSystemInput("Speed", 1);
    CExternalOutput* q = system.CreateSystemOutput("Result", 1);
    ASSERT_NE(system.ConnectSystemInput(*p, *a), nullptr);
    EXPECT_EQ(a->m_inputs.Head()->m_name, "Ext: Speed");
    EXPECT_EQ(system.Feedback().build.Top(), "Added connection from system input Speed to system module: A");
    EXPECT_EQ(system.ConnectSystemInput(*p, *a), nullptr);
    EXPECT_EQ(prompter.m_messages.back(), "A Module already receives input from system input: Speed.");
    ASSERT_NE(system.ConnectSystemOutput(*a, *q), nullptr);
    EXPECT_EQ(q->m_connectionId, q->m_id);
    EXPECT_EQ(a->m_outputs.Head()->m_name, "Ext: Result");
    EXPECT_EQ(system.Feedback().build.Top(),
              "Added connection from system module: A to system output Result");
    EXPECT_EQ(system.ConnectSystemOutput(*a, *q), nullptr);
    EXPECT_EQ(
        prompter.m_messages.back(),
        "This External Output is already connected to a System Module. You must remove this connection first before making this connection.");
    CExternalOutput* dropped = system.DropNewSystemOutput(*a);
    ASSERT_NE(dropped, nullptr);
    EXPECT_EQ(system.Feedback().build.Top(),
              "Added connection from system module A to system output: New output");
    CExternalInput* droppedIn = system.DropNewSystemInput(*a);
    ASSERT_NE(droppedIn, nullptr);
    EXPECT_EQ(droppedIn->m_name, "New input");
    EXPECT_EQ(droppedIn->m_kind, 1);
    EXPECT_EQ(system.m_inputCategories.Find(100)->m_members.Size(), 2u);
}

// A module whose every port id is taken cannot receive a dropped system port:
// the drop is refused and leaves no stray system input or output behind.
TEST(Levels, DropOnAModuleWithoutFreePortIdsLeavesNothing) {
    CSystem system;
    CNetwork* a = system.CreateModule("A", 0, 0);
    for (int32_t id = 1; id <= kMaxDrawnId; ++id) {
        auto in = std::make_unique<CNetworkInput>();
        in->m_id = id;
        a->m_inputs.Append(std::move(in));
        auto out = std::make_unique<CNetworkOutput>();
        out->m_id = id;
        a->m_outputs.Append(std::move(out));
    }
    EXPECT_EQ(system.DropNewSystemInput(*a), nullptr);
    EXPECT_EQ(system.DropNewSystemOutput(*a), nullptr);
    EXPECT_TRUE(system.m_inputs.Empty());
    EXPECT_TRUE(system.m_outputs.Empty());
    for (const CExternalInputCategory* c : system.m_inputCategories) EXPECT_TRUE(c->m_members.Empty());
    for (const CExternalOutputCategory* c : system.m_outputCategories) EXPECT_TRUE(c->m_members.Empty());
}

TEST(Levels, RemovingModuleConnections) {
    CSystem system;
    CNetwork* a = system.CreateModule("A", 0, 0);
    CNetwork* b = system.CreateModule("B", 0, 0);
    CExternalInput* p = system.CreateSystemInput("p", 1);
    CExternalOutput* q = system.CreateSystemOutput("q", 1);
    ASSERT_NE(system.ConnectSystemInput(*p, *a), nullptr);
    ASSERT_NE(system.ConnectModules(*a, *b), nullptr);
    ASSERT_NE(system.ConnectSystemOutput(*a, *q, a->m_outputs.Head()), nullptr);
    system.RemoveModuleOutputTargets(*a);
    EXPECT_EQ(system.m_moduleConnections.Size(), 0u);
    EXPECT_EQ(b->m_inputs.Head()->m_name, "open");
    EXPECT_FALSE(b->m_inputs.Head()->HasSource());
    EXPECT_EQ(q->m_connection, nullptr);
    EXPECT_EQ(q->m_connectionId, 0);
    system.RemoveModuleInputSources(*a);
    EXPECT_EQ(p->m_connections.Size(), 0u);
    EXPECT_EQ(a->m_inputs.Head()->m_name, "open");
    EXPECT_EQ(b->m_level, 1);
}

TEST(Levels, CategoriesDefaultFindAndAssign) {
    CSystem system;
    ASSERT_EQ(system.m_inputCategories.Size(), 1u);
    ASSERT_EQ(system.m_outputCategories.Size(), 1u);
    CExternalInputCategory* def = system.m_inputCategories.Head();
    EXPECT_EQ(def->m_id, 100);
    EXPECT_EQ(def->m_name, "Default Category");
    EXPECT_TRUE(def->m_default);
    EXPECT_EQ(system.m_outputCategories.Head()->m_name, "Default Category");
    CExternalInputCategory* sensors = system.CreateInputCategory("Sensors");
    EXPECT_EQ(system.FindInputCategory("SENSORS"), sensors);
    EXPECT_EQ(system.FindInputCategory("nothing"), nullptr);
    CExternalInput* p = system.CreateSystemInput("p", 1);
    EXPECT_TRUE(def->m_members.Contains(p));
    system.AssignCategory(*p, *sensors);
    EXPECT_FALSE(def->m_members.Contains(p));
    EXPECT_TRUE(sensors->m_members.Contains(p));
    EXPECT_EQ(p->m_categoryId, sensors->m_id);
}

}  // namespace
}  // namespace zor2
