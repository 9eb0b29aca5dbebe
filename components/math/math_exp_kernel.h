// The unary functions (absolute value, integer power, square root), shared by
// the designer's CModelMathExp and the runtime's CRModelMathExp.
#pragma once

#include <cmath>
#include <cstdint>

namespace zor2 {

enum EMathExpType : int32_t {
    kMathExpAbsolute = 47,
    kMathExpPower = 48,
    kMathExpSquareRoot = 49,
};

/// The saved parameter, listed once for the project record, the runtime record
/// and the runtime reader.
struct CMathExpParams {
    bool enabled = true;  // when false the output is 0

    template <class Ar, class Self>
    static void Fields(Ar& ar, Self& p) {
        ar.Bool(p.enabled);
    }
};

/// The "Power (y)" input truncated toward zero to 32 bits; NaN and values
/// beyond the range give INT32_MIN, as the conversion of the stored system did.
int32_t MathExpTrunc(double v);
/// The exponent used for "Power (y)": its truncation when above 0, else 1.
int32_t MathExpPower(double exponent);
/// x raised to a positive integer power by repeated squaring.
double MathExpIntegerPower(double x, int32_t power);
/// The output of one cycle; 0 when not enabled. Inline, so the runtime's
/// compiled steps of a fixed type come down to the one function.
inline double MathExpCompute(int32_t type, bool enabled, double x, int32_t power) {
    if (!enabled) return 0.0;
    switch (type) {
        case kMathExpAbsolute:
            return std::fabs(x);
        case kMathExpPower:
            return MathExpIntegerPower(x, power);
        case kMathExpSquareRoot:
            return x > 0.0 ? std::sqrt(x) : 0.0;
        default:
            return 0.0;
    }
}

}  // namespace zor2
