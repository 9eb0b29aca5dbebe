// The pictures of the module view: the 7-Segment LED and the Integrated Column
// Chart. The runtime reads their records and computes nothing.
#pragma once

#include <cstdint>

namespace zor2 {

inline constexpr int32_t kTypeLedDigit = 74;
inline constexpr int32_t kTypeChartColumn = 75;

/// Colours are stored 0xBBGGRR.
inline constexpr int32_t kLedDigitColour = 255;
inline constexpr int32_t kChartBelowColour = 0x9999FF;
inline constexpr int32_t kChartBetweenColour = 0xB58D5A;
inline constexpr int32_t kChartAboveColour = 0x00FF99;

/// The zone of a column's value: 0 below the low limit, 1 below the high limit, 2 at or above it.
inline int32_t ChartZone(double percent, int32_t low, int32_t high) {
    if (percent < low) return 0;
    return percent < high ? 1 : 2;
}

}  // namespace zor2
