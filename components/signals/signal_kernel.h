// Signal frames and their shaping, shared by the designer's and the runtime's
// signal components: the sample-rate list, the generator's frame, the shaping
// operations, the window, Signal Stats, and the records of their parameters.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zor2 {

inline constexpr int32_t kTypeSignalStats = 31;
inline constexpr int32_t kTypeSignalFft = 32;
inline constexpr int32_t kTypeVoiceMfcc = 33;
inline constexpr int32_t kTypeSignalGen = 35;
inline constexpr int32_t kTypeSignalMixer = 36;
inline constexpr int32_t kTypeSignalGain = 37;
inline constexpr int32_t kTypeSignalWindow = 38;
inline constexpr int32_t kTypeSignalPreEmp = 39;
inline constexpr int32_t kTypeSignalDelay = 40;
inline constexpr int32_t kTypeSignalModulate = 42;

/// Truncation toward zero to int32 as the processor converts: NaN and values
/// outside the int32 range give INT32_MIN.
int32_t SignalTruncInt(double v);

/// One entry of the sample-rate list the Signal FFT and Voice MFCC dialogs offer.
struct CSampleRate {
    int32_t index;
    int32_t rate;  // Hz
    const char* label;
};
/// The 13 sample rates, index 0 to 12.
std::span<const CSampleRate> SampleRates();
/// The list index of `rate`, or -1.
int32_t SampleRateIndex(double rate);

/// A frame as a consumer finds it at an input: borrowed samples and their
/// count. Null samples mean no frame; a non-null pointer with count 0 is an
/// empty frame.
struct CFrame {
    const double* data = nullptr;
    int32_t count = 0;
};

/// An array value as an output publishes it.
struct CArrayValue {
    double* data = nullptr;
    int32_t count = 0;
    double minimum = 0.0;
    double maximum = 0.0;
};

/// A component's output frame. The storage is kept from cycle to cycle (a
/// consumer may use the samples only within the cycle they are published in),
/// so a cycle allocates only when a frame outgrows every earlier one.
class CFrameBuffer {
  public:
    /// No frame: null samples, count 0, minimum and maximum 0.
    void Clear() { m_value = {}; }
    /// No frame, but the minimum and maximum of the last one stay.
    void ClearKeepingExtremes() {
        m_value.data = nullptr;
        m_value.count = 0;
    }
    /// Room for a frame of `n` samples (a non-null pointer even for 0).
    double* Start(int32_t n);
    /// Publishes the frame started last: the running minimum from 1e8 and the
    /// running maximum from -1e8 over the samples in order.
    void Finish();
    const CArrayValue& Value() const { return m_value; }

  private:
    std::vector<double> m_samples;
    CArrayValue m_value;
};

// --- Signal Generator --------------------------------------------------------

/// The largest frame the generator makes; a larger frame size gives this many samples.
inline constexpr int32_t kMaxGeneratorFrame = 65536;

struct CSignalGenParams {
    int32_t sampleRate = 44100;
    int32_t frameSize = 1024;
    double frequency = 100.0;
    double reserved = -1.0;  // stored and exported, used by no computation
};

/// Project record and runtime record fields after the component base.
template <class Ar, class P>
void SignalGenFieldList(Ar& ar, P& p) {
    ar.I32(p.sampleRate);
    ar.I32(p.frameSize);
    ar.F64(p.frequency);
    ar.F64(p.reserved);
}

/// The generator's frame: 0.5 × sin over a 512-entry single-precision table,
/// starting at phase 0, remade only when frequency, size or rate change.
class CSignalGenerator {
  public:
    /// The frame for these settings (an empty one for a size or rate of 0 or less).
    const CArrayValue& Frame(double frequency, int32_t frameSize, int32_t sampleRate);
    /// Makes the next Frame call regenerate.
    void Invalidate() { m_made = false; }

  private:
    bool m_made = false;
    double m_frequency = 0.0;
    int32_t m_frameSize = 0;
    int32_t m_sampleRate = 0;
    CFrameBuffer m_buffer;
};

// --- shaping -------------------------------------------------------------------

inline constexpr double kSignalGainDefault = 2.0;
inline constexpr double kPreEmphasisDefault = static_cast<double>(0.95f);
inline constexpr double kEchoDelayDefault = static_cast<double>(0.02f);
inline constexpr double kEchoRateDefault = 22050.0;
inline constexpr double kEchoMagnitudeDefault = 0.5;

struct CEchoParams {
    double delay = kEchoDelayDefault;  // seconds
    double sampleRate = kEchoRateDefault;
    double magnitude = kEchoMagnitudeDefault;
};
template <class Ar, class P>
void EchoFieldList(Ar& ar, P& p) {
    ar.F64(p.delay);
    ar.F64(p.sampleRate);
    ar.F64(p.magnitude);
}

/// out[i] = in[i] × gain. Without a frame: no frame.
void ScaleFrame(CFrame in, double gain, CFrameBuffer& out);
/// y[0] = x[0], y[i] = x[i] − α × y[i−1].
void PreEmphasizeFrame(CFrame in, double alpha, CFrameBuffer& out);
/// y[i] = x[i] + magnitude × x[i − D] with D = trunc(delay × rate); no echo
/// where i − D falls outside the frame (before it, or after it for a negative delay).
void EchoFrame(CFrame in, const CEchoParams& p, CFrameBuffer& out);
/// Signal Mixer (sum) and Signal Modulation (product) of `a` and `b`; the tail of
/// the longer frame is copied. Without `a`: no frame.
void CombineFrames(CFrame a, CFrame b, bool multiply, CFrameBuffer& out);

// --- Signal Windowing --------------------------------------------------------------

inline constexpr int32_t kWindowHamming = 1;
inline constexpr int32_t kWindowHanning = 2;
inline constexpr int32_t kWindowBlackman = 3;

/// The window weights of `n` points, kept while type and length stay the same.
/// One point has weight 1, and so has every point of an unknown window type.
class CSignalWindow {
  public:
    const double* Weights(int32_t type, int32_t n);

  private:
    int32_t m_type = 0;
    std::vector<double> m_weights;
};

/// y[i] = w[i] × x[i]. Without a frame the output has none and keeps its minimum and maximum.
void WindowFrame(CFrame in, CSignalWindow& window, int32_t type, CFrameBuffer& out);
/// "Window type: Hamming" and the others; "Window type: NA" for an unknown type.
const char* WindowTypeText(int32_t type);

// --- Signal Stats ------------------------------------------------------------------

/// Minimum, maximum and mid-range of a frame; all 0 without one.
struct CSignalStats {
    double minimum = 0.0;
    double maximum = 0.0;
    double mean = 0.0;
    void Take(CFrame frame);
};

}  // namespace zor2
