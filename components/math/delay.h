// The Delay component: a decaying feedback accumulator y(n) = x(n) + f × y(n−1).
#pragma once

#include <string>

#include "components/utility/timing_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelDelay : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelDelay"; }
    /// The record is the base part alone; a loaded Delay has the factor 0.75.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    bool CompileStep(CCycleStep& step) override;

    double FeedbackFactor() const { return m_factor; }
    /// Sets the factor; refused (false, nothing changed) outside 0 to 0.99.
    bool SetFeedbackFactor(double factor);
    /// The property dialog's up-down control: up adds 0.01 (single precision)
    /// while the factor is below 0.98, down subtracts it while above 0.02.
    void StepFeedbackFactor(bool up);
    /// The line the runtime export reports when the runtime file cannot carry
    /// this Delay's factor (empty when it can).
    std::string RuntimeExportNote() const override;
    /// The factor, which the project record does not carry.
    bool UnsavedSettings(CArchive& ar) override;

  private:
    /// The input phase once the raw input was read (`pulled`: it has a source);
    /// the feedback input follows the first output.
    void TakeInputs(CModelInput* raw, bool pulled, CModelInput* feedback, const CModelOutput* out) const;
    /// The output of the execute phase.
    static double Sum(const CModelInput* raw, const CModelInput* feedback);

    double m_factor = kDelayDefaultFactor;
};

}  // namespace zor2
