// The index pass and the table pass for AVX2, built with -mavx2 and called only when the
// processor has it. Results equal the portable loops' byte for byte.
#include "engine/image/pixel_kernels.h"
#include "engine/image/table_pass_avx2.h"

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

namespace {

// A channel's table coordinate is (c * K + 25) / 51 (see ChannelCoordinate). The numerator stays
// below 2^13 for K <= 18, so the division is a multiply-high on 16-bit lanes and a shift.
constexpr std::uint32_t kMaxNumerator = 255u * 18u + 25u;

struct Divide51 {
    std::uint32_t m;
    unsigned shift;
};

constexpr Divide51 FindDivide51() {
    for (unsigned shift = 0; shift < 16; ++shift) {
        const std::uint32_t m = ((1u << (16 + shift)) + 50u) / 51u;
        if (m > 0xFFFFu) {
            break;
        }
        bool exact = true;
        for (std::uint32_t x = 0; x <= kMaxNumerator && exact; ++x) {
            exact = ((x * m) >> (16 + shift)) == x / 51u;
        }
        if (exact) {
            return {m, shift};
        }
    }
    return {0, 0};
}

constexpr Divide51 kDivide51 = FindDivide51();
static_assert(kDivide51.m != 0, "no 16-bit multiplier divides every numerator by 51");

// Byte j of channel ch (0 blue, 1 green, 2 red) of sixteen pixels is byte 3j + ch of the 48
// read; each of the three 16-byte loads gives the bytes it holds, the rest are zeroed.
struct ChannelMasks {
    alignas(16) signed char bytes[3][3][16]; // [channel][load][lane]
};

constexpr ChannelMasks MakeChannelMasks() {
    ChannelMasks masks{};
    for (int ch = 0; ch < 3; ++ch) {
        for (int load = 0; load < 3; ++load) {
            for (int j = 0; j < 16; ++j) {
                const int source = 3 * j + ch - 16 * load;
                masks.bytes[ch][load][j] =
                    static_cast<signed char>(source >= 0 && source < 16 ? source : -1);
            }
        }
    }
    return masks;
}

constexpr ChannelMasks kChannelMasks = MakeChannelMasks();

__m128i ChannelBytes(__m128i a, __m128i b, __m128i c, int ch) {
    auto mask = [&](int load) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(kChannelMasks.bytes[ch][load]));
    };
    return _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, mask(0)), _mm_shuffle_epi8(b, mask(1))),
                        _mm_shuffle_epi8(c, mask(2)));
}

struct CoordinateConstants {
    __m256i step;
    __m256i bias;
    __m256i multiplier;
    __m128i shift;
};

// Sixteen channel bytes to their table coordinates, one per 16-bit lane.
__m256i Coordinates(__m128i bytes, const CoordinateConstants& k) {
    const __m256i numerator =
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_cvtepu8_epi16(bytes), k.step), k.bias);
    return _mm256_srl_epi16(_mm256_mulhi_epu16(numerator, k.multiplier), k.shift);
}

std::uint32_t ScalarCoordinate(unsigned channel, int step) {
    return (channel * static_cast<unsigned>(step) + 25u) / 51u;
}

std::uint32_t ScalarIndex(const unsigned char* p, const LatticeGeometry& lattice) {
    return ScalarCoordinate(p[2], lattice.step) * lattice.plane +
           ScalarCoordinate(p[1], lattice.step) * static_cast<std::uint32_t>(lattice.points) +
           ScalarCoordinate(p[0], lattice.step);
}

