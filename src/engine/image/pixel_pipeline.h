#pragma once

#include "engine/filter/color.h"
#include "engine/filter/image_quality.h"

#include <cstddef>
#include <cstdint>

// The per-pixel loops of the capture image, on plain buffers so that tests and benchmarks reach
// them without a screen. Pixels are 24-bit, three bytes blue, green, red, rows top-down and
// `stride` bytes apart (at least 3 * width: rows never overlap, since large frames are worked
// on in bands of rows at once); index buffers hold width entries per row without padding.

// index[y * width + x] = quality.ColorIndex of the pixel.
void BuildIndexBuffer(const unsigned char* pixels, int width, int height, std::size_t stride,
                      const CImageQuality& quality, std::uint16_t* index);
void BuildIndexBuffer(const unsigned char* pixels, int width, int height, std::size_t stride,
                      const CImageQuality& quality, std::uint32_t* index);

// Writes table[index] into every pixel; padding bytes are left alone. Every index must be
// below the table's size. Bits 24-31 of an entry are not read: a table may keep its own flags
// there (the look-alike mask does).
void ApplyColorTable(const std::uint16_t* index, const ColorValue* table, int width, int height,
                     std::size_t stride, unsigned char* pixels);
void ApplyColorTable(const std::uint32_t* index, const ColorValue* table, int width, int height,
                     std::size_t stride, unsigned char* pixels);

constexpr int kMaxBlurRadius = 5;

// The separable binomial blur of order 2 * radius: a horizontal pass, then a vertical pass over
// its result, each dividing by 4^radius and truncating. A border of `radius` pixels is left out
// of each pass. Radius outside 1..5 leaves the pixels unchanged. False only when the working
// rows cannot be allocated (the pixels are then unchanged).
bool BlurPixels(unsigned char* pixels, int width, int height, std::size_t stride, int radius);
