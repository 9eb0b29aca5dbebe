// The unary functions absolute value, raise to power and square root
// (types 47-49): one designer class with the function chosen by the type id.
#pragma once

#include "components/math/math_exp_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelMathExp : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelMathExp"; }
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ExportRuntime(CByteWriter& w) const override;

    bool Enabled() const { return m_params.enabled; }
    void SetEnabled(bool enabled) { m_params.enabled = enabled; }
    int32_t Power() const { return m_power; }

  private:
    CMathExpParams m_params;
    int32_t m_power = 1;  // exponent of Raise to Power, set every cycle
};

}  // namespace zor2
