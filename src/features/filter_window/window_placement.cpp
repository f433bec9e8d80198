#include "features/filter_window/window_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// A stored rectangle may come from anywhere; its size is worked out without overflow.
long long WidthOf(const IntRect& r) {
    return static_cast<long long>(r.right) - r.left;
}
long long HeightOf(const IntRect& r) {
    return static_cast<long long>(r.bottom) - r.top;
}

std::int32_t ToInt32(long long value) {
    return static_cast<std::int32_t>(std::clamp<long long>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// A size that no window can have (empty, negative, larger than the screen) becomes one that
// fits, so a damaged record still opens a window the user can reach.
long long UsableSize(long long size, long long defaultSize, long long screenSize) {
    if (size <= 0) {
        size = defaultSize;
    }
    if (screenSize > 0 && size > screenSize) {
        size = screenSize;
    }
    return size;
}

} // namespace

IntRect FitOnMonitors(const IntRect& rect, const MonitorLayout& layout) {
    const MonitorInfo* monitor = NearestMonitor(layout, rect);
    if (monitor == nullptr) {
        return rect;
    }
    // One monitor keeps the old rule of the whole screen (a window may lie over the task bar);
    // only between several monitors does the work area decide.
    const IntRect& work = layout.monitors.size() == 1 ? monitor->rect : monitor->work;
    const long long width =
        UsableSize(WidthOf(rect), WidthOf(CWindowCascade::kDefaultRect), WidthOf(work));
    const long long height =
        UsableSize(HeightOf(rect), HeightOf(CWindowCascade::kDefaultRect), HeightOf(work));
    long long left = rect.left;
    long long top = rect.top;
    if (left < work.left || left + width >= work.right) {
        left = work.left;
    }
    if (top < work.top || top + height >= work.bottom) {
        top = work.top;
    }
    return {ToInt32(left), ToInt32(top), ToInt32(left + width), ToInt32(top + height)};
}

IntRect CWindowCascade::Place(const IntRect& recordRect, bool fromGivenSetting, int captionHeight,
                              const MonitorLayout& layout) {
    IntRect r = recordRect;
    if (r == IntRect{}) {
        r = kDefaultRect;
    }
    if (!fromGivenSetting) {
        if (m_cascade) {
            r = {ToInt32(static_cast<long long>(m_origin.left) + captionHeight),
                 ToInt32(static_cast<long long>(m_origin.top) + captionHeight),
                 ToInt32(static_cast<long long>(m_origin.right) + captionHeight),
                 ToInt32(static_cast<long long>(m_origin.bottom) + captionHeight)};
        }
        m_cascade = true;
    }
    const IntRect placed = FitOnMonitors(r, layout);
    m_origin = placed;
    return placed;
}

IntRect CWindowCascade::Place(const IntRect& recordRect, bool fromGivenSetting, int captionHeight,
                              int screenWidth, int screenHeight) {
    return Place(recordRect, fromGivenSetting, captionHeight,
                 SingleMonitorLayout(screenWidth, screenHeight));
}

void CWindowCascade::SetOrigin(const IntRect& rect, bool cascade) {
    m_origin = rect;
    m_cascade = cascade;
}
