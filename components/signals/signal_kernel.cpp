// Signal frames: the generator's table and frame, the shaping operations, the
// window weights and the frame statistics.
#include "components/signals/signal_kernel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace zor2 {

namespace {

constexpr CSampleRate kSampleRates[] = {
    {0, 8000, "8,000 Hz"},    {1, 11025, "11,025 Hz"}, {2, 16000, "16,000 Hz"},  {3, 22050, "22,050 Hz"},
    {4, 32000, "32,000 Hz"},  {5, 44056, "44,056 Hz"}, {6, 44100, "44,100 Hz"},  {7, 47250, "47,250 Hz"},
    {8, 48000, "48,000 Hz"},  {9, 50000, "50,000 Hz"}, {10, 50400, "50,400 Hz"}, {11, 88200, "88,200 Hz"},
    {12, 96000, "96,000 Hz"},
};

constexpr int kSineEntries = 512;
// The decimal constant of the generator's and the window's angles, not 2π itself.
constexpr double kSignalTwoPi = 6.2831853;

const std::array<float, kSineEntries>& SineTable() {
    static const std::array<float, kSineEntries> table = [] {
        std::array<float, kSineEntries> t{};
        for (int i = 0; i < kSineEntries; ++i) t[i] = static_cast<float>(std::sin(i * kSignalTwoPi / 512));
        return t;
    }();
    return table;
}

/// A cosine of a single-precision argument, rounded to single precision.
double CosF(float argument) {
    return static_cast<double>(static_cast<float>(std::cos(static_cast<double>(argument))));
}

bool HasFrame(CFrame f) {
    return f.data != nullptr;
}

int32_t Length(CFrame f) {
    return f.data ? std::max(f.count, 0) : 0;
}

}  // namespace

