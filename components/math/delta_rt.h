// Runtime Delta (type 34): first and second difference over cycles, published
// on its two outputs as the designer does.
#pragma once

#include "components/math/delta_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelDelta final : public CRNetworkModel {
  public:
    explicit CRModelDelta(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;
    /// Value, count and differences to 0, outputs to 0; called by the "Reset" input.
    void Reset();

  private:
    CDeltaState m_state;
    bool m_enabled = true;
    CRModelInput* m_rawInput = nullptr;  // "Raw Value", found once after loading
};

}  // namespace zor2
