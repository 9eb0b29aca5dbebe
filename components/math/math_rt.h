// Runtime arithmetic family (types 21-24, 86-89): one class with the operation
// chosen by the type id, computing through the kernel the designer shares.
#pragma once

#include "runtime/rt_model.h"

namespace zor2 {

class CRModelMath final : public CRNetworkModel {
  public:
    explicit CRModelMath(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;
    void Compile(CRPlan& plan) override;

  private:
    // Range Check's inputs with ids 10, 20 and 30, found once after loading.
    CRModelInput* m_range[3] = {nullptr, nullptr, nullptr};
};

}  // namespace zor2
