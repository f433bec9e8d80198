#pragma once

// The arithmetic of a filter window that needs no window: what to capture around the reference
// point, how the capture is stretched and marked, the status bar's parts and texts, and when a
// refresh is due. The Win32 window only feeds it numbers and draws what it says.

#include "engine/filter/color.h"
#include "engine/image/screen_copy.h"
#include "features/filter_window/window_setting.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CFilter;

inline bool IsValidZoom(int zoom) {
    return zoom >= CWindowSetting::MinZoom && zoom <= CWindowSetting::MaxZoom;
}

// Zooms of 0 and below reduce: 0 is 1/2, -3 is 1/5.
inline int ReductionOf(int zoom) {
    return 2 - zoom;
}

struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// The part of the client area that shows the picture: all of it, or what lies above the status
// bar (1 pixel high when the bar's top edge is above the client area).
PixelSize ComputePictureArea(int clientWidth, int clientHeight, bool hasStatusbar,
                             int statusbarTop);

// The screen area a window captures, as the screen copy takes it.
using CaptureRect = ScreenArea;

// The screen rectangle that fills a picture area at the zoom: enlarged captures round up, so the
// magnified blocks always cover the area; the reference point is the capture's centre pixel, or
// its top-left pixel with the left-top origin. Sizes that would not fit an int are clamped.
CaptureRect ComputeCaptureRect(IntPoint reference, PixelSize area, int zoom, bool leftTopOrigin);

// Where a capture of width x height lands in the window at the zoom: every pixel a zoom x zoom
// block, or the whole capture averaged down by the reduction.
struct StretchPlan {
    int width = 0;
    int height = 0;
    bool averaged = false; // half-tone when reducing, plain pixel blocks when enlarging
    friend bool operator==(const StretchPlan&, const StretchPlan&) = default;
};
StretchPlan ComputeStretch(int captureWidth, int captureHeight, int zoom);

// The centre mark around the magnified reference pixel: a one-pixel outline just outside its
// block (right and bottom exclusive) and the outline's four corners in a darker grey.
struct CenterMark {
    IntRect outline;
    std::array<IntPoint, 4> corners{};
};
constexpr ColorValue kCenterMarkColor = 0x9F9F9F;
constexpr ColorValue kCenterMarkCornerColor = 0x606060;
// None when there is nothing to mark: mark off, left-top origin, or a zoom of 0 and below.
std::optional<CenterMark> ComputeCenterMark(int captureWidth, int captureHeight, int zoom,
                                            bool markCenter, bool leftTopOrigin);

// "x4", or "x1/2" for a zoom of 0.
std::string ZoomText(int zoom);
// "x, y" of a screen point.
std::string PointText(IntPoint point);

// Right edges of the status bar's parts, the last one -1 (to the right end): colour value,
// reference point and zoom (not in the simple layout), colour name. Widths are those of a
// 96 dpi screen, scaled to the dpi of the window's monitor (0 or absurd: 96).
std::vector<int> ComputeStatusbarEdges(int displayFormat, bool simple, int dpi = 96);
// The part that holds the colour name.
inline int ColorNamePart(bool simple) {
    return simple ? 1 : 3;
}

// The colour the status bar describes: the filtered one unless the profile asks for the
// original; holding Shift swaps the two.
inline ColorValue ChooseStatusColor(bool showOriginal, bool shiftHeld, ColorValue original,
                                    ColorValue filtered) {
    return showOriginal != shiftHeld ? original : filtered;
}

// True once `interval` milliseconds have passed since `last`, on a tick counter that wraps.
inline bool IsIntervalDue(std::uint32_t now, std::uint32_t last, std::uint32_t interval) {
    return now - last >= interval;
}

// "<display name> - Zeziriv", or "Zeziriv" without a filter; at most 511 characters.
std::string FilterWindowTitle(const CFilter* filter);
