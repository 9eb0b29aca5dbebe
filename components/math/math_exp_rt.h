// Runtime unary functions (types 47-49): absolute value, raise to power, square root.
#pragma once

#include "components/math/math_exp_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelMathExp final : public CRNetworkModel {
  public:
    explicit CRModelMathExp(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;
    void Compile(CRPlan& plan) override;

  private:
    CMathExpParams m_params;
    int32_t m_power = 1;
    CRModelInput* m_powerInput = nullptr;  // "Power (y)", found once after loading
};

}  // namespace zor2
