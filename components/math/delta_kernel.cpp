// Delta: one enabled cycle.
#include "components/math/delta_kernel.h"

namespace zor2 {

namespace {
// The count saturates back to 2, so it never wraps yet stays "two or more".
constexpr int32_t kDeltaCountLimit = 2000000000;
}  // namespace

void CDeltaState::Step(double value) {
    const int32_t n = count;
    if (n >= 2) {
        const double d = value - previous;
        deltaDelta = d - delta;
        delta = d;
    } else if (n == 1) {
        delta = value - previous;
    }
    count = n + 1;
    if (count > kDeltaCountLimit) count = 2;
}

}  // namespace zor2
