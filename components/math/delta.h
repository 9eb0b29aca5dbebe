// Delta (type 34): the first and second difference of "Raw Value" over cycles.
#pragma once

#include "components/math/delta_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelDelta : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelDelta"; }
    void GetInputValues() override;
    void Execute() override;
    void ResetValues() override;

    const CDeltaState& State() const { return m_state; }
    bool Enabled() const { return m_enabled; }

  private:
    CDeltaState m_state;
    bool m_enabled = true;        // set every cycle from "Enable"
    bool m_resetRequest = false;  // set every cycle from "Reset"
};

}  // namespace zor2
