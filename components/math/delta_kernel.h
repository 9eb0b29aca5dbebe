// Delta: first and second difference over cycles, shared by the designer's
// CModelDelta and the runtime's CRModelDelta.
#pragma once

#include <cstdint>

namespace zor2 {

inline constexpr int32_t kTypeDelta = 34;

struct CDeltaState {
    int32_t count = 0;        // cycles computed since the last reset, saturating
    double delta = 0.0;       // first difference
    double deltaDelta = 0.0;  // second difference
    double previous = 0.0;    // raw value of the cycle before

    /// Clears the differences and the count; the previous value is replaced
    /// by the next sample anyway.
    void Reset() {
        count = 0;
        delta = 0.0;
        deltaDelta = 0.0;
    }
    /// One enabled cycle with this cycle's raw value: the first cycle after a
    /// reset only records, the second yields delta, later ones both.
    void Step(double value);
};

}  // namespace zor2
