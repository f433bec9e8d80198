#include "engine/image/pixel_pipeline.h"

#include "engine/image/blur_band.h"
#include "engine/image/pixel_kernels.h"
#include "engine/image/pixel_workers.h"
#include "platform/cpu_features.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

// These loops carry every frame of every window, so they are written for the compiler to keep
// in registers and vectorise: restrict-qualified buffers, four pixels per step as three 32-bit
// words; the blur's loops live in blur_kernels.h, built for AVX2 too. Large frames are split
// into bands of rows for the cores. Every result equals the plain per-pixel arithmetic.

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
                    const ColorIndexTables& tables, T* __restrict index) {
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

// A packed colour 0x00BBGGRR as the pixel's bytes B, G, R read as a little-endian word: the
// byte swap compilers turn into one instruction, shifted. Masking the channels one by one
// instead costs several instructions a pixel, enough to hold back how many table reads are
// in flight when the table misses the cache.
std::uint32_t PixelBytes(ColorValue c) {
    return (((c & 0xFFu) << 24) | ((c & 0xFF00u) << 8) | ((c >> 8) & 0xFF00u) | (c >> 24)) >> 8;
}

template <class T>
void ApplyTableRows(const T* __restrict index, const ColorValue* __restrict table, int width,
                    int height, std::size_t stride, unsigned char* __restrict pixels) {
    const auto w = static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y) {
        unsigned char* __restrict p = pixels + static_cast<std::size_t>(y) * stride;
        const T* __restrict in = index + static_cast<std::size_t>(y) * w;
        std::size_t x = 0;
        // Four repeats of the last index (a flat area) reuse its pixel bytes; the run starts as
        // the first pixel, so that it is always a real one.
        T run[4] = {};
        std::uint32_t runBytes = 0;
        if (w >= 4) {
            run[0] = run[1] = run[2] = run[3] = in[0];
            runBytes = PixelBytes(table[in[0]]);
        }
        for (; x + 4 <= w; x += 4, p += 12) {
            if (std::memcmp(in + x, run, sizeof(run)) == 0) {
                const std::uint32_t v = runBytes;
                StoreWord(p, v | (v << 24));
                StoreWord(p + 4, (v >> 8) | (v << 16));
                StoreWord(p + 8, (v >> 16) | (v << 8));
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
            // Only the index and the bytes: the words of a run are formed when one is met.
            run[0] = run[1] = run[2] = run[3] = i3;
            runBytes = v3;
        }
        for (; x < w; ++x, p += 3) {
            const ColorValue c = table[in[x]];
            p[0] = static_cast<unsigned char>(BlueOf(c));
            p[1] = static_cast<unsigned char>(GreenOf(c));
            p[2] = static_cast<unsigned char>(RedOf(c));
        }
    }
}

template <class T>
void BuildIndexBands(const unsigned char* pixels, int width, int height, std::size_t stride,
                     const CImageQuality& quality, T* index) {
    const auto w = static_cast<std::size_t>(width);
    const ColorIndexTables& tables = quality.GetIndexTables();
#if ZEZIRIV_HAVE_AVX2_KERNELS
    const bool avx2 = UseAvx2();
    const LatticeGeometry lattice{quality.GetLatticeStep(), quality.GetPointsPerAxis(),
                                  quality.GetPlaneSize()};
#endif
    RunRowBands(PixelWorkerCount(w * static_cast<std::size_t>(height), height), height,
                [&](int, int y0, int y1) {
                    const unsigned char* from = pixels + static_cast<std::size_t>(y0) * stride;
                    T* to = index + static_cast<std::size_t>(y0) * w;
#if ZEZIRIV_HAVE_AVX2_KERNELS
                    if (avx2) {
                        BuildIndexRowsAvx2(from, width, y1 - y0, stride, lattice, to);
                        return;
                    }
#endif
                    BuildIndexRows(from, width, y1 - y0, stride, tables, to);
                });
}

template <class T>
void ApplyTableBands(const T* index, const ColorValue* table, int width, int height,
                     std::size_t stride, unsigned char* pixels) {
    const auto w = static_cast<std::size_t>(width);
#if ZEZIRIV_HAVE_AVX2_KERNELS
    const bool avx2 = UseAvx2();
#endif
    RunRowBands(PixelWorkerCount(w * static_cast<std::size_t>(height), height), height,
                [&](int, int y0, int y1) {
                    const T* from = index + static_cast<std::size_t>(y0) * w;
                    unsigned char* to = pixels + static_cast<std::size_t>(y0) * stride;
#if ZEZIRIV_HAVE_AVX2_KERNELS
                    if (avx2) {
                        ApplyTableRowsAvx2(from, table, width, y1 - y0, stride, to);
                        return;
                    }
#endif
                    ApplyTableRows(from, table, width, y1 - y0, stride, to);
                });
}

BlurKernels SelectBlurKernels() {
#if ZEZIRIV_HAVE_AVX2_KERNELS
    if (UseAvx2()) {
        return GetAvx2BlurKernels();
    }
#endif
    return GetPortableBlurKernels();
}

} // namespace

