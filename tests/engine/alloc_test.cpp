// A cycle in steady state allocates nothing.
#include <gtest/gtest.h>

#include "support/alloc_counter.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

TEST(Allocation, SteadyStateCycleAllocatesNothing) {
    CSystem system;
    system.m_behaviorsEnabled = false;
    CExternalInput* p = system.CreateSystemInput("p", 1);
    CNetwork* prev = nullptr;
    CNetworkOutput* prevOut = nullptr;
    for (int m = 0; m < 4; ++m) {
        CNetwork* module = system.CreateModule("m", 0, 0);
        CNetworkModel* k = test::DropConstant(*module, m);
        CNetworkModel* add = test::Drop(*module, 21);
        CNetworkModel* fb = test::Drop(*module, 56);
        ASSERT_EQ(module->RequestConnect(*k, k->FirstOutput(), *add, nullptr), 0);
        ASSERT_EQ(module->RequestConnect(*add, add->FirstOutput(), *fb, fb->FirstInput()), 0);
        ASSERT_EQ(module->RequestConnect(*fb, fb->FirstOutput(), *add, nullptr), 0);
        if (prev) {
            CNetworkConnection* link = system.ConnectModules(*prev, *module, prevOut);
            ASSERT_EQ(module->RequestConnectModuleInput(*link->m_dstInput, *add, nullptr), 0);
        } else {
            ASSERT_NE(system.ConnectSystemInput(*p, *module), nullptr);
            ASSERT_EQ(module->RequestConnectModuleInput(*module->m_inputs.Head(), *add, nullptr), 0);
        }
        prevOut = test::ExposeOutput(*module, *add, "sum");
        prev = module;
    }
    CExternalOutput* q = system.CreateSystemOutput("q", 1);
    ASSERT_NE(system.ConnectSystemOutput(*prev, *q, prevOut), nullptr);
    system.ResetSystem();
    system.RunCycle();  // builds the cached orders
    const long before = test::AllocationCount();
    for (int i = 0; i < 50; ++i) {
        p->SetValue(i);
        system.RunCycle();
    }
    EXPECT_EQ(test::AllocationCount() - before, 0);
    EXPECT_NE(q->m_value, 0.0);
}

TEST(Allocation, CyclesOfEveryCountingAndTracingTypeAllocateNothing) {
    // Compare, Counter, Timer, Delay (which adds a trace line every cycle) and
    // Feedback Flow in one chain; once the trace list is full its oldest line's
    // storage takes the new one.
    CSystem system;
    system.m_behaviorsEnabled = false;
    CNetwork* m = system.CreateModule("m", 0, 0);
    CNetworkModel* k = test::DropConstant(*m, 1.0);
    CNetworkModel* chain[] = {test::Drop(*m, 19), test::Drop(*m, 26), test::Drop(*m, 2), test::Drop(*m, 56),
                              test::Drop(*m, 22)};
    CNetworkModel* timer = test::Drop(*m, 14);
    ASSERT_EQ(m->RequestConnect(*k, k->FirstOutput(), *chain[0], nullptr), 0);
    for (int i = 0; i + 1 < 5; ++i)
        ASSERT_EQ(
            m->RequestConnect(*chain[i], chain[i]->FirstOutput(), *chain[i + 1], chain[i + 1]->FirstInput()),
            0);
    ASSERT_EQ(m->RequestConnect(*timer, timer->FirstOutput(), *chain[4], nullptr), 0);
    system.ResetSystem();
    for (size_t i = 0; i <= CFeedbackList::Limit(); ++i) system.RunCycle();
    ASSERT_EQ(system.Feedback().execution.Size(), CFeedbackList::Limit());
    const long before = test::AllocationCount();
    for (int i = 0; i < 50; ++i) system.RunCycle();
    EXPECT_EQ(test::AllocationCount() - before, 0);
    EXPECT_NE(system.Feedback().execution.Top().find("GetInputValues (Type: 2"), std::string::npos);
}

}  // namespace
}  // namespace zor2
