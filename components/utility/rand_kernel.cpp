// Random draw and publishing schedule of the random value components.
#include "components/utility/rand_kernel.h"

#include <cmath>
#include <utility>

namespace zor2 {

namespace {

/// A bound truncated toward zero and kept inside the int32 range.
int64_t TruncBound(double v) {
    if (std::isnan(v)) return 0;
    if (v <= -2147483648.0) return INT32_MIN;
    if (v >= 2147483647.0) return INT32_MAX;
    return static_cast<int64_t>(v);
}

/// Largest whole second a 32-bit millisecond count reaches before it wraps.
constexpr int64_t kWrapSeconds = 4294967;

}  // namespace

double DrawRandom(const CRandomDraw& draw, IRandomSource& random) {
    switch (draw.mode) {
        case kRandFloatUnit:
            return static_cast<double>(random.Next15() % 101) / 100.0;
        case kRandFloatSigned:
            return static_cast<double>(random.Next15() % 201 - 100) / 100.0;
        case kRandInteger: {
            int64_t lo = TruncBound(draw.low);
            int64_t hi = TruncBound(draw.high);
            if (hi < lo) std::swap(lo, hi);
            const int64_t span = hi - lo + 1;
            return static_cast<double>(lo + random.Next15() % span);
        }
        default:
            return 0.0;
    }
}

int64_t ElapsedSeconds(uint32_t now, int32_t lastTime) {
    const int64_t t = now, last = lastTime;
    if (t >= last || last > kWrapSeconds) return t - last;
    return t + (kWrapSeconds + 1) - last;
}

double RandGenStep(const CRandomDraw& draw, CRandomState& s, bool enabled, double v, uint32_t seconds) {
    const double held = s.lastNumber;
    if (!enabled) return held;
    switch (draw.timing) {
        case kTimingCycles:
            if (++s.counter >= draw.interval) {
                s.lastTime = s.counter;
                s.counter = 0;
                s.lastNumber = v;
                return v;
            }
            break;
        case kTimingSeconds:
            if (ElapsedSeconds(seconds, s.lastTime) >= draw.interval) {
                s.lastTime = static_cast<int32_t>(seconds);
                s.lastNumber = v;
                return v;
            }
            break;
        default:
            return held;
    }
    return draw.zeroWhileWaiting ? 0.0 : held;
}

double DynamicStep(const CDynamicFields& f, CRandomState& s, double v, uint32_t seconds, double x) {
    double step = 0.0;
    if (f.enabled) {
        const double waiting = f.draw.zeroWhileWaiting ? 0.0 : s.lastNumber;
        switch (f.draw.timing) {
            case kTimingCycles:
                if (s.counter < f.draw.interval) {
                    step = waiting;
                    ++s.counter;
                } else {
                    s.lastTime = s.counter;
                    s.counter = 1;
                    s.lastNumber = v;
                    step = v;
                }
                break;
            case kTimingSeconds: {
                const int64_t elapsed = ElapsedSeconds(seconds, s.lastTime);
                s.counter = static_cast<int32_t>(elapsed);
                if (elapsed >= f.draw.interval) {
                    s.lastTime = static_cast<int32_t>(seconds);
                    s.lastNumber = v;
                    step = v;
                } else {
                    step = waiting;
                }
                break;
            }
            default:
                break;
        }
    }
    const double candidate = x + step;
    if (f.useFloor || f.useCeiling) {
        // A step that would pass a bound is skipped, not clamped.
        if (f.useFloor && candidate < f.floor) return x;
        if (f.useCeiling && candidate > f.ceiling) return x;
    }
    return candidate;
}

bool ValidRandomDraw(const CRandomDraw& draw) {
    return draw.mode >= kRandFloatUnit && draw.mode <= kRandInteger && draw.timing >= kTimingCycles &&
           draw.timing <= kTimingSeconds && draw.interval >= kRandIntervalMin &&
           draw.interval <= kRandIntervalMax && std::isfinite(draw.low) && std::isfinite(draw.high);
}

}  // namespace zor2
