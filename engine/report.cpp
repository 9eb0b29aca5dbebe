// Feedback list storage.
#include "engine/report.h"

#include <algorithm>
#include <charconv>

namespace zor2 {

std::string& CFeedbackList::NextSlot() {
    if (m_ring.size() < Limit()) {
        m_traces.emplace_back();
        return m_ring.emplace_back();
    }
    const size_t slot = m_oldest;
    if (++m_oldest == m_ring.size()) m_oldest = 0;
    m_traces[slot] = {};
    return m_ring[slot];
}

void CFeedbackList::Add(std::string_view line) {
    // `line` may be one of the ring's own lines: copy it before the ring grows.
    if (m_ring.size() < Limit()) {
        std::string entry(line);
        NextSlot() = std::move(entry);
        return;
    }
    NextSlot().assign(line);
}

void CFeedbackList::AddTrace(const char* phase, int32_t typeId, std::string_view name) {
    // The line is cut at 511 bytes, so no more of the name can show; a name
    // holding a NUL is cut there when the line is put together.
    name = name.substr(0, std::min<size_t>(name.size(), 511));
    std::string& slot = NextSlot();
    slot.assign(name);
    m_traces[static_cast<size_t>(&slot - m_ring.data())] = {phase, typeId};
}

const std::string& CFeedbackList::Line(size_t i) const {
    const size_t slot = (m_oldest + m_ring.size() - 1 - i) % m_ring.size();
    std::string& line = m_ring[slot];
    CTrace& trace = m_traces[slot];
    if (trace.phase) {
        // "CNetworkModel::<phase> (Type: <id>, <name>)\n", cut at 511 bytes like
        // the fixed buffer it was once formatted into.
        char id[16];
        char* idEnd = std::to_chars(id, id + sizeof id, trace.typeId).ptr;
        std::string full;
        full.reserve(line.size() + 64);
        full.append("CNetworkModel::")
            .append(trace.phase)
            .append(" (Type: ")
            .append(id, static_cast<size_t>(idEnd - id))
            .append(", ")
            .append(std::string_view(line).substr(0, line.find('\0')))
            .append(")\n");
        if (full.size() > 511) full.resize(511);
        line = std::move(full);
        trace.phase = nullptr;
    }
    return line;
}

const std::string& CFeedbackList::Top() const {
    static const std::string empty;
    return m_ring.empty() ? empty : Line(0);
}

std::vector<std::string> CFeedbackList::Lines() const {
    std::vector<std::string> out;
    out.reserve(m_ring.size());
    for (size_t i = 0; i < m_ring.size(); ++i) out.push_back(Line(i));
    return out;
}

}  // namespace zor2
