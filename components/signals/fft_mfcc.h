// Spectral analysis in the designer: Signal FFT (the magnitude spectrum of a
// frame) and Voice MFCC (mel cepstral coefficients of a spectrum, one output
// per filter the property dialog selects).
#pragma once

#include <string>
#include <vector>

#include "components/signals/fft_kernel.h"
#include "components/signals/mel_kernel.h"
#include "engine/component.h"

namespace zor2 {

inline constexpr int32_t kFftDefaultPoints = 256;
inline constexpr double kFftDefaultRate = 11025.0;

class CModelSignalFFT : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelSignalFFT"; }
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ExportRuntime(CByteWriter& w) const override;
    std::vector<std::string> HelperText() const override;

    int32_t Points() const { return m_points; }
    double SampleRate() const { return m_sampleRate; }
    void SetPoints(int32_t n) { m_points = n; }
    void SetSampleRate(double rate) { m_sampleRate = rate; }
    const CSpectrumAnalyser& Analyser() const { return m_analyser; }

  private:
    int32_t m_points = kFftDefaultPoints;
    double m_sampleRate = kFftDefaultRate;
    bool m_analysed = false;
    CSpectrumAnalyser m_analyser;
};

class CModelSignalMFCC : public CNetworkModel {
  public:
    CModelSignalMFCC() { m_entries = DefaultMelEntries(m_settings.filterCount); }
    const char* ClassName() const override { return "CModelSignalMFCC"; }
    /// Base part, the five settings, the output count, then (with outputs) one
    /// entry per filter. A filter count outside 0 … kMaxMelFilters fails the load.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ExportRuntime(CByteWriter& w) const override;
    std::vector<std::string> HelperText() const override;

    const CMfccSettings& Settings() const { return m_settings; }
    const std::vector<CMelEntry>& Entries() const { return m_entries; }
    const CMelFilterBank& Bank() const { return m_bank; }
    /// The property dialog's OK: deletes every output with its connections,
    /// rebuilds the bank and adds an output "c%d %0.0fHz" for each enabled
    /// filter 2 … n−1. False, nothing changed, when the bank cannot be built.
    bool Configure(const CMfccSettings& settings, const std::vector<CMelEntry>& entries);

  private:
    CMfccSettings m_settings;
    std::vector<CMelEntry> m_entries;
    CMelFilterBank m_bank;
    const double* m_spectrum = nullptr;
    int32_t m_spectrumCount = 0;
};

/// The settings the Voice MFCC dialog starts from: the component's, or for a
/// bank never built, 256 bins from 100 Hz up to half the rate (at most 5000 Hz).
CMfccSettings MfccDialogSettings(const CModelSignalMFCC& component);

}  // namespace zor2
