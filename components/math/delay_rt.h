// Runtime Delay (type 2): the designer's decaying feedback accumulator. The
// runtime record carries no factor, so it is always the default 0.75.
#pragma once

#include "runtime/rt_model.h"

namespace zor2 {

class CRModelDelay final : public CRNetworkModel {
  public:
    explicit CRModelDelay(int32_t typeId) : CRNetworkModel(typeId) {}
    int32_t GetInputValues() override;
    int32_t Execute() override;
    void Compile(CRPlan& plan) override;
};

}  // namespace zor2
