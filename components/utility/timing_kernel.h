// Computation shared by the designer's and the runtime's Timer, Delay, Counter
// and Quantity Diminishing components, with their parameter records.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zor2 {

inline constexpr int32_t kTypeDelay = 2;
inline constexpr int32_t kTypeTimer = 14;
inline constexpr int32_t kTypeCounterOnValue = 25;
inline constexpr int32_t kTypeCounterOnEvent = 26;
inline constexpr int32_t kTypeQuantityDiminish = 68;

// --- Timer ------------------------------------------------------------------

/// Milliseconds between firings of a Timer taken from the palette; also what
/// the runtime uses, since its record carries no delay.
inline constexpr double kTimerDefaultDelay = 500.0;

/// The Timer's clock arithmetic.
struct CTimerState {
    double lastFire = 0.0;  // tick count (ms) of the last firing; 0 before the first

    /// One Execute at tick `now` (ms): true when the timer fires. The elapsed
    /// time is taken modulo 2^32, so a wrap of the tick count costs one late
    /// firing at most instead of stopping the timer.
    bool Step(uint32_t now, double delay, bool enabled);
};

/// What the runtime's Timer keeps from cycle to cycle: its firing state and the
/// delay last read from "Delay ms". Its compiled step works on it in place.
struct CTimerRunState {
    CTimerState timer;
    double delay = kTimerDefaultDelay;
};

// --- Delay ------------------------------------------------------------------

inline constexpr double kDelayDefaultFactor = 0.75;
/// A feedback term below this (any negative one included) is dropped.
inline constexpr double kDelayFeedbackFloor = 0.01;
/// Range the property dialog keeps the factor in, and its step (single precision).
inline constexpr double kDelayFactorMin = 0.0;
inline constexpr double kDelayFactorMax = 0.99;
inline constexpr double kDelayFactorStep = static_cast<double>(0.01f);

/// One click of the factor's up-down control: up while below 0.98, down while above 0.02.
inline double StepDelayFactor(double factor, bool up) {
    if (up && factor < 0.98) factor += kDelayFactorStep;
    if (!up && factor > 0.02) factor -= kDelayFactorStep;
    return factor;
}

/// The feedback term of the next cycle: last output × factor, or 0 when that is below 0.01.
inline double DelayFeedback(double lastOutput, double factor) {
    // f < floor ? +0.0 : f, as a mask rather than a branch: whether a term falls
    // below the floor follows the data, so a branch on it is often mispredicted.
#if defined(__SSE2__)
    // Product and mask in one vector register, so no move zeroes its upper lane
    // between them; "not less than" holds for a NaN, kept as the plain form keeps it.
    const __m128d v = _mm_mul_sd(_mm_set_sd(lastOutput), _mm_set_sd(factor));
    return _mm_cvtsd_f64(_mm_and_pd(v, _mm_cmpnlt_sd(v, _mm_set_sd(kDelayFeedbackFloor))));
#else
    const double f = lastOutput * factor;
    const uint64_t keep = uint64_t{0} - static_cast<uint64_t>(!(f < kDelayFeedbackFloor));
    return std::bit_cast<double>(std::bit_cast<uint64_t>(f) & keep);
#endif
}

// --- Counters ---------------------------------------------------------------

/// An output value as the unsigned 32-bit count it holds (modulo 2^32; a
/// negative or non-numeric value counts as 0). Inline: both cycles call it per counter.
inline uint32_t CounterFromValue(double v) {
    if (!(v >= 0.0)) return 0;
    constexpr double kWrap = 4294967296.0;
    if (v >= kWrap) v = std::fmod(v, kWrap);
    return static_cast<uint32_t>(v);
}

struct CCounterResult {
    uint32_t count;
    bool reset;  // the reset input took effect (its text shows "RESET")
};

/// One Execute of a counter of `type` (25 reset on value, 26 reset on event).
/// `resetValue` is the reset input's value as GetInputValues left it.
inline CCounterResult CounterStep(int32_t type, double current, bool event, bool resetConnected,
                                  double resetValue) {
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

// --- Quantity Diminishing ---------------------------------------------------

/// The auto rate is a single-precision 0.1 widened to double.
inline constexpr double kQuantityAutoRate = static_cast<double>(0.1f);
/// "Reset to Max" takes effect above this value.
inline constexpr double kQuantityResetThreshold = 0.00001;

/// The stored fields beyond the component base, in record order.
struct CQuantityFields {
    double minimum = 0.0;
    double maximum = 100.0;
    bool enabled = true;
};

/// The one field list of the project record and the runtime record: `ar` is the
/// project archive, the runtime byte writer or the runtime byte reader.
template <class Ar, class F>
void QuantityFieldList(Ar& ar, F& f) {
    ar.F64(f.minimum);
    ar.F64(f.maximum);
    ar.Bool(f.enabled);
}
inline constexpr int32_t kQuantityRecordBytes = 17;

/// The amount after one enabled cycle that changes it by `d` (fill − consume):
/// it never leaves [minimum, maximum] and lands exactly on the bound it would pass.
double QuantityStep(double amount, double minimum, double maximum, double d);

/// The amount after one cycle without a reset: unchanged while disabled, else
/// the consumption (the auto rate in auto mode, else the "Decrement" value)
/// taken off and the fill added.
inline double QuantityCycle(double amount, const CQuantityFields& f, bool autoMode, double autoRate,
                            double consume, double fill) {
    if (!f.enabled) return amount;
    return QuantityStep(amount, f.minimum, f.maximum, -(autoMode ? autoRate : consume) + fill);
}

/// The four outputs in template order: amount remaining, container max,
/// container min, empty.
inline void QuantityOutputs(double amount, const CQuantityFields& f, double (&out)[4]) {
    out[0] = amount;
    out[1] = f.maximum;
    out[2] = f.minimum;
    out[3] = amount <= f.minimum ? 1.0 : 0.0;
}

}  // namespace zor2
