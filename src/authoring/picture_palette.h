#pragma once

#include "authoring/picture.h"
#include "engine/filter/color.h"

#include <cstdint>
#include <vector>

// The colours a picture of a user interface is made of: those that cover at least a share of
// its visible pixels and fill at least one 2×2 block. The colours a smooth edge or a gradient
// passes through each cover a line one pixel wide, however long, so they stay out, and the audit
// does not pair them with their neighbours.

constexpr double kDefaultMinColorShare = 0.01; // one pixel in a hundred
// A picture has at most 1 / share such colours; the audit compares every pair of them.
constexpr double kMinColorShare = 0.001;

struct PictureColor {
    ColorValue color = 0;
    std::uint64_t pixels = 0;
};

// The colours filling a 2×2 block and covering at least `minShare` (kMinColorShare..1) of the
// pixels that are not fully transparent (`visiblePixels` counts those), the most covering first
// (ties by colour value). False when the counting table could not be allocated.
bool FindPictureColors(const CPicture& picture, double minShare, std::vector<PictureColor>& colors,
                       std::uint64_t& visiblePixels);
