// Test bench for the vector components and the simulation aids: the timing
// components' bench (one module, a manual clock, constants wired into chosen
// inputs) with a recorder in place of the designer's sound player.
#pragma once

#include "components_timing/harness.h"
#include "support/sound_recorder.h"

namespace zor2::test {

class AidsBench : public Bench {
  protected:
    void SetUp() override {
        Bench::SetUp();
        system.SetSounds(&sounds);
    }
    void TearDown() override { system.SetSounds(nullptr); }

    double Out(const CNetworkModel& c, int32_t id) const {
        const CModelOutput* o = c.FindOutput(id);
        return o ? o->m_value : -999.0;
    }

    CSoundRecorder sounds;
};

}  // namespace zor2::test
