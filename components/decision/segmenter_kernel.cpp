// Segmenter thresholds: the sort, the segments between thresholds and the lookup of a value.
#include "components/decision/segmenter_kernel.h"

#include "algo/record_archive.h"

namespace zor2 {

bool SkipSegmenterBody(CByteReader& in) {
    int32_t count = 0;
    return in.I32(count) && SkipRecords<CThresholdRecord>(in, count, "threshold");
}

void CSegmentation::Sort() {
    std::vector<CThreshold> rest = std::move(m_thresholds);
    m_thresholds.clear();
    m_thresholds.reserve(rest.size());
    while (!rest.empty()) {
        double least = kThresholdLimit;
        size_t pick = rest.size();
        for (size_t i = 0; i < rest.size(); ++i) {
            // A later threshold wins a tie.
            if (least >= rest[i].m_value) {
                least = rest[i].m_value;
                pick = i;
            }
        }
        if (pick == rest.size()) {
            for (CThreshold& t : rest) m_thresholds.push_back(t);
            break;
        }
        m_thresholds.push_back(rest[pick]);
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(pick));
    }
}

void CSegmentation::Rebuild() {
    m_segments.clear();
    const size_t n = m_thresholds.size();
    for (size_t k = 0; k < n; ++k) {
        CThresholdSegment s;
        s.m_index = static_cast<int32_t>(k);
        s.m_id = s.m_index + 1;
        s.m_lowerId = k > 0 ? m_thresholds[k - 1].m_id : 0;
        s.m_upperId = m_thresholds[k].m_id;
        m_thresholds[k].m_segmentBelow = s.m_id;
        if (k > 0) m_thresholds[k - 1].m_segmentAbove = s.m_id;
        m_segments.push_back(s);
    }
    if (n > 0) {
        CThresholdSegment last;
        last.m_index = static_cast<int32_t>(n);
        last.m_id = last.m_index + 1;
        last.m_lowerId = m_thresholds[n - 1].m_id;
        m_thresholds[n - 1].m_segmentAbove = last.m_id;
        m_segments.push_back(last);
    }
    Resolve();
}

void CSegmentation::Resolve() {
    auto find = [this](int32_t id) -> const CThreshold* {
        if (id == 0) return nullptr;
        for (const CThreshold& t : m_thresholds)
            if (t.m_id == id) return &t;
        return nullptr;
    };
    m_bounds.assign(m_segments.size(), CBounds{});
    for (size_t i = 0; i < m_segments.size(); ++i) {
        if (const CThreshold* t = find(m_segments[i].m_lowerId))
            m_bounds[i].hasLower = true, m_bounds[i].lower = t->m_value;
        if (const CThreshold* t = find(m_segments[i].m_upperId))
            m_bounds[i].hasUpper = true, m_bounds[i].upper = t->m_value;
    }
}

int32_t CSegmentation::Lookup(double x) const {
    for (size_t i = 0; i < m_bounds.size(); ++i) {
        const CBounds& b = m_bounds[i];
        if ((!b.hasLower || x > b.lower) && (!b.hasUpper || x <= b.upper)) return static_cast<int32_t>(i);
    }
    return -1;
}

}  // namespace zor2
