// Runtime Timer (type 14): fires as the designer's Timer does. The runtime
// record carries no delay, so it is the "Delay ms" input when that is connected
// and the designer's default of 500 ms otherwise.
#pragma once

#include "components/utility/timing_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelTimer final : public CRNetworkModel {
  public:
    explicit CRModelTimer(int32_t typeId) : CRNetworkModel(typeId) {}
    int32_t GetInputValues() override;
    int32_t Execute() override;
    void Compile(CRPlan& plan) override;

  private:
    CTimerRunState m_state;
    bool m_enabled = true;
};

}  // namespace zor2
