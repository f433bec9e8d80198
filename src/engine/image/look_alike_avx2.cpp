// The look-alike count for AVX2, built with -mavx2 and called only when the processor has it.
#include "engine/image/look_alike_kernels.h"

#include <immintrin.h>

namespace {

template <class Load>
std::size_t CountDecided(std::size_t count, const std::uint32_t* entries, std::uint32_t generation,
                         std::size_t& alike, Load load) {
    const __m256i wanted = _mm256_set1_epi32(static_cast<int>(generation));
    const __m256i one = _mm256_set1_epi32(1);
    __m256i sum = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i v = _mm256_i32gather_epi32(reinterpret_cast<const int*>(entries), load(i), 4);
        const __m256i current = _mm256_cmpeq_epi32(_mm256_srli_epi32(v, 25), wanted);
        if (_mm256_movemask_epi8(current) != -1) {
            break;
        }
        sum = _mm256_add_epi32(sum, _mm256_and_si256(_mm256_srli_epi32(v, 24), one));
    }
    alignas(32) std::uint32_t lanes[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), sum);
    for (const std::uint32_t lane : lanes) {
        alike += lane;
    }
    return i;
}

} // namespace

std::size_t CountDecidedAvx2(const std::uint16_t* index, std::size_t count,
                             const std::uint32_t* entries, std::uint32_t generation,
                             std::size_t& alike) {
    return CountDecided(count, entries, generation, alike, [index](std::size_t i) {
        return _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(index + i)));
    });
}

std::size_t CountDecidedAvx2(const std::uint32_t* index, std::size_t count,
                             const std::uint32_t* entries, std::uint32_t generation,
                             std::size_t& alike) {
    return CountDecided(count, entries, generation, alike, [index](std::size_t i) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(index + i));
    });
}
