#include "image/pixel_pipeline.h"

#include "filter/image_quality.h"

#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

// These loops carry every frame of every window, so they are written for the compiler to keep
// in registers and vectorise: restrict-qualified buffers, four pixels per step as three 32-bit
// words, compile-time blur weights. Every result equals the plain per-pixel arithmetic.

#if defined(__GNUC__) && !defined(__clang__)
#define ZEZIRIV_IVDEP _Pragma("GCC ivdep")
#else
#define ZEZIRIV_IVDEP
#endif

namespace {

std::uint32_t LoadWord(const unsigned char* p) {
    std::uint32_t w;
    std::memcpy(&w, p, sizeof(w));
    return w; // little-endian: the first byte is the lowest
}

void StoreWord(unsigned char* p, std::uint32_t w) {
    std::memcpy(p, &w, sizeof(w));
}

template <class T>
void BuildIndexRows(const unsigned char* pixels, int width, int height, std::size_t stride,
                    T* __restrict index) {
    const ColorIndexTables& tables = GetColorIndexTables();
    const std::uint32_t* __restrict red = tables.red;
    const std::uint32_t* __restrict green = tables.green;
    const std::uint32_t* __restrict blue = tables.blue;
    const auto w = static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y) {
        const unsigned char* __restrict p = pixels + static_cast<std::size_t>(y) * stride;
        T* __restrict out = index + static_cast<std::size_t>(y) * w;
        std::size_t x = 0;
        // Four pixels are twelve bytes: B0 G0 R0 B1 | G1 R1 B2 G2 | R2 B3 G3 R3. Screens are
        // mostly flat areas, so four repeats of the last pixel skip the table reads.
        // The run starts as the first pixel itself, so that it is always a real one.
        std::uint32_t run0 = 0;
        std::uint32_t run1 = 0;
        std::uint32_t run2 = 0;
        T runIndex = 0;
        if (w >= 4) {
            const std::uint32_t first =
                p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
            runIndex = static_cast<T>(blue[p[0]] + green[p[1]] + red[p[2]]);
            run0 = first | (first << 24);
            run1 = (first >> 8) | (first << 16);
            run2 = (first >> 16) | (first << 8);
        }
        for (; x + 4 <= w; x += 4, p += 12) {
            const std::uint32_t w0 = LoadWord(p);
            const std::uint32_t w1 = LoadWord(p + 4);
            const std::uint32_t w2 = LoadWord(p + 8);
            if (w0 == run0 && w1 == run1 && w2 == run2) {
                out[x] = out[x + 1] = out[x + 2] = out[x + 3] = runIndex;
                continue;
            }
            out[x] = static_cast<T>(blue[w0 & 0xFFu] + green[(w0 >> 8) & 0xFFu] +
                                    red[(w0 >> 16) & 0xFFu]);
            out[x + 1] =
                static_cast<T>(blue[w0 >> 24] + green[w1 & 0xFFu] + red[(w1 >> 8) & 0xFFu]);
            out[x + 2] =
                static_cast<T>(blue[(w1 >> 16) & 0xFFu] + green[w1 >> 24] + red[w2 & 0xFFu]);
            runIndex =
                static_cast<T>(blue[(w2 >> 8) & 0xFFu] + green[(w2 >> 16) & 0xFFu] + red[w2 >> 24]);
            out[x + 3] = runIndex;
            const std::uint32_t last = w2 >> 8;
            run0 = last | (last << 24);
            run1 = (last >> 8) | (last << 16);
            run2 = (last >> 16) | (last << 8);
        }
        for (; x < w; ++x, p += 3) {
            out[x] = static_cast<T>(blue[p[0]] + green[p[1]] + red[p[2]]);
        }
    }
}

// A packed colour 0x00BBGGRR as the pixel's bytes B, G, R read as a little-endian word.
std::uint32_t PixelBytes(ColorValue c) {
    return ((c >> 16) & 0xFFu) | (c & 0xFF00u) | ((c & 0xFFu) << 16);
}

