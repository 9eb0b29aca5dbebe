// Runtime spectral analysis: record fields, the frame at input 10 and the outputs.
#include "components/signals/fft_mfcc_rt.h"

#include "components/signals/signal_rt.h"

namespace zor2 {

size_t CRModelSignalFFT::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    in.I32(m_points);
    in.F64(m_sampleRate);
    m_rateIn = FindInput(20);
    for (int i = 0; i < 6; ++i) m_outs[i] = FindOutputAtLoad(*this, 10 * (i + 1));
    return offset + (in.Position() - start);
}

int32_t CRModelSignalFFT::GetInputValues() {
    if (!m_inputs.empty()) {
        const CFrame frame = RuntimeFrame(&m_inputs.front(), true);
        m_points = frame.data ? frame.count : 0;
        m_analysed = m_analyser.Analyse(frame.data, frame.count, m_points, m_sampleRate);
    }
    if (m_rateIn && m_rateIn->HasSource()) {
        m_rateIn->Pull();
        m_sampleRate = m_rateIn->m_value;
    }
    return 0;
}

int32_t CRModelSignalFFT::Execute() {
    const CSpectrumSummary& s = m_analyser.Summary();
    const double values[] = {
        static_cast<double>(s.bins), 0.0, s.binSize, s.peakFreq, s.lowestFreq, s.nyquistFreq};
    for (int i = 0; i < 6; ++i)
        if (m_outs[i]) m_outs[i]->m_value = values[i];
    if (m_analysed)
        PublishArray(m_outs[1], {const_cast<double*>(m_analyser.Spectrum()), s.bins, 0.0, s.peakMagnitude});
    else
        PublishArray(m_outs[1], {});
    return 0;
}

size_t CRModelSignalMFCC::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    MfccSettingsFields(in, m_settings);
    if (m_settings.filterCount < 0 || m_settings.filterCount > kMaxMelFilters) {
        in.Fail("Voice MFCC filter count out of range");
        return offset + (in.Position() - start);
    }
    std::vector<CMelEntry> entries;
    if (in.CheckCount(m_settings.filterCount, kMelEntryBytes, "Voice MFCC filter")) {
        entries.resize(static_cast<size_t>(m_settings.filterCount));
        for (CMelEntry& e : entries) MelEntryFields(in, e);
    }
    // Each output takes the coefficient of the enabled filter with its id.
    if (!in.Failed() && BuildMelBank(m_bank, m_settings, entries)) {
        for (CRModelOutput& out : m_outputs)
            if (const CMelFilter* f = m_bank.Find(out.m_id); f && f->enabled)
                m_links.emplace_back(&out, f->id);
    }
    return offset + (in.Position() - start);
}

int32_t CRModelSignalMFCC::GetInputValues() {
    const CFrame frame = m_inputs.empty() ? CFrame{} : RuntimeFrame(&m_inputs.front(), true);
    m_spectrum = frame.data;
    m_spectrumCount = frame.data ? frame.count : 0;
    return 0;
}

int32_t CRModelSignalMFCC::Execute() {
    if (!m_bank.Initialized()) return 0;
    m_bank.Compute(m_spectrum, m_spectrumCount);
    for (const auto& [out, id] : m_links)
        out->m_value = m_bank.Filters()[static_cast<size_t>(id - 1)].coefficient;
    return 0;
}

namespace {
constexpr CRuntimeType kSpectrumTypes[] = {
    {kTypeSignalFft, CreateRuntimeAs<CRModelSignalFFT>},
    {kTypeVoiceMfcc, CreateRuntimeAs<CRModelSignalMFCC>},
};
}  // namespace

std::span<const CRuntimeType> FftMfccRuntimeTypes() {
    return kSpectrumTypes;
}

}  // namespace zor2
