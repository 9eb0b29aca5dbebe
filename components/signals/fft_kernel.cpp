// The radix-2 transform level by level in place, with SSE2 or AVX lanes where the
// processor has them (each lane does a scalar butterfly's exact operations; this
// file is compiled without contraction into fused multiply-adds), and the spectrum.
#include "components/signals/fft_kernel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "components/signals/signal_kernel.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZOR2_FFT_X86 1
#endif

// The lane helpers are inlined everywhere, so no AVX value crosses a call.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace zor2 {

namespace {

/// Reverses the low `bits` bits of `v`.
int32_t ReverseBits(int32_t v, int bits) {
    int32_t r = 0;
    for (int b = 0; b < bits; ++b) r |= ((v >> b) & 1) << (bits - 1 - b);
    return r;
}

// Lanes of doubles as the compiler's vector extension: each operation is the
// scalar operation per lane, so a lane computes exactly what a scalar butterfly does.
typedef double V2 __attribute__((vector_size(16)));
typedef double V4 __attribute__((vector_size(32)));

template <class V>
inline __attribute__((always_inline)) V At(const double* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class V>
inline __attribute__((always_inline)) void Put(double* p, V v) {
    std::memcpy(p, &v, sizeof v);
}

/// One butterfly per lane: t = O × w, then E + t into E and E − t into O.
template <class V>
inline __attribute__((always_inline)) void Butterfly(V& er, V& ei, V& orr, V& oi, V wc, V ws) {
    const V tr = orr * wc - oi * ws;
    const V ti = orr * ws + oi * wc;
    const V xr = er;
    const V xi = ei;
    er = xr + tr;
    ei = xi + ti;
    orr = xr - tr;
    oi = xi - ti;
}

/// Level `n` over blocks of n points: E = the first half of a block, O = the second.
template <class V>
inline __attribute__((always_inline)) void LevelBody(double* re, double* im, int32_t size, int32_t n,
                                                     const double* c, const double* s) {
    constexpr int32_t lanes = sizeof(V) / sizeof(double);
    const int32_t half = n / 2;
    for (int32_t base = 0; base < size; base += n) {
        for (int32_t i = 0; i < half; i += lanes) {
            double* e = re + base + i;
            double* f = im + base + i;
            V er = At<V>(e), ei = At<V>(f), orr = At<V>(e + half), oi = At<V>(f + half);
            Butterfly(er, ei, orr, oi, At<V>(c + i), At<V>(s + i));
            Put(e, er), Put(f, ei), Put(e + half, orr), Put(f + half, oi);
        }
    }
}

/// Levels `n` and 2n in one pass over blocks of 2n points held in quarters A, B,
/// C, D: level n pairs A with B and C with D, level 2n pairs A with C and B with D.
/// With `kRealInput` the imaginary parts are not read: they are the +0 of the
/// two-point transforms.
template <class V, bool kRealInput = false>
inline __attribute__((always_inline)) void TwoLevelsBody(double* re, double* im, int32_t size, int32_t n,
                                                         const double* c1, const double* s1, const double* c2,
                                                         const double* s2) {
    constexpr int32_t lanes = sizeof(V) / sizeof(double);
    const int32_t q = n / 2;
    const V zero = {};
    auto imag = [&](const double* p) { return kRealInput ? zero : At<V>(p); };
    for (int32_t base = 0; base < size; base += 2 * n) {
        for (int32_t i = 0; i < q; i += lanes) {
            double* r = re + base + i;
            double* m = im + base + i;
            V ar = At<V>(r), ai = imag(m), br = At<V>(r + q), bi = imag(m + q);
            V cr = At<V>(r + 2 * q), ci = imag(m + 2 * q), dr = At<V>(r + 3 * q), di = imag(m + 3 * q);
            const V wc = At<V>(c1 + i), ws = At<V>(s1 + i);
            Butterfly(ar, ai, br, bi, wc, ws);
            Butterfly(cr, ci, dr, di, wc, ws);
            Butterfly(ar, ai, cr, ci, At<V>(c2 + i), At<V>(s2 + i));
            Butterfly(br, bi, dr, di, At<V>(c2 + q + i), At<V>(s2 + q + i));
            Put(r, ar), Put(m, ai), Put(r + q, br), Put(m + q, bi);
            Put(r + 2 * q, cr), Put(m + 2 * q, ci), Put(r + 3 * q, dr), Put(m + 3 * q, di);
        }
    }
}

void Level2(double* re, double* im, int32_t size, int32_t n, const double* c, const double* s) {
    LevelBody<V2>(re, im, size, n, c, s);
}

void TwoLevels2(double* re, double* im, int32_t size, int32_t n, const double* c1, const double* s1,
                const double* c2, const double* s2) {
    TwoLevelsBody<V2>(re, im, size, n, c1, s1, c2, s2);
}

/// Levels 4 and 8 straight after the two-point transforms.
void FirstTwoLevels(double* re, double* im, int32_t size, const double* c1, const double* s1,
                    const double* c2, const double* s2) {
    TwoLevelsBody<V2, true>(re, im, size, 4, c1, s1, c2, s2);
}

#ifdef ZOR2_FFT_X86
__attribute__((target("avx"))) void Level4(double* re, double* im, int32_t size, int32_t n, const double* c,
                                           const double* s) {
    LevelBody<V4>(re, im, size, n, c, s);
}

__attribute__((target("avx"))) void TwoLevels4(double* re, double* im, int32_t size, int32_t n,
                                               const double* c1, const double* s1, const double* c2,
                                               const double* s2) {
    TwoLevelsBody<V4>(re, im, size, n, c1, s1, c2, s2);
}

__attribute__((target("avx"))) void MagnitudesAvx(const double* re, const double* im, double* out,
                                                  int32_t n) {
    int32_t k = 0;
    for (; k + 4 <= n; k += 4) {
        const __m256d r = _mm256_loadu_pd(re + k);
        const __m256d i = _mm256_loadu_pd(im + k);
        _mm256_storeu_pd(out + k, _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(r, r), _mm256_mul_pd(i, i))));
    }
    for (; k < n; ++k) out[k] = std::sqrt(re[k] * re[k] + im[k] * im[k]);
}

