// Turning component inputs into module inputs.
#include <gtest/gtest.h>

#include "support/scripted_prompter.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

class Expose : public ::testing::Test {
  protected:
    void SetUp() override {
        system.SetRandom(&random);
        system.SetPrompter(&prompter);
        module = system.CreateModule("Network 1", 0, 0);
    }
    CLcgRandom random{2};
    test::CScriptedPrompter prompter;
    CSystem system;
    CNetwork* module = nullptr;
};

TEST_F(Expose, SelectedInputBecomesModuleInputWithItsValue) {
    CNetworkModel* range = test::Drop(*module, 89);
    CModelInput* max = range->FindInput(30);
    max->m_value = 2.5;
    range->m_selectedInputs.Append(max);
    EXPECT_EQ(module->ExposeInput(*range), 1);
    ASSERT_EQ(module->m_inputs.Size(), 1u);
    CNetworkInput* m = module->m_inputs.Head();
    EXPECT_EQ(m->m_name, "Max");
    EXPECT_EQ(m->m_value, 2.5);
    EXPECT_EQ(m->ValueString(), "2.500");
    EXPECT_EQ(max->m_sourceKind, kSourceModuleInput);
    EXPECT_EQ(system.Feedback().build.Top(), "Exposed 1 input for component: M1 Range Check");
    // A second try on the now connected input exposes nothing.
    EXPECT_EQ(module->ExposeInput(*range), 0);
    EXPECT_EQ(system.Feedback().build.Top(), "Exposed 0 input for component: M1 Range Check");
    EXPECT_EQ(module->m_inputs.Size(), 1u);
}

TEST_F(Expose, AllInputsSkipsConnectedOnesAndMarksArrayInputs) {
    CNetworkModel* k = test::DropConstant(*module, 1);
    CNetworkModel* range = test::Drop(*module, 89);
    ASSERT_EQ(module->RequestConnect(*k, k->FirstOutput(), *range, range->FindInput(20)), 0);
    range->FindInput(30)->m_arrayInput = true;
    EXPECT_EQ(module->ExposeAllInputs(*range), 2);
    ASSERT_EQ(module->m_inputs.Size(), 2u);
    EXPECT_EQ(module->m_inputs.At(0)->m_name, "Input Value");
    EXPECT_FALSE(module->m_inputs.At(0)->m_arrayCarrier);
    EXPECT_EQ(module->m_inputs.At(1)->m_name, "Max");
    EXPECT_TRUE(module->m_inputs.At(1)->m_arrayCarrier);
    EXPECT_EQ(system.Feedback().build.Top(), "Exposed 2 input(s) for component: M2 Range Check");
}

TEST_F(Expose, ReconnectReusesModuleInputsByNameIgnoringCase) {
    CNetworkModel* range = test::Drop(*module, 89);
    CNetworkInput* existing = module->CreateInput("MIN");
    CNetworkModel* k = test::DropConstant(*module, 1);
    ASSERT_EQ(module->RequestConnect(*k, k->FirstOutput(), *range, range->FindInput(10)), 0);
    EXPECT_EQ(module->ExposeAllInputsReconnect(*range), 3);
    EXPECT_EQ(k->FirstOutput()->m_connections.Size(), 0u);  // the old source was removed first
    EXPECT_EQ(module->m_inputs.Size(), 3u);                 // "MIN" reused, two made
    EXPECT_EQ(range->FindInput(20)->SourceModuleInput(), existing);
    EXPECT_EQ(system.Feedback().build.Top(), "Exposed 3 input connections for component: M1 Range Check");
}

TEST_F(Expose, RefusedExposureLeavesNoModuleInput) {
    CNetworkModel* add = test::Drop(*module, 21);
    CModelInput* in = add->AddInput(0);
    in->m_arrayInput = true;
    add->m_selectedInputs.Append(in);
    EXPECT_EQ(module->ExposeInput(*add), 0);
    EXPECT_EQ(module->m_inputs.Size(), 0u);
    EXPECT_EQ(system.Feedback().build.Line(1), RefusalMessage(kRefuseNeedsArray));
}

}  // namespace
}  // namespace zor2
