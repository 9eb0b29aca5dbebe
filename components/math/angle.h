// The trigonometric functions sine, cosine and tangent (types 82-84): one
// designer class with the function chosen by the type id.
#pragma once

#include "components/math/angle_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelAngle : public CNetworkModel {
  public:
    explicit CModelAngle(int32_t function) : m_function(function) {}
    const char* ClassName() const override { return "CModelAngle"; }
    void GetInputValues() override;
    void Execute() override;

    int32_t Function() const { return m_function; }
    bool Radians() const { return m_radians; }
    bool Enabled() const { return m_enabled; }

  private:
    int32_t m_function;      // 0 sine, 1 cosine, 2 tangent
    bool m_radians = false;  // set every cycle from "Radians?"
    bool m_enabled = true;   // set every cycle from "Enable"
};

}  // namespace zor2
