#pragma once

// The blur's row loops, included once by the portable build (blur_kernels.cpp) and once by the
// AVX2 build (blur_kernels_avx2.cpp) so that the compiler vectorises them for both register
// widths. Everything here has internal linkage and uses no library template: were an inline
// function shared between the two objects, the linker could keep the AVX2 copy for both and
// a processor without AVX2 would fault on it.
//
// Every result equals the plain arithmetic: a horizontal pass, then a vertical pass over its
// result, each dividing the binomial sum of order 2R by 4^R and truncating, with a border of R
// pixels left out of each pass.

#include "engine/image/blur_band.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__GNUC__) && !defined(__clang__)
#define ZEZIRIV_IVDEP _Pragma("GCC ivdep")
#else
#define ZEZIRIV_IVDEP
#endif

namespace {

struct BinomialRow {
    unsigned w[11];
};

constexpr BinomialRow Binomial(int order) {
    BinomialRow row{};
    row.w[0] = 1;
    for (int n = 1; n <= order; ++n) {
        for (int k = n; k > 0; --k) {
            row.w[k] += row.w[k - 1];
        }
    }
    return row;
}

// The binomial sum of order 2R over taps 0..2R, R <= 4, in 16-bit arithmetic so that a vector
// register holds twice the lanes: it is at most 255 * 256. The weights are symmetric, so
// mirrored taps are added before the multiplication.
template <int R, class Tap> std::uint16_t BinomialSum(Tap tap) {
    constexpr BinomialRow kWeights = Binomial(2 * R);
    auto sum = static_cast<std::uint16_t>(kWeights.w[R] * tap(R));
    for (int k = 0; k < R; ++k) {
        sum = static_cast<std::uint16_t>(sum + kWeights.w[k] * (tap(k) + tap(2 * R - k)));
    }
    return sum;
}

// Radius 5 sums up to 255 * 1024, beyond 16 bits. Its weights are those of order 8 convolved
// with 1 2 1, so with a, b, c the order-8 sums one tap apart (each below 2^16):
//   floor((a + 2b + c) / 1024) = floor(n / 256),  m = floor((a + c) / 2),  n = floor((m + b) / 2)
// because halving drops at most a one from an even total, which never crosses a multiple of the
// even divisor. Each halving is formed without leaving 16 bits.
std::uint16_t HalfSum(std::uint16_t x, std::uint16_t y) {
    return static_cast<std::uint16_t>((x >> 1) + (y >> 1) + (x & y & 1u));
}

// Radius 1 by the same halvings on bytes: floor((a + 2b + c) / 4) = floor((floor((a + c) / 2)
// + b) / 2), each halving without a carry out of the byte, so that a vector register holds
// a byte per lane instead of a 16-bit sum.
unsigned char HalfByte(unsigned char x, unsigned char y) {
    return static_cast<unsigned char>((x & y) + ((x ^ y) >> 1));
}

unsigned char Quarter121(unsigned char a, unsigned char b, unsigned char c) {
    return HalfByte(HalfByte(a, c), b);
}

unsigned char CombineOrder8(std::uint16_t a, std::uint16_t b, std::uint16_t c) {
    return static_cast<unsigned char>(HalfSum(HalfSum(a, c), b) >> 8);
}

// One row of the horizontal pass: n channel bytes, neighbours three bytes apart. Radius 5 keeps
// its order-8 sums in `sums` (n entries).
template <int R>
void BlurRowHorizontal(const unsigned char* __restrict in, unsigned char* __restrict out,
                       std::size_t n, std::uint16_t* __restrict sums) {
    constexpr std::size_t kBorder = 3 * R;
    std::memcpy(out, in, kBorder);
    std::memcpy(out + n - kBorder, in + n - kBorder, kBorder);
    if constexpr (R == 1) {
        (void)sums;
        ZEZIRIV_IVDEP
        for (std::size_t i = kBorder; i < n - kBorder; ++i) {
            out[i] = Quarter121(in[i - 3], in[i], in[i + 3]);
        }
    } else if constexpr (R <= 4) {
        (void)sums;
        ZEZIRIV_IVDEP
        for (std::size_t i = kBorder; i < n - kBorder; ++i) {
            out[i] = static_cast<unsigned char>(
                BinomialSum<R>([&](int k) -> unsigned { return in[i + 3 * k - kBorder]; }) >>
                (2 * R));
        }
    } else {
        constexpr std::size_t kInner = 3 * (R - 1);
        ZEZIRIV_IVDEP
        for (std::size_t i = kInner; i < n - kInner; ++i) {
            sums[i] = BinomialSum<R - 1>([&](int k) -> unsigned { return in[i + 3 * k - kInner]; });
        }
        ZEZIRIV_IVDEP
        for (std::size_t i = kBorder; i < n - kBorder; ++i) {
            out[i] = CombineOrder8(sums[i - 3], sums[i], sums[i + 3]);
        }
    }
}

// The order-2R sum down the 2R + 1 rows given, R <= 4.
template <int R>
void ColumnSums(const unsigned char* const* rows, std::uint16_t* __restrict out, std::size_t n) {
    const unsigned char* src[2 * R + 1];
    for (int k = 0; k <= 2 * R; ++k) {
        src[k] = rows[k];
    }
    ZEZIRIV_IVDEP
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = BinomialSum<R>([&](int k) -> unsigned { return src[k][i]; });
    }
}

