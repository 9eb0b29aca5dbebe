// The trigonometric functions (sine, cosine, tangent), shared by the designer's
// CModelAngle and the runtime's CRModelAngle.
#pragma once

#include <cmath>
#include <cstdint>

namespace zor2 {

enum EAngleType : int32_t {
    kAngleSine = 82,
    kAngleCosine = 83,
    kAngleTangent = 84,
};

/// Function of a type: 0 sine, 1 cosine, 2 tangent.
inline int32_t AngleFunction(int32_t type) {
    return type - kAngleSine;
}

/// Degrees are converted with pi rounded to single precision, as stored
/// systems were computed.
inline constexpr double kAnglePi = 3.1415927410125732;

/// The output of one cycle; 0 when not enabled.
inline double AngleCompute(int32_t function, bool enabled, bool radians, double value) {
    if (!enabled) return 0.0;
    const double a = radians ? value : value * kAnglePi / 180.0;
    switch (function) {
        case 0:
            return std::sin(a);
        case 1:
            return std::cos(a);
        case 2:
            return std::tan(a);
        default:
            return 0.0;
    }
}

}  // namespace zor2