bool HasAvx() {
    static const bool avx = __builtin_cpu_supports("avx");
    return avx;
}
#else
bool HasAvx() {
    return false;
}
#endif

void Magnitudes(const double* re, const double* im, double* out, int32_t n) {
#ifdef ZOR2_FFT_X86
    if (HasAvx()) {
        MagnitudesAvx(re, im, out, n);
        return;
    }
#endif
    for (int32_t k = 0; k < n; ++k) out[k] = std::sqrt(re[k] * re[k] + im[k] * im[k]);
}

}  // namespace

int32_t FftSizeFor(int64_t n) {
    if (n < 2) return 0;
    int32_t size = 2;
    while (size < kMaxFftSize && static_cast<int64_t>(size) * 2 <= n) size *= 2;
    return size;
}

void CFft::Prepare(int32_t n) {
    if (n == m_n) return;
    if (n < 2 || n > kMaxFftSize || (n & (n - 1)) != 0) n = 0;
    m_n = n;
    m_re.assign(static_cast<size_t>(n), 0.0);
    m_im.assign(static_cast<size_t>(n), 0.0);
    m_padded.assign(static_cast<size_t>(n), 0.0);
    m_cos.clear();
    m_negSin.clear();
    m_leafSource.clear();
    if (n == 0) return;
    int bits = 0;
    while ((1 << (bits + 1)) < n) ++bits;  // log2(n / 2)
    m_leafSource.resize(static_cast<size_t>(n / 2));
    for (int32_t b = 0; b < n / 2; ++b) m_leafSource[static_cast<size_t>(b)] = ReverseBits(b, bits);
    // θ is computed for each level exactly as the recursive form computes it there.
    for (int32_t level = 4; level <= n; level *= 2) {
        for (int32_t i = 0; i < level / 2; ++i) {
            const double theta = i * kFftTwoPi / level;
            m_cos.push_back(std::cos(theta));
            m_negSin.push_back(-std::sin(theta));
        }
    }
}

