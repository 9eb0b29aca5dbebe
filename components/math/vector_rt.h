// Runtime vector components (types 61-66): compute as the designer's
// CModelVector2 does, with the operand inputs and outputs resolved at load.
#pragma once

#include "components/math/vector_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelVector2 final : public CRNetworkModel {
  public:
    explicit CRModelVector2(int32_t typeId);
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    static constexpr size_t kMaxOperands = 6;

    CVectorOperands m_operands;
    CVectorFields m_fields;
    bool m_ready = false;
    // Resolved at load: the operand inputs in kernel order (null where the file
    // lacks one), and the outputs 10, 20 and 30.
    CRModelInput* m_operandInputs[kMaxOperands] = {};
    size_t m_operandCount = 0;
    bool m_allOperands = false;
    CRModelOutput* m_out[3] = {};
};

}  // namespace zor2
