// Compare to Input and Compare to Constant, shared by the designer's
// CModelCompare and the runtime's CRModelCompare.
#pragma once

#include <cmath>
#include <cstdint>

namespace zor2 {

enum ECompareType : int32_t {
    kCompareInputEqual = 15,
    kCompareInputGreater = 16,
    kCompareInputLess = 17,
    kCompareConstantEqual = 18,
    kCompareConstantGreater = 19,
    kCompareConstantLess = 20,
};

/// The "CompareVal" input of Compare to Input.
inline constexpr int32_t kCompareValueInputId = 10;
/// The tolerance a Compare component gets at construction.
inline constexpr double kCompareTolerance = 1e-6;

/// The saved parameters, listed once for the project record, the runtime record
/// and the runtime reader.
struct CCompareParams {
    bool reserved = true;       // saved and exported; no computation reads it
    double compareValue = 0.0;  // K

    template <class Ar, class Self>
    static void Fields(Ar& ar, Self& p) {
        ar.Bool(p.reserved);
        ar.F64(p.compareValue);
    }
};

inline bool CompareToInput(int32_t type) {
    return type >= kCompareInputEqual && type <= kCompareInputLess;
}

/// The test of one input value x against the compare value k.
inline bool CompareTest(int32_t type, double x, double k, double tolerance) {
    switch ((type - kCompareInputEqual) % 3) {
        case 0:
            return std::fabs(x - k) <= tolerance;
        case 1:
            return x > k;
        default:
            return x < k;
    }
}

/// "All Satisfy?": at least one connected input and every one counted satisfied.
inline double CompareAllSatisfy(int32_t connected, int32_t satisfied) {
    return (connected > 0 && satisfied >= connected) ? 1.0 : 0.0;
}

}  // namespace zor2
