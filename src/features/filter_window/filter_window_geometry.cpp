#include "features/filter_window/filter_window_geometry.h"

#include "engine/filter/filter.h"
#include "platform/monitor_layout.h"
#include "platform/text_util.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

int ClampToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

constexpr std::size_t kMaxTitleLength = 511;

} // namespace

PixelSize ComputePictureArea(int clientWidth, int clientHeight, bool hasStatusbar,
                             int statusbarTop) {
    PixelSize area{std::max(clientWidth, 0), std::max(clientHeight, 0)};
    if (hasStatusbar) {
        area.height = statusbarTop < 0 ? 1 : statusbarTop;
    }
    return area;
}

CaptureRect ComputeCaptureRect(IntPoint reference, PixelSize area, int zoom, bool leftTopOrigin) {
    const long long width = std::max(area.width, 0);
    const long long height = std::max(area.height, 0);
    long long w = 0;
    long long h = 0;
    if (zoom >= 1) {
        w = (width + zoom - 1) / zoom;
        h = (height + zoom - 1) / zoom;
    } else {
        const long long k = ReductionOf(zoom);
        w = width * k;
        h = height * k;
    }
    CaptureRect rect;
    rect.width = ClampToInt(w);
    rect.height = ClampToInt(h);
    if (leftTopOrigin) {
        rect.x = reference.x;
        rect.y = reference.y;
    } else {
        // (w - 1) / 2 truncates toward zero, so an empty capture stays at the reference point.
        rect.x = ClampToInt(static_cast<long long>(reference.x) - (rect.width - 1LL) / 2);
        rect.y = ClampToInt(static_cast<long long>(reference.y) - (rect.height - 1LL) / 2);
    }
    return rect;
}

StretchPlan ComputeStretch(int captureWidth, int captureHeight, int zoom) {
    if (zoom >= 1) {
        return {ClampToInt(static_cast<long long>(captureWidth) * zoom),
                ClampToInt(static_cast<long long>(captureHeight) * zoom), false};
    }
    const int k = ReductionOf(zoom);
    return {captureWidth / k, captureHeight / k, true};
}

std::optional<CenterMark> ComputeCenterMark(int captureWidth, int captureHeight, int zoom,
                                            bool markCenter, bool leftTopOrigin) {
    if (!markCenter || leftTopOrigin || zoom < 1 || captureWidth < 1 || captureHeight < 1) {
        return std::nullopt;
    }
    const int cx = (captureWidth - 1) / 2;
    const int cy = (captureHeight - 1) / 2;
    CenterMark mark;
    mark.outline = {cx * zoom - 1, cy * zoom - 1, (cx + 1) * zoom + 1, (cy + 1) * zoom + 1};
    mark.corners = {
        IntPoint{cx * zoom - 1, cy * zoom - 1}, IntPoint{(cx + 1) * zoom, cy * zoom - 1},
        IntPoint{cx * zoom - 1, (cy + 1) * zoom}, IntPoint{(cx + 1) * zoom, (cy + 1) * zoom}};
    return mark;
}

std::string ZoomText(int zoom) {
    char text[32];
    if (zoom >= 1) {
        std::snprintf(text, sizeof(text), "x%d", zoom);
    } else {
        std::snprintf(text, sizeof(text), "x1/%d", ReductionOf(zoom));
    }
    return text;
}

std::string PointText(IntPoint point) {
    char text[32];
    std::snprintf(text, sizeof(text), "%d, %d", static_cast<int>(point.x),
                  static_cast<int>(point.y));
    return text;
}

std::vector<int> ComputeStatusbarEdges(int displayFormat, bool simple, int dpi) {
    static constexpr int kValueWidths[5] = {90, 80, 100, 110, 90};
    static constexpr int kPointWidth = 90;
    static constexpr int kZoomWidth = 40;
    if (displayFormat < 0 || displayFormat >= 5) {
        displayFormat = 0;
    }
    dpi = UsableDpi(dpi);
    auto scaled = [dpi](int width) { return (width * dpi + 48) / 96; };

    std::vector<int> edges;
    int right = scaled(kValueWidths[displayFormat]);
    edges.push_back(right);
    if (!simple) {
        right += scaled(kPointWidth);
        edges.push_back(right);
        right += scaled(kZoomWidth);
        edges.push_back(right);
    }
    edges.push_back(-1);
    return edges;
}

std::string FilterWindowTitle(const CFilter* filter) {
    if (filter == nullptr) {
        return "Zeziriv";
    }
    std::string title = filter->GetDisplayName() + " - Zeziriv";
    TruncateText(title, kMaxTitleLength);
    return title;
}
