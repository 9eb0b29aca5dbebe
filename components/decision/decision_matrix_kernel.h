// The decision table shared by the designer's CModelDecisionMatrix and the
// runtime's CRModelDecisionMatrix: two inputs cut into ranges by thresholds
// (CDecisionInput), one decision per pair of ranges (CDecision), and the lookup
// of the decision that holds a pair of values (CDecisionMatrix).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "algo/field_lists.h"

namespace zor2 {

inline constexpr int32_t kTypeDecisionMatrix = 79;
/// The output every decision starts with; it cannot be removed.
inline constexpr int32_t kDecisionDefaultOutputId = 10;
inline constexpr int32_t kDecisionEnableInputId = 10;
inline constexpr int32_t kDecisionInput1PortId = 20;
inline constexpr int32_t kDecisionInput2PortId = 30;
/// A new threshold closer than this to an existing one is refused: 0.0001 as a
/// single-precision value widened to double.
inline constexpr double kThresholdMinGap = 9.999999747378752e-05;

/// The segmentation of one input: thresholds in ascending order of value and
/// the segments between them (n thresholds give n + 1 segments, none give none).
class CDecisionInput {
  public:
    struct CThreshold {
        int32_t m_id = 0;
        double m_value = 0.0;
        int32_t m_segmentAbove = 0;  // segment ids, 0 for none
        int32_t m_segmentBelow = 0;
    };
    struct CThresholdSegment {
        int32_t m_id = 0;  // position + 1
        int32_t m_index = 0;
        int32_t m_lowerId = 0;  // threshold ids, 0 for none
        int32_t m_upperId = 0;
        // The bounds resolved from the threshold ids (Link); a missing bound is unbounded.
        bool m_hasLower = false;
        bool m_hasUpper = false;
        double m_lower = 0.0;
        double m_upper = 0.0;
    };

    explicit CDecisionInput(int32_t portId = 0) : m_portId(portId) {}

    /// The index of the first segment holding `x` (lower < x <= upper), or -1:
    /// no segments, a NaN value, or a segment without bounds, which never matches.
    int32_t FindSegment(double x) const;
    /// Orders the thresholds ascending (the later of two equal values first) and
    /// regenerates the segments and the thresholds' segment ids.
    void RebuildSegments();
    /// Whether the thresholds stand in ascending order (NaN values last).
    bool Sorted() const;
    /// Resolves each segment's bounds from its threshold ids.
    void Link();
    /// Whether a threshold other than `exceptId` lies closer than the minimum gap to `value`.
    bool Crowded(double value, int32_t exceptId = 0) const;
    const CThreshold* FindThreshold(int32_t id) const;
    /// The position of the segment with this id, or -1.
    int32_t SegmentIndex(int32_t segmentId) const;

    /// The segmentation record; the name is in the project file only.
    template <class Ar, class Self>
    static bool Fields(Ar& ar, Self& s) {
        ar.I32(s.m_portId);
        ar.I32(s.m_reservedA);
        ar.I32(s.m_reservedB);
        if constexpr (kFieldsHaveText<Ar>) ar.Str(s.m_name);
        int32_t thresholds = static_cast<int32_t>(s.m_thresholds.size());
        int32_t segments = static_cast<int32_t>(s.m_segments.size());
        ar.I32(thresholds);
        ar.I32(segments);
        if (!SizeList(ar, thresholds, 20, "threshold", s.m_thresholds)) return false;
        for (auto& t : s.m_thresholds) {
            ar.I32(t.m_id);
            ar.F64(t.m_value);
            ar.I32(t.m_segmentAbove);
            ar.I32(t.m_segmentBelow);
        }
        if (!SizeList(ar, segments, 16, "threshold segment", s.m_segments)) return false;
        for (auto& g : s.m_segments) {
            ar.I32(g.m_id);
            ar.I32(g.m_index);
            ar.I32(g.m_lowerId);
            ar.I32(g.m_upperId);
        }
        return !FieldsFailed(ar);
    }

