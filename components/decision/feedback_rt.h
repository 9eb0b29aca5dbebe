// Runtime Feedback Flow (type 56): carries the value read in one cycle into the
// next; its module runs it after all other components.
#pragma once

#include "components/decision/feedback_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelFeedback final : public CRNetworkModel {
  public:
    explicit CRModelFeedback(int32_t typeId) : CRNetworkModel(typeId) {}
    int32_t GetInputValues() override;
    int32_t Execute() override;

    /// Set by the first Execute after the load; the module pushes the first
    /// output's held value into the inputs it feeds only once this is set.
    bool Primed() const { return m_state.primed; }

  private:
    CFeedbackState m_state;
};

}  // namespace zor2
