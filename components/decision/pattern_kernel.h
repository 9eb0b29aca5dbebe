// Binary patterns over several inputs or outputs (CPattern) and the computing
// cores of the Pattern Generator, Analyzer and Recorder and of Match Count
// (CBin), shared by the designer and the runtime.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "algo/bytes.h"
#include "algo/platform.h"

namespace zor2 {

inline constexpr int32_t kTypeMatchCount = 46;
inline constexpr int32_t kTypePatternGenerator = 70;
inline constexpr int32_t kTypePatternAnalyzer = 71;
inline constexpr int32_t kTypePatternRecorder = 72;

/// Outputs a generator's dialog lets the user add.
inline constexpr int32_t kMaxGeneratorOutputs = 32;
/// Analyzed patterns the runtime keeps (the oldest are dropped); nothing there reads them.
inline constexpr size_t kRuntimeAnalyzedLimit = 1000;

/// One pattern: bit i set means position i is on.
struct CPattern {
    int32_t m_id = 0;
    uint32_t m_bits = 0;
    std::string m_name;  // not in the runtime record
    int32_t m_number = 0;
    int32_t m_hits = 0;
    int32_t m_matchedId = 0;  // an analyzed pattern: the registered pattern it matched (0 none)
};

/// A trigger value as the number it selects: truncated toward zero; NaN and
/// values outside the int32 range give INT32_MIN, which no dialog hands out.
inline int32_t TriggerKey(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(v);
}

/// Whether a data input counts as on.
inline bool PatternInputOn(double v) {
    return v >= 1e-7 || v <= -1e-7;
}
/// The bit set of data input values, in input order; inputs beyond the 32nd do not count.
uint32_t PatternBits(std::span<const double> values);
/// Generator output k of a bit set: 2^k when bit k is on, else 0.
inline double GeneratorOutput(uint32_t bits, size_t k) {
    return k < 32 && (bits >> k & 1u) ? static_cast<double>(uint32_t{1} << k) : 0.0;
}

/// The smallest non-negative number no pattern of `list` uses, patterns with id `exceptId` aside.
template <class Pattern>
int32_t SmallestFreeNumber(const std::vector<Pattern>& list, int32_t exceptId = 0) {
    std::vector<bool> used(list.size() + 1, false);
    for (const Pattern& p : list)
        if (p.m_id != exceptId && p.m_number >= 0 && static_cast<size_t>(p.m_number) <= list.size())
            used[static_cast<size_t>(p.m_number)] = true;
    int32_t n = 0;
    while (used[static_cast<size_t>(n)]) ++n;
    return n;
}
/// The first pattern of `list` whose number is `number`, or null.
template <class Pattern>
const Pattern* FindPatternNumber(const std::vector<Pattern>& list, int32_t number) {
    for (const Pattern& p : list)
        if (p.m_number == number) return &p;
    return nullptr;
}
/// Maps a 15-bit draw onto the ids 1..31999 as the random id rule does.
inline int32_t PatternIdFromDraw(int32_t r) {
    return static_cast<int32_t>(static_cast<double>(r & 0x7FFF) * 0.000030517578125 * 31999.0 + 1.0);
}
/// A random id in 1..31999 that no member of `list` has and that differs from
/// `exceptId`; 0 when every id is taken.
template <class Pattern>
int32_t FreshListId(IRandomSource& random, const std::vector<Pattern>& list, int32_t exceptId = 0) {
    std::vector<bool> taken(32000, false);
    size_t distinct = 0;
    auto take = [&](int32_t id) {
        if (id >= 1 && id <= 31999 && !taken[static_cast<size_t>(id)]) {
            taken[static_cast<size_t>(id)] = true;
            ++distinct;
        }
    };
    take(exceptId);
    for (const Pattern& p : list) take(p.m_id);
    if (distinct >= 31999) return 0;
    for (;;) {
        const int32_t id = PatternIdFromDraw(random.Next15());
        if (!taken[static_cast<size_t>(id)]) return id;
    }
}

/// One pattern of the runtime record: id, bit set and number (no name). The
/// record of the three pattern components is their enable state (one byte), the
/// pattern count (int32) and the patterns.
struct CPatternRecord {
    int32_t m_id = 0;
    int32_t m_bits = 0;
    int32_t m_number = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        ar.I32(m_bits);
        ar.I32(m_number);
    }
};

