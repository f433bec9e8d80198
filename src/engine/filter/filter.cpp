#include "engine/filter/filter.h"

#include "platform/cpu_features.h"

#include <array>
#include <cstring>
#include <new>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif
// An AVX2 variant of the blend is built beside the SSE2 one and picked at run time. GCC and
// clang compile the one function for AVX2; MSVC compiles AVX2 intrinsics anywhere and uses
// them only where they are written.
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#define ZEZIRIV_BLEND_AVX2 1
#define ZEZIRIV_TARGET_AVX2 __attribute__((target("avx2")))
#include <immintrin.h>
#elif defined(_MSC_VER) && defined(_M_X64)
#define ZEZIRIV_BLEND_AVX2 1
#define ZEZIRIV_TARGET_AVX2
#include <immintrin.h>
#endif

namespace {

// floor(x / k) for every x <= 255 * k as ((x * m) >> 16) >> shift with a 16-bit m: a
// multiply-high on 16-bit lanes, so the blend of whole table rows vectorises. A true division
// per channel would dominate the build.
struct Divisor {
    std::uint16_t m;
    unsigned shift;
};

constexpr Divisor MakeDivisor(int k) {
    for (unsigned shift = 0; shift < 16; ++shift) {
        const std::uint32_t m = ((1u << (16 + shift)) + static_cast<std::uint32_t>(k) - 1u) /
                                static_cast<std::uint32_t>(k);
        if (m > 0xFFFFu) {
            continue;
        }
        bool exact = true;
        for (std::uint32_t x = 0; x <= 255u * static_cast<std::uint32_t>(k) && exact; ++x) {
            exact = ((x * m) >> (16 + shift)) == x / static_cast<std::uint32_t>(k);
        }
        if (exact) {
            return {static_cast<std::uint16_t>(m), shift};
        }
    }
    return {0, 0};
}

constexpr bool AllDivisorsFound() {
    for (int k = 2; k <= 18; ++k) {
        if (MakeDivisor(k).m == 0) {
            return false;
        }
    }
    return true;
}
static_assert(AllDivisorsFound());

constexpr std::array<Divisor, 19> kDivisors = [] {
    std::array<Divisor, 19> d{};
    for (int i = 2; i <= 18; ++i) {
        d[static_cast<std::size_t>(i)] = MakeDivisor(i);
    }
    return d;
}();

// Every row between two lattice rows (or plane between two lattice planes) at once: with
// a = base[i] and b = base[k * step + i], base[t * step + i] = blend(a, b, t, k) for
// t = 1..k-1, count entries each. Byte by byte: the three channels blend alike and the zero
// top byte stays zero. The numerator a(k - t) + bt grows by b - a from one t to the next, so
// each output byte is one addition and one multiply-high from the previous one, and a and b
// are read once for all k - 1 outputs.
#if ZEZIRIV_BLEND_AVX2
// The loop below on 32 bytes at a time; returns how many bytes it did. Unpacking and packing
// both work within 128-bit halves, so the bytes come back in their places.
ZEZIRIV_TARGET_AVX2 std::size_t BlendBytesAvx2(const unsigned char* pa, const unsigned char* pb,
                                               unsigned char* base, std::size_t stepBytes,
                                               std::size_t bytes, int k, Divisor div) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i multiplier = _mm256_set1_epi16(static_cast<short>(div.m));
    const __m128i shift = _mm_cvtsi32_si128(static_cast<int>(div.shift));
    const __m256i kk = _mm256_set1_epi16(static_cast<short>(k));
    std::size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pa + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pb + i));
        const __m256i aLow = _mm256_unpacklo_epi8(a, zero);
        const __m256i aHigh = _mm256_unpackhi_epi8(a, zero);
        const __m256i dLow = _mm256_sub_epi16(_mm256_unpacklo_epi8(b, zero), aLow);
        const __m256i dHigh = _mm256_sub_epi16(_mm256_unpackhi_epi8(b, zero), aHigh);
        __m256i xLow = _mm256_mullo_epi16(aLow, kk);
        __m256i xHigh = _mm256_mullo_epi16(aHigh, kk);
        unsigned char* o = base + i;
        for (int t = 1; t < k; ++t) {
            o += stepBytes;
            xLow = _mm256_add_epi16(xLow, dLow);
            xHigh = _mm256_add_epi16(xHigh, dHigh);
            const __m256i qLow = _mm256_srl_epi16(_mm256_mulhi_epu16(xLow, multiplier), shift);
            const __m256i qHigh = _mm256_srl_epi16(_mm256_mulhi_epu16(xHigh, multiplier), shift);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(o), _mm256_packus_epi16(qLow, qHigh));
        }
    }
    return i;
}
#endif

