// Runtime Running Stats, Moving Average and Running Total: the designer's
// cycles without value texts; Running Stats resets itself through "Reset".
#pragma once

#include "components/math/stats_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelRunningStats final : public CRNetworkModel {
  public:
    explicit CRModelRunningStats(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    CRunningStats m_stats;
    bool m_enabled = true;
    CRModelInput* m_on = nullptr;
    CRModelInput* m_valueIn = nullptr;
    CRModelInput* m_reset = nullptr;
};

class CRModelStatsMovingAvg final : public CRNetworkModel {
  public:
    explicit CRModelStatsMovingAvg(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    CMovingAverage m_average;
};

class CRModelStatsRunTotal final : public CRNetworkModel {
  public:
    explicit CRModelStatsRunTotal(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    bool m_enabled = true;
};

}  // namespace zor2
