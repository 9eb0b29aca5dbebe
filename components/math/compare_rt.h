// Runtime Compare to Input and Compare to Constant (types 15-20), computing
// as the designer does from the compare value and tolerance of the record.
#pragma once

#include "components/math/compare_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelCompare final : public CRNetworkModel {
  public:
    explicit CRModelCompare(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;
    void Compile(CRPlan& plan) override;

  private:
    CCompareParams m_params;
    int32_t m_connected = 0;
    // Outputs "Count Items" (id 20) and "Items Satisfied" (id 30), found once after loading.
    CRModelOutput* m_countOutput = nullptr;
    CRModelOutput* m_satisfiedOutput = nullptr;
};

}  // namespace zor2
