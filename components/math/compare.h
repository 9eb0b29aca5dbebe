// Compare to Input and Compare to Constant (types 15-20): counts the inputs
// that equal, exceed or fall below one compare value K.
#pragma once

#include <string>

#include "components/math/compare_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelCompare : public CNetworkModel {
  public:
    CModelCompare() { m_tolerance = kCompareTolerance; }
    const char* ClassName() const override { return "CModelCompare"; }
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ExportRuntime(CByteWriter& w) const override;
    bool CompileStep(CCycleStep& step) override;

    /// The compare value K (the parameter of Compare to Constant).
    double CompareValue() const { return m_params.compareValue; }
    void SetCompareValue(double k) { m_params.compareValue = k; }
    /// The compare value as its property dialog shows it ("%0.2f").
    std::string CompareValueText() const;
    /// Takes the compare value from the dialog's text. Text that is not one
    /// finite number (surrounding blanks allowed) is refused and changes nothing.
    bool SetCompareValueText(const std::string& text);
    bool ReservedFlag() const { return m_params.reserved; }
    void SetReservedFlag(bool flag) { m_params.reserved = flag; }
    int32_t ConnectedCount() const { return m_connected; }

  private:
    CCompareParams m_params;
    int32_t m_connected = 0;  // connected inputs counted this cycle
};

}  // namespace zor2
