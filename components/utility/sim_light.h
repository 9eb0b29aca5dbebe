// The Indicator Light (type 73): a lamp that shows one colour when on, another
// when off, and grey while disabled.
#pragma once

#include "components/utility/sim_light_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelSimLight : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelSimLight"; }
    /// Base part, then on colour, off colour, enabled.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;

    /// The colour index shown (3, grey, while disabled).
    int32_t State() const { return m_state; }
    bool Enabled() const { return m_enabled; }
    const CLightColours& Colours() const { return m_colours; }
    /// The dialog's OK: both indices 0 to 6, else refused (false).
    bool SetColours(CLightColours colours);

  private:
    CLightColours m_colours;
    bool m_enabled = true;
    bool m_on = true;  // "Turn On" in this cycle
    int32_t m_state = 0;
};

}  // namespace zor2
