// The random value sources: the RandNum Generator (a new random number every n
// cycles or seconds) and the Dynamic Sim Value (a random walk with optional bounds).
#pragma once

#include <string>
#include <vector>

#include "components/utility/rand_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelRandGen : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelRandGen"; }
    /// Base part, then low, high, mode, timing, interval, zero while waiting, enabled.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ResetValues() override;
    void ExportRuntime(CByteWriter& w) const override;

    const CRandomDraw& Draw() const { return m_fields.draw; }
    bool Enabled() const { return m_fields.enabled; }
    const CRandomState& State() const { return m_state; }
    /// The property dialog's OK: mode 1 sets the range 0..1 and mode 2 −1..1
    /// whatever `draw` holds; the output shows 3 decimals in the floating
    /// modes and 0 in the integer mode. Refused (false, nothing changed) for a
    /// mode, timing or interval the dialog cannot produce or a bound that is
    /// not a finite number.
    bool SetDraw(CRandomDraw draw);
    std::vector<std::string> HelperText() const override;

  private:
    CRandGenFields m_fields;
    CRandomState m_state;
};

class CModelDynamicNumber : public CNetworkModel {
  public:
    CModelDynamicNumber() { m_value = m_fields.start; }
    const char* ClassName() const override { return "CModelDynamicNumber"; }
    /// Base part, then start value, low, high, mode, timing, interval, zero while
    /// waiting, use floor, use ceiling, floor, ceiling, enabled.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ResetValues() override;
    void ExportRuntime(CByteWriter& w) const override;

    const CDynamicFields& Fields() const { return m_fields; }
    const CRandomState& State() const { return m_state; }
    double Number() const { return m_value; }
    /// The property dialog's OK (start value, bounds, increment type and
    /// frequency; the dialog passes zero while waiting back unchanged). The
    /// enabled flag is kept. Refused as CModelRandGen::SetDraw,
    /// and for a start value or a bound in use that is not a finite number.
    bool SetFields(const CDynamicFields& fields);
    std::vector<std::string> HelperText() const override;

  private:
    CDynamicFields m_fields;
    CRandomState m_state;
};

}  // namespace zor2
