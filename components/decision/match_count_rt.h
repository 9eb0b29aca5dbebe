// Runtime Match Count: bins and pairs of its input values as the designer counts them.
#pragma once

#include <vector>

#include "components/decision/pattern_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelMatchCount final : public CRNetworkModel {
  public:
    explicit CRModelMatchCount(int32_t typeId) : CRNetworkModel(typeId) {}
    /// Base record, then the enabled flag.
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    bool m_enabled = true;
    CMatchCount m_count;
    std::vector<double> m_values;
    std::vector<uint8_t> m_connected;
    CRModelOutput* m_out[6] = {};  // outputs 10 … 60
};

}  // namespace zor2
