#pragma once

#include <cstddef>
#include <cstdint>

// What the look-alike count hands to its AVX2 variant (look_alike_avx2.cpp, compiled for AVX2
// alone): plain functions only, as in pixel_kernels.h.

#if ZEZIRIV_HAVE_AVX2_KERNELS
// Decides an entry for the table pass below and returns it as the entries then hold it.
using DecideShownEntry = std::uint32_t (*)(void* context, std::uint32_t entry);

// The table pass over the mask's entries (bits 0-23 the colour) on the rows given, counting in
// `alike` the entries with bit 24. An entry that does not carry `generation` in bits 25 and up
// is handed to `decide`; without one, the pass returns false at once, with the pixels partly
// written and `alike` unset.
bool ApplyShownRowsAvx2(const std::uint16_t* index, const std::uint32_t* entries,
                        std::uint32_t generation, int width, int height, std::size_t stride,
                        unsigned char* pixels, std::size_t& alike,
                        DecideShownEntry decide = nullptr, void* context = nullptr);
bool ApplyShownRowsAvx2(const std::uint32_t* index, const std::uint32_t* entries,
                        std::uint32_t generation, int width, int height, std::size_t stride,
                        unsigned char* pixels, std::size_t& alike,
                        DecideShownEntry decide = nullptr, void* context = nullptr);
#endif
