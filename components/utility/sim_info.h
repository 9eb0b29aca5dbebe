// The Sim Info components: the simulated time and the cycle number the
// simulation controller keeps (types 53, 54), and the local time (type 55).
#pragma once

#include <ctime>

#include "components/utility/sim_info_kernel.h"
#include "engine/component.h"

namespace zor2 {

/// Sim Info SimTime and Sim Info Count.
class CModelSimInfo : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelSimInfo"; }
    /// Base part, then enabled.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override {}
    void Execute() override;
    /// The base reset, then the first output is 0.
    void ResetValues() override;
    void ExportRuntime(CByteWriter& w) const override;
    bool Enabled() const { return m_enabled; }

  private:
    bool m_enabled = true;
};

/// Sim Info LocalTime: seconds since the computer started and the local date and time.
class CModelSimInfoSysTime : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelSimInfoSysTime"; }
    void Serialize(CArchive& ar) override;
    void GetInputValues() override {}
    void Execute() override;
    /// The outputs keep their values: a reset changes nothing here.
    void ResetValues() override {}
    void ExportRuntime(CByteWriter& w) const override;
    /// Publishes the tick count and the calendar fields of `local` (null: the
    /// local time could not be had, and outputs 20 to 80 keep their values).
    void Publish(uint32_t tickMs, const std::tm* local);

  private:
    bool m_enabled = true;
};

}  // namespace zor2
