// The decision table: segment lookup, segment rebuild, and the pair lookup of decisions.
#include "components/decision/decision_matrix_kernel.h"

#include <algorithm>
#include <cmath>

namespace zor2 {

namespace {

/// Ascending order with NaN values last, so that a damaged value cannot break the sort.
bool Before(double a, double b) {
    return std::isnan(b) ? !std::isnan(a) : a < b;
}

uint64_t PairKey(int32_t segment1Id, int32_t segment2Id) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(segment1Id)) << 32) |
           static_cast<uint32_t>(segment2Id);
}

}  // namespace

int32_t CDecisionInput::FindSegment(double x) const {
    for (size_t i = 0; i < m_segments.size(); ++i) {
        const CThresholdSegment& s = m_segments[i];
        if (s.m_hasLower) {
            if (x > s.m_lower && (!s.m_hasUpper || x <= s.m_upper)) return static_cast<int32_t>(i);
        } else if (s.m_hasUpper && x <= s.m_upper) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

void CDecisionInput::RebuildSegments() {
    // Of two equal values the later one comes first: sort the reversed list stably.
    std::reverse(m_thresholds.begin(), m_thresholds.end());
    std::stable_sort(m_thresholds.begin(), m_thresholds.end(),
                     [](const CThreshold& a, const CThreshold& b) { return Before(a.m_value, b.m_value); });
    m_segments.clear();
    const size_t n = m_thresholds.size();
    if (n == 0) return;
    m_segments.reserve(n + 1);
    for (size_t k = 0; k <= n; ++k) {
        CThresholdSegment s;
        s.m_index = static_cast<int32_t>(k);
        s.m_id = s.m_index + 1;
        s.m_lowerId = k > 0 ? m_thresholds[k - 1].m_id : 0;
        s.m_upperId = k < n ? m_thresholds[k].m_id : 0;
        if (k < n) m_thresholds[k].m_segmentBelow = s.m_id;
        if (k > 0) m_thresholds[k - 1].m_segmentAbove = s.m_id;
        m_segments.push_back(s);
    }
    Link();
}

bool CDecisionInput::Sorted() const {
    for (size_t i = 1; i < m_thresholds.size(); ++i)
        if (Before(m_thresholds[i].m_value, m_thresholds[i - 1].m_value)) return false;
    return true;
}

void CDecisionInput::Link() {
    for (CThresholdSegment& s : m_segments) {
        const CThreshold* lower = FindThreshold(s.m_lowerId);
        const CThreshold* upper = FindThreshold(s.m_upperId);
        s.m_hasLower = lower != nullptr;
        s.m_hasUpper = upper != nullptr;
        s.m_lower = lower ? lower->m_value : 0.0;
        s.m_upper = upper ? upper->m_value : 0.0;
    }
}

bool CDecisionInput::Crowded(double value, int32_t exceptId) const {
    for (const CThreshold& t : m_thresholds)
        if (t.m_id != exceptId && std::fabs(t.m_value - value) < kThresholdMinGap) return true;
    return false;
}

const CDecisionInput::CThreshold* CDecisionInput::FindThreshold(int32_t id) const {
    if (id < 1) return nullptr;
    for (const CThreshold& t : m_thresholds)
        if (t.m_id == id) return &t;
    return nullptr;
}

int32_t CDecisionInput::SegmentIndex(int32_t segmentId) const {
    for (size_t i = 0; i < m_segments.size(); ++i)
        if (m_segments[i].m_id == segmentId) return static_cast<int32_t>(i);
    return -1;
}

void CDecisionMatrix::Link() {
    m_input1.Link();
    m_input2.Link();
    m_lookup.clear();
    m_lookup.reserve(m_decisions.size());
    for (size_t i = 0; i < m_decisions.size(); ++i)
        m_lookup.emplace_back(PairKey(m_decisions[i].m_segment1Id, m_decisions[i].m_segment2Id),
                              static_cast<int32_t>(i));
    // Stable, so that of two decisions joining the same pair the first in the list is found.
    std::stable_sort(m_lookup.begin(), m_lookup.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

int32_t CDecisionMatrix::DecisionAt(int32_t index1, int32_t index2) const {
    if (index1 < 0 || index2 < 0 || static_cast<size_t>(index1) >= m_input1.m_segments.size() ||
        static_cast<size_t>(index2) >= m_input2.m_segments.size())
        return -1;
    const uint64_t key = PairKey(m_input1.m_segments[static_cast<size_t>(index1)].m_id,
                                 m_input2.m_segments[static_cast<size_t>(index2)].m_id);
    auto it = std::lower_bound(m_lookup.begin(), m_lookup.end(), key,
                               [](const auto& entry, uint64_t k) { return entry.first < k; });
    return it != m_lookup.end() && it->first == key ? it->second : -1;
}

std::vector<int> CDecisionMatrix::SortLoadedInputs() {
    std::vector<int> sorted;
    for (int which : {1, 2}) {
        if (Input(which).Sorted()) continue;
        Input(which).RebuildSegments();
        sorted.push_back(which);
    }
    Link();
    return sorted;
}

}  // namespace zor2
