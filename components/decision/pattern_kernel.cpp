// Pattern bit sets, analysis against registered patterns, recording of new
// patterns and Match Count's bins and pairs.
#include "components/decision/pattern_kernel.h"

#include <cmath>

#include "algo/record_archive.h"

namespace zor2 {

uint32_t PatternBits(std::span<const double> values) {
    uint32_t bits = 0;
    const size_t n = values.size() < 32 ? values.size() : 32;
    for (size_t i = 0; i < n; ++i)
        if (PatternInputOn(values[i])) bits |= uint32_t{1} << i;
    return bits;
}

bool SkipPatternBody(CByteReader& in) {
    bool enabled = false;
    int32_t count = 0;
    return in.Bool(enabled) && in.I32(count) && SkipRecords<CPatternRecord>(in, count, "pattern");
}

double PatternsPossible(size_t inputs) {
    return inputs >= 2 ? std::ldexp(1.0, static_cast<int>(inputs - 1)) : 0.0;
}

// --- analysis -----------------------------------------------------------------------

const CPattern* CPatternAnalysis::Analyze(uint32_t bits, int32_t ownId, size_t keep) {
    CPattern analyzed;
    analyzed.m_id = 100 + m_analyses;
    analyzed.m_name = "Pattern: " + std::to_string(m_analyses);
    analyzed.m_bits = bits;
    CPattern* match = nullptr;
    for (CPattern& p : m_registered) {
        if (p.m_id != ownId && p.m_bits == bits) {
            match = &p;
            break;
        }
    }
    if (match) {
        ++m_identified;
        ++match->m_hits;
        analyzed.m_matchedId = match->m_id;
    } else {
        ++m_unidentified;
    }
    if (keep == 0 || m_analyzed.size() < keep)
        m_analyzed.push_back(std::move(analyzed));
    else
        m_analyzed[static_cast<size_t>(m_analyses) % keep] = std::move(analyzed);
    ++m_analyses;
    return match;
}

void CPatternAnalysis::Reset() {
    m_analyzed.clear();
    m_analyses = 0;
    m_identified = 0;
    m_unidentified = 0;
    for (CPattern& p : m_registered) p.m_hits = 0;
}

// --- recording ----------------------------------------------------------------------

void CPatternRecording::Reindex(int32_t ownId) {
    m_byBits.clear();
    m_numbers.clear();
    m_idTaken.assign(32000, false);
    if (ownId >= 1 && ownId <= 31999) m_idTaken[static_cast<size_t>(ownId)] = true;
    for (size_t i = 0; i < m_recorded.size(); ++i) {
        const CPattern& p = m_recorded[i];
        if (p.m_id >= 1 && p.m_id <= 31999) m_idTaken[static_cast<size_t>(p.m_id)] = true;
        if (p.m_id == ownId) continue;
        m_byBits.emplace(p.m_bits, i);
        m_numbers.insert(p.m_number);
    }
    m_nextNumber = 0;
    m_indexedFor = ownId;
    m_indexedSize = m_recorded.size();
}

CPatternRecording::CResult CPatternRecording::Record(uint32_t bits, int32_t ownId, IRandomSource& random) {
    if (m_indexedFor != ownId || m_indexedSize != m_recorded.size() || m_idTaken.empty()) Reindex(ownId);
    ++m_total;
    if (auto it = m_byBits.find(bits); it != m_byBits.end()) {
        const size_t i = it->second;
        CPattern& p = m_recorded[i];
        ++p.m_hits;
        // On equal counts the earlier most common pattern stays.
        if (m_mostCommon < 0 || (static_cast<size_t>(m_mostCommon) != i &&
                                 m_recorded[static_cast<size_t>(m_mostCommon)].m_hits < p.m_hits))
            m_mostCommon = static_cast<int32_t>(i);
        return {};
    }
    if (m_recorded.size() >= 31999) return {};  // every id is taken
    int32_t id = 0;
    do {
        id = PatternIdFromDraw(random.Next15());
    } while (m_idTaken[static_cast<size_t>(id)]);
    while (m_numbers.count(m_nextNumber)) ++m_nextNumber;
    CPattern p;
    p.m_id = id;
    p.m_bits = bits;
    p.m_number = m_nextNumber;
    p.m_name = "Pattern: " + std::to_string(m_recorded.size());
    p.m_hits = 1;
    m_idTaken[static_cast<size_t>(id)] = true;
    m_numbers.insert(p.m_number);
    m_byBits.emplace(bits, m_recorded.size());
    m_recorded.push_back(std::move(p));
    m_indexedSize = m_recorded.size();
    return {true, m_recorded.back().m_number};
}

void CPatternRecording::Reset() {
    m_recorded.clear();
    m_total = 0;
    m_mostCommon = -1;
    m_idTaken.clear();
}

int32_t CPatternRecording::MostCommonNumber() const {
    return m_mostCommon >= 0 && static_cast<size_t>(m_mostCommon) < m_recorded.size()
               ? m_recorded[static_cast<size_t>(m_mostCommon)].m_number
               : 0;
}

// --- Match Count ----------------------------------------------------------------------

void CMatchCount::Count(std::span<const double> values, std::span<const uint8_t> connected,
                        double tolerance) {
    m_bins.clear();
    m_pairs = 0;
    for (const double v : values) {
        CBin* bin = nullptr;
        for (CBin& b : m_bins) {
            if (std::fabs(b.m_value - v) <= kBinTolerance) {
                bin = &b;
                break;
            }
        }
        if (bin)
            ++bin->m_hits;
        else
            m_bins.push_back({static_cast<int32_t>(m_bins.size()) + 1, 1, v});
    }
    // A pair {A, B} is new unless B came earlier and, being connected, already
    // made it as its own first member (closeness is symmetric).
    for (size_t a = 0; a < values.size(); ++a) {
        if (!connected[a]) continue;
        for (size_t b = 0; b < values.size(); ++b) {
            if (b == a || !(std::fabs(values[a] - values[b]) <= tolerance)) continue;
            if (b < a && connected[b]) continue;
            ++m_pairs;
        }
    }
}

const CBin* CMatchCount::MostFrequent() const {
    const CBin* best = nullptr;
    for (const CBin& b : m_bins)
        if (!best || b.m_hits > best->m_hits) best = &b;
    return best;
}

const CBin* CMatchCount::LeastFrequent() const {
    const CBin* best = nullptr;
    for (const CBin& b : m_bins)
        if (!best || b.m_hits < best->m_hits) best = &b;
    return best;
}

}  // namespace zor2
