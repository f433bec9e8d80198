#pragma once

#include <cstddef>

// A colour-vision model applied to every pixel without a colour table: sRGB decode, a 3x3
// matrix in linear light, clamp, encode. It is what a user could run instead of the lattice
// tables, so the table path is measured against it written as fast as it goes on a CPU:
//
// - the decode table is folded with the matrix: for each input channel and byte, the decoded
//   value times that channel's matrix column, four floats in the output's byte order (B, G, R,
//   unused), scaled to encode-table positions. A pixel is three 16-byte loads and two vector
//   additions; no per-pixel multiplication is left;
// - the encode table has 16384 entries over [0, 1], read at the nearest position of the
//   clamped value: every code is within one of the definition's, and 0.7 % of them off by one
//   for a projection (3.2 % with 4096 entries, at the same speed; the table, 16 KB, and the
//   folded columns, 12 KB, stay in the first-level cache);
// - a pixel equal to the one before it repeats its result, as the table path's runs do;
// - rows are split between the pipeline's worker threads (image/pixel_workers.h).
//
// Gathers (AVX2) were slower on the machine this was measured on than the three loads: a
// gather of eight lanes costs about as much as eight loads, and the encode needs three more.
class CExactModel {
public:
    // matrix[out][in], channels red, green, blue.
    explicit CExactModel(const double (&matrix)[3][3]);

    // Pixels are 24-bit B, G, R rows `stride` bytes apart, as in the pixel pipeline; `out` may
    // not overlap `pixels`. Padding bytes of `out` are left alone.
    void Apply(const unsigned char* pixels, int width, int height, std::size_t stride,
               unsigned char* out) const;

    // The same on the calling thread alone, for the rows given.
    void ApplyRows(const unsigned char* pixels, int width, int height, std::size_t stride,
                   unsigned char* out) const;

private:
    static constexpr int kEncodeSize = 16384;

    alignas(16) float m_columns[3][256][4]; // [input channel: red, green, blue][byte][B, G, R, 0]
    unsigned char m_encode[kEncodeSize];
};

// The model straight from its definition, pow for both transfers (the reference the fast one
// is checked against): one pixel's bytes B, G, R in, rounded codes out in the same order.
void ExactModelReference(const double (&matrix)[3][3], const unsigned char in[3],
                         unsigned char out[3]);
