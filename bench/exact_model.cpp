#include "exact_model.h"

#include "engine/image/pixel_workers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ZEZIRIV_EXACT_SSE2 1
#endif

namespace {

double DecodeSrgb(double code) {
    const double c = code / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double EncodeSrgb(double linear) {
    const double v = std::clamp(linear, 0.0, 1.0);
    const double e = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
    return 255.0 * e;
}

} // namespace

CExactModel::CExactModel(const double (&matrix)[3][3]) {
    const double scale = kEncodeSize - 1;
    for (int in = 0; in < 3; ++in) {
        for (int byte = 0; byte < 256; ++byte) {
            const double linear = DecodeSrgb(byte);
            float* entry = m_columns[in][byte];
            for (int out = 0; out < 3; ++out) {
                // Half a step once, in the red column, turns truncation into rounding.
                entry[2 - out] =
                    static_cast<float>(matrix[out][in] * linear * scale + (in == 0 ? 0.5 : 0.0));
            }
            entry[3] = 0.0f;
        }
    }
    for (int i = 0; i < kEncodeSize; ++i) {
        m_encode[i] = static_cast<unsigned char>(std::lround(EncodeSrgb(i / scale)));
    }
}

void CExactModel::ApplyRows(const unsigned char* pixels, int width, int height, std::size_t stride,
                            unsigned char* out) const {
    const float top = kEncodeSize - 1;
#if ZEZIRIV_EXACT_SSE2
    const __m128 low = _mm_setzero_ps();
    const __m128 high = _mm_set1_ps(top);
#endif
    for (int y = 0; y < height; ++y) {
        const unsigned char* p = pixels + static_cast<std::size_t>(y) * stride;
        unsigned char* q = out + static_cast<std::size_t>(y) * stride;
        std::uint32_t last = 0xFFFFFFFFu; // no pixel has a top byte
        unsigned char result[3] = {};
        for (int x = 0; x < width; ++x, p += 3, q += 3) {
            const std::uint32_t pixel =
                p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
            if (pixel != last) {
                last = pixel;
                const float* red = m_columns[0][p[2]];
                const float* green = m_columns[1][p[1]];
                const float* blue = m_columns[2][p[0]];
                alignas(16) std::int32_t position[4];
#if ZEZIRIV_EXACT_SSE2
                const __m128 sum =
                    _mm_add_ps(_mm_add_ps(_mm_load_ps(red), _mm_load_ps(green)), _mm_load_ps(blue));
                _mm_store_si128(reinterpret_cast<__m128i*>(position),
                                _mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(sum, low), high)));
#else
                for (int k = 0; k < 3; ++k) {
                    const float sum = red[k] + green[k] + blue[k];
                    position[k] = static_cast<std::int32_t>(std::min(std::max(sum, 0.0f), top));
                }
#endif
                result[0] = m_encode[position[0]];
                result[1] = m_encode[position[1]];
                result[2] = m_encode[position[2]];
            }
            q[0] = result[0];
            q[1] = result[1];
            q[2] = result[2];
        }
    }
}

void CExactModel::Apply(const unsigned char* pixels, int width, int height, std::size_t stride,
                        unsigned char* out) const {
    RunRowBands(PixelWorkerCount(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                                 height),
                height, [&](int, int y0, int y1) {
                    const std::size_t offset = static_cast<std::size_t>(y0) * stride;
                    ApplyRows(pixels + offset, width, y1 - y0, stride, out + offset);
                });
}

void ExactModelReference(const double (&matrix)[3][3], const unsigned char in[3],
                         unsigned char out[3]) {
    const double linear[3] = {DecodeSrgb(in[2]), DecodeSrgb(in[1]), DecodeSrgb(in[0])};
    for (int o = 0; o < 3; ++o) {
        const double v =
            matrix[o][0] * linear[0] + matrix[o][1] * linear[1] + matrix[o][2] * linear[2];
        out[2 - o] = static_cast<unsigned char>(std::lround(EncodeSrgb(v)));
    }
}
