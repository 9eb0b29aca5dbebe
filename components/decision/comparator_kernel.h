// The Target Input Comparator, shared by the designer's CModelComparator and
// the runtime's CRModelComparator.
#pragma once

#include <cmath>
#include <cstdint>

namespace zor2 {

inline constexpr int32_t kTypeComparator = 80;

/// 1e-7 as a single-precision constant widened to double (1.0000000116860974e-07).
inline constexpr double kComparatorTolerance = static_cast<double>(1e-7f);

/// The three outputs "Greater than Target", "Equal to Target", "Less than Target".
struct CComparatorResult {
    double greater;
    double equal;
    double less;
};

/// Compares the input with the target; equal when strictly closer than the tolerance.
inline CComparatorResult ComparatorCompare(double target, double input, double tolerance) {
    const double difference = target - input;
    if (std::fabs(difference) < tolerance) return {0.0, 1.0, 0.0};
    if (difference > 0.0) return {0.0, 0.0, 1.0};  // the input is below the target
    return {1.0, 0.0, 0.0};
}

}  // namespace zor2