void BlendBetween(ColorValue* base, std::size_t step, std::size_t count, int k) {
    const Divisor div = kDivisors[static_cast<std::size_t>(k)];
    const auto* pa = reinterpret_cast<const unsigned char*>(base);
    const auto* pb =
        reinterpret_cast<const unsigned char*>(base + static_cast<std::size_t>(k) * step);
    auto out = [&](int t) {
        return reinterpret_cast<unsigned char*>(base + static_cast<std::size_t>(t) * step);
    };
    const std::size_t bytes = count * sizeof(ColorValue);
    std::size_t i = 0;
#if ZEZIRIV_BLEND_AVX2
    if (UseAvx2()) {
        i = BlendBytesAvx2(pa, pb, reinterpret_cast<unsigned char*>(base),
                           step * sizeof(ColorValue), bytes, k, div);
    }
#endif
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i zero = _mm_setzero_si128();
    const __m128i multiplier = _mm_set1_epi16(static_cast<short>(div.m));
    const __m128i shift = _mm_cvtsi32_si128(static_cast<int>(div.shift));
    const __m128i kk = _mm_set1_epi16(static_cast<short>(k));
    for (; i + 16 <= bytes; i += 16) { // after the AVX2 loop: at most one round
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pa + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pb + i));
        const __m128i aLow = _mm_unpacklo_epi8(a, zero);
        const __m128i aHigh = _mm_unpackhi_epi8(a, zero);
        // Numerators stay within 0..255k, so 16-bit wrap-around of the signed steps is exact.
        const __m128i dLow = _mm_sub_epi16(_mm_unpacklo_epi8(b, zero), aLow);
        const __m128i dHigh = _mm_sub_epi16(_mm_unpackhi_epi8(b, zero), aHigh);
        __m128i xLow = _mm_mullo_epi16(aLow, kk);
        __m128i xHigh = _mm_mullo_epi16(aHigh, kk);
        for (int t = 1; t < k; ++t) {
            xLow = _mm_add_epi16(xLow, dLow);
            xHigh = _mm_add_epi16(xHigh, dHigh);
            const __m128i qLow = _mm_srl_epi16(_mm_mulhi_epu16(xLow, multiplier), shift);
            const __m128i qHigh = _mm_srl_epi16(_mm_mulhi_epu16(xHigh, multiplier), shift);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out(t) + i), _mm_packus_epi16(qLow, qHigh));
        }
    }
#endif
    for (int t = 1; t < k; ++t) {
        const auto wa = static_cast<std::uint32_t>(k - t);
        const auto wb = static_cast<std::uint32_t>(t);
        unsigned char* __restrict o = out(t);
        for (std::size_t j = i; j < bytes; ++j) {
            const std::uint32_t x = pa[j] * wa + pb[j] * wb;
            o[j] = static_cast<unsigned char>(((x * div.m) >> 16) >> div.shift);
        }
    }
}

std::unique_ptr<ColorValue[]> AllocateTable(const CImageQuality& quality) {
    return std::unique_ptr<ColorValue[]>(new (std::nothrow) ColorValue[quality.GetTableSize()]);
}

} // namespace

ColorValue BlendColor(ColorValue a, ColorValue b, int t, int k) {
    const auto wa = static_cast<unsigned>(k - t);
    const auto wb = static_cast<unsigned>(t);
    const auto uk = static_cast<unsigned>(k);
    const unsigned r = (RedOf(a) * wa + RedOf(b) * wb) / uk;
    const unsigned g = (GreenOf(a) * wa + GreenOf(b) * wb) / uk;
    const unsigned bl = (BlueOf(a) * wa + BlueOf(b) * wb) / uk;
    return MakeColor(r, g, bl);
}

