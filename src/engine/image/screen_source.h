#pragma once

#include "platform/geometry.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#if defined(_WIN32)
struct HDC__;
// The memory device context windows draw the image from.
using SurfaceHandle = HDC__*;
#else
using SurfaceHandle = void*;
#endif

// A drawing surface of fixed size that owns 24-bit top-down pixels (bytes blue, green, red,
// rows padded to 4 bytes). Freshly created pixels are all zero.
class IPixelSurface {
public:
    virtual ~IPixelSurface() = default;
    virtual unsigned char* GetPixels() = 0;
    virtual SurfaceHandle GetHandle() const = 0;
    // Copies the width x height screen rectangle whose top-left corner is the screen point
    // (x, y) into the pixels at (0, 0); the size is at most the surface's, the rest of the
    // pixels is left alone. What lies outside the screen is not written. False when the screen
    // could not be read (no display context, a refused copy): the pixels are then undefined.
    virtual bool CopyFromScreen(int x, int y, int width, int height) = 0;
};

// The part of the width x height rectangle at (x, y) inside `bounds` (empty when none), in 64
// bits so that no corner overflows: what a copy may read of the screen, or of a monitor.
inline IntRect ClipToBounds(int x, int y, int width, int height, const IntRect& bounds) {
    const long long left = std::max<long long>(x, bounds.left);
    const long long top = std::max<long long>(y, bounds.top);
    const long long right = std::min<long long>(static_cast<long long>(x) + width, bounds.right);
    const long long bottom = std::min<long long>(static_cast<long long>(y) + height, bounds.bottom);
    if (left >= right || top >= bottom) {
        return {};
    }
    return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
            static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
}

// Where screen pixels come from: GDI in the program, a synthetic frame in native tests.
class IScreenSource {
public:
    virtual ~IScreenSource() = default;
    // Null when the surface cannot be created.
    virtual std::unique_ptr<IPixelSurface> CreateSurface(int width, int height) = 0;
    // The screen's rectangle (every monitor), in the coordinates copies are asked in.
    virtual IntRect GetScreenBounds() const = 0;
    // Completes pending drawing, so that pixels read directly are up to date.
    virtual void Flush() = 0;
};
