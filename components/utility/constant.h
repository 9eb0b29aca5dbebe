// The Constant component: publishes its value every cycle.
#pragma once

#include "engine/component.h"

namespace zor2 {

inline constexpr int32_t kTypeConstant = 41;

class CModelConstant : public CNetworkModel {
  public:
    CModelConstant() { m_value = 10.0; }
    const char* ClassName() const override { return "CModelConstant"; }
    void GetInputValues() override {}
    void Execute() override;
    bool CompileStep(CCycleStep& step) override;
};

}  // namespace zor2
