// A steady-state cycle through every logic and arithmetic type allocates nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "logic_bench.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t n) {
    ++g_allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

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
    const long before = g_allocations.load();
    for (int i = 0; i < 20; ++i) {
        k->m_value = (i % 3) - 1.0;
        b.system.RunCycle();
    }
    EXPECT_EQ(g_allocations.load() - before, 0);
}

}  // namespace
}  // namespace zor2
