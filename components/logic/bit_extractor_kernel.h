// The bit extractors, shared by the designer's CModelBitExtractor and the
// runtime's CRModelBitExtractor.
#pragma once

#include <cstdint>

namespace zor2 {

enum EBitExtractorType : int32_t {
    kBitExtractor8 = 28,
    kBitExtractor16 = 29,
    kBitExtractor32 = 30,
};

/// Number of bit outputs of an extractor type.
inline int32_t BitExtractorWidth(int32_t type) {
    return type == kBitExtractor8 ? 8 : type == kBitExtractor16 ? 16 : 32;
}

/// The word whose bits are shown: the value truncated toward zero to 64 bits,
/// low 32 bits kept (negative numbers show two's complement, 3.9 gives 3).
/// NaN and values beyond the 64-bit range give the bits of the "integer
/// indefinite" result of the conversion, whose low 32 bits are all clear.
inline uint32_t BitExtractorWord(double v) {
    if (!(v > -9223372036854775808.0 && v < 9223372036854775808.0)) return 0;
    return static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(v)));
}

/// Bit k (taken mod 32) of the word.
inline bool BitExtractorBit(uint32_t word, int32_t k) {
    return ((word >> (static_cast<uint32_t>(k) & 31u)) & 1u) != 0;
}

}  // namespace zor2
