// Runtime Quantity Diminishing (type 68): computes as the designer does; the
// amount starts from the value the designer held at export.
#pragma once

#include "components/utility/timing_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelQuantityDiminish final : public CRNetworkModel {
  public:
    explicit CRModelQuantityDiminish(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;
    /// Refills the container to its maximum (called by Execute on "Reset to Max").
    void Reset();

  private:
    CQuantityFields m_fields;
    // Auto rate and auto mode are not in the record: the designer's construction defaults.
    double m_autoRate = kQuantityAutoRate;
    bool m_autoMode = true;
    // Template ports by id, found once after reading.
    CRModelInput* m_reset = nullptr;
    CRModelInput* m_consume = nullptr;
    CRModelInput* m_fill = nullptr;
    CRModelOutput* m_outs[4] = {nullptr, nullptr, nullptr, nullptr};
};

}  // namespace zor2
