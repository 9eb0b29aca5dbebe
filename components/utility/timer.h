// The Timer component: fires on wall-clock intervals of the millisecond tick count.
#pragma once

#include <string>

#include "components/utility/timing_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelTimer : public CNetworkModel {
  public:
    CModelTimer();
    const char* ClassName() const override { return "CModelTimer"; }
    /// The record is the base part alone; loading takes the delay from its stored copy.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;

    double Delay() const { return m_delay; }
    bool Enabled() const { return m_enabled; }
    double LastFireTime() const { return m_state.lastFire; }
    /// The property dialog's OK: sets the delay and its stored copy. Refused
    /// (false, nothing changed) while "Delay ms" has a source, or for a value
    /// that is not a finite number.
    bool SetDelay(double ms);
    /// The line the runtime export reports when the runtime file cannot carry
    /// this Timer's delay (empty when it can).
    std::string RuntimeExportNote() const override;

  private:
    CModelInput* DelayInput() const { return m_inputs.Size() >= 2 ? LastInput() : nullptr; }

    CTimerState m_state;
    double m_delay = kTimerDefaultDelay;
    bool m_enabled = true;
};

}  // namespace zor2
