// The mel filter bank of the Voice MFCC, shared by the designer's component and
// its property dialog and by the runtime's CRModelSignalMFCC: triangular filters
// on the mel scale, their log energies and the cosine transform into coefficients.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "algo/bytes.h"

namespace zor2 {

/// Bins a bank covers at most, and filters it holds at most.
inline constexpr int32_t kMaxMelBins = 1024;
inline constexpr int32_t kMaxMelFilters = 256;
/// The narrowest range between the lowest and the highest centre (Hz).
inline constexpr double kMinMelRange = 100.0;

/// Hz → mel and back.
double HzToMel(double hz);
double MelToHz(double mel);

struct CMelFilter {
    int32_t id = 0;  // 1 … n in list order
    std::vector<double> weights;
    double mel = 0.0;
    double centre = 0.0;
    double lower = 0.0;
    double upper = 0.0;
    double energy = 0.0;
    double logEnergy = 0.0;
    double coefficient = 0.0;
    bool enabled = false;
    // Display: the first and last bin under the triangle, the bin at the centre (-1: none).
    int32_t firstBin = -1;
    int32_t lastBin = -1;
    int32_t centreBin = -1;
};

class CMelFilterBank {
  public:
    /// Builds n filters over `bins` bins of `resolution` Hz, centres from `low`
    /// to `high` evenly on the mel scale; filter k is bounded by the centres of
    /// its neighbours, the first starts at 0 Hz. -1 for n, low or high keeps the
    /// current value; a rate above 0 is taken. False, and the bank unchanged,
    /// when high − low is below 100 Hz, or for fewer than 2 or more than
    /// kMaxMelFilters filters, bins outside 1 … kMaxMelBins or a resolution that
    /// is not a positive number. The enabled flags start cleared.
    bool Build(int32_t n, int32_t bins, double low, double high, double rate, double resolution);

    bool Initialized() const { return m_initialized; }
    int32_t FilterCount() const { return static_cast<int32_t>(m_filters.size()); }
    int32_t Bins() const { return m_bins; }
    double Rate() const { return m_rate; }
    double Resolution() const { return m_resolution; }
    /// Centre of the first and of the last filter; 0 when not initialized.
    double LowestCentre() const { return m_filters.empty() ? 0.0 : m_filters.front().centre; }
    double HighestCentre() const { return m_filters.empty() ? 0.0 : m_filters.back().centre; }
    const std::vector<CMelFilter>& Filters() const { return m_filters; }
    /// The filter with this id, or null.
    CMelFilter* Find(int32_t id);
    const CMelFilter* Find(int32_t id) const;

    /// One cycle: every filter's coefficient from a magnitude spectrum of
    /// `count` values (null: all 0). Filters 2 … n−1 take the energy of bins
    /// 1 … bins−1 (bins beyond the spectrum count as silent) and its natural
    /// log, floored at the smallest normal double so that silence stays finite;
    /// filters 2 … n take the cosine sums of those log energies. Does nothing
    /// while the bank is not initialized.
    void Compute(const double* spectrum, int32_t count);

  private:
    void Weigh();

    std::vector<double> m_binFreq;
    double m_resolution = 0.0;
    int32_t m_bins = 0;
    double m_rate = 0.0;
    std::vector<CMelFilter> m_filters;
    bool m_initialized = false;
    std::vector<double> m_cosines;  // (n − 1) rows of n − 2: filters 2 … n by inner filters 2 … n−1
};

/// The Voice MFCC's stored settings and per-filter enabled flags, exactly as
/// the project file and the runtime file carry them.
struct CMfccSettings {
    int32_t sampleRate = 22050;
    int32_t filterCount = 24;
    double lowestCentre = 0.0;  // 0 before a bank was built
    double highestCentre = 0.0;
    int32_t bins = 0;
};

/// One filter entry of the records: its id and whether it has an output.
struct CMelEntry {
    int32_t id = 0;
    bool enabled = false;
};

/// The resolution every caller builds a bank with: rate / (2 × bins).
double MelResolution(double rate, int32_t bins);
/// Builds `bank` from `s`; the flags of `entries` enable the filters they name.
bool BuildMelBank(CMelFilterBank& bank, const CMfccSettings& s, const std::vector<CMelEntry>& entries);
/// Entries 1 … n, all disabled.
std::vector<CMelEntry> DefaultMelEntries(int32_t n);

/// The five settings fields, in record order.
template <class Ar, class S>
void MfccSettingsFields(Ar& ar, S& s) {
    ar.I32(s.sampleRate);
    ar.I32(s.filterCount);
    ar.F64(s.lowestCentre);
    ar.F64(s.highestCentre);
    ar.I32(s.bins);
}
/// One filter entry.
template <class Ar, class E>
void MelEntryFields(Ar& ar, E& e) {
    ar.I32(e.id);
    ar.Bool(e.enabled);
}
inline constexpr size_t kMelEntryBytes = 5;
/// Reads past a Voice MFCC runtime body after its base record: 28 bytes of
/// settings and one entry per filter (false when it does not fit).
bool SkipMfccRuntimeBody(CByteReader& body);

}  // namespace zor2
