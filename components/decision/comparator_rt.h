// Runtime Target Input Comparator (type 80).
#pragma once

#include "components/decision/comparator_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelComparator final : public CRNetworkModel {
  public:
    explicit CRModelComparator(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    bool m_enabled = true;
    double m_ownTolerance = kComparatorTolerance;  // its own, not the base tolerance
    double m_target = 0.0;
    double m_inputValue = 0.0;
    CRModelInput* m_targetInput = nullptr;  // ids 20 and 30, found once after loading
    CRModelInput* m_compareInput = nullptr;
    CRModelOutput* m_verdicts[3] = {nullptr, nullptr, nullptr};  // ids 10, 20, 30
};

}  // namespace zor2
