// A steady-state cycle through every logic and arithmetic type allocates nothing.
#include <gtest/gtest.h>

#include "logic_bench.h"
#include "support/alloc_counter.h"

namespace zor2 {
namespace {

TEST(LogicAllocation, SteadyStateCycleAllocatesNothing) {
    test::CLogicBench b;
    b.system.m_behaviorsEnabled = false;
    CNetworkModel* k = b.module->DropComponent(41, 0, 0);
    CNetworkModel* k2 = b.module->DropComponent(41, 0, 0);
    const int32_t types[] = {3,  4,  5,  6,  7,  8,  9,  10, 11, 28, 29, 30, 90, 47,
                             48, 49, 82, 83, 84, 34, 15, 16, 17, 18, 19, 20, 80};
    for (int32_t type : types) {
        CNetworkModel* c = b.Add(type);
        // Every template input fed, plus one added input where the type allows it.
        for (CModelInput* in : c->m_inputs.Snapshot())
            ASSERT_EQ(b.module->RequestConnect(*k, k->FirstOutput(), *c, in), 0);
        if (!c->InputsFull()) {
            ASSERT_EQ(b.module->RequestConnect(*k2, k2->FirstOutput(), *c, nullptr), 0);
        }
    }
    b.system.ResetSystem();
    b.system.RunCycle();
    const long before = test::AllocationCount();
    for (int i = 0; i < 20; ++i) {
        k->m_value = (i % 3) - 1.0;
        b.system.RunCycle();
    }
    EXPECT_EQ(test::AllocationCount() - before, 0);
}

}  // namespace
}  // namespace zor2
