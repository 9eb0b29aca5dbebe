// Test bench for the timing and value source components: one module in a system
// with a manual clock, constants wired into chosen template inputs, and a
// scripted 15-bit random source.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "support/scripted_prompter.h"
#include "support/system_builder.h"

namespace zor2::test {

/// Returns the scripted values in turn (cycling) and counts the draws.
class CScriptedRandom final : public IRandomSource {
  public:
    explicit CScriptedRandom(std::vector<int32_t> values) : m_values(std::move(values)) {}
    int32_t Next15() override { return m_values[m_draws++ % m_values.size()]; }
    size_t Draws() const { return m_draws; }

  private:
    std::vector<int32_t> m_values;
    size_t m_draws = 0;
};

class Bench : public ::testing::Test {
  protected:
    void SetUp() override {
        system.SetRandom(&ids);
        system.SetPrompter(&prompter);
        system.SetClock(&clock);
        module = system.CreateModule("Plant", 100, 100);
        ASSERT_NE(module, nullptr);
    }

    /// A Constant of value `v` wired into input `inputId` of `dst`.
    CNetworkModel* Feed(CNetworkModel& dst, int32_t inputId, double v) {
        CNetworkModel* k = DropConstant(*module, v);
        EXPECT_NE(dst.FindInput(inputId), nullptr);
        EXPECT_EQ(module->RequestConnect(*k, k->FirstOutput(), dst, dst.FindInput(inputId)), 0);
        return k;
    }
    /// One pass of the module.
    void Cycle() { module->ExecuteModule(); }

    CLcgRandom ids{7};
    CManualClock clock;
    CScriptedPrompter prompter;
    CSystem system;
    CNetwork* module = nullptr;
};

}  // namespace zor2::test
