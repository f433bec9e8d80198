#pragma once

#include <cstddef>
#include <cstdint>

// What the index pass and the table pass hand to their AVX2 variants (pixel_kernels_avx2.cpp,
// compiled for AVX2 alone). Plain aggregates and functions only: an inline function or a
// library template shared with that object could be linked in its AVX2 form for everyone.

// The lattice of the current image quality: step K, N points per axis, N^2 per plane.
struct LatticeGeometry {
    int step;
    int points;
    std::uint32_t plane;
};

#if ZEZIRIV_HAVE_AVX2_KERNELS
// The contracts of BuildIndexBuffer and ApplyColorTable (pixel_pipeline.h), on the rows given.
void BuildIndexRowsAvx2(const unsigned char* pixels, int width, int height, std::size_t stride,
                        LatticeGeometry lattice, std::uint16_t* index);
void BuildIndexRowsAvx2(const unsigned char* pixels, int width, int height, std::size_t stride,
                        LatticeGeometry lattice, std::uint32_t* index);
void ApplyTableRowsAvx2(const std::uint16_t* index, const std::uint32_t* table, int width,
                        int height, std::size_t stride, unsigned char* pixels);
void ApplyTableRowsAvx2(const std::uint32_t* index, const std::uint32_t* table, int width,
                        int height, std::size_t stride, unsigned char* pixels);
#endif