template <class T>
void ApplyTableRows(const T* __restrict index, const ColorValue* __restrict table, int width,
                    int height, std::size_t stride, unsigned char* __restrict pixels) {
    const auto w = static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y) {
        unsigned char* __restrict p = pixels + static_cast<std::size_t>(y) * stride;
        const T* __restrict in = index + static_cast<std::size_t>(y) * w;
        std::size_t x = 0;
        // Four repeats of the last index (a flat area) reuse its twelve pixel bytes; the run
        // starts as the first pixel, so that it is always a real one.
        T runIndices[4] = {};
        unsigned char runBytes[12] = {};
        auto startRun = [&](T i, std::uint32_t v) {
            runIndices[0] = runIndices[1] = runIndices[2] = runIndices[3] = i;
            StoreWord(runBytes, v | (v << 24));
            StoreWord(runBytes + 4, (v >> 8) | (v << 16));
            StoreWord(runBytes + 8, (v >> 16) | (v << 8));
        };
        if (w >= 4) {
            startRun(in[0], PixelBytes(table[in[0]]));
        }
        for (; x + 4 <= w; x += 4, p += 12) {
            if (std::memcmp(in + x, runIndices, sizeof(runIndices)) == 0) {
                std::memcpy(p, runBytes, sizeof(runBytes));
                continue;
            }
            const T i3 = in[x + 3];
            const std::uint32_t v0 = PixelBytes(table[in[x]]);
            const std::uint32_t v1 = PixelBytes(table[in[x + 1]]);
            const std::uint32_t v2 = PixelBytes(table[in[x + 2]]);
            const std::uint32_t v3 = PixelBytes(table[i3]);
            StoreWord(p, v0 | (v1 << 24));
            StoreWord(p + 4, (v1 >> 8) | (v2 << 16));
            StoreWord(p + 8, (v2 >> 16) | (v3 << 8));
            startRun(i3, v3);
        }
        for (; x < w; ++x, p += 3) {
            const ColorValue c = table[in[x]];
            p[0] = static_cast<unsigned char>(BlueOf(c));
            p[1] = static_cast<unsigned char>(GreenOf(c));
            p[2] = static_cast<unsigned char>(RedOf(c));
        }
    }
}

template <int R> constexpr std::array<unsigned, 2 * R + 1> BinomialWeights() {
    std::array<unsigned, 2 * R + 1> w{};
    w[0] = 1;
    for (int n = 1; n <= 2 * R; ++n) {
        for (int k = n; k > 0; --k) {
            w[static_cast<std::size_t>(k)] += w[static_cast<std::size_t>(k - 1)];
        }
    }
    return w;
}

// The weighted sum of 2R + 1 bytes divided by 4^R, truncated, in 16-bit arithmetic so that a
// vector register holds twice the lanes. Up to radius 4 the sum itself fits (255 * 256). At
// radius 5 it does not (255 * 1024), so each byte is split into x = 4q + e: with
// Q = sum(w * q) <= 64512 and E = sum(w * e) <= 3072, the result floor((4Q + E) / 1024) equals
// floor((Q + floor(E / 4)) / 256), whose operands fit 16 bits again.
// The weights are symmetric, so mirrored taps are added before the multiplication: half the
// multiplies.
template <int R, class Tap> unsigned char WeightedQuotient(Tap tap) {
    constexpr auto kWeights = BinomialWeights<R>();
    if constexpr (R <= 4) {
        auto sum = static_cast<std::uint16_t>(kWeights[R] * tap(R));
        for (int k = 0; k < R; ++k) {
            sum = static_cast<std::uint16_t>(sum + kWeights[static_cast<std::size_t>(k)] *
                                                       (tap(k) + tap(2 * R - k)));
        }
        return static_cast<unsigned char>(sum >> (2 * R));
    } else {
        const unsigned centre = tap(R);
        auto high = static_cast<std::uint16_t>(kWeights[R] * (centre >> 2));
        auto low = static_cast<std::uint16_t>(kWeights[R] * (centre & 3u));
        for (int k = 0; k < R; ++k) {
            const unsigned a = tap(k);
            const unsigned b = tap(2 * R - k);
            const unsigned w = kWeights[static_cast<std::size_t>(k)];
            high = static_cast<std::uint16_t>(high + w * ((a >> 2) + (b >> 2)));
            low = static_cast<std::uint16_t>(low + w * ((a & 3u) + (b & 3u)));
        }
        return static_cast<unsigned char>(static_cast<std::uint16_t>(high + (low >> 2)) >>
                                          (2 * R - 2));
    }
}

