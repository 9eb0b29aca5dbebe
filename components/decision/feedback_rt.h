// Runtime Feedback Flow (type 56): carries the value read in one cycle into the
// next; its module runs it after all other components.
#pragma once

#include "components/decision/feedback_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelFeedback final : public CRNetworkModel {
  public:
    explicit CRModelFeedback(int32_t typeId) : CRNetworkModel(typeId) {}
    // Inline: the module calls both for every Feedback Flow in every cycle.
    int32_t GetInputValues() override {
        CRModelInput* in = FirstInput();
        if (!in) return 0;
        if (in->HasSource()) {
            in->Pull();
            m_state.Take(in->m_value);
        } else {
            in->m_value = 0.0;  // pending keeps the last value taken
        }
        return 0;
    }
    int32_t Execute() override {
        const double published = m_state.Publish(m_value);
        if (CRModelOutput* out = FirstOutput()) out->m_value = published;
        return 0;
    }

    void Compile(CRPlan& plan) override;

    /// Set by the first Execute after the load; the module pushes the first
    /// output's held value into the inputs it feeds only once this is set.
    bool Primed() const { return m_state.primed; }

  private:
    CFeedbackState m_state;
};

}  // namespace zor2
