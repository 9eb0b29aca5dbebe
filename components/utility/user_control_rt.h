// Runtime user controls (types 59 and 78): nothing presses them in a host, so
// each publishes in every cycle the value the control had when it was exported.
#pragma once

#include "components/utility/user_control_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

/// What both controls do in a host: publish the exported value every cycle.
class CRModelControlValue : public CRNetworkModel {
  public:
    using CRNetworkModel::CRNetworkModel;
    int32_t Execute() override;
    void Compile(CRPlan& plan) override;
};

class CRModelUserButton final : public CRModelControlValue {
  public:
    using CRModelControlValue::CRModelControlValue;
    size_t ReadRuntime(CByteReader& in, size_t offset) override;

  private:
    CUserButtonFields m_fields;
};

class CRModelUserButtonUpDown final : public CRModelControlValue {
  public:
    using CRModelControlValue::CRModelControlValue;
    size_t ReadRuntime(CByteReader& in, size_t offset) override;

  private:
    CUpDownFields m_fields;
};

}  // namespace zor2
