// The accumulating statistics of the designer: Running Stats over a scalar
// series, Moving Average over the last L values, Running Total.
#pragma once

#include <string>
#include <vector>

#include "components/math/stats_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelRunningStats : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelRunningStats"; }
    void GetInputValues() override;
    void Execute() override;
    void ResetValues() override;
    const CRunningStats& Stats() const { return m_stats; }

  private:
    CRunningStats m_stats;
    bool m_enabled = true;
};

class CModelStatsMovingAvg : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelStatsMovingAvg"; }
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ResetValues() override;
    void ExportRuntime(CByteWriter& w) const override;
    std::vector<std::string> HelperText() const override;

    const CMovingAverage& Average() const { return m_average; }
    /// The property dialog's OK: a new window of `length` zeros, the count restarted.
    void SetLength(int32_t length) { m_average.Restart(length); }

  private:
    CMovingAverage m_average;
};

class CModelStatsRunTotal : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelStatsRunTotal"; }
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ResetValues() override;
    void ExportRuntime(CByteWriter& w) const override;

  private:
    bool m_enabled = true;
};

}  // namespace zor2
