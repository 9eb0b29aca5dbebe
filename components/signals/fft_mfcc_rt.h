// Runtime Signal FFT and Voice MFCC. The runtime FFT transforms the whole frame
// it receives (its largest power of two), whatever size the designer stored.
#pragma once

#include <utility>
#include <vector>

#include "components/signals/fft_kernel.h"
#include "components/signals/mel_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelSignalFFT final : public CRNetworkModel {
  public:
    explicit CRModelSignalFFT(int32_t typeId) : CRNetworkModel(typeId) {}
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    int32_t m_points = 0;
    double m_sampleRate = 0.0;
    bool m_analysed = false;
    CSpectrumAnalyser m_analyser;
    CRModelInput* m_rateIn = nullptr;
    CRModelOutput* m_outs[6] = {};  // outputs 10 … 60
};

class CRModelSignalMFCC final : public CRNetworkModel {
  public:
    explicit CRModelSignalMFCC(int32_t typeId) : CRNetworkModel(typeId) {}
    /// The settings and one entry per filter; a filter count outside 0 …
    /// kMaxMelFilters fails the read.
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

  private:
    CMfccSettings m_settings;
    CMelFilterBank m_bank;
    std::vector<std::pair<CRModelOutput*, int32_t>> m_links;  // output, filter id
    const double* m_spectrum = nullptr;
    int32_t m_spectrumCount = 0;
};

}  // namespace zor2
