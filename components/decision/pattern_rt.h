// Runtime pattern components: Pattern Generator, Analyzer and Recorder compute
// as the designer's do; the analyzer keeps only its last analyzed patterns.
#pragma once

#include <vector>

#include "components/decision/pattern_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

/// What the three share: the enable state, the pattern list of the record and
/// the data inputs (every input but input 10), resolved at load.
class CRModelPatternBase : public CRNetworkModel {
  public:
    explicit CRModelPatternBase(int32_t typeId) : CRNetworkModel(typeId) {}
    /// Base record, then enable state, count and patterns.
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    /// The component value goes to 0 and the enable state is read.
    int32_t GetInputValues() override;

  protected:
    /// The bit set of the data inputs this cycle.
    uint32_t ReadBits();
    int32_t ConnectedDataInputs() const;

    bool m_enabled = true;
    std::vector<CPattern> m_patterns;
    CRModelInput* m_enable = nullptr;
    std::vector<CRModelInput*> m_dataInputs;
    std::vector<double> m_values;
};

class CRModelPatternGenerator final : public CRModelPatternBase {
  public:
    using CRModelPatternBase::CRModelPatternBase;
    int32_t GetInputValues() override;
    int32_t Execute() override;
};

class CRModelPatternAnalyzer final : public CRModelPatternBase {
  public:
    using CRModelPatternBase::CRModelPatternBase;
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t Execute() override;
    const CPatternAnalysis& Analysis() const { return m_analysis; }

  private:
    CPatternAnalysis m_analysis;
};

class CRModelPatternRecorder final : public CRModelPatternBase {
  public:
    using CRModelPatternBase::CRModelPatternBase;
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t Execute() override;

  private:
    CPatternRecording m_recording;
    CRModelOutput* m_out[6] = {};  // outputs 10 … 60
};

}  // namespace zor2
