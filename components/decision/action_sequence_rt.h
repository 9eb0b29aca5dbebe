// Runtime Pattern Sequencer (type 85): plays the designer's sequences at the
// designer's default rate of 10 cycles per second.
#pragma once

#include "components/decision/action_sequence_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelActionSequence final : public CRNetworkModel {
  public:
    explicit CRModelActionSequence(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    CActionSequencer m_sequencer;
    CRModelInput* m_pattern = nullptr;
    bool m_enabled = false;
};

}  // namespace zor2
