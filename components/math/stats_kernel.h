// The accumulating statistics shared by the designer's and the runtime's Running
// Stats, Moving Average and Running Total. Each keeps its sum or total in the
// component's own value field, which the records carry, so it is passed in here.
#pragma once

#include <cstdint>
#include <vector>

namespace zor2 {

inline constexpr int32_t kTypeRunningStats = 27;
inline constexpr int32_t kTypeRunningTotal = 57;
inline constexpr int32_t kTypeMovingAverage = 58;

/// Running Stats: a series of values with its extremes, mean, population
/// variance and standard deviation (Welford's update), and the last change.
struct CRunningStats {
    int32_t count = 0;
    double minimum = 1e9;
    double maximum = -1e8;
    double mean = 0.0;
    double variance = 0.0;
    double deviation = 0.0;
    double change = 0.0;
    double previous = 0.0;
    double runningMean = 0.0;  // Welford's mean, apart from the mean the outputs show
    double squares = 0.0;      // Welford's sum of squared differences

    /// Back to an empty series (the component's sum is cleared by the caller).
    void Reset() { *this = CRunningStats{}; }
    /// The input phase. `reset`: the "Reset" input is connected and not 0 (it
    /// counts even while disabled); `taken`: "Value" is connected, with value `v`
    /// (0 otherwise). Returns false when the series restarted (the caller resets
    /// its ports and sum); a disabled cycle takes nothing else.
    bool Take(bool enabled, bool reset, bool taken, double v, double& sum);
    /// The execute phase of an enabled cycle: the seven outputs in list order
    /// (Min, Max, Mean, Count, Variance, Std Deviation, Chg); `current` is the
    /// "Value" input's value now.
    void Outputs(double current, double (&out)[7]);
};

/// Moving Average window lengths: the dialog offers 2 … 100; a record may hold
/// 1 … kMaxMovingAverage.
inline constexpr int32_t kMovingAverageDefault = 30;
inline constexpr int32_t kMovingAverageMin = 2;
inline constexpr int32_t kMovingAverageMax = 100;
inline constexpr int32_t kMaxMovingAverage = 100000;

/// Moving Average: the last L values; the sum is of the full window, taken
/// from the window's entries in order.
class CMovingAverage {
  public:
    int32_t Length() const { return m_length; }
    bool Enabled() const { return m_enabled; }
    int32_t Count() const { return m_count; }
    /// A new window of `length` zeros (a length outside 1 … kMaxMovingAverage
    /// is kept for the records, and the window takes the nearest length in range).
    void Restart(int32_t length);
    void Restart() { Restart(m_length); }
    /// Takes one value; once the window is full (already in the cycle it fills)
    /// `sum` becomes the sum of its entries.
    void Take(double v, double& sum);
    /// The output: sum / L while enabled with a full window, else 0.
    double Output(double sum) const;

    template <class Ar, class M>
    friend void MovingAverageFields(Ar& ar, M& m);

  private:
    int32_t m_length = kMovingAverageDefault;
    bool m_enabled = true;
    std::vector<double> m_window;
    int32_t m_count = 0;
};

/// Project and runtime record fields: window length, enabled flag.
template <class Ar, class M>
void MovingAverageFields(Ar& ar, M& m) {
    ar.I32(m.m_length);
    ar.Bool(m.m_enabled);
}

/// Running Total: the total grows by every value; 0 is published while disabled.
inline double RunningTotalOutput(bool enabled, double total) {
    return enabled ? total : 0.0;
}

}  // namespace zor2
