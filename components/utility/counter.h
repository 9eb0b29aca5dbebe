// The two Counters: count events, reset on a value (type 25) or on an event (type 26).
#pragma once

#include "components/utility/timing_kernel.h"
#include "engine/component.h"

namespace zor2 {

/// The count is the value of the first output; reset restarts it from 0.
class CModelCounter : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelCounter"; }
    void GetInputValues() override;
    void Execute() override;
    bool CompileStep(CCycleStep& step) override;

  private:
    /// The input phase from what the inputs' sources deliver: `on` for the
    /// event, `resetSource` for a connected reset (either input may be null).
    void TakeInputs(CModelInput* event, bool on, CModelInput* reset, bool resetConnected,
                    double resetSource) const;
    /// The execute phase over the event and reset inputs (either may be null).
    void Count(const CModelInput* event, CModelInput* reset);
    CModelInput* ResetInput() const { return m_inputs.Size() >= 2 ? LastInput() : nullptr; }
};

}  // namespace zor2
