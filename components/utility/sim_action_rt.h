// Runtime sim actions (types 50, 51, 52, 69): they read their inputs as the
// designer does but act on nothing — a host has no simulator, sound or canvas.
#pragma once

#include "components/utility/sim_action_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelSimAction final : public CRNetworkModel {
  public:
    explicit CRModelSimAction(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;

    bool Enabled() const { return m_enabled; }

  private:
    bool m_enabled = true;
};

}  // namespace zor2
