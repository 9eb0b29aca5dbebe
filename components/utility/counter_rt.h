// Runtime Counters (types 25, 26): count as the designer's counters do.
#pragma once

#include "runtime/rt_model.h"

namespace zor2 {

class CRModelCounter final : public CRNetworkModel {
  public:
    explicit CRModelCounter(int32_t typeId) : CRNetworkModel(typeId) {}
    int32_t GetInputValues() override;
    int32_t Execute() override;
    void Compile(CRPlan& plan) override;
};

}  // namespace zor2
