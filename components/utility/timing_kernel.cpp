// Timer, Counter and Quantity Diminishing arithmetic shared by both deliverables.
#include "components/utility/timing_kernel.h"

namespace zor2 {

bool CTimerState::Step(uint32_t now, double delay, bool enabled) {
    if (!enabled) return false;
    if (lastFire <= 1.0) lastFire = static_cast<double>(now);
    const uint32_t last = static_cast<uint32_t>(lastFire);
    const double elapsed = static_cast<double>(static_cast<uint32_t>(now - last));
    if (!(elapsed >= delay)) return false;  // a delay that is not a number never fires
    lastFire = static_cast<double>(now);
    return true;
}

double QuantityStep(double a, double mn, double mx, double d) {
    if (d < 0.0) return (a > mn && a + d > mn) ? a + d : mn;
    if (d > 0.0) return (a < mx && d < mx - a) ? a + d : mx;
    return a;
}

}  // namespace zor2
