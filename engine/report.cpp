// Feedback list storage.
#include "engine/report.h"

namespace zor2 {

void CFeedbackList::Add(std::string_view line) {
    if (m_ring.size() < Limit()) {
        std::string entry(line);  // before the ring grows: `line` may be one of its lines
        m_ring.push_back(std::move(entry));
        return;
    }
    m_ring[m_oldest].assign(line);
    m_oldest = (m_oldest + 1) % m_ring.size();
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
