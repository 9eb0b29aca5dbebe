// The truth checks AND, NAND, OR, NOR, exclusive OR and invert (types 3-8):
// one designer class whose gate is chosen by the type id.
#pragma once

#include "engine/component.h"

namespace zor2 {

class CModelTruthCheck : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelTruthCheck"; }
    void GetInputValues() override;
    void Execute() override;
};

}  // namespace zor2