void BuildIndexBuffer(const unsigned char* pixels, int width, int height, std::size_t stride,
                      const CImageQuality& quality, std::uint16_t* index) {
    BuildIndexBands(pixels, width, height, stride, quality, index);
}

void BuildIndexBuffer(const unsigned char* pixels, int width, int height, std::size_t stride,
                      const CImageQuality& quality, std::uint32_t* index) {
    BuildIndexBands(pixels, width, height, stride, quality, index);
}

void ApplyColorTable(const std::uint16_t* index, const ColorValue* table, int width, int height,
                     std::size_t stride, unsigned char* pixels) {
    ApplyTableBands(index, table, width, height, stride, pixels);
}

void ApplyColorTable(const std::uint32_t* index, const ColorValue* table, int width, int height,
                     std::size_t stride, unsigned char* pixels) {
    ApplyTableBands(index, table, width, height, stride, pixels);
}

bool BlurPixels(unsigned char* pixels, int width, int height, std::size_t stride, int radius) {
    if (pixels == nullptr || width <= 0 || height <= 0 || radius < 1 || radius > kMaxBlurRadius) {
        return true;
    }
    if (width < 2 * radius + 1 && height < 2 * radius + 1) {
        return true; // too small for either pass
    }
    const BlurKernels kernels = SelectBlurKernels();
    const BlurFrameView frame{pixels, width, height, stride};
    const std::size_t n = static_cast<std::size_t>(width) * 3;
    const auto ringBytes = static_cast<std::size_t>(2 * radius + 1) * n;
    const std::size_t sumCount = 4 * n;
    const int bands = PixelWorkerCount(
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height), height);
    // Each split needs the horizontal results of `radius` rows on either side, taken before any
    // worker writes.
    const auto haloBytes = static_cast<std::size_t>(2 * radius) * n;
    const std::size_t perBand = ringBytes + haloBytes;
    std::unique_ptr<unsigned char[]> bytes(
        new (std::nothrow) unsigned char[perBand * static_cast<std::size_t>(bands)]);
    std::unique_ptr<std::uint16_t[]> sums(
        new (std::nothrow) std::uint16_t[sumCount * static_cast<std::size_t>(bands)]);
    if (!bytes || !sums) {
        return false;
    }
    auto ringOf = [&](int band) { return bytes.get() + perBand * static_cast<std::size_t>(band); };
    auto aboveOf = [&](int band) { return ringOf(band) + ringBytes; };
    auto belowOf = [&](int band) { return aboveOf(band) + static_cast<std::size_t>(radius) * n; };
    auto sumsOf = [&](int band) { return sums.get() + sumCount * static_cast<std::size_t>(band); };
    for (int band = 0; band < bands; ++band) {
        const int y0 = RowBandStart(band, bands, height);
        const int y1 = RowBandStart(band + 1, bands, height);
        kernels.horizontalRows(radius, frame, std::max(0, y0 - radius), y0, aboveOf(band),
                               sumsOf(band));
        kernels.horizontalRows(radius, frame, y1, std::min(height, y1 + radius), belowOf(band),
                               sumsOf(band));
    }
    RunRowBands(bands, height, [&](int band, int y0, int y1) {
        kernels.band(radius, frame, BlurBand{y0, y1, aboveOf(band), belowOf(band)},
                     BlurWork{ringOf(band), sumsOf(band)});
    });
    return true;
}