    int32_t m_portId = 0;
    int32_t m_reservedA = 0;  // kept as stored
    int32_t m_reservedB = 0;
    std::string m_name;
    std::vector<CThreshold> m_thresholds;
    std::vector<CThresholdSegment> m_segments;
};

/// One cell of the table: the pair of segments it joins and the output it selects.
struct CDecision {
    int32_t m_id = 0;
    int32_t m_reserved = 0;
    int32_t m_segment1Id = 0;
    int32_t m_segment2Id = 0;
    int32_t m_outputId = kDecisionDefaultOutputId;
};

class CDecisionMatrix {
  public:
    /// The table of a new component: one threshold at 0.0 on each input, four
    /// decisions selecting Default. `drawId` gives random ids in 1..31999.
    template <class Draw>
    void Initialise(Draw&& drawId) {
        for (CDecisionInput* in : {&m_input1, &m_input2}) {
            in->m_thresholds.assign(1, {.m_id = drawId()});
            in->RebuildSegments();
        }
        RebuildDecisions(drawId);
    }
    /// One decision per pair of segments (input 1 outer, input 2 inner), each
    /// selecting Default and carrying a fresh id.
    template <class Draw>
    void RebuildDecisions(Draw&& drawId) {
        m_decisions.clear();
        std::vector<bool> taken(32000, false);
        for (const auto& a : m_input1.m_segments) {
            for (const auto& b : m_input2.m_segments) {
                int32_t id = drawId();
                while (id < 1 || id >= 32000 || taken[static_cast<size_t>(id)]) id = drawId();
                taken[static_cast<size_t>(id)] = true;
                m_decisions.push_back({.m_id = id, .m_segment1Id = a.m_id, .m_segment2Id = b.m_id});
            }
        }
        Link();
    }
    /// Resolves the segment bounds and builds the lookup from a pair of segment
    /// ids to the first decision joining them. Call after every change.
    void Link();
    /// The index of the first decision joining the segments at these positions, or -1.
    int32_t DecisionAt(int32_t index1, int32_t index2) const;
    /// The index of the decision that holds the pair of values, or -1.
    int32_t Select(double x1, double x2) const {
        return DecisionAt(m_input1.FindSegment(x1), m_input2.FindSegment(x2));
    }
    /// Sorts the thresholds of an input that a damaged file stored out of order
    /// and regenerates its segments; the decisions keep their segment ids.
    /// Returns the inputs (1, 2) that had to be sorted.
    std::vector<int> SortLoadedInputs();

    CDecisionInput& Input(int which) { return which == 1 ? m_input1 : m_input2; }
    const CDecisionInput& Input(int which) const { return which == 1 ? m_input1 : m_input2; }

    /// The body shared by the project record (after the enabled flag) and the
    /// runtime record: ids, decision count, both segmentations, the decisions.
    template <class Ar, class Self>
    static bool Fields(Ar& ar, Self& m) {
        ar.I32(m.m_moduleId);
        ar.I32(m.m_componentId);
        int32_t decisions = static_cast<int32_t>(m.m_decisions.size());
        ar.I32(decisions);
        if (!CDecisionInput::Fields(ar, m.m_input1) || !CDecisionInput::Fields(ar, m.m_input2)) return false;
        if (!SizeList(ar, decisions, 20, "decision", m.m_decisions)) return false;
        for (auto& d : m.m_decisions) {
            ar.I32(d.m_id);
            ar.I32(d.m_segment1Id);
            ar.I32(d.m_segment2Id);
            ar.I32(d.m_outputId);
            ar.I32(d.m_reserved);
        }
        return !FieldsFailed(ar);
    }

    std::vector<CDecision> m_decisions;
    CDecisionInput m_input1{kDecisionInput1PortId};
    CDecisionInput m_input2{kDecisionInput2PortId};
    int32_t m_moduleId = 0;
    int32_t m_componentId = 0;

  private:
    // (segment-1 id, segment-2 id) packed, with the first decision joining them; sorted.
    std::vector<std::pair<uint64_t, int32_t>> m_lookup;
};

}  // namespace zor2
