#pragma once

#include "engine/filter/filter_files.h"

#include "authoring/picture.h"
#include "engine/filter/color.h"

#include <cstdint>
#include <random>

// Random pixels (and alpha), for pictures the tests build in memory.
inline void FillRandom(CPicture& picture, std::uint32_t seed) {
    std::mt19937 random(seed);
    for (int y = 0; y < picture.GetHeight(); ++y) {
        for (int x = 0; x < picture.GetWidth(); ++x) {
            picture.SetColor(x, y, random() & 0xFFFFFFu);
            if (picture.HasAlpha()) {
                picture.GetAlphaRow(y)[x] = static_cast<unsigned char>(random());
            }
        }
    }
}

// Pixels and alpha equal, padding ignored.
inline bool SamePixels(const CPicture& a, const CPicture& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() ||
        a.HasAlpha() != b.HasAlpha()) {
        return false;
    }
    for (int y = 0; y < a.GetHeight(); ++y) {
        for (int x = 0; x < a.GetWidth(); ++x) {
            if (a.GetColor(x, y) != b.GetColor(x, y) ||
                (a.HasAlpha() && a.GetAlphaRow(y)[x] != b.GetAlphaRow(y)[x])) {
                return false;
            }
        }
    }
    return true;
}
