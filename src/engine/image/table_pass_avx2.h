#pragma once

// What the AVX2 table passes share: eight indices a step, eight table entries 0x00BBGGRR turned
// into pixel bytes and stored. Included only by files built with AVX2 enabled.

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

namespace avx2_table_pass {

// An entry's bytes reordered to B, G, R in the low twelve bytes of each half.
inline __m256i ToPixelBytes() {
    return _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1, //
                            2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
}

// The last pixel's bytes (9..11 of the upper half) over and over; 12 bytes on, the second half
// starts at the same phase.
inline __m256i RepeatLast() {
    return _mm256_setr_epi8(9, 10, 11, 9, 10, 11, 9, 10, 11, 9, 10, 11, 9, 10, 11, 9, //
                            9, 10, 11, 9, 10, 11, 9, 10, 11, 9, 10, 11, 9, 10, 11, 9);
}

template <class T> inline __m256i LoadIndices(const T* in) {
    if constexpr (sizeof(T) == 2) {
        return _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)));
    } else {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
    }
}

// Two overlapping 16-byte stores: the four bytes past the eighth pixel belong to the next step.
inline void StorePixels(unsigned char* p, __m256i bytes) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(bytes));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 12), _mm256_extracti128_si256(bytes, 1));
}

inline void StorePixel(unsigned char* p, std::uint32_t entry) {
    p[0] = static_cast<unsigned char>(entry >> 16);
    p[1] = static_cast<unsigned char>(entry >> 8);
    p[2] = static_cast<unsigned char>(entry);
}

} // namespace avx2_table_pass