void CFft::Load(const double* frame, int32_t count) {
    if (m_n == 0) return;
    const int32_t half = m_n / 2;
    const double* x = frame;
    if (!frame || count < m_n) {
        // A short frame is read zero padded.
        const int32_t n = frame ? std::max(count, 0) : 0;
        std::copy(frame, frame + n, m_padded.begin());
        std::fill(m_padded.begin() + n, m_padded.end(), 0.0);
        x = m_padded.data();
    }
    // The two-point transforms: a sum and a difference of samples half a frame apart.
    double* re = m_re.data();
    const int32_t* source = m_leafSource.data();
    for (int32_t b = 0; b < half; ++b) {
        const double a = x[source[b]];
        const double z = x[source[b] + half];
        re[2 * b] = a + z;
        re[2 * b + 1] = a - z;
    }
    // Their imaginary parts are 0 + 0 and 0 − 0, both +0: the first level reads
    // them as such, and a transform of 2 or 4 points finds them here.
    if (m_n < 8) std::fill(m_im.begin(), m_im.end(), 0.0);
}

void CFft::Run() {
    double* re = m_re.data();
    double* im = m_im.data();
    const bool avx = HasAvx();
    int32_t n = 4;
    if (m_n >= 8) {
        FirstTwoLevels(re, im, m_n, m_cos.data(), m_negSin.data(), m_cos.data() + 2, m_negSin.data() + 2);
        n = 16;
    }
    // Levels 4 … N, two at a time where two are left; level n's twiddles start at n/2 − 2.
    while (n <= m_n) {
        const size_t at = static_cast<size_t>(n / 2 - 2);
        const double* c = m_cos.data() + at;
        const double* s = m_negSin.data() + at;
        if (2 * n <= m_n) {
            const size_t next = static_cast<size_t>(n - 2);
            const double* c2 = m_cos.data() + next;
            const double* s2 = m_negSin.data() + next;
#ifdef ZOR2_FFT_X86
            if (avx && n >= 8) {
                TwoLevels4(re, im, m_n, n, c, s, c2, s2);
                n *= 4;
                continue;
            }
#endif
            TwoLevels2(re, im, m_n, n, c, s, c2, s2);
            n *= 4;
            continue;
        }
#ifdef ZOR2_FFT_X86
        if (avx && n >= 8) {
            Level4(re, im, m_n, n, c, s);
            n *= 2;
            continue;
        }
#endif
        Level2(re, im, m_n, n, c, s);
        n *= 2;
    }
    (void)avx;
}

bool CSpectrumAnalyser::Analyse(const double* frame, int32_t count, int64_t n, double sampleRate) {
    m_summary = {};
    const int32_t size = FftSizeFor(n);
    if (!frame || count <= 0 || size == 0) return false;
    m_fft.Prepare(size);
    m_fft.Load(frame, count);
    m_fft.Run();
    const int32_t bins = size / 2;
    if (static_cast<int32_t>(m_spectrum.size()) != bins) m_spectrum.assign(static_cast<size_t>(bins), 0.0);
    Magnitudes(m_fft.Re(), m_fft.Im(), m_spectrum.data(), bins);
    // The first of equal largest magnitudes wins.
    int32_t peak = 0;
    for (int32_t k = 1; k < bins; ++k)
        if (m_spectrum[static_cast<size_t>(k)] > m_spectrum[static_cast<size_t>(peak)]) peak = k;
    const double rate = static_cast<double>(SignalTruncInt(sampleRate));
    const double points = static_cast<double>(static_cast<float>(size));
    m_summary.bins = bins;
    m_summary.peak = peak;
    m_summary.binSize = rate * 0.5 / bins;
    m_summary.peakFreq = rate * peak / points;
    m_summary.lowestFreq = rate / points;
    m_summary.nyquistFreq = rate * (bins - 1) / points;
    m_summary.peakMagnitude = m_spectrum[static_cast<size_t>(peak)];
    return true;
}

}  // namespace zor2