// One row of the horizontal pass: n channel bytes, neighbours three bytes apart.
template <int R>
void BlurRowHorizontal(const unsigned char* __restrict in, unsigned char* __restrict out,
                       std::size_t n) {
    constexpr std::size_t kBorder = 3 * R;
    std::memcpy(out, in, kBorder);
    std::memcpy(out + n - kBorder, in + n - kBorder, kBorder);
    ZEZIRIV_IVDEP
    for (std::size_t i = kBorder; i < n - kBorder; ++i) {
        out[i] = WeightedQuotient<R>([&](int k) -> unsigned { return in[i + 3 * k - kBorder]; });
    }
}

// One row of the vertical pass from the 2R + 1 rows centred on it.
template <int R>
void BlurRowVertical(const unsigned char* const* rows, unsigned char* __restrict out,
                     std::size_t n) {
    const unsigned char* src[2 * R + 1];
    for (int k = 0; k <= 2 * R; ++k) {
        src[k] = rows[k];
    }
    ZEZIRIV_IVDEP
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = WeightedQuotient<R>([&](int k) -> unsigned { return src[k][i]; });
    }
}

// Both passes in one sweep: the horizontal results of the last 2R + 1 rows wait in a ring, and
// a row of the image is overwritten only once no later horizontal result needs it. The frame is
// read and written once, instead of twice through a full-size scratch copy.
template <int R> bool BlurFrame(unsigned char* pixels, int width, int height, std::size_t stride) {
    constexpr int kRing = 2 * R + 1;
    const std::size_t n = static_cast<std::size_t>(width) * 3;
    std::unique_ptr<unsigned char[]> ring(new (std::nothrow) unsigned char[kRing * n]);
    if (!ring) {
        return false;
    }
    const bool horizontal = width >= kRing;
    const bool vertical = height >= kRing;
    auto slot = [&](int y) { return ring.get() + static_cast<std::size_t>(y % kRing) * n; };
    auto row = [&](int y) { return pixels + static_cast<std::size_t>(y) * stride; };
    for (int y = 0; y < height + R; ++y) {
        if (y < height) {
            if (horizontal) {
                BlurRowHorizontal<R>(row(y), slot(y), n);
            } else {
                std::memcpy(slot(y), row(y), n);
            }
        }
        const int done = y - R;
        if (done < 0) {
            continue;
        }
        if (!vertical || done < R || done >= height - R) {
            std::memcpy(row(done), slot(done), n);
        } else {
            const unsigned char* rows[kRing];
            for (int k = 0; k < kRing; ++k) {
                rows[k] = slot(done - R + k);
            }
            BlurRowVertical<R>(rows, row(done), n);
        }
    }
    return true;
}

} // namespace

void BuildIndexBuffer(const unsigned char* pixels, int width, int height, std::size_t stride,
                      std::uint16_t* index) {
    BuildIndexRows(pixels, width, height, stride, index);
}

void BuildIndexBuffer(const unsigned char* pixels, int width, int height, std::size_t stride,
                      std::uint32_t* index) {
    BuildIndexRows(pixels, width, height, stride, index);
}

void ApplyColorTable(const std::uint16_t* index, const ColorValue* table, int width, int height,
                     std::size_t stride, unsigned char* pixels) {
    ApplyTableRows(index, table, width, height, stride, pixels);
}

void ApplyColorTable(const std::uint32_t* index, const ColorValue* table, int width, int height,
                     std::size_t stride, unsigned char* pixels) {
    ApplyTableRows(index, table, width, height, stride, pixels);
}

bool BlurPixels(unsigned char* pixels, int width, int height, std::size_t stride, int radius) {
    if (pixels == nullptr || width <= 0 || height <= 0) {
        return true;
    }
    switch (radius) {
    case 1:
        return BlurFrame<1>(pixels, width, height, stride);
    case 2:
        return BlurFrame<2>(pixels, width, height, stride);
    case 3:
        return BlurFrame<3>(pixels, width, height, stride);
    case 4:
        return BlurFrame<4>(pixels, width, height, stride);
    case 5:
        return BlurFrame<5>(pixels, width, height, stride);
    default:
        return true;
    }
}
