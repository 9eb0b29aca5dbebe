// Test bench for the vector components and the simulation aids: one module in a
// system with a manual clock, constants wired into chosen inputs, and a
// recorder in place of the designer's sound player.
#pragma once

#include <gtest/gtest.h>

#include "engine/system.h"
#include "support/scripted_prompter.h"
#include "support/sound_recorder.h"
#include "support/system_builder.h"

namespace zor2::test {

class AidsBench : public ::testing::Test {
  protected:
    void SetUp() override {
        system.SetRandom(&ids);
        system.SetPrompter(&prompter);
        system.SetClock(&clock);
        system.SetSounds(&sounds);
        module = system.CreateModule("Plant", 100, 100);
        ASSERT_NE(module, nullptr);
    }

    /// A Constant of value `v` wired into input `inputId` of `dst`.
    CNetworkModel* Feed(CNetworkModel& dst, int32_t inputId, double v) {
        CNetworkModel* k = DropConstant(*module, v);
        EXPECT_NE(dst.FindInput(inputId), nullptr) << inputId;
        EXPECT_EQ(module->RequestConnect(*k, k->FirstOutput(), dst, dst.FindInput(inputId)), 0);
        return k;
    }
    /// One pass of the module.
    void Cycle() { module->ExecuteModule(); }
    double Out(const CNetworkModel& c, int32_t id) const {
        const CModelOutput* o = c.FindOutput(id);
        return o ? o->m_value : -999.0;
    }

    CLcgRandom ids{11};
    CManualClock clock;
    CScriptedPrompter prompter;
    CSoundRecorder sounds;
    CSystem system;
    CNetwork* module = nullptr;
};

}  // namespace zor2::test
