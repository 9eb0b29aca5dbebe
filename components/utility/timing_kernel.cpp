// Timer, Counter and Quantity Diminishing arithmetic shared by both deliverables.
#include "components/utility/timing_kernel.h"

#include <cmath>

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

uint32_t CounterFromValue(double v) {
    if (!(v >= 0.0)) return 0;
    constexpr double kWrap = 4294967296.0;
    if (v >= kWrap) v = std::fmod(v, kWrap);
    return static_cast<uint32_t>(v);
}

CCounterResult CounterStep(int32_t type, double current, bool event, bool resetConnected, double resetValue) {
    const uint32_t c = CounterFromValue(current);
    const uint32_t next = c + (event ? 1u : 0u);  // wraps after 4 294 967 295
    if (type == kTypeCounterOnValue) {
        // Compares before counting: reset value 3 gives 1, 2, 3, 0, 1, ...
        if (resetConnected && resetValue <= static_cast<double>(c)) return {0, true};
        return {next, false};
    }
    if (!resetConnected || resetValue == 0.0) return {next, false};
    return {0, true};  // the event of the resetting cycle is dropped
}

double QuantityStep(double a, double mn, double mx, double d) {
    if (d < 0.0) return (a > mn && a + d > mn) ? a + d : mn;
    if (d > 0.0) return (a < mx && d < mx - a) ? a + d : mx;
    return a;
}

}  // namespace zor2
