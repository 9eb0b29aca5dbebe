// Runtime Do Once (type 90): fires once per reset; its "Reset" input is the
// only reset it has.
#pragma once

#include "components/utility/do_once_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelDoOnce final : public CRNetworkModel {
  public:
    explicit CRModelDoOnce(int32_t typeId) : CRNetworkModel(typeId) {}
    int32_t GetInputValues() override;
    int32_t Execute() override;
    /// Port values to 0, done and event cleared; called by the "Reset" input.
    void Reset();

  private:
    CDoOnceState m_state;
};

}  // namespace zor2
