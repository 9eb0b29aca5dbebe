// Runtime Constant (type 41): publishes the value of its base record every cycle.
#pragma once

#include "runtime/rt_model.h"

namespace zor2 {

class CRModelConstant final : public CRNetworkModel {
  public:
    explicit CRModelConstant(int32_t typeId) : CRNetworkModel(typeId) {}
    int32_t Execute() override;
    void Compile(CRPlan& plan) override;
};

}  // namespace zor2
