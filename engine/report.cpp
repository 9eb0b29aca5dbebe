// Feedback list storage.
#include "engine/report.h"

namespace zor2 {

void CFeedbackList::Add(std::string_view line) {
    std::string entry;
    if (m_lines.size() >= Limit()) {
        entry = std::move(m_lines.back());
        m_lines.pop_back();
    }
    entry.assign(line);
    m_lines.push_front(std::move(entry));
}

const std::string& CFeedbackList::Top() const {
    static const std::string empty;
    return m_lines.empty() ? empty : m_lines.front();
}

}  // namespace zor2
