// The mel filter bank: building the triangles, weighing the bins and turning a
// spectrum into cepstral coefficients.
#include "components/signals/mel_kernel.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "algo/platform.h"

namespace zor2 {

namespace {
// The decimal constant of the cosine transform, not π itself.
constexpr double kMelPi = 3.14159265;
}  // namespace

double HzToMel(double hz) {
    return 1125 * std::log(1 + hz / 700);
}

double MelToHz(double mel) {
    return 700 * (std::exp(mel / 1125) - 1);
}

CMelFilter* CMelFilterBank::Find(int32_t id) {
    for (CMelFilter& f : m_filters)
        if (f.id == id) return &f;
    return nullptr;
}

const CMelFilter* CMelFilterBank::Find(int32_t id) const {
    return const_cast<CMelFilterBank*>(this)->Find(id);
}

bool CMelFilterBank::Build(int32_t n, int32_t bins, double low, double high, double rate, double resolution) {
    if (low == -1) low = LowestCentre();
    if (high == -1) high = HighestCentre();
    if (!(high - low >= kMinMelRange)) return false;
    if (n == -1) n = FilterCount();
    if (n < 2 || n > kMaxMelFilters || bins < 1 || bins > kMaxMelBins || !std::isfinite(resolution) ||
        resolution <= 0.0)
        return false;
    if (rate > 0) m_rate = rate;
    m_filters.assign(static_cast<size_t>(n), CMelFilter{});
    m_resolution = resolution;
    m_bins = bins;
    m_binFreq.resize(static_cast<size_t>(bins));
    for (int32_t j = 0; j < bins; ++j) m_binFreq[static_cast<size_t>(j)] = (j + 1) * resolution;
    const double melLow = HzToMel(low);
    const double melHigh = HzToMel(high);
    const double step = (melHigh - melLow) / (n - 1);
    double m = melLow;
    double previous = 0.0;
    for (int32_t k = 0; k < n; ++k) {
        CMelFilter& f = m_filters[static_cast<size_t>(k)];
        f.id = k + 1;
        f.mel = m;
        f.centre = MelToHz(m);
        f.lower = previous;
        m = m + step;
        f.upper = MelToHz(m);
        previous = f.centre;
        Trace("Initialized filter bank %d (dcurrMel: %0.1f, dcurrFreq: %0.1f) border freqs: %0.1f, %0.1f\n",
              f.id, f.mel, f.centre, f.lower, f.upper);
    }
    if (n >= 2 && m_filters[1].upper - m_filters[1].lower < resolution)
        Trace("the freq resolution is not fine enough for at least the first filter...\n");
    Trace("Done initializing filter banks...\n");
    Weigh();
    m_cosines.resize(static_cast<size_t>(n - 1) * static_cast<size_t>(n - 2));
    for (int32_t a = 2; a <= n; ++a)
        for (int32_t k = 2; k <= n - 1; ++k)
            m_cosines[static_cast<size_t>(a - 2) * static_cast<size_t>(n - 2) + static_cast<size_t>(k - 2)] =
                std::cos((k - 1 + 0.5) * (kMelPi / (n - 1)) * (a - 1));
    m_initialized = true;
    return true;
}

void CMelFilterBank::Weigh() {
    const size_t n = m_filters.size();
    // The two guard filters only bound their neighbours.
    for (size_t k = 1; k + 1 < n; ++k) {
        CMelFilter& f = m_filters[k];
        f.weights.assign(static_cast<size_t>(m_bins), 0.0);
        const double lo = f.lower;
        const double c = f.centre;
        const double up = f.upper;
        for (int32_t j = 0; j < m_bins; ++j) {
            const double w = m_binFreq[static_cast<size_t>(j)];
            double& weight = f.weights[static_cast<size_t>(j)];
            if (lo <= w && w < c)
                weight = (w - lo) / (c - lo);
            else if (c <= w && w < up)
                weight = (up - w) / (up - c);
            else
                continue;
            if (f.firstBin < 0) f.firstBin = j;
            f.lastBin = j;
            if (f.centreBin < 0 && std::fabs(w - c) < m_resolution) f.centreBin = j;
        }
    }
    Trace("Done creating values for all filter banks...\n");
    for (const CMelFilter& f : m_filters) Trace("Filter %d: bins %d to %d\n", f.id, f.firstBin, f.lastBin);
}

void CMelFilterBank::Compute(const double* spectrum, int32_t count) {
    if (!m_initialized) return;
    if (!spectrum) {
        for (CMelFilter& f : m_filters) f.coefficient = 0.0;
        return;
    }
    const int32_t n = FilterCount();
    // Bins outside a triangle weigh 0 and add nothing to its sum.
    const int32_t lastReadable = std::min(m_bins, count) - 1;
    for (int32_t k = 1; k < n - 1; ++k) {
        CMelFilter& f = m_filters[static_cast<size_t>(k)];
        double e = 0.0;
        if (f.firstBin >= 0) {
            const int32_t last = std::min(f.lastBin, lastReadable);
            for (int32_t i = std::max(f.firstBin, 1); i <= last; ++i)
                e += spectrum[i] * f.weights[static_cast<size_t>(i)];
        }
        f.energy = e;
        f.logEnergy = std::log(std::max(e, DBL_MIN));
    }
    const size_t inner = static_cast<size_t>(n - 2);
    for (int32_t a = 2; a <= n; ++a) {
        const double* row = m_cosines.data() + static_cast<size_t>(a - 2) * inner;
        double sum = 0.0;
        for (size_t k = 0; k < inner; ++k) sum += m_filters[k + 1].logEnergy * row[k];
        m_filters[static_cast<size_t>(a - 1)].coefficient = sum;
    }
}

double MelResolution(double rate, int32_t bins) {
    return bins > 0 ? rate / (2.0 * bins) : 0.0;
}

bool BuildMelBank(CMelFilterBank& bank, const CMfccSettings& s, const std::vector<CMelEntry>& entries) {
    if (!bank.Build(s.filterCount, s.bins, s.lowestCentre, s.highestCentre, s.sampleRate,
                    MelResolution(s.sampleRate, s.bins)))
        return false;
    for (const CMelEntry& e : entries)
        if (CMelFilter* f = bank.Find(e.id)) f->enabled = e.enabled;
    return true;
}

bool SkipMfccRuntimeBody(CByteReader& body) {
    // The settings (28 bytes) say how many filter entries follow them.
    CMfccSettings s;
    CByteReader settings = body;
    MfccSettingsFields(settings, s);
    if (settings.Failed() || s.filterCount < 0 || s.filterCount > kMaxMelFilters) return false;
    return body.Skip(28 + kMelEntryBytes * static_cast<size_t>(s.filterCount));
}

std::vector<CMelEntry> DefaultMelEntries(int32_t n) {
    std::vector<CMelEntry> entries;
    for (int32_t id = 1; id <= std::clamp(n, 0, kMaxMelFilters); ++id) entries.push_back({id, false});
    return entries;
}

}  // namespace zor2
