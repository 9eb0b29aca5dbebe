// Unary functions: truncation of the exponent and binary exponentiation.
#include "components/math/math_exp_kernel.h"

#include <cmath>

namespace zor2 {

int32_t MathExpTrunc(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(v);
}

int32_t MathExpPower(double exponent) {
    const int32_t p = MathExpTrunc(exponent);
    return p > 0 ? p : 1;
}

double MathExpIntegerPower(double x, int32_t power) {
    double result = 1.0;
    double square = x;
    for (uint32_t p = power > 0 ? static_cast<uint32_t>(power) : 1u; p != 0; p >>= 1) {
        if (p & 1u) result *= square;
        square *= square;
    }
    return result;
}

}  // namespace zor2
