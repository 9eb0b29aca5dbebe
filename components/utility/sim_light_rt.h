// Runtime Indicator Light (type 73): computes its state as the designer does,
// with the default colours; it has no output, so a host never sees it.
#pragma once

#include "components/utility/sim_light_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelSimLight final : public CRNetworkModel {
  public:
    explicit CRModelSimLight(int32_t typeId) : CRNetworkModel(typeId) {}
    int32_t GetInputValues() override;
    int32_t Execute() override;
    int32_t State() const { return m_state; }

  private:
    CLightColours m_colours;
    bool m_enabled = true;
    bool m_on = true;
    int32_t m_state = 0;
};

}  // namespace zor2
