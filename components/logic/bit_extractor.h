// The 8-, 16- and 32-bit extractors (types 28-30): one output per bit of the
// "Number" input truncated to an integer.
#pragma once

#include "engine/component.h"

namespace zor2 {

class CModelBitExtractor : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelBitExtractor"; }
    void GetInputValues() override;
    void Execute() override;
};

}  // namespace zor2
