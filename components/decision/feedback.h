// Feedback Flow: carries a value from the end of one cycle into the next; the
// module runs it after all its other components.
#pragma once

#include "components/decision/feedback_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelFeedback : public CNetworkModel {
  public:
    CModelFeedback() { m_unprimed = true; }
    const char* ClassName() const override { return "CModelFeedback"; }
    void GetInputValues() override;
    void Execute() override;
    void ResetValues() override;
    bool CompileStep(CCycleStep& step) override;

    bool Primed() const { return m_state.primed; }
    double Pending() const { return m_state.pending; }

  private:
    /// The input phase once the input was read (`pulled`: it has a source).
    void TakeInput(CModelInput& in, bool pulled);
    /// The execute phase: the pending value goes out, the component value becomes pending.
    void Publish(CModelOutput* out);

    CFeedbackState m_state;
};

}  // namespace zor2
