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
/// Get Max component without collecting them anywhere.
class CMathAccumulator {
public:
    explicit CMathAccumulator(int32_t type) : m_type(type) {}
    void Add(double v);
    double Result() const;

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
