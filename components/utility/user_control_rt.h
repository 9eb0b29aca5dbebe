// Runtime user controls (types 59 and 78): nothing presses them in a host, so
// each publishes in every cycle the value the control had when it was exported.
#pragma once

#include "components/utility/user_control_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelUserButton final : public CRNetworkModel {
  public:
    explicit CRModelUserButton(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t Execute() override;
    void Compile(CRPlan& plan) override;

  private:
    CUserButtonFields m_fields;
};

class CRModelUserButtonUpDown final : public CRNetworkModel {
  public:
    explicit CRModelUserButtonUpDown(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t Execute() override;
    void Compile(CRPlan& plan) override;

  private:
    CUpDownFields m_fields;
};

}  // namespace zor2
