// The single- and dual-pole toggles (types 10, 11): the state is the first
// output's value and flips in every cycle whose "On Off" input is true.
#pragma once

#include "engine/component.h"

namespace zor2 {

class CModelToggle : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelToggle"; }
    void GetInputValues() override;
    void Execute() override;
};

}  // namespace zor2
