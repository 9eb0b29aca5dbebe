// Case tables that the designer classes and the runtime classes must both meet
// (plain data, no engine or runtime types).
#pragma once

#include <cstdint>
#include <vector>

namespace zor2::test {

/// A counter fed per cycle with an event value and, when connected, a reset value.
struct CounterCase {
    const char* name;
    int32_t type;
    bool resetConnected;
    std::vector<double> events;
    std::vector<double> resets;  // per cycle; ignored when not connected
    std::vector<double> expected;
};

inline const std::vector<CounterCase>& CounterCases() {
    static const std::vector<CounterCase> cases = {
        {"on value, reset open counts without end", 25, false, {1, 1, 1, 1, 1}, {}, {1, 2, 3, 4, 5}},
        {"on value, false events are not counted", 25, false, {1, 0, -0.0, 2.5, -1}, {}, {1, 1, 1, 2, 3}},
        {"on value, reset 3 compares before counting",
         25,
         true,
         {1, 1, 1, 1, 1, 1, 1, 1},
         {3, 3, 3, 3, 3, 3, 3, 3},
         {1, 2, 3, 0, 1, 2, 3, 0}},
        {"on value, reset 0 holds the count at 0", 25, true, {1, 1, 1}, {0, 0, 0}, {0, 0, 0}},
        {"on value, reset lowered below the count",
         25,
         true,
         {1, 1, 1, 1, 1},
         {9, 9, 1, 9, 9},
         {1, 2, 0, 1, 2}},
        {"on event, reset open counts", 26, false, {1, 1, 1}, {}, {1, 2, 3}},
        {"on event, reset event drops the cycle's event", 26, true, {1, 1, 1, 1}, {0, 0, 1, 0}, {1, 2, 0, 1}},
        {"on event, both true in the same cycle gives 0", 26, true, {1}, {1}, {0}},
        {"on event, any non-zero reset value resets", 26, true, {1, 1, 1, 1}, {0, -0.5, 0, 0}, {1, 0, 1, 2}},
    };
    return cases;
}

/// A Delay with the default factor fed per cycle.
struct DelayCase {
    const char* name;
    std::vector<double> inputs;
    std::vector<double> expected;
};

inline const std::vector<DelayCase>& DelayCases() {
    static const std::vector<DelayCase> cases = {
        {"constant 1 climbs towards 4", {1, 1, 1, 1}, {1, 1.75, 2.3125, 2.734375}},
        {"negative output is not fed back", {-1, -1, -1}, {-1, -1, -1}},
        {"small output stops feeding back", {0.0133, 0, 0}, {0.0133, 0, 0}},
        {"decay from 1 with input 0", {1, 0, 0}, {1, 0.75, 0.5625}},
        {"feedback just above the floor is kept", {0.014, 0}, {0.014, 0.014 * 0.75}},
    };
    return cases;
}

/// Quantity Diminishing with auto mode off, driven per cycle.
struct QuantityCase {
    const char* name;
    double minimum, maximum, start;
    std::vector<double> consume;
    std::vector<double> fill;
    std::vector<double> reset;
    std::vector<double> expected;  // amount remaining after each cycle
    double lastEmpty;              // "Empty?" after the last cycle
};

inline const std::vector<QuantityCase>& QuantityCases() {
    static const std::vector<QuantityCase> cases = {
        {"fill to exactly the maximum", 0, 100, 99.95, {0}, {0.1}, {0}, {100}, 0},
        {"consume to exactly the minimum", 10, 100, 10.5, {0.3, 0.3}, {0, 0}, {0, 0}, {10.2, 10}, 1},
        {"fill and consume cancel", 0, 100, 50, {2}, {2}, {0}, {50}, 0},
        {"net fill", 0, 100, 50, {1}, {3}, {0}, {52}, 0},
        {"reset refills and skips the step", 0, 80, 20, {5, 5}, {0, 0}, {1, 0}, {80, 75}, 0},
        {"negative consume fills", 0, 100, 40, {-5}, {0}, {0}, {45}, 0},
        {"an amount below the minimum is raised on consumption", 10, 100, 5, {1}, {0}, {0}, {10}, 1},
    };
    return cases;
}

/// Integer draws: mode 3 with the given bounds and 15-bit draws.
struct DrawCase {
    const char* name;
    int32_t mode;
    double low, high;
    int32_t r;
    double expected;
};

inline const std::vector<DrawCase>& DrawCases() {
    static const std::vector<DrawCase> cases = {
        {"unit float lowest", 1, 0, 1, 0, 0.0},
        {"unit float highest", 1, 0, 1, 100, 1.0},
        {"unit float wraps at 101", 1, 0, 1, 101, 0.0},
        {"unit float of the largest draw", 1, 0, 1, 32767, 0.43},
        {"signed float lowest", 2, -1, 1, 0, -1.0},
        {"signed float middle", 2, -1, 1, 100, 0.0},
        {"signed float highest", 2, -1, 1, 200, 1.0},
        {"die lowest", 3, 1, 6, 0, 1.0},
        {"die highest", 3, 1, 6, 5, 6.0},
        {"die wraps", 3, 1, 6, 6, 1.0},
        {"bounds are truncated", 3, 1.9, 6.9, 5, 6.0},
        {"negative bounds truncate toward zero", 3, -2.7, 2.7, 0, -2.0},
        {"reversed range draws between the bounds", 3, 6, 1, 5, 6.0},
        {"range reversed by one does not divide by zero", 3, 3, 2, 1, 3.0},
        {"single value", 3, 4, 4, 12345, 4.0},
        {"unknown mode gives 0", 7, 1, 6, 3, 0.0},
    };
    return cases;
}

}  // namespace zor2::test
