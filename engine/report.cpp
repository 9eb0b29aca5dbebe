// Feedback list storage.
#include "engine/report.h"

namespace zor2 {

void CFeedbackList::Add(std::string line) {
    m_lines.push_front(std::move(line));
    if (m_lines.size() > Limit()) m_lines.pop_back();
}

const std::string& CFeedbackList::Top() const {
    static const std::string empty;
    return m_lines.empty() ? empty : m_lines.front();
}

}  // namespace zor2
