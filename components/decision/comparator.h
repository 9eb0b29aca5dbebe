// The Target Input Comparator (type 80): tells whether an input is above, at
// or below a target value.
#pragma once

#include "components/decision/comparator_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelComparator : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelComparator"; }
    void GetInputValues() override;
    void Execute() override;

    bool Enabled() const { return m_enabled; }
    double Difference() const { return m_difference; }

  private:
    bool m_enabled = true;
    double m_ownTolerance = kComparatorTolerance;  // not the base tolerance; neither saved nor exported
    double m_difference = 0.0;                     // target minus input, last computed
    double m_target = 0.0;
    double m_inputValue = 0.0;
};

}  // namespace zor2
