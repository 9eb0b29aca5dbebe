// Runtime truth checks AND, NAND, OR, NOR, exclusive OR and invert (types 3-8).
#pragma once

#include "runtime/rt_model.h"

namespace zor2 {

class CRModelTruthCheck final : public CRNetworkModel {
  public:
    explicit CRModelTruthCheck(int32_t typeId) : CRNetworkModel(typeId) {}
    int32_t GetInputValues() override;
    int32_t Execute() override;
    void Compile(CRPlan& plan) override;
};

}  // namespace zor2
