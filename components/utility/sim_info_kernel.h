// The Sim Info sources of time and count, shared by their designer and runtime
// halves: type ids, the runtime record and the local calendar fields of Sim
// Info LocalTime, which reads the local clock and runs only in the designer.
#pragma once

#include <cstdint>
#include <ctime>

namespace zor2 {

inline constexpr int32_t kTypeSimInfoSimTime = 53;
inline constexpr int32_t kTypeSimInfoCount = 54;
inline constexpr int32_t kTypeSimInfoLocalTime = 55;

/// Both records carry the enabled flag after the component base (one byte in the runtime file).
template <class Ar, class F>
void SimInfoFieldList(Ar& ar, F& enabled) {
    ar.Bool(enabled);
}

/// Sim Info SimTime: the simulated milliseconds in seconds.
inline double SimTimeSeconds(double simulatedMs) {
    return simulatedMs / 1000.0;
}
/// Sim Info Count: the number of the cycle being computed, counting from 1.
inline double CycleNumber(int32_t cyclesCompleted) {
    return static_cast<double>(cyclesCompleted) + 1.0;
}

/// Outputs 20 to 80 of Sim Info LocalTime: seconds, minutes, the hour on a
/// 12-hour clock without AM or PM (0 shows 12, 13 shows 1), day of the week
/// (0 Sunday), day of the month, month 1 to 12, four-digit year.
struct CLocalTimeFields {
    int32_t values[7] = {};
};
inline CLocalTimeFields LocalTimeFields(const std::tm& t) {
    int32_t hour = t.tm_hour;
    if (hour == 0) hour = 12;
    if (hour > 12) hour -= 12;
    return {{t.tm_sec, t.tm_min, hour, t.tm_wday, t.tm_mday, t.tm_mon + 1, t.tm_year + 1900}};
}

}  // namespace zor2
