// Runtime toggles (types 10, 11): flip as the designer's do.
#pragma once

#include "runtime/rt_model.h"

namespace zor2 {

class CRModelToggle final : public CRNetworkModel {
  public:
    explicit CRModelToggle(int32_t typeId) : CRNetworkModel(typeId) {}
    int32_t GetInputValues() override;
    int32_t Execute() override;
    void Compile(CRPlan& plan) override;
};

}  // namespace zor2
