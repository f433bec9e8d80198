#pragma once

#include <cstddef>
#include <cstdint>

// What the blur's row loops share with the code that splits a frame between workers. Plain
// aggregates only: the loops are compiled once per instruction set (see blur_kernels.h).

struct BlurFrameView {
    unsigned char* pixels;
    int width;
    int height;
    std::size_t stride;
};

// Rows y0..y1 - 1 of the frame. `above` holds the horizontal results of the up to `radius`
// rows before y0 and `below` those of the rows from y1 on, computed before any worker wrote.
struct BlurBand {
    int y0;
    int y1;
    const unsigned char* above;
    const unsigned char* below;
};

// A worker's scratch: 2 * radius + 1 rows of bytes and 4 rows of 16-bit sums.
struct BlurWork {
    unsigned char* ring;
    std::uint16_t* sums;
};

struct BlurKernels {
    void (*horizontalRows)(int radius, const BlurFrameView& frame, int y0, int y1,
                           unsigned char* out, std::uint16_t* sums);
    void (*band)(int radius, const BlurFrameView& frame, const BlurBand& band,
                 const BlurWork& work);
};

BlurKernels GetPortableBlurKernels();
#if ZEZIRIV_HAVE_AVX2_KERNELS
BlurKernels GetAvx2BlurKernels();
#endif
