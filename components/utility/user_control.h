// The user controls (types 59 and 78): a button and an up-down control that the
// user operates with the mouse while the simulation runs.
#pragma once

#include <string>
#include <vector>

#include "components/utility/user_control_kernel.h"
#include "engine/component.h"

namespace zor2 {

/// User Control Button: on for one cycle per press, while held, or toggled.
class CModelUserButton : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelUserButton"; }
    /// Base part (which carries the value, so a toggled-on button stays on), then mode and reserved flag.
    void Serialize(CArchive& ar) override;
    /// A single-event button turns itself off in the cycle after the one that published it.
    void GetInputValues() override;
    void Execute() override;
    void ExportRuntime(CByteWriter& w) const override;

    /// The mouse went down on the button (or double-clicked it); the output shows the value at once.
    void Press();
    void Release();
    int32_t Mode() const { return m_fields.mode; }
    /// The dialog's choice, 0 to 2; anything else is refused (false).
    bool SetMode(int32_t mode);
    bool WasOn() const { return m_wasOn; }
    /// "Press Me" and the response line.
    std::vector<std::string> HelperText() const override;

  private:
    CUserButtonFields m_fields;
    bool m_wasOn = false;  // the value was above the threshold at the last Execute
};

/// User Button Up Down: steps a number up or down by the half of its box pressed.
class CModelUserButtonUpDown : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelUserButtonUpDown"; }
    /// Base part, then increment, size style, mode, base value and reserved flag.
    void Serialize(CArchive& ar) override;
    /// Lays out the ports, then the up area above the middle and the down area below it.
    void SetPosition(int32_t x, int32_t y) override;
    /// The box by size style: 178, 130, 42 × 94 (the default) or 194 pixels, centred on the position.
    void CalcSize() override;
    void GetInputValues() override {}
    /// While held in the stepping mode of a running simulation the value moves by one increment.
    void Execute() override;
    /// Back to the starting value, released.
    void ResetValues() override;
    void ExportRuntime(CByteWriter& w) const override;

    /// The mouse went down at model point `at`: the upper half makes the
    /// increment positive, the lower half negative; the output shows the value at once.
    void Press(CPoint at);
    void Release() { m_held = false; }
    bool Held() const { return m_held; }
    const CUpDownFields& Fields() const { return m_fields; }
    const CRect& UpArea() const { return m_upArea; }
    const CRect& DownArea() const { return m_downArea; }
    /// The dialog's OK: starting value and increment; refused (false) unless both are finite.
    bool SetSteps(double baseValue, double increment);
    /// "Base Value: %0.2f" and "Increment: %0.2f".
    std::vector<std::string> HelperText() const override;

  private:
    CUpDownFields m_fields;
    CRect m_upArea;
    CRect m_downArea;
    bool m_held = false;
};

/// Whether the mouse operates the component while the simulation runs (types 59 and 78).
bool IsUserControl(const CNetworkModel& component);
/// Presses a user control at model point `at`; false for any other component.
bool PressUserControl(CNetworkModel& component, CPoint at);
/// Releases a user control; false for any other component.
bool ReleaseUserControl(CNetworkModel& component);

}  // namespace zor2
