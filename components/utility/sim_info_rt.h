// Runtime Sim Info SimTime and Count (types 53, 54): the runtime system's
// simulated time, which the library never advances, and its cycle number.
// Sim Info LocalTime has no runtime class.
#pragma once

#include "components/utility/sim_info_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelSimInfo final : public CRNetworkModel {
  public:
    explicit CRModelSimInfo(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t Execute() override;

  private:
    bool m_enabled = true;
};

}  // namespace zor2
