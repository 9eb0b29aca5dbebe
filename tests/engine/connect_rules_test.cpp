// Connect requests inside a module: every refusal code from a real request,
// with its message on top of the build feedback, a beep and no change.
#include <gtest/gtest.h>

#include "support/scripted_prompter.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

using test::Drop;
using test::DropConstant;

class ConnectRules : public ::testing::Test {
  protected:
    void SetUp() override {
        system.SetRandom(&random);
        system.SetPrompter(&prompter);
        module = system.CreateModule("Network 1", 0, 0);
    }

    /// Counts every connection and port of the module, to prove a refusal changed nothing.
    size_t Footprint() const {
        size_t n = module->m_inputs.Size() + module->m_outputs.Size();
        for (CNetworkModel* c : module->m_components) {
            n += c->m_inputs.Size() * 1000 + c->m_outputs.Size() * 100;
            for (CModelOutput* o : c->m_outputs) n += o->m_connections.Size() * 10;
        }
        for (CNetworkInput* m : module->m_inputs) n += m->m_connections.Size() * 7;
        return n;
    }

    void ExpectRefused(int32_t code, int32_t got, size_t footprintBefore) {
        EXPECT_EQ(got, code);
        EXPECT_EQ(system.Feedback().build.Top(), RefusalMessage(code));
        EXPECT_EQ(prompter.m_beeps, 1);
        EXPECT_EQ(Footprint(), footprintBefore);
    }

    CLcgRandom random{11};
    test::CScriptedPrompter prompter;
    CSystem system;
    CNetwork* module = nullptr;
};

TEST_F(ConnectRules, SenderFull100) {
    CNetworkModel* k = DropConstant(*module, 1);  // at most one output, which exists
    CNetworkModel* add = Drop(*module, 21);
    const size_t before = Footprint();
    ExpectRefused(kRefuseSenderFull, module->RequestConnect(*k, nullptr, *add, nullptr), before);
}

TEST_F(ConnectRules, ReceiverFull200) {
    CNetworkModel* k = DropConstant(*module, 1);
    CNetworkModel* divide = Drop(*module, 24);  // two template inputs of two allowed
    const size_t before = Footprint();
    ExpectRefused(kRefuseReceiverFull, module->RequestConnect(*k, k->FirstOutput(), *divide, nullptr),
                  before);
}

TEST_F(ConnectRules, Circular300) {
    CNetworkModel* a = Drop(*module, 21);
    CNetworkModel* b = Drop(*module, 21);
    ASSERT_EQ(module->RequestConnect(*a, a->FirstOutput(), *b, nullptr), 0);
    const size_t before = Footprint();
    ExpectRefused(kRefuseCircular, module->RequestConnect(*b, b->FirstOutput(), *a, nullptr), before);
}

TEST_F(ConnectRules, CircularThroughExistingInput300) {
    CNetworkModel* a = Drop(*module, 88);
    CNetworkModel* b = Drop(*module, 21);
    ASSERT_EQ(module->RequestConnect(*a, a->FirstOutput(), *b, nullptr), 0);
    const size_t before = Footprint();
    ExpectRefused(kRefuseCircular, module->RequestConnect(*b, b->FirstOutput(), *a, a->FirstInput()), before);
}

TEST_F(ConnectRules, ComponentToItself300) {
    CNetworkModel* a = Drop(*module, 21);
    const size_t before = Footprint();
    ExpectRefused(kRefuseCircular, module->RequestConnect(*a, a->FirstOutput(), *a, nullptr), before);
}

TEST_F(ConnectRules, FeedbackToFeedback350) {
    CNetworkModel* f1 = Drop(*module, 56);
    CNetworkModel* f2 = Drop(*module, 56);
    const size_t before = Footprint();
    ExpectRefused(kRefuseFeedbackToFeedback,
                  module->RequestConnect(*f1, f1->FirstOutput(), *f2, f2->FirstInput()), before);
}

TEST_F(ConnectRules, InputBusy400) {
    CNetworkModel* k1 = DropConstant(*module, 1);
    CNetworkModel* k2 = DropConstant(*module, 2);
    CNetworkModel* divide = Drop(*module, 24);
    ASSERT_EQ(module->RequestConnect(*k1, k1->FirstOutput(), *divide, divide->FirstInput()), 0);
    const size_t before = Footprint();
    ExpectRefused(kRefuseInputBusy,
                  module->RequestConnect(*k2, k2->FirstOutput(), *divide, divide->FirstInput()), before);
}