// Sixteen pixels a step: three loads, the channels pulled apart, coordinates on 16-bit lanes,
// then N^2 r + (N g + b) combined at the index width.
template <class T>
void BuildIndexRows(const unsigned char* pixels, int width, int height, std::size_t stride,
                    LatticeGeometry lattice, T* index) {
    const CoordinateConstants k{_mm256_set1_epi16(static_cast<short>(lattice.step)),
                                _mm256_set1_epi16(25),
                                _mm256_set1_epi16(static_cast<short>(kDivide51.m)),
                                _mm_cvtsi32_si128(static_cast<int>(kDivide51.shift))};
    const __m256i points = _mm256_set1_epi16(static_cast<short>(lattice.points));
    // Indices below 2^16 take the plane as a 16-bit product (K <= 7 keeps N^3 below 2^16, and a
    // 16-bit index at larger K is the same truncation as a cast); 32-bit indices add N^2 r to
    // N g + b as pairs of 16-bit lanes, (N g + b) * 1 + r * N^2, with N^2 <= 8281.
    const __m256i plane16 = _mm256_set1_epi16(static_cast<short>(lattice.plane & 0xFFFFu));
    const __m256i pairWeights = _mm256_set1_epi32(static_cast<int>(1u | (lattice.plane << 16)));
    const auto w = static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y) {
        const unsigned char* p = pixels + static_cast<std::size_t>(y) * stride;
        T* out = index + static_cast<std::size_t>(y) * w;
        std::size_t x = 0;
        for (; x + 16 <= w; x += 16, p += 48) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
            const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
            const __m256i blue = Coordinates(ChannelBytes(a, b, c, 0), k);
            const __m256i green = Coordinates(ChannelBytes(a, b, c, 1), k);
            const __m256i red = Coordinates(ChannelBytes(a, b, c, 2), k);
            const __m256i row = _mm256_add_epi16(_mm256_mullo_epi16(green, points), blue);
            if constexpr (sizeof(T) == 2) {
                const __m256i i = _mm256_add_epi16(_mm256_mullo_epi16(red, plane16), row);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), i);
            } else {
                // Unpacking works within 128-bit halves: pixels 0-3 | 8-11 and 4-7 | 12-15.
                const __m256i low = _mm256_madd_epi16(_mm256_unpacklo_epi16(row, red), pairWeights);
                const __m256i high =
                    _mm256_madd_epi16(_mm256_unpackhi_epi16(row, red), pairWeights);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                                    _mm256_permute2x128_si256(low, high, 0x20));
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x + 8),
                                    _mm256_permute2x128_si256(low, high, 0x31));
            }
        }
        for (; x < w; ++x, p += 3) {
            out[x] = static_cast<T>(ScalarIndex(p, lattice));
        }
    }
}

// Eight pixels a step: one gather of table entries 0x00BBGGRR, their bytes reordered to B, G, R
// in the low twelve bytes of each half, written as two overlapping 16-byte stores. The four
// bytes past the eighth pixel belong to the next step, so the loop stops while at least two
// pixels remain and the row's padding is never written. Closing the bytes up with a permute
// instead, for an exact 24-byte store, measured about twice as slow. Eight repeats of the last
// index (a flat area) skip the gather.
template <class T>
void ApplyTableRows(const T* index, const std::uint32_t* table, int width, int height,
                    std::size_t stride, unsigned char* pixels) {
    const __m256i toPixelBytes = avx2_table_pass::ToPixelBytes();
    const __m256i repeatLast = avx2_table_pass::RepeatLast();
    const __m256i lastLane = _mm256_set1_epi32(7);
    const auto* entries = reinterpret_cast<const int*>(table);
    const auto w = static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y) {
        unsigned char* p = pixels + static_cast<std::size_t>(y) * stride;
        const T* in = index + static_cast<std::size_t>(y) * w;
        std::size_t x = 0;
        __m256i runIndex = _mm256_set1_epi32(-1); // no index: indices are below 2^31
        __m256i runBytes = _mm256_setzero_si256();
        for (; x + 10 <= w; x += 8, p += 24) {
            const __m256i i = avx2_table_pass::LoadIndices(in + x);
            __m256i v;
            if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(i, runIndex)) == -1) {
                v = runBytes;
            } else {
                v = _mm256_shuffle_epi8(_mm256_i32gather_epi32(entries, i, 4), toPixelBytes);
                runIndex = _mm256_permutevar8x32_epi32(i, lastLane);
                runBytes = _mm256_shuffle_epi8(_mm256_permute2x128_si256(v, v, 0x11), repeatLast);
            }
            avx2_table_pass::StorePixels(p, v);
        }
        for (; x < w; ++x, p += 3) {
            avx2_table_pass::StorePixel(p, table[in[x]]);
        }
    }
}

} // namespace

void BuildIndexRowsAvx2(const unsigned char* pixels, int width, int height, std::size_t stride,
                        LatticeGeometry lattice, std::uint16_t* index) {
    BuildIndexRows(pixels, width, height, stride, lattice, index);
}

void BuildIndexRowsAvx2(const unsigned char* pixels, int width, int height, std::size_t stride,
                        LatticeGeometry lattice, std::uint32_t* index) {
    BuildIndexRows(pixels, width, height, stride, lattice, index);
}

void ApplyTableRowsAvx2(const std::uint16_t* index, const std::uint32_t* table, int width,
                        int height, std::size_t stride, unsigned char* pixels) {
    ApplyTableRows(index, table, width, height, stride, pixels);
}

void ApplyTableRowsAvx2(const std::uint32_t* index, const std::uint32_t* table, int width,
                        int height, std::size_t stride, unsigned char* pixels) {
    ApplyTableRows(index, table, width, height, stride, pixels);
}
