// Folding rules of the arithmetic family.
#include "components/logic/math_kernel.h"

namespace zor2 {

void CMathAccumulator::Add(double v) {
    const bool first = m_count == 0;
    ++m_count;
    switch (m_type) {
        case kMathAdd: m_r += v; break;
        case kMathSubtract: m_r = first ? v : m_r - v; break;
        case kMathMultiply: m_r = first ? v : m_r * v; break;
        case kMathDivide:
            // A divisor of exactly 0.0 is skipped, not reported.
            if (first) m_r = v;
            else if (v != 0.0) m_r /= v;
            break;
        case kMathGetMin: m_r = (first || v < m_r) ? v : m_r; break;
        case kMathGetMax: m_r = (first || v > m_r) ? v : m_r; break;
        default: break;
    }
}

double CMathAccumulator::Result() const {
    // Multiply needs at least two factors; a single input gives 0.
    if (m_type == kMathMultiply && m_count < 2) return 0.0;
    return m_r;
}

}  // namespace zor2
