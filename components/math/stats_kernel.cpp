// Running Stats and Moving Average, one cycle at a time.
#include "components/math/stats_kernel.h"

#include <algorithm>
#include <cmath>

namespace zor2 {

bool CRunningStats::Take(bool enabled, bool reset, bool taken, double v, double& sum) {
    if (reset) count = -2;
    if (!enabled) return true;
    if (taken) ++count;
    if (count < 1) {
        // A reset cycle takes no value.
        Reset();
        sum = 0.0;
        return false;
    }
    if (count == 1) {
        previous = sum = mean = minimum = maximum = v;
        runningMean = v;
        squares = variance = deviation = 0.0;
        return true;
    }
    // Without "Value", 0 still enters the sum and the extremes while the count stays.
    sum = sum + v;
    mean = sum / count;
    minimum = std::min(minimum, v);
    maximum = std::max(maximum, v);
    if (taken) {
        const double d = v - runningMean;
        runningMean += d / count;
        squares += d * (v - runningMean);
        variance = squares / count;
        deviation = std::sqrt(variance);
    }
    return true;
}

void CRunningStats::Outputs(double current, double (&out)[7]) {
    if (count > 0) {
        change = current - previous;
        previous = current;
        out[0] = minimum;
        out[1] = maximum;
        out[2] = mean;
        out[6] = change;
    } else {
        out[0] = out[1] = out[2] = out[6] = 0.0;
    }
    out[3] = count;
    out[4] = variance;
    out[5] = deviation;
}

void CMovingAverage::Restart(int32_t length) {
    m_length = length;
    m_window.assign(static_cast<size_t>(std::clamp(length, 1, kMaxMovingAverage)), 0.0);
    m_count = 0;
}

void CMovingAverage::Take(double v, double& sum) {
    if (m_window.empty()) Restart(m_length);
    const int32_t length = static_cast<int32_t>(m_window.size());
    if (m_count < length) {
        m_window[static_cast<size_t>(m_count++)] = v;
    } else {
        std::copy(m_window.begin() + 1, m_window.end(), m_window.begin());
        m_window.back() = v;
    }
    if (m_count < length) return;
    double s = 0.0;
    for (double x : m_window) s += x;
    sum = s;
}

double CMovingAverage::Output(double sum) const {
    const int32_t length = static_cast<int32_t>(m_window.size());
    return m_enabled && length > 0 && m_count >= length ? sum / length : 0.0;
}

}  // namespace zor2
