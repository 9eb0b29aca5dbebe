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
    CVector2& a2 = v.a2;
    CVector3& a3 = v.a3;
    switch (type) {
        case kTypeVector2DMagnitude:
            return Result({a2.Magnitude()});
        case kTypeVector3DMagnitude:
            return Result({a3.Magnitude()});
        case kTypeVector2DNormalize:
            a2.Normalize();
            return Result({a2.m_x, a2.m_y});
        case kTypeVector3DNormalize:
            a3.Normalize();
            return Result({a3.m_x, a3.m_y, a3.m_z});
        case kTypeVector2DArithmetic:
            switch (operation) {
                case kVectorAdd:
                case kVectorSubtract: {
                    const CVector2 r = operation == kVectorAdd ? a2 + v.b2 : a2 - v.b2;
                    a2.m_x = r.m_x;
                    a2.m_y = r.m_y;
                    return Result({r.m_x, r.m_y});
                }
                case kVectorCross:
                    return Result({a2.Cross(v.b2)});
                case kVectorDot:
                    return Result({a2.Dot(v.b2)});
                default:
                    return {};
            }
        case kTypeVector3DArithmetic:
            switch (operation) {
                case kVectorAdd:
                case kVectorSubtract: {
                    const CVector3 r = operation == kVectorAdd ? a3 + v.b3 : a3 - v.b3;
                    a3.m_x = r.m_x;
                    a3.m_y = r.m_y;
                    a3.m_z = r.m_z;
                    return Result({r.m_x, r.m_y, r.m_z});
                }
                case kVectorCross: {
                    const CVector3 r = a3.Cross(v.b3);
                    return Result({r.m_x, r.m_y, r.m_z});
                }
                case kVectorDot:
                    return Result({a3.Dot(v.b3)});
                default:
                    return {};
            }
        default:
            return {};
    }
}

}  // namespace zor2
