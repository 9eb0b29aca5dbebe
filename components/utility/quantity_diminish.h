// Quantity Diminishing: a container drained each cycle (automatically or through
// an input), filled through an input and refilled to its maximum on reset.
#pragma once

#include <string>
#include <vector>

#include "components/utility/timing_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelQuantityDiminish : public CNetworkModel {
  public:
    CModelQuantityDiminish() { m_value = 100.0; }
    const char* ClassName() const override { return "CModelQuantityDiminish"; }
    /// Base part, then minimum, maximum, enabled. Auto rate and auto mode are
    /// not stored: loading restores their defaults.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    /// Refills to the maximum; the other ports keep their values.
    void ResetValues() override;
    void ExportRuntime(CByteWriter& w) const override;

    double Amount() const { return m_value; }
    double Minimum() const { return m_fields.minimum; }
    double Maximum() const { return m_fields.maximum; }
    bool Enabled() const { return m_fields.enabled; }
    double AutoRate() const { return m_autoRate; }
    bool AutoMode() const { return m_autoMode; }
    /// The property dialog's fields. Refused (false, nothing changed) for values
    /// that are not finite numbers.
    bool SetContainer(double minimum, double maximum);
    bool SetAuto(bool on, double rate);
    /// The line the runtime export reports when the runtime file cannot carry
    /// the auto-diminish setting: the runtime consumes the default rate
    /// automatically unless "Decrement (consume)" is connected.
    std::string RuntimeExportNote() const override;
    /// Auto rate and auto mode, which the project record does not carry.
    bool UnsavedSettings(CArchive& ar) override;
    /// "Helper Text" lines drawn under the box.
    std::vector<std::string> HelperText() const override;

  private:
    // Template ports by id (inputs 20, 30, 40; outputs 10..40), found on first use.
    void FindPorts();

    CQuantityFields m_fields;
    double m_autoRate = kQuantityAutoRate;
    bool m_autoMode = true;
    CModelInput* m_reset = nullptr;
    CModelInput* m_consume = nullptr;
    CModelInput* m_fill = nullptr;
    CModelOutput* m_outs[4] = {nullptr, nullptr, nullptr, nullptr};
};

}  // namespace zor2
