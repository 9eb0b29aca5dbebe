// The random draw and the publishing schedule shared by the RandNum Generator
// and the Dynamic Sim Value, designer and runtime, with their field records.
#pragma once

#include <cstdint>

#include "algo/platform.h"

namespace zor2 {

inline constexpr int32_t kTypeRandGen = 43;
inline constexpr int32_t kTypeDynamicNumber = 81;

/// Draw modes.
inline constexpr int32_t kRandFloatUnit = 1;    // 0.00 .. 1.00 in steps of 0.01
inline constexpr int32_t kRandFloatSigned = 2;  // -1.00 .. 1.00 in steps of 0.01
inline constexpr int32_t kRandInteger = 3;      // trunc(low) .. trunc(high)
/// Timings.
inline constexpr int32_t kTimingCycles = 0;
inline constexpr int32_t kTimingSeconds = 1;
/// Interval range of the property dialogs.
inline constexpr int32_t kRandIntervalMin = 1;
inline constexpr int32_t kRandIntervalMax = 3600;

/// What to draw and how often.
struct CRandomDraw {
    double low = 1.0;
    double high = 6.0;
    int32_t mode = kRandInteger;
    int32_t timing = kTimingCycles;
    int32_t interval = 1;
    bool zeroWhileWaiting = false;
};

/// One value for `draw.mode` from `random` (one 15-bit draw; modes other than
/// 1, 2 and 3 give 0 without drawing). A reversed integer range draws over the
/// range between the two bounds.
double DrawRandom(const CRandomDraw& draw, IRandomSource& random);

/// Whole seconds of a tick count as the designer computes them (exact).
inline uint32_t DesignerSeconds(uint32_t tickMs) {
    return tickMs / 1000u;
}
/// Whole seconds as the runtime computes them: in single precision, so a large
/// tick count can round up to the next second.
inline uint32_t RuntimeSeconds(uint32_t tickMs) {
    const float seconds = static_cast<float>(tickMs) / 1000.0f;
    return static_cast<uint32_t>(seconds);
}

/// Schedule state; everything here starts at 0 after a reset or a load.
struct CRandomState {
    int32_t counter = 0;
    int32_t lastTime = 0;  // second of the last new number, or the counter value in cycle timing
    double lastNumber = 0.0;

    void Reset() { *this = CRandomState{}; }
};

/// Seconds since `lastTime`; a tick count that wrapped since then counts on
/// from the wrap instead of going negative.
int64_t ElapsedSeconds(uint32_t now, int32_t lastTime);

/// RandNum Generator, one Execute: the output value. `v` is the number drawn
/// this cycle (only when enabled) and `seconds` the whole seconds now (read
/// only in second timing).
double RandGenStep(const CRandomDraw& draw, CRandomState& s, bool enabled, double v, uint32_t seconds);

/// Dynamic Sim Value fields beyond the component base.
struct CDynamicFields {
    double start = 100.0;
    CRandomDraw draw{-2.0, 2.0, kRandInteger, kTimingCycles, 1, true};
    bool useFloor = false;
    bool useCeiling = false;
    double floor = 0.0;
    double ceiling = 200.0;
    bool enabled = false;
};

/// Dynamic Sim Value, one Execute: the new current number from `x`.
double DynamicStep(const CDynamicFields& f, CRandomState& s, double v, uint32_t seconds, double x);

/// RandNum Generator fields beyond the component base.
struct CRandGenFields {
    CRandomDraw draw;
    bool enabled = false;
};

/// The one field list of the project record and the runtime record (`ar` is
/// the project archive, the runtime byte writer or the runtime byte reader).
template <class Ar, class F>
void RandGenFieldList(Ar& ar, F& f) {
    ar.F64(f.draw.low);
    ar.F64(f.draw.high);
    ar.I32(f.draw.mode);
    ar.I32(f.draw.timing);
    ar.I32(f.draw.interval);
    ar.Bool(f.draw.zeroWhileWaiting);
    ar.Bool(f.enabled);
}
inline constexpr int32_t kRandGenRecordBytes = 30;

template <class Ar, class F>
void DynamicFieldList(Ar& ar, F& f) {
    ar.F64(f.start);
    ar.F64(f.draw.low);
    ar.F64(f.draw.high);
    ar.I32(f.draw.mode);
    ar.I32(f.draw.timing);
    ar.I32(f.draw.interval);
    ar.Bool(f.draw.zeroWhileWaiting);
    ar.Bool(f.useFloor);
    ar.Bool(f.useCeiling);
    ar.F64(f.floor);
    ar.F64(f.ceiling);
    ar.Bool(f.enabled);
}
inline constexpr int32_t kDynamicRecordBytes = 56;

/// Checks the values the property dialogs can produce: mode 1..3, timing 0..1,
/// interval 1..3600, finite bounds.
bool ValidRandomDraw(const CRandomDraw& draw);

}  // namespace zor2
