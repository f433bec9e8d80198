#pragma once

#include <cstddef>
#include <cstdint>

// What the look-alike count hands to its AVX2 variant (look_alike_avx2.cpp, compiled for AVX2
// alone): plain functions only, as in pixel_kernels.h.

#if ZEZIRIV_HAVE_AVX2_KERNELS
// Adds to `alike` the look-alike bits (bit 24) of the entries index[0..) names, eight at a
// time, while every entry read carries `generation` in bits 25 and up; returns how many were
// counted (a multiple of 8): the group at the returned position holds a stale entry, or fewer
// than eight remain.
std::size_t CountDecidedAvx2(const std::uint16_t* index, std::size_t count,
                             const std::uint32_t* entries, std::uint32_t generation,
                             std::size_t& alike);
std::size_t CountDecidedAvx2(const std::uint32_t* index, std::size_t count,
                             const std::uint32_t* entries, std::uint32_t generation,
                             std::size_t& alike);
// The table pass over the mask's entries (bits 0-23 the colour) on the rows given, counting in
// `alike` the entries with bit 24; false, with the pixels partly written and `alike` unset, as
// soon as an entry does not carry `generation` in bits 25 and up.
bool ApplyShownRowsAvx2(const std::uint16_t* index, const std::uint32_t* entries,
                        std::uint32_t generation, int width, int height, std::size_t stride,
                        unsigned char* pixels, std::size_t& alike);
bool ApplyShownRowsAvx2(const std::uint32_t* index, const std::uint32_t* entries,
                        std::uint32_t generation, int width, int height, std::size_t stride,
                        unsigned char* pixels, std::size_t& alike);
#endif
