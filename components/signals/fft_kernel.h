// The Signal FFT's transform and spectrum, shared by the designer's CModelSignalFFT
// and the runtime's CRModelSignalFFT: an unnormalised forward DFT by radix-2
// decimation in time, with the twiddles and buffers of one size kept between cycles.
#pragma once

#include <cstdint>
#include <vector>

namespace zor2 {

/// The largest transform: frame lengths and stored sizes above it are cut to it.
inline constexpr int32_t kMaxFftSize = 65536;
/// The angle constant of the twiddle factors (2π to double precision).
inline constexpr double kFftTwoPi = 6.283185307179586;

/// The transform size for `n` requested points: the largest power of two not
/// above min(n, kMaxFftSize); 0 below 2 (no transform).
int32_t FftSizeFor(int64_t n);

/// One transform size at a time. Every result equals, bit for bit, the recursive
/// form (two half transforms of the even and odd samples, then for i < n/2 with
/// θ = i × kFftTwoPi / n: t = O × (cos θ − i·sin θ), E + t and E − t; a two-point
/// transform is a plain sum and difference): the same twiddle values and the same
/// operations on the same operands, only taken level by level in place. Nothing is
/// allocated and no sine is computed unless the size changes.
class CFft {
  public:
    /// Prepares `n` points (a power of two from 2 to kMaxFftSize; anything else
    /// leaves the transform empty).
    void Prepare(int32_t n);
    int32_t Size() const { return m_n; }
    /// Loads a real frame (imaginary parts 0): its first Size() samples, zero
    /// padded when it is shorter.
    void Load(const double* frame, int32_t count);
    /// Transforms what Load put in; the results are Re() and Im(), Size() each.
    void Run();
    const double* Re() const { return m_re.data(); }
    const double* Im() const { return m_im.data(); }

  private:
    int32_t m_n = 0;
    std::vector<int32_t> m_leafSource;  // per leaf pair: the first sample it reads
    std::vector<double> m_cos;          // per level n = 4 … N: cos θ for i < n/2, level after level
    std::vector<double> m_negSin;       // the same for −sin θ
    std::vector<double> m_re;
    std::vector<double> m_im;
    std::vector<double> m_padded;  // a frame shorter than the transform, zero padded
};

/// The values the Signal FFT publishes for one transform.
struct CSpectrumSummary {
    int32_t bins = 0;
    int32_t peak = 0;
    double binSize = 0.0;
    double peakFreq = 0.0;
    double lowestFreq = 0.0;
    double nyquistFreq = 0.0;
    double peakMagnitude = 0.0;
};

/// Frame → transform → magnitude spectrum (N/2 bins) with its peak and
/// frequencies, as both halves of the Signal FFT compute them.
class CSpectrumAnalyser {
  public:
    /// Transforms `frame` on `n` points (FftSizeFor(n)); false, with an empty
    /// spectrum and a zero summary, when there is no transform to run (no frame,
    /// an empty one, or fewer than 2 points).
    bool Analyse(const double* frame, int32_t count, int64_t n, double sampleRate);
    const double* Spectrum() const { return m_spectrum.data(); }
    int32_t Bins() const { return m_summary.bins; }
    const CSpectrumSummary& Summary() const { return m_summary; }
    const CFft& Transform() const { return m_fft; }

  private:
    CFft m_fft;
    std::vector<double> m_spectrum;
    CSpectrumSummary m_summary;
};

}  // namespace zor2
