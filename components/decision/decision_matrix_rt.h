// Runtime Decision Matrix (type 79): the designer's table read from the runtime
// file, selecting the same output for the same pair of values.
#pragma once

#include <vector>

#include "components/decision/decision_matrix_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelDecisionMatrix final : public CRNetworkModel {
  public:
    explicit CRModelDecisionMatrix(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    CDecisionMatrix m_matrix;
    // Resolved once after loading: the value inputs and each decision's output
    // (null when its id names no output, which then selects nothing).
    CRModelInput* m_value1 = nullptr;
    CRModelInput* m_value2 = nullptr;
    std::vector<CRModelOutput*> m_decisionOutputs;
    bool m_enabled = true;
};

}  // namespace zor2
