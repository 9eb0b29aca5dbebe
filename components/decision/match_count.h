// Match Count (type 46): groups equal input values into bins and counts the
// pairs of inputs whose values agree within the component's tolerance.
#pragma once

#include <cstdint>
#include <vector>

#include "components/decision/pattern_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelMatchCount : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelMatchCount"; }
    /// Base part, then the enabled flag.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ExportRuntime(CByteWriter& w) const override;

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on) { m_enabled = on; }
    const CMatchCount& Counts() const { return m_count; }

  private:
    bool m_enabled = true;  // stored; no dialog changes it
    CMatchCount m_count;
    std::vector<double> m_values;  // reused every cycle
    std::vector<uint8_t> m_connected;
};

}  // namespace zor2