TEST_F(ConnectRules, ModuleOutputBusy500) {
    CNetworkModel* k1 = DropConstant(*module, 1);
    CNetworkModel* k2 = DropConstant(*module, 2);
    CNetworkOutput* mo = module->CreateOutput("out");
    ASSERT_EQ(module->RequestConnectToModuleOutput(*k1, k1->FirstOutput(), *mo), 0);
    const size_t before = Footprint();
    ExpectRefused(kRefuseModuleOutputBusy, module->RequestConnectToModuleOutput(*k2, k2->FirstOutput(), *mo),
                  before);
}

TEST_F(ConnectRules, DuplicateModuleInput600) {
    CNetworkModel* add = Drop(*module, 21);
    CNetworkInput* m = module->CreateInput("in");
    ASSERT_EQ(module->RequestConnectModuleInput(*m, *add, nullptr), 0);
    const size_t before = Footprint();
    ExpectRefused(kRefuseDuplicateModuleInput, module->RequestConnectModuleInput(*m, *add, nullptr), before);
}

TEST_F(ConnectRules, DuplicateOutput800) {
    CNetworkModel* k = DropConstant(*module, 1);
    CNetworkModel* add = Drop(*module, 21);
    ASSERT_EQ(module->RequestConnect(*k, k->FirstOutput(), *add, nullptr), 0);
    const size_t before = Footprint();
    ExpectRefused(kRefuseDuplicateOutput, module->RequestConnect(*k, k->FirstOutput(), *add, nullptr),
                  before);
}

TEST_F(ConnectRules, NeedsArray900) {
    CNetworkModel* k = DropConstant(*module, 1);
    CNetworkModel* add = Drop(*module, 21);
    CModelInput* in = add->AddInput(0);
    in->m_arrayInput = true;
    const size_t before = Footprint();
    ExpectRefused(kRefuseNeedsArray, module->RequestConnect(*k, k->FirstOutput(), *add, in), before);
}

TEST_F(ConnectRules, NotArray1000FromArrayOutput) {
    CNetworkModel* k = DropConstant(*module, 1);
    k->FirstOutput()->m_dataType = kDataArray;
    CNetworkModel* divide = Drop(*module, 24);
    const size_t before = Footprint();
    ExpectRefused(kRefuseNotArray,
                  module->RequestConnect(*k, k->FirstOutput(), *divide, divide->FirstInput()), before);
}

TEST_F(ConnectRules, NotArray1000FromArrayModuleInput) {
    CNetworkModel* add = Drop(*module, 21);
    CExternalInput* p = system.CreateSystemInput("signal", 2);
    ASSERT_NE(system.ConnectSystemInput(*p, *module), nullptr);
    CNetworkInput* m = module->m_inputs.Head();
    ASSERT_TRUE(m->IsArrayFeed());
    const size_t before = Footprint();
    ExpectRefused(kRefuseNotArray, module->RequestConnectModuleInput(*m, *add, nullptr), before);
}

TEST_F(ConnectRules, ArrayCarrierMayFeedArrayInput) {
    CNetworkModel* add = Drop(*module, 21);
    CModelInput* in = add->AddInput(0);
    in->m_arrayInput = true;
    CNetworkInput* m = module->CreateInput("plain");
    EXPECT_EQ(module->CheckModuleInputToInput(*m, *add, in), kRefuseNeedsArray);
    m->m_arrayCarrier = true;
    EXPECT_EQ(module->CheckModuleInputToInput(*m, *add, in), kConnectOk);
}

TEST(ConnectMessages, ExactTexts) {
    EXPECT_STREQ(
        RefusalMessage(500),
        "Connection Not allowed: This Netowrk Output already has an active connection. Create a new network output to recieve, or remove the active connection, and try again.");
    EXPECT_STREQ(RefusalMessage(200),
                 "Connection Not allowed: Receiver has maximum input count. No connection made.");
}

// --- what a successful connect does ---------------------------------------

TEST_F(ConnectRules, LabellingOnConnectAndDisconnect) {
    CNetworkModel* k = DropConstant(*module, 1);
    CNetworkModel* add = Drop(*module, 21);
    CNetworkModel* divide = Drop(*module, 24);
    ASSERT_EQ(module->RequestConnect(*k, k->FirstOutput(), *add, nullptr), 0);
    ASSERT_EQ(module->RequestConnect(*k, k->FirstOutput(), *divide, divide->FirstInput()), 0);
    CModelInput* added = add->FirstInput();
    EXPECT_EQ(added->m_name, k->m_name);                  // a new input takes the source's name
    EXPECT_EQ(divide->FirstInput()->m_name, "Dividend");  // a template input keeps its label
    module->RemoveOutputConnections(*k->FirstOutput());
    EXPECT_EQ(added->m_name, "open");
    EXPECT_EQ(divide->FirstInput()->m_name, "Dividend");
    EXPECT_FALSE(added->HasSource());
    EXPECT_EQ(added->m_sourceKind, kSourceNone);
    EXPECT_EQ(k->FirstOutput()->m_connections.Size(), 0u);
}

