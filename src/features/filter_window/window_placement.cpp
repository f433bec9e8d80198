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
long long UsableSize(long long size, long long defaultSize, int screenSize) {
    if (size <= 0) {
        size = defaultSize;
    }
    if (screenSize > 0 && size > screenSize) {
        size = screenSize;
    }
    return size;
}

} // namespace

IntRect CWindowCascade::Place(const IntRect& recordRect, bool fromGivenSetting, int captionHeight,
                              int screenWidth, int screenHeight) {
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

    long long left = r.left;
    long long top = r.top;
    const long long width = UsableSize(WidthOf(r), WidthOf(kDefaultRect), screenWidth);
    const long long height = UsableSize(HeightOf(r), HeightOf(kDefaultRect), screenHeight);
    if (left < 0 || left + width >= screenWidth) {
        left = 0;
    }
    if (top < 0 || top + height >= screenHeight) {
        top = 0;
    }
    const IntRect placed{ToInt32(left), ToInt32(top), ToInt32(left + width), ToInt32(top + height)};
    m_origin = placed;
    return placed;
}

void CWindowCascade::SetOrigin(const IntRect& rect, bool cascade) {
    m_origin = rect;
    m_cascade = cascade;
}
