// The transform written out step by step in its recursive form, as the reference
// the fast transform is measured against (speed in bench/, bit identity in tests/):
// a result and a scratch buffer allocated per call, a sine and a cosine per twiddle.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

namespace zor2::reference {

struct CComplex {
    double re = 0.0;
    double im = 0.0;
};

inline CComplex operator+(CComplex a, CComplex b) {
    return {a.re + b.re, a.im + b.im};
}
inline CComplex operator-(CComplex a, CComplex b) {
    return {a.re - b.re, a.im - b.im};
}
inline CComplex operator*(CComplex a, CComplex b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

inline void Transform(size_t n, size_t offset, size_t stride, const CComplex* in, CComplex* out,
                      CComplex* scratch) {
    if (n == 2) {
        out[offset] = in[offset] + in[offset + stride];
        out[offset + stride] = in[offset] - in[offset + stride];
        return;
    }
    Transform(n / 2, offset, 2 * stride, in, scratch, out);
    Transform(n / 2, offset + stride, 2 * stride, in, scratch, out);
    for (size_t i = 0; i < n / 2; ++i) {
        const double theta = i * 6.283185307179586 / n;
        const CComplex e = scratch[offset + 2 * i * stride];
        const CComplex o = scratch[offset + stride + 2 * i * stride];
        const CComplex t = o * CComplex{std::cos(theta), -std::sin(theta)};
        out[offset + i * stride] = e + t;
        out[offset + (i + n / 2) * stride] = e - t;
    }
}

/// The transform of the first `n` samples of `frame` (zero padded), n a power of two of at least 2.
inline std::vector<CComplex> Fft(const double* frame, size_t count, size_t n) {
    std::vector<CComplex> input(n);
    for (size_t j = 0; j < n && j < count; ++j) input[j] = {frame[j], 0.0};
    std::vector<CComplex> result(n);
    std::vector<CComplex> scratch(n);
    Transform(n, 0, 1, input.data(), result.data(), scratch.data());
    return result;
}

}  // namespace zor2::reference