TEST_F(ConnectRules, ModuleInputOnNewInputTakesItsName) {
    CNetworkModel* add = Drop(*module, 21);
    CNetworkInput* m = module->CreateInput("Speed");
    ASSERT_EQ(module->RequestConnectModuleInput(*m, *add, nullptr), 0);
    EXPECT_EQ(add->FirstInput()->m_name, "Speed");
    EXPECT_EQ(add->FirstInput()->m_sourceKind, kSourceModuleInput);
    // Removing the module input's connections keeps the input's name.
    module->RemoveModuleInputConnections(*m);
    EXPECT_EQ(add->FirstInput()->m_name, "Speed");
    EXPECT_FALSE(add->FirstInput()->HasSource());
}

TEST_F(ConnectRules, NewOutputToExistingInputTakesInputsName) {
    CNetworkModel* add = Drop(*module, 21);
    CNetworkModel* divide = Drop(*module, 24);
    ASSERT_EQ(module->RequestConnect(*add, nullptr, *divide, divide->LastInput()), kRefuseSenderFull);
    CNetworkModel* sub = Drop(*module, 22);
    sub->m_maxOutputs = -1;
    ASSERT_EQ(module->RequestConnect(*sub, nullptr, *divide, divide->LastInput()), 0);
    EXPECT_EQ(sub->LastOutput()->m_name, "Divisor");
}

TEST_F(ConnectRules, SuccessZeroesCountersAndRefreshesValues) {
    CNetworkModel* k = DropConstant(*module, 4);
    CNetworkModel* add = Drop(*module, 21);
    system.m_cycleCount = 12;
    system.m_simulatedTime = 900;
    system.m_diagnostic1 = 3;
    ASSERT_EQ(module->RequestConnect(*k, k->FirstOutput(), *add, nullptr), 0);
    EXPECT_EQ(system.m_cycleCount, 0);
    EXPECT_EQ(system.m_simulatedTime, 0.0);
    EXPECT_EQ(system.m_diagnostic1, 0);
    EXPECT_EQ(add->FirstOutput()->m_value, 4.0);  // one pass ran after the connect
    EXPECT_EQ(add->m_stage, 2);
    EXPECT_EQ(k->m_connectionsOut, 1);
}

TEST_F(ConnectRules, RemoveAddedInputsKeepsTemplateInputs) {
    CNetworkModel* k = DropConstant(*module, 4);
    CNetworkModel* range = Drop(*module, 89);
    range->m_maxInputs = -1;
    ASSERT_EQ(module->RequestConnect(*k, k->FirstOutput(), *range, nullptr), 0);
    ASSERT_EQ(module->RequestConnect(*k, k->FirstOutput(), *range, range->FirstInput()), 0);
    EXPECT_EQ(range->m_inputs.Size(), 4u);
    EXPECT_EQ(module->RemoveAddedInputs(*range), 1);
    EXPECT_EQ(range->m_inputs.Size(), 3u);
    EXPECT_TRUE(range->FirstInput()->HasSource());
    EXPECT_EQ(k->FirstOutput()->m_connections.Size(), 1u);
}

TEST_F(ConnectRules, DeleteComponentRemovesEveryConnectionTouchingIt) {
    CNetworkModel* k = DropConstant(*module, 4);
    CNetworkModel* add = Drop(*module, 21);
    CNetworkModel* neg = Drop(*module, 88);
    CNetworkOutput* mo = module->CreateOutput("out");
    CNetworkInput* m = module->CreateInput("in");
    ASSERT_EQ(module->RequestConnect(*k, k->FirstOutput(), *add, nullptr), 0);
    ASSERT_EQ(module->RequestConnectModuleInput(*m, *add, nullptr), 0);
    ASSERT_EQ(module->RequestConnect(*add, add->FirstOutput(), *neg, neg->FirstInput()), 0);
    ASSERT_EQ(module->RequestConnectToModuleOutput(*add, add->FirstOutput(), *mo), 0);
    module->DeleteComponent(add);
    EXPECT_EQ(module->m_components.Size(), 2u);
    EXPECT_EQ(k->FirstOutput()->m_connections.Size(), 0u);
    EXPECT_EQ(m->m_connections.Size(), 0u);
    EXPECT_FALSE(neg->FirstInput()->HasSource());
    EXPECT_EQ(neg->FirstInput()->m_name, "Input Value");
    EXPECT_FALSE(mo->HasSource());
}

}  // namespace
}  // namespace zor2