void FillColorTable(const ColorMap& colors, const CImageQuality& quality, ColorValue* table) {
    const int k = quality.GetLatticeStep();
    const int n = quality.GetPointsPerAxis();
    const std::size_t plane = quality.GetPlaneSize();
    const auto un = static_cast<std::size_t>(n);

    // Samples at the lattice points, in colour-map order (blue innermost).
    std::size_t next = 0;
    for (int r = 0; r < n; r += k) {
        for (int g = 0; g < n; g += k) {
            for (int b = 0; b < n; b += k) {
                table[r * plane + g * un + b] = colors[next++];
            }
        }
    }
    if (k == 1) {
        return;
    }
    // Along blue, on the lattice rows only.
    for (int r = 0; r < n; r += k) {
        for (int g = 0; g < n; g += k) {
            for (int b = 0; b < n - 1; b += k) {
                const std::size_t base = r * plane + g * un + b;
                for (int t = 1; t < k; ++t) {
                    table[base + t] = BlendColor(table[base], table[base + k], t, k);
                }
            }
        }
    }
    // Along green: whole rows between two lattice rows of a lattice red plane.
    for (int r = 0; r < n; r += k) {
        for (int g = 0; g < n - 1; g += k) {
            BlendBetween(table + r * plane + g * un, un, un, k);
        }
    }
    // Along red: whole planes between two lattice planes.
    for (int r = 0; r < n - 1; r += k) {
        BlendBetween(table + r * plane, plane, plane, k);
    }
}

CFilter::CFilter() = default;

CFilter::CFilter(std::string id, std::string displayName, const ColorValue (&colors)[kColorMapSize])
    : m_id(std::move(id)), m_displayName(std::move(displayName)) {
    std::memcpy(m_colorMap.data(), colors, sizeof(colors));
}

CFilter::CFilter(std::string id, std::string displayName, const ColorMap& colors)
    : m_id(std::move(id)), m_displayName(std::move(displayName)), m_colorMap(colors) {}

CFilter::CFilter(const CFilter& other)
    : m_id(other.m_id), m_displayName(other.m_displayName), m_type(other.m_type),
      m_visible(other.m_visible), m_inUse(other.m_inUse), m_identity(other.m_identity),
      m_colorMap(other.m_colorMap), m_tableQuality(other.m_tableQuality), m_refs(other.m_refs),
      m_repeat(other.m_repeat) {
    if (other.m_table) {
        // A copy whose table cannot be had is left without one, like a failed BuildTable.
        m_table = AllocateTable(m_tableQuality);
        if (m_table) {
            std::memcpy(m_table.get(), other.m_table.get(),
                        m_tableQuality.GetTableSize() * sizeof(ColorValue));
        }
    }
}

CFilter::~CFilter() = default;

ColorValue CFilter::Transform(ColorValue colour) const {
    if (!m_table) {
        return colour;
    }
    return m_table[m_tableQuality.ColorIndex(colour)];
}

bool CFilter::BuildTable(const CImageQuality& quality) {
    if (m_table && m_tableQuality.GetLatticeStep() == quality.GetLatticeStep()) {
        return true;
    }
    m_table.reset();
    std::unique_ptr<ColorValue[]> table = AllocateTable(quality);
    if (!table) {
        return false;
    }
    FillColorTable(m_colorMap, quality, table.get());
    m_table = std::move(table);
    m_tableQuality = quality;
    return true;
}

void CFilter::FreeTable() {
    m_table.reset();
}

bool CFilter::GetRef(int index, CFilterRef& out) const {
    if (!IsReferenceFilter() || index < 0 || index >= GetRefCount()) {
        return false;
    }
    out = m_refs[static_cast<std::size_t>(index)];
    return true;
}

std::unique_ptr<CFilter> CreateNormalFilter() {
    ColorMap colors{};
    int next = 0;
    for (unsigned r = 0; r < kLatticeLevels; ++r) {
        for (unsigned g = 0; g < kLatticeLevels; ++g) {
            for (unsigned b = 0; b < kLatticeLevels; ++b) {
                colors[next++] = MakeColor(51 * r, 51 * g, 51 * b);
            }
        }
    }
    auto filter = std::make_unique<CFilter>("_normal", "normal", colors);
    filter->m_identity = 1;
    return filter;
}
