// Runtime trigonometric functions (types 82-84).
#pragma once

#include "components/math/angle_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelAngle final : public CRNetworkModel {
  public:
    explicit CRModelAngle(int32_t typeId) : CRNetworkModel(typeId), m_function(AngleFunction(typeId)) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    int32_t m_function;
    bool m_radians = false;
    bool m_enabled = true;
    CRModelInput* m_radiansInput = nullptr;  // found once after loading
    CRModelInput* m_valueInput = nullptr;
};

}  // namespace zor2
