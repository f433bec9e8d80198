#include "platform/monitor_layout.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kStandardDpi = 96;
constexpr int kLargestDpi = 16 * kStandardDpi;

long long Overlap(const IntRect& a, const IntRect& b) {
    const long long width =
        static_cast<long long>(std::min(a.right, b.right)) - std::max(a.left, b.left);
    const long long height =
        static_cast<long long>(std::min(a.bottom, b.bottom)) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// How far apart along one axis: 0 when the spans overlap or touch.
long long Gap(long long lowA, long long highA, long long lowB, long long highB) {
    if (highA <= lowB) {
        return lowB - highA;
    }
    if (highB <= lowA) {
        return lowA - highB;
    }
    return 0;
}

// Squared distance between the rectangles (a point is a rectangle without area); in floating
// point, since gaps across the whole coordinate range square beyond 64 bits.
double DistanceSquared(const IntRect& a, const IntRect& b) {
    const auto dx = static_cast<double>(Gap(a.left, std::max(a.left, a.right), b.left, b.right));
    const auto dy = static_cast<double>(Gap(a.top, std::max(a.top, a.bottom), b.top, b.bottom));
    return dx * dx + dy * dy;
}

bool HasArea(const IntRect& r) {
    return r.right > r.left && r.bottom > r.top;
}

} // namespace

int UsableDpi(int dpi) {
    return dpi > 0 && dpi <= kLargestDpi ? dpi : kStandardDpi;
}

MonitorLayout SingleMonitorLayout(int width, int height) {
    const IntRect screen{0, 0, width, height};
    return MonitorLayout{{MonitorInfo{screen, screen, kStandardDpi}}};
}

const MonitorInfo* NearestMonitor(const MonitorLayout& layout, const IntRect& rect) {
    const MonitorInfo* best = nullptr;
    if (HasArea(rect)) {
        long long most = 0;
        for (const MonitorInfo& monitor : layout.monitors) {
            const long long overlap = Overlap(rect, monitor.rect);
            if (overlap > most) {
                most = overlap;
                best = &monitor;
            }
        }
        if (best != nullptr) {
            return best;
        }
    }
    const IntRect from = HasArea(rect) ? rect : IntRect{rect.left, rect.top, rect.left, rect.top};
    double nearest = 0;
    for (const MonitorInfo& monitor : layout.monitors) {
        const double distance = DistanceSquared(from, monitor.rect);
        if (best == nullptr || distance < nearest) {
            nearest = distance;
            best = &monitor;
        }
    }
    return best;
}

const MonitorInfo* MonitorAtPoint(const MonitorLayout& layout, const IntPoint& point) {
    for (const MonitorInfo& monitor : layout.monitors) {
        if (point.x >= monitor.rect.left && point.x < monitor.rect.right &&
            point.y >= monitor.rect.top && point.y < monitor.rect.bottom) {
            return &monitor;
        }
    }
    return NearestMonitor(layout, IntRect{point.x, point.y, point.x, point.y});
}

IntRect VirtualScreen(const MonitorLayout& layout) {
    if (layout.monitors.empty()) {
        return {};
    }
    IntRect bounds = layout.monitors.front().rect;
    for (const MonitorInfo& monitor : layout.monitors) {
        bounds.left = std::min(bounds.left, monitor.rect.left);
        bounds.top = std::min(bounds.top, monitor.rect.top);
        bounds.right = std::max(bounds.right, monitor.rect.right);
        bounds.bottom = std::max(bounds.bottom, monitor.rect.bottom);
    }
    return bounds;
}
