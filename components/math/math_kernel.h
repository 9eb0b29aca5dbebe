// The arithmetic family's computation, shared by the designer's CModelMath and
// the runtime's CRModelMath: inputs are fed one by one in list order.
#pragma once

#include <cstdint>

namespace zor2 {

enum EMathType : int32_t {
    kMathAdd = 21,
    kMathSubtract = 22,
    kMathMultiply = 23,
    kMathDivide = 24,
    kMathGetMin = 86,
    kMathGetMax = 87,
    kMathReverseSign = 88,
    kMathRangeCheck = 89,
};

/// Folds the input values of an Add, Subtract, Multiply, Divide, Get Min or
/// Get Max component without collecting them anywhere. Inline, so the per-cycle
/// loops of both deliverables make no call per input.
class CMathAccumulator {
  public:
    explicit CMathAccumulator(int32_t type) : m_type(type) {}
    void Add(double v) {
        const bool first = m_count == 0;
        ++m_count;
        switch (m_type) {
            case kMathAdd:
                m_r += v;
                break;
            case kMathSubtract:
                m_r = first ? v : m_r - v;
                break;
            case kMathMultiply:
                m_r = first ? v : m_r * v;
                break;
            case kMathDivide:
                // A divisor of exactly 0.0 is skipped, not reported.
                if (first)
                    m_r = v;
                else if (v != 0.0)
                    m_r /= v;
                break;
            case kMathGetMin:
                m_r = (first || v < m_r) ? v : m_r;
                break;
            case kMathGetMax:
                m_r = (first || v > m_r) ? v : m_r;
                break;
            default:
                break;
        }
    }
    double Result() const {
        // Multiply needs at least two factors; a single input gives 0.
        if (m_type == kMathMultiply && m_count < 2) return 0.0;
        return m_r;
    }

  private:
    int32_t m_type;
    int32_t m_count = 0;
    double m_r = 0.0;
};

/// Range Check: 1 when min <= value <= max (both ends inclusive), else 0.
inline double MathRangeCheck(double value, double min, double max) {
    return (min <= value && value <= max) ? 1.0 : 0.0;
}

/// Defaults of the Range Check inputs (ids 10, 20, 30) when unconnected.
inline constexpr double kRangeCheckDefaults[3] = {0.0, -1.0, 1.0};

}  // namespace zor2
