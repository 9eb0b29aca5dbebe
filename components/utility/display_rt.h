// Runtime 7-Segment LED and Integrated Column Chart: pictures of the designer's
// view; the runtime reads their base records and computes nothing.
#pragma once

#include "components/utility/display_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelLEDDigit final : public CRNetworkModel {
  public:
    explicit CRModelLEDDigit(int32_t typeId) : CRNetworkModel(typeId) {}
    /// Nothing to run in a cycle.
    void Compile(CRPlan&) override {}
};

class CRModelChartColumn final : public CRNetworkModel {
  public:
    explicit CRModelChartColumn(int32_t typeId) : CRNetworkModel(typeId) {}
    /// Nothing to run in a cycle.
    void Compile(CRPlan&) override {}
};

}  // namespace zor2