int32_t SignalTruncInt(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

std::span<const CSampleRate> SampleRates() {
    return kSampleRates;
}

int32_t SampleRateIndex(double rate) {
    for (const CSampleRate& r : kSampleRates)
        if (r.rate == rate) return r.index;
    return -1;
}

// --- frame buffer ----------------------------------------------------------------------

double* CFrameBuffer::Start(int32_t n) {
    n = std::max(n, 0);
    if (m_samples.size() < static_cast<size_t>(n) || m_samples.empty())
        m_samples.resize(std::max<size_t>(static_cast<size_t>(n), 1));
    m_value.data = m_samples.data();
    m_value.count = n;
    return m_value.data;
}

void CFrameBuffer::Finish() {
    double lo = 1e8;
    double hi = -1e8;
    for (int32_t i = 0; i < m_value.count; ++i) {
        const double y = m_value.data[i];
        if (y < lo) lo = y;
        if (y > hi) hi = y;
    }
    m_value.minimum = lo;
    m_value.maximum = hi;
}

// --- generator --------------------------------------------------------------------------

const CArrayValue& CSignalGenerator::Frame(double frequency, int32_t frameSize, int32_t sampleRate) {
    if (m_made && frequency == m_frequency && frameSize == m_frameSize && sampleRate == m_sampleRate)
        return m_buffer.Value();
    m_made = true;
    m_frequency = frequency;
    m_frameSize = frameSize;
    m_sampleRate = sampleRate;
    if (frameSize <= 0 || sampleRate <= 0) {
        m_buffer.Start(0);
        m_buffer.Finish();
        return m_buffer.Value();
    }
    const int32_t n = std::min(frameSize, kMaxGeneratorFrame);
    double* y = m_buffer.Start(n);
    const std::array<float, kSineEntries>& table = SineTable();
    double step = 512 * frequency / sampleRate;
    if (!std::isfinite(step)) step = 0.0;
    double p = 0.0;
    for (int32_t j = 0; j < n; ++j) {
        y[j] = 0.5 * table[static_cast<size_t>(p)];
        p = p + step;
        // Subtracting 512 until the phase is below 512 is exact, and so is fmod,
        // which also ends at once for a huge step and wraps a negative one.
        if (p >= 512.0 || p < 0.0) {
            p = std::fmod(p, 512.0);
            if (p < 0.0) p += 512.0;
            if (p >= 512.0) p = 0.0;
        }
    }
    m_buffer.Finish();
    return m_buffer.Value();
}

// --- shaping ----------------------------------------------------------------------------

void ScaleFrame(CFrame in, double gain, CFrameBuffer& out) {
    if (!HasFrame(in)) return out.Clear();
    const int32_t n = Length(in);
    double* y = out.Start(n);
    for (int32_t i = 0; i < n; ++i) y[i] = in.data[i] * gain;
    out.Finish();
}

void PreEmphasizeFrame(CFrame in, double alpha, CFrameBuffer& out) {
    if (!HasFrame(in)) return out.Clear();
    const int32_t n = Length(in);
    double* y = out.Start(n);
    for (int32_t i = 0; i < n; ++i) y[i] = i == 0 ? in.data[0] : in.data[i] - alpha * y[i - 1];
    out.Finish();
}

void EchoFrame(CFrame in, const CEchoParams& p, CFrameBuffer& out) {
    if (!HasFrame(in)) return out.Clear();
    const int32_t n = Length(in);
    double* y = out.Start(n);
    const double lag = std::trunc(p.delay * p.sampleRate);
    // A lag that is no number or lies beyond the frame leaves no echo in it.
    const bool echo = lag >= 0.0 && lag < n;
    const int32_t d = echo ? static_cast<int32_t>(lag) : n;
    for (int32_t i = 0; i < n; ++i) y[i] = in.data[i] + (i < d ? 0.0 : p.magnitude * in.data[i - d]);
    out.Finish();
}

void CombineFrames(CFrame a, CFrame b, bool multiply, CFrameBuffer& out) {
    if (!HasFrame(a)) return out.Clear();
    const int32_t na = Length(a);
    const int32_t nb = Length(b);
    const int32_t n = std::max(na, nb);
    const int32_t both = std::min(na, nb);
    double* y = out.Start(n);
    for (int32_t i = 0; i < both; ++i) y[i] = multiply ? a.data[i] * b.data[i] : a.data[i] + b.data[i];
    const double* tail = na >= nb ? a.data : b.data;
    for (int32_t i = both; i < n; ++i) y[i] = tail[i];
    out.Finish();
}

// --- window -----------------------------------------------------------------------------

const double* CSignalWindow::Weights(int32_t type, int32_t n) {
    if (type == m_type && m_weights.size() == static_cast<size_t>(n)) return m_weights.data();
    m_type = type;
    m_weights.assign(static_cast<size_t>(std::max(n, 0)), 1.0);
    if (n < 2) return m_weights.data();
    const float s = static_cast<float>(kSignalTwoPi / (n - 1));
    for (int32_t k = 0; k < n; ++k) {
        const float ks = static_cast<float>(k) * s;
        double& w = m_weights[static_cast<size_t>(k)];
        switch (type) {
            case kWindowHamming:
                w = 0.54 - 0.46 * CosF(ks);
                break;
            case kWindowHanning:
                w = 0.5 * (1 - CosF(ks));
                break;
            case kWindowBlackman:
                w = 0.42 - 0.5 * CosF(ks) + 0.08 * CosF(2 * s * static_cast<float>(k));
                break;
            default:
                break;
        }
    }
    return m_weights.data();
}

void WindowFrame(CFrame in, CSignalWindow& window, int32_t type, CFrameBuffer& out) {
    if (!HasFrame(in)) {
        out.ClearKeepingExtremes();
        return;
    }
    const int32_t n = Length(in);
    const double* w = window.Weights(type, n);
    double* y = out.Start(n);
    for (int32_t i = 0; i < n; ++i) y[i] = w[i] * in.data[i];
    out.Finish();
}

const char* WindowTypeText(int32_t type) {
    switch (type) {
        case kWindowHamming:
            return "Window type: Hamming";
        case kWindowHanning:
            return "Window type: Hanning";
        case kWindowBlackman:
            return "Window type: Blackman";
        default:
            return "Window type: NA";
    }
}

// --- Signal Stats -------------------------------------------------------------------------

void CSignalStats::Take(CFrame frame) {
    minimum = maximum = mean = 0.0;
    if (!HasFrame(frame)) return;
    double hi = -1e12;
    double lo = 1e12;
    for (int32_t i = 0; i < Length(frame); ++i) {
        if (frame.data[i] > hi) hi = frame.data[i];
        if (frame.data[i] < lo) lo = frame.data[i];
    }
    minimum = lo;
    maximum = hi;
    // The mid-range of the frame, not the average of its samples.
    mean = lo + (hi - lo) * 0.5;
}

}  // namespace zor2