/// Reads past the runtime body of a pattern component: enable state, count, patterns.
bool SkipPatternBody(CByteReader& in);

// --- Pattern Analyzer ---------------------------------------------------------

/// The analyzer's lists and counts.
class CPatternAnalysis {
  public:
    /// Appends the analyzed pattern of `bits` and looks it up among the
    /// registered patterns (the component's own id never matches). Returns the
    /// matched registered pattern, or null. With a `keep` limit the oldest
    /// analyzed patterns are dropped beyond it.
    const CPattern* Analyze(uint32_t bits, int32_t ownId, size_t keep = 0);
    /// Deletes the analyzed patterns and zeroes the counts and hit counts.
    void Reset();

    std::vector<CPattern> m_registered;
    /// In analysis order while no limit applies; with a limit, a ring whose
    /// oldest entry is overwritten next.
    std::vector<CPattern> m_analyzed;
    int32_t m_analyses = 0;  // numbers the analyzed patterns, also past dropped ones
    int32_t m_identified = 0;
    int32_t m_unidentified = 0;
};

// --- Pattern Recorder -----------------------------------------------------------

/// The recorder's list and counters, with an index of the bit sets so that a
/// cycle finds a known pattern without walking the list.
class CPatternRecording {
  public:
    struct CResult {
        bool recorded = false;  // a new pattern
        int32_t number = 0;     // the new pattern's number
    };
    /// Records one bit set; a new pattern gets a random id from `random` (never
    /// the component's own id; when every id is taken it is not recorded).
    CResult Record(uint32_t bits, int32_t ownId, IRandomSource& random);
    /// Forgets every pattern and count.
    void Reset();
    /// Rebuilds the index after the list was replaced (a load).
    void Reindex(int32_t ownId);
    /// The number of the most common pattern, 0 when there is none.
    int32_t MostCommonNumber() const;

    std::vector<CPattern> m_recorded;
    int32_t m_total = 0;
    int32_t m_mostCommon = -1;  // index into m_recorded

  private:
    std::unordered_map<uint32_t, size_t> m_byBits;  // the first pattern of each bit set
    std::unordered_set<int32_t> m_numbers;          // numbers in use
    std::vector<bool> m_idTaken;                    // ids in use, and the own id
    int32_t m_nextNumber = 0;                       // no number below it is free
    int32_t m_indexedFor = 0;                       // the own id the index was built for
    size_t m_indexedSize = 0;                       // the list length the index covers
};

/// Patterns Possible: 2^(n − 1) for n ≥ 2 inputs (input 10 included), else 0.
double PatternsPossible(size_t inputs);

// --- Match Count ------------------------------------------------------------------

/// A bin of equal values.
struct CBin {
    int32_t m_id = 0;
    int32_t m_hits = 0;
    double m_value = 0.0;
};

/// Values closer than this fall into one bin (a single-precision constant).
inline constexpr double kBinTolerance = static_cast<double>(1e-6f);

/// One Match Count pass over its input values.
class CMatchCount {
  public:
    /// Bins every value and counts the unique pairs of connected inputs within
    /// `tolerance` of any other input. `connected[i]` tells whether input i has a source.
    void Count(std::span<const double> values, std::span<const uint8_t> connected, double tolerance);

    std::vector<CBin> m_bins;
    int32_t m_pairs = 0;

    /// The first bin with the most hits and the first with the fewest; null without bins.
    const CBin* MostFrequent() const;
    const CBin* LeastFrequent() const;
};

}  // namespace zor2
