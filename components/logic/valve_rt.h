// Runtime valve (type 9): passes "ValueIN" while "Enabler" is true, as the
// designer does.
#pragma once

#include "runtime/rt_model.h"

namespace zor2 {

class CRModelValve final : public CRNetworkModel {
  public:
    explicit CRModelValve(int32_t typeId) : CRNetworkModel(typeId) {}
    int32_t GetInputValues() override;
    int32_t Execute() override;
    void Compile(CRPlan& plan) override;

  private:
    bool m_open = false;
};

}  // namespace zor2
