#pragma once

#include <cstdint>

// Screen rectangles and points in pixels, as the platform's RECT and POINT hold them but
// without its headers, so that portable code can lay windows out.
struct IntRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const IntRect&, const IntRect&) = default;
};

struct IntPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const IntPoint&, const IntPoint&) = default;
};
