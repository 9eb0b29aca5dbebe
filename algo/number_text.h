// The number text the command-line runs print per output and cycle: printf's
// "%.17g" without its format parsing, byte for byte the same text.
#pragma once

#include <charconv>
#include <cstddef>

namespace zor2 {

/// Room FormatG17 needs ("-2.2250738585072014e-308" is 24 characters).
inline constexpr size_t kG17Chars = 32;

/// Writes `v` at `out` as printf's "%.17g" in the C locale does ("inf", "-nan"
/// included); `out` holds at least kG17Chars characters. Returns the end; no
/// terminating zero is written.
inline char* FormatG17(char* out, double v) {
    return std::to_chars(out, out + kG17Chars, v, std::chars_format::general, 17).ptr;
}

}  // namespace zor2
