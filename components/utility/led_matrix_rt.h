// Runtime 8x8 LED components: the controller publishes its picture as the
// designer's does; the display reads its base record and computes nothing.
#pragma once

#include <vector>

#include "components/utility/led_matrix_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModel8x8Controller final : public CRNetworkModel {
  public:
    explicit CRModel8x8Controller(int32_t typeId) : CRNetworkModel(typeId) { m_picture.fill(1.0); }
    /// Base record, then enabled, count and per picture id, number and 64 cells.
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    bool m_enabled = true;
    std::vector<CPattern64Bit> m_patterns;
    CLedCells m_picture;
    CRModelInput* m_on = nullptr;
};

class CRModel8x8Display final : public CRNetworkModel {
  public:
    explicit CRModel8x8Display(int32_t typeId) : CRNetworkModel(typeId) {}
    /// Nothing to run in a cycle.
    void Compile(CRPlan&) override {}
};

}  // namespace zor2
