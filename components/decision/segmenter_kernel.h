// Thresholds and the segments between them (CThreshold, CThresholdSegment):
// the sort, the rebuild and the lookup shared by both segmenters, designer and runtime.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "algo/bytes.h"

namespace zor2 {

inline constexpr int32_t kTypeSegmenterSingle = 12;
inline constexpr int32_t kTypeSegmenterMultiple = 13;
/// The largest threshold value; the sort's search starts here.
inline constexpr double kThresholdLimit = 1e9;
/// An added threshold this close to an existing one is ignored.
inline constexpr double kThresholdSameWithin = 0.0001;

struct CThreshold {
    int32_t m_id = 0;
    double m_value = 0.0;
    int32_t m_segmentBelow = 0;  // segment ids, 0 for none
    int32_t m_segmentAbove = 0;
};

struct CThresholdSegment {
    int32_t m_id = 0;  // index + 1
    int32_t m_index = 0;
    int32_t m_lowerId = 0;  // threshold ids, 0 for none
    int32_t m_upperId = 0;
};

/// A segmenter's thresholds, kept sorted, and the segments derived from them.
class CSegmentation {
  public:
    /// Sorts the thresholds ascending; among equal values the later one comes
    /// first. Values above the limit (and NaN), which the search cannot place,
    /// follow in their order.
    void Sort();
    /// Segments from the thresholds in list order: N thresholds give N + 1
    /// segments, none give none; the thresholds' segment links are set.
    void Rebuild();
    /// Caches each segment's bounds from the threshold ids (after a load that
    /// restored both lists); an id naming no threshold leaves that side open.
    void Resolve();
    /// The first segment holding `x`, as an index into m_segments; -1 when none
    /// does (no thresholds, or NaN).
    int32_t Lookup(double x) const;

    std::vector<CThreshold> m_thresholds;
    std::vector<CThresholdSegment> m_segments;

  private:
    struct CBounds {
        bool hasLower = false;
        bool hasUpper = false;
        double lower = 0.0;
        double upper = 0.0;
    };
    std::vector<CBounds> m_bounds;
};

/// One threshold of the runtime record.
struct CThresholdRecord {
    int32_t m_id = 0;
    double m_value = 0.0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        ar.F64(m_value);
    }
};

/// Reads past a segmenter's runtime body: threshold count, thresholds.
bool SkipSegmenterBody(CByteReader& in);

}  // namespace zor2
