// The vector components' operands and results, computed alike by both halves.
#include "components/math/vector_kernel.h"

#include <initializer_list>

namespace zor2 {

namespace {

constexpr CVectorOperand k2D[] = {{20, 0, 0}, {30, 0, 1}};
constexpr CVectorOperand k3D[] = {{20, 0, 0}, {30, 0, 1}, {40, 0, 2}};
constexpr CVectorOperand k2DPair[] = {{20, 0, 0}, {30, 0, 1}, {40, 1, 0}, {50, 1, 1}};
constexpr CVectorOperand k3DPair[] = {{20, 0, 0}, {30, 0, 1}, {40, 0, 2}, {50, 1, 0}, {60, 1, 1}, {70, 1, 2}};

CVectorResult Result(std::initializer_list<double> values) {
    CVectorResult r;
    for (double v : values) {
        r.ids[r.count] = 10 * (r.count + 1);
        r.values[r.count++] = v;
    }
    return r;
}
CVectorResult Result(double v) {
    return Result({v});
}
CVectorResult Result(const CVector2& v) {
    return Result({v.m_x, v.m_y});
}
CVectorResult Result(const CVector3& v) {
    return Result({v.m_x, v.m_y, v.m_z});
}

/// Sums and differences are also stored into the first vector.
template <class V>
CVectorResult Arithmetic(V& a, const V& b, int32_t operation) {
    switch (operation) {
        case kVectorAdd:
            a = a + b;
            return Result(a);
        case kVectorSubtract:
            a = a - b;
            return Result(a);
        case kVectorCross:
            return Result(a.Cross(b));
        case kVectorDot:
            return Result(a.Dot(b));
        default:
            return {};
    }
}

}  // namespace

std::span<const CVectorOperand> VectorOperands(int32_t type) {
    switch (type) {
        case kTypeVector2DMagnitude:
        case kTypeVector2DNormalize:
            return k2D;
        case kTypeVector3DMagnitude:
        case kTypeVector3DNormalize:
            return k3D;
        case kTypeVector2DArithmetic:
            return k2DPair;
        case kTypeVector3DArithmetic:
            return k3DPair;
        default:
            return {};
    }
}

bool VectorReadsOperands(int32_t type, bool enabled, int32_t operation) {
    if (type == kTypeVector2DArithmetic || type == kTypeVector3DArithmetic)
        return IsVectorArithmetic(operation);
    return enabled;
}

void StoreVectorOperand(CVectorOperands& v, int32_t type, const CVectorOperand& operand, double value) {
    if (VectorDimension(type) == 0) {
        CVector2& target = operand.vector == 0 ? v.a2 : v.b2;
        (operand.axis == 0 ? target.m_x : target.m_y) = value;
        return;
    }
    CVector3& target = operand.vector == 0 ? v.a3 : v.b3;
    (operand.axis == 0 ? target.m_x : operand.axis == 1 ? target.m_y : target.m_z) = value;
}

CVectorResult VectorExecute(CVectorOperands& v, int32_t type, int32_t operation) {
    switch (type) {
        case kTypeVector2DMagnitude:
            return Result(v.a2.Magnitude());
        case kTypeVector3DMagnitude:
            return Result(v.a3.Magnitude());
        case kTypeVector2DNormalize:
            v.a2.Normalize();
            return Result(v.a2);
        case kTypeVector3DNormalize:
            v.a3.Normalize();
            return Result(v.a3);
        case kTypeVector2DArithmetic:
            return Arithmetic(v.a2, v.b2, operation);
        case kTypeVector3DArithmetic:
            return Arithmetic(v.a3, v.b3, operation);
        default:
            return {};
    }
}

}  // namespace zor2
