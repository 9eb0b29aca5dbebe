// Runtime bit extractors (types 28-30): one output per bit, as the designer's.
#pragma once

#include "runtime/rt_model.h"

namespace zor2 {

class CRModelBitExtractor final : public CRNetworkModel {
  public:
    explicit CRModelBitExtractor(int32_t typeId) : CRNetworkModel(typeId) {}
    int32_t GetInputValues() override;
    int32_t Execute() override;
};

}  // namespace zor2
