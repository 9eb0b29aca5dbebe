// The arithmetic family (add, subtract, multiply, divide, minimum, maximum,
// sign reversal, range check): one designer class with an operation per type.
#pragma once

#include "engine/component.h"

namespace zor2 {

class CModelMath : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelMath"; }
    void GetInputValues() override;
    void Execute() override;
    bool CompileStep(CCycleStep& step) override;
};

}  // namespace zor2
