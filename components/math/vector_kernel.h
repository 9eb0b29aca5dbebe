// The vector components (types 61 to 66), shared by the designer's CModelVector2
// and the runtime's CRModelVector2: which inputs feed which vector, when they are
// read, what each type computes, and the one field list of both records.
#pragma once

#include <cstdint>
#include <span>

#include "algo/vector.h"

namespace zor2 {

inline constexpr int32_t kTypeVector2DMagnitude = 61;
inline constexpr int32_t kTypeVector3DMagnitude = 62;
inline constexpr int32_t kTypeVector2DNormalize = 63;
inline constexpr int32_t kTypeVector3DNormalize = 64;
inline constexpr int32_t kTypeVector2DArithmetic = 65;
inline constexpr int32_t kTypeVector3DArithmetic = 66;

/// Operations. The arithmetic types choose among 3 to 6 in their dialog.
enum EVectorOperation : int32_t {
    kVectorMagnitude = 0,
    kVectorNormalize = 1,
    kVectorAdd = 3,
    kVectorSubtract = 4,
    kVectorCross = 5,
    kVectorDot = 6,
};

inline bool IsVectorArithmetic(int32_t op) {
    return op >= kVectorAdd && op <= kVectorDot;
}
/// 0 for the 2D types, 1 for the 3D types.
inline int32_t VectorDimension(int32_t type) {
    return (type == kTypeVector3DMagnitude || type == kTypeVector3DNormalize ||
            type == kTypeVector3DArithmetic)
               ? 1
               : 0;
}
/// The operation a new component of the type starts with.
inline int32_t VectorInitialOperation(int32_t type) {
    if (type == kTypeVector2DMagnitude || type == kTypeVector3DMagnitude) return kVectorMagnitude;
    if (type == kTypeVector2DNormalize || type == kTypeVector3DNormalize) return kVectorNormalize;
    return kVectorAdd;
}

/// The fields both records carry after the component base: 9 bytes.
struct CVectorFields {
    int32_t operation = kVectorAdd;
    int32_t dimension = 0;
    bool enabled = true;
};
template <class Ar, class F>
void VectorFieldList(Ar& ar, F& f) {
    ar.I32(f.operation);
    ar.I32(f.dimension);
    ar.Bool(f.enabled);
}
inline constexpr int32_t kVectorRecordBytes = 9;

/// The two operands of every type.
struct CVectorOperands {
    CVector2 a2, b2;
    CVector3 a3, b3;
};

/// One operand input: its id and the component of the first (0) or second (1)
/// vector it sets (axis 0 x, 1 y, 2 z).
struct CVectorOperand {
    int32_t inputId;
    uint8_t vector;
    uint8_t axis;
};
/// The operand inputs of a type, in the order they are read.
std::span<const CVectorOperand> VectorOperands(int32_t type);
/// Whether the operands are read this cycle: the magnitude and normalise types
/// while enabled, the arithmetic types while their operation is 3 to 6.
bool VectorReadsOperands(int32_t type, bool enabled, int32_t operation);
/// Stores one operand value where `operand` says.
void StoreVectorOperand(CVectorOperands& v, int32_t type, const CVectorOperand& operand, double value);

/// The output ids one Execute writes with their values; `count` of them are used.
struct CVectorResult {
    int32_t count = 0;
    int32_t ids[3] = {};
    double values[3] = {};
};
/// One Execute of a type that is enabled and ready. Normalisation happens in the
/// first vector, and sums and differences are stored into it too.
CVectorResult VectorExecute(CVectorOperands& v, int32_t type, int32_t operation);

}  // namespace zor2
