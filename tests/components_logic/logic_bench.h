// A one-module system for driving logic and arithmetic components cycle by
// cycle: Constants feed chosen inputs and are changed between cycles.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/system_builder.h"

namespace zor2::test {

struct CLogicBench {
    CSystem system;
    CNetwork* module = system.CreateModule("m", 0, 0);

    CNetworkModel* Add(int32_t type) { return Drop(*module, type); }

    /// A Constant holding `value` wired to the input `inputId` of `dst` (0: a
    /// new input). Returns the Constant; change its m_value between cycles.
    CNetworkModel* Feed(CNetworkModel& dst, int32_t inputId, double value) {
        CNetworkModel* k = DropConstant(*module, value);
        CModelInput* in = inputId ? dst.FindInput(inputId) : nullptr;
        EXPECT_TRUE(inputId == 0 || in) << "no input " << inputId;
        EXPECT_EQ(module->RequestConnect(*k, k->FirstOutput(), dst, in), 0);
        return k;
    }

    /// A module input holding `value` wired to the input `inputId` of `dst`.
    CNetworkInput* FeedFromModuleInput(CNetworkModel& dst, int32_t inputId, double value) {
        CNetworkInput* mi = module->CreateInput("mi");
        mi->m_value = value;
        EXPECT_EQ(module->RequestConnectModuleInput(*mi, dst, dst.FindInput(inputId)), 0);
        return mi;
    }

    /// Wiring runs the module once; tests start from a reset system.
    void Reset() { system.ResetSystem(); }
    void Cycle() { module->ExecuteModule(); }

    static double Out(const CNetworkModel& c, int32_t id) {
        const CModelOutput* out = c.FindOutput(id);
        EXPECT_NE(out, nullptr) << "no output " << id;
        return out ? out->m_value : -999.0;
    }
    static std::string OutText(const CNetworkModel& c, int32_t id) {
        const CModelOutput* out = c.FindOutput(id);
        return out ? out->ValueString() : "<none>";
    }
    static std::string InText(const CNetworkModel& c, int32_t id) {
        const CModelInput* in = c.FindInput(id);
        return in ? in->ValueString() : "<none>";
    }
};

}  // namespace zor2::test
