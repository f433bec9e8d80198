// The look-alike count for AVX2, built with -mavx2 and called only when the processor has it.
#include "engine/image/look_alike_kernels.h"
#include "engine/image/table_pass_avx2.h"

#include <immintrin.h>

namespace {

// The lanes of `shown` whose entries are of another generation, decided; a lane whose entry
// an earlier lane has just decided is read again.
__m256i DecideLanes(__m256i index, __m256i shown, const std::uint32_t* entries,
                    std::uint32_t generation, DecideShownEntry decide, void* context) {
    alignas(32) std::uint32_t lanes[8];
    alignas(32) std::uint32_t which[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), shown);
    _mm256_store_si256(reinterpret_cast<__m256i*>(which), index);
    for (int k = 0; k < 8; ++k) {
        if ((lanes[k] >> 25) != generation) {
            const std::uint32_t again = entries[which[k]];
            lanes[k] = (again >> 25) == generation ? again : decide(context, which[k]);
        }
    }
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes));
}

// The table pass over the mask's entries (ApplyTableRowsAvx2's loop) that counts the
// look-alikes on the way; an entry of another generation is decided, or without `decide` ends
// the pass with false and the pixels partly written.
template <class T>
bool ApplyShownRows(const T* index, const std::uint32_t* entries, std::uint32_t generation,
                    int width, int height, std::size_t stride, unsigned char* pixels,
                    std::size_t& alike, DecideShownEntry decide, void* context) {
    const __m256i toPixelBytes = avx2_table_pass::ToPixelBytes();
    const __m256i repeatLast = avx2_table_pass::RepeatLast();
    const __m256i lastLane = _mm256_set1_epi32(7);
    const __m256i wanted = _mm256_set1_epi32(static_cast<int>(generation));
    const __m256i one = _mm256_set1_epi32(1);
    const auto* table = reinterpret_cast<const int*>(entries);
    const auto w = static_cast<std::size_t>(width);
    __m256i sum = _mm256_setzero_si256();
    std::size_t counted = 0;
    for (int y = 0; y < height; ++y) {
        unsigned char* p = pixels + static_cast<std::size_t>(y) * stride;
        const T* in = index + static_cast<std::size_t>(y) * w;
        std::size_t x = 0;
        __m256i runIndex = _mm256_set1_epi32(-1);
        __m256i runBytes = _mm256_setzero_si256();
        std::size_t runAlike = 0;
        for (; x + 10 <= w; x += 8, p += 24) {
            const __m256i i = avx2_table_pass::LoadIndices(in + x);
            __m256i v;
            if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(i, runIndex)) == -1) {
                v = runBytes;
                counted += 8 * runAlike;
            } else {
                __m256i g = _mm256_i32gather_epi32(table, i, 4);
                if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_srli_epi32(g, 25), wanted)) !=
                    -1) {
                    if (decide == nullptr) {
                        return false;
                    }
                    g = DecideLanes(i, g, entries, generation, decide, context);
                }
                sum = _mm256_add_epi32(sum, _mm256_and_si256(_mm256_srli_epi32(g, 24), one));
                v = _mm256_shuffle_epi8(g, toPixelBytes);
                runIndex = _mm256_permutevar8x32_epi32(i, lastLane);
                runBytes = _mm256_shuffle_epi8(_mm256_permute2x128_si256(v, v, 0x11), repeatLast);
                runAlike = (entries[in[x + 7]] >> 24) & 1u;
            }
            avx2_table_pass::StorePixels(p, v);
        }
        for (; x < w; ++x, p += 3) {
            std::uint32_t c = entries[in[x]];
            if ((c >> 25) != generation) {
                if (decide == nullptr) {
                    return false;
                }
                c = decide(context, in[x]);
            }
            counted += (c >> 24) & 1u;
            avx2_table_pass::StorePixel(p, c);
        }
    }
    alignas(32) std::uint32_t lanes[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), sum);
    for (const std::uint32_t lane : lanes) {
        counted += lane;
    }
    alike = counted;
    return true;
}

} // namespace

bool ApplyShownRowsAvx2(const std::uint16_t* index, const std::uint32_t* entries,
                        std::uint32_t generation, int width, int height, std::size_t stride,
                        unsigned char* pixels, std::size_t& alike, DecideShownEntry decide,
                        void* context) {
    return ApplyShownRows(index, entries, generation, width, height, stride, pixels, alike, decide,
                          context);
}

bool ApplyShownRowsAvx2(const std::uint32_t* index, const std::uint32_t* entries,
                        std::uint32_t generation, int width, int height, std::size_t stride,
                        unsigned char* pixels, std::size_t& alike, DecideShownEntry decide,
                        void* context) {
    return ApplyShownRows(index, entries, generation, width, height, stride, pixels, alike, decide,
                          context);
}