template <int R>
void BlurRowVertical(const unsigned char* const* rows, unsigned char* __restrict out,
                     std::size_t n) {
    if constexpr (R == 1) {
        const unsigned char* __restrict a = rows[0];
        const unsigned char* __restrict b = rows[1];
        const unsigned char* __restrict c = rows[2];
        ZEZIRIV_IVDEP
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = Quarter121(a[i], b[i], c[i]);
        }
        return;
    }
    const unsigned char* src[2 * R + 1];
    for (int k = 0; k <= 2 * R; ++k) {
        src[k] = rows[k];
    }
    ZEZIRIV_IVDEP
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = static_cast<unsigned char>(
            BinomialSum<R>([&](int k) -> unsigned { return src[k][i]; }) >> (2 * R));
    }
}

void CombineRows(const std::uint16_t* __restrict a, const std::uint16_t* __restrict b,
                 const std::uint16_t* __restrict c, unsigned char* __restrict out, std::size_t n) {
    ZEZIRIV_IVDEP
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = CombineOrder8(a[i], b[i], c[i]);
    }
}

// The horizontal results of rows y0..y1 - 1, one after another in `out`.
template <int R>
void HorizontalRows(const BlurFrameView& frame, int y0, int y1, unsigned char* out,
                    std::uint16_t* sums) {
    const std::size_t n = static_cast<std::size_t>(frame.width) * 3;
    for (int y = y0; y < y1; ++y) {
        const unsigned char* in = frame.pixels + static_cast<std::size_t>(y) * frame.stride;
        unsigned char* to = out + static_cast<std::size_t>(y - y0) * n;
        if (frame.width >= 2 * R + 1) {
            BlurRowHorizontal<R>(in, to, n, sums);
        } else {
            std::memcpy(to, in, n);
        }
    }
}

// Blurs the rows of one band. The horizontal results of the last 2R + 1 rows wait in a ring,
// and a row of the image is overwritten only once no later horizontal result needs it, so the
// band is read and written once. Rows just outside the band belong to other workers, which may
// already have overwritten them: their horizontal results come from the band's halo.
template <int R>
void BlurBandRows(const BlurFrameView& frame, const BlurBand& band, const BlurWork& work) {
    constexpr int kRing = 2 * R + 1;
    const std::size_t n = static_cast<std::size_t>(frame.width) * 3;
    const bool horizontal = frame.width >= kRing;
    const bool vertical = frame.height >= kRing;
    auto slot = [&](int y) { return work.ring + static_cast<std::size_t>(y % kRing) * n; };
    auto row = [&](int y) { return frame.pixels + static_cast<std::size_t>(y) * frame.stride; };
    // Radius 5: the order-8 column sums of three consecutive rows, kept for reuse.
    auto columnSlot = [&](int y) { return work.sums + static_cast<std::size_t>(1 + y % 3) * n; };
    int nextColumn = 0;

    const int first = band.y0 - R > 0 ? band.y0 - R : 0;
    for (int y = first; y < band.y1 + R; ++y) {
        if (y < frame.height) {
            if (y >= band.y0 && y < band.y1) {
                if (horizontal) {
                    BlurRowHorizontal<R>(row(y), slot(y), n, work.sums);
                } else {
                    std::memcpy(slot(y), row(y), n);
                }
            } else {
                const unsigned char* halo =
                    y < band.y0 ? band.above + static_cast<std::size_t>(y - first) * n
                                : band.below + static_cast<std::size_t>(y - band.y1) * n;
                std::memcpy(slot(y), halo, n);
            }
        }
        const int done = y - R;
        if (done < band.y0) {
            continue;
        }
        if (!vertical || done < R || done >= frame.height - R) {
            std::memcpy(row(done), slot(done), n);
            continue;
        }
        if constexpr (R <= 4) {
            const unsigned char* rows[kRing];
            for (int k = 0; k < kRing; ++k) {
                rows[k] = slot(done - R + k);
            }
            BlurRowVertical<R>(rows, row(done), n);
        } else {
            for (int c = nextColumn > done - 1 ? nextColumn : done - 1; c <= done + 1; ++c) {
                const unsigned char* rows[2 * R - 1];
                for (int k = 0; k < 2 * R - 1; ++k) {
                    rows[k] = slot(c - (R - 1) + k);
                }
                ColumnSums<R - 1>(rows, columnSlot(c), n);
            }
            nextColumn = done + 2;
            CombineRows(columnSlot(done - 1), columnSlot(done), columnSlot(done + 1), row(done), n);
        }
    }
}

void HorizontalRowsFor(int radius, const BlurFrameView& frame, int y0, int y1, unsigned char* out,
                       std::uint16_t* sums) {
    switch (radius) {
    case 1:
        return HorizontalRows<1>(frame, y0, y1, out, sums);
    case 2:
        return HorizontalRows<2>(frame, y0, y1, out, sums);
    case 3:
        return HorizontalRows<3>(frame, y0, y1, out, sums);
    case 4:
        return HorizontalRows<4>(frame, y0, y1, out, sums);
    default:
        return HorizontalRows<5>(frame, y0, y1, out, sums);
    }
}

void BlurBandFor(int radius, const BlurFrameView& frame, const BlurBand& band,
                 const BlurWork& work) {
    switch (radius) {
    case 1:
        return BlurBandRows<1>(frame, band, work);
    case 2:
        return BlurBandRows<2>(frame, band, work);
    case 3:
        return BlurBandRows<3>(frame, band, work);
    case 4:
        return BlurBandRows<4>(frame, band, work);
    default:
        return BlurBandRows<5>(frame, band, work);
    }
}

} // namespace

#undef ZEZIRIV_IVDEP
