// The pattern components: Pattern Generator (type 70) drives its outputs with
// a stored pattern chosen by a number, Pattern Analyzer (71) looks its inputs'
// pattern up among registered ones, Pattern Recorder (72) learns every new one.
#pragma once

#include <string>
#include <vector>

#include "components/decision/pattern_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelPatternGenerator : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelPatternGenerator"; }
    /// Base part, then the pattern list.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ExportRuntime(CByteWriter& w) const override;

    bool Enabled() const { return m_enabled; }
    const std::vector<CPattern>& Patterns() const { return m_patterns; }
    /// Replaces the patterns; those without an id (below 1) get fresh ones.
    void SetPatterns(std::vector<CPattern> patterns);
    /// "Add Output": an On/Off output "Output %d" (the count before it); false at 32 outputs.
    bool AddPatternOutput();

  private:
    bool m_enabled = true;
    std::vector<CPattern> m_patterns;
};

class CModelPatternAnalyzer : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelPatternAnalyzer"; }
    /// Base part, then the registered patterns.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ResetValues() override;
    void ExportRuntime(CByteWriter& w) const override;

    bool Enabled() const { return m_enabled; }
    const CPatternAnalysis& Analysis() const { return m_analysis; }
    CPatternAnalysis& Analysis() { return m_analysis; }
    /// An import's effect on the inputs: on `rebuild` every input but input 10
    /// goes with its connection; then data column i (i ≥ 2) of `header` names
    /// the input with id i, made when missing (ids from 10 on are one higher, so
    /// that input 10 stays the enable input and column k stays data input k).
    void TakeImportHeader(const std::vector<std::string>& header, bool rebuild);

  private:
    bool m_enabled = true;
    CPatternAnalysis m_analysis;
    std::vector<double> m_data;  // data input values of the cycle, reused
};

class CModelPatternRecorder : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelPatternRecorder"; }
    /// Base part, then the recorded patterns.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ResetValues() override;
    void ExportRuntime(CByteWriter& w) const override;

    bool Enabled() const { return m_enabled; }
    const CPatternRecording& Recording() const { return m_recording; }

  private:
    bool m_enabled = true;
    CPatternRecording m_recording;
    std::vector<double> m_data;
};

/// Reads registered patterns from a CSV file: the header (kept in `header`),
/// then one pattern per line. Stops at a line with fewer fields than the header
/// (the patterns before it stay). Returns what the user is told: the count
/// read, with the reason when the file could not be read or the import stopped.
std::string ReadRegisteredPatterns(const std::string& path, std::vector<std::string>& header,
                                   std::vector<CPattern>& patterns, bool& opened);

/// The column id rule of the registered-pattern import (see TakeImportHeader).
int32_t ImportColumnInputId(size_t column);

}  // namespace zor2
