#include "features/views/panel_geometry.h"

#include <algorithm>
#include <climits>
#include <cstdint>

IntRect FitPanelRect(const IntRect& stored, const IntRect& monitor) {
    const std::int64_t monitorWidth = std::int64_t{monitor.right} - monitor.left;
    const std::int64_t monitorHeight = std::int64_t{monitor.bottom} - monitor.top;
    if (monitorWidth <= 0 || monitorHeight <= 0 || monitorWidth > INT32_MAX ||
        monitorHeight > INT32_MAX) {
        return kDefaultPanelRect;
    }
    // Worked out on the monitor's own coordinates, where its corner is (0, 0).
    const IntRect onMonitor =
        stored == IntRect{}
            ? IntRect{}
            : IntRect{static_cast<std::int32_t>(std::clamp<std::int64_t>(
                          std::int64_t{stored.left} - monitor.left, INT32_MIN, INT32_MAX)),
                      static_cast<std::int32_t>(std::clamp<std::int64_t>(
                          std::int64_t{stored.top} - monitor.top, INT32_MIN, INT32_MAX)),
                      static_cast<std::int32_t>(std::clamp<std::int64_t>(
                          std::int64_t{stored.right} - monitor.left, INT32_MIN, INT32_MAX)),
                      static_cast<std::int32_t>(std::clamp<std::int64_t>(
                          std::int64_t{stored.bottom} - monitor.top, INT32_MIN, INT32_MAX))};
    const IntRect fitted =
        FitPanelRect(onMonitor, static_cast<int>(monitorWidth), static_cast<int>(monitorHeight));
    return {fitted.left + monitor.left, fitted.top + monitor.top, fitted.right + monitor.left,
            fitted.bottom + monitor.top};
}

IntRect ComputeViewRect(const MonitorLayout& layout, IntPoint pointer, bool allMonitors) {
    if (allMonitors) {
        return VirtualScreen(layout);
    }
    const MonitorInfo* monitor = MonitorAtPoint(layout, pointer);
    return monitor != nullptr ? monitor->rect : IntRect{};
}

IntRect ComputePanelMonitor(const MonitorLayout& layout, const IntRect& viewRect, bool allMonitors,
                            const IntRect& storedPanel) {
    // A view of every monitor with no panel stored yet: the primary, whose coordinates the
    // default rectangle is written in.
    const MonitorInfo* monitor =
        !allMonitors               ? NearestMonitor(layout, viewRect)
        : storedPanel == IntRect{} ? (layout.monitors.empty() ? nullptr : &layout.monitors.front())
                                   : NearestMonitor(layout, storedPanel);
    return monitor != nullptr ? monitor->rect : IntRect{};
}

IntRect FitPanelRect(const IntRect& stored, int screenWidth, int screenHeight) {
    if (stored == IntRect{} || screenWidth <= 0 || screenHeight <= 0) {
        return kDefaultPanelRect;
    }
    // 64 bits: a garbage rectangle (INT_MIN to INT_MAX) must not wrap while it is moved.
    std::int64_t left = stored.left;
    std::int64_t top = stored.top;
    std::int64_t width = std::int64_t{stored.right} - stored.left;
    std::int64_t height = std::int64_t{stored.bottom} - stored.top;
    if (width <= 0 || height <= 0) {
        return kDefaultPanelRect;
    }
    width = std::min<std::int64_t>(width, screenWidth);
    height = std::min<std::int64_t>(height, screenHeight);
    if (left + width > screenWidth) {
        left = screenWidth - width;
    }
    if (top + height > screenHeight) {
        top = screenHeight - height;
    }
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    return IntRect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                   static_cast<std::int32_t>(left + width),
                   static_cast<std::int32_t>(top + height)};
}

int PanelButtonWidth(int fontUnit) {
    return 7 * fontUnit;
}

int PanelButtonHeight(int fontUnit) {
    return (14 * fontUnit) / 8;
}

int PanelHeightForItems(const PanelMetrics& metrics, int itemCount) {
    const int items = std::clamp(itemCount, 1, kMaxFittedPanelItems);
    const int f = metrics.fontUnit;
    return metrics.itemHeight * items + 2 * metrics.edge + 4 * f + 2 * PanelButtonHeight(f) +
           metrics.nonClientHeight;
}

int PanelMinimumHeight(const PanelMetrics& metrics) {
    return PanelHeightForItems(metrics, 1);
}

int PanelInitialHeight(const PanelMetrics& metrics, int enabledCount, int storedHeight,
                       bool fitHeight) {
    if (fitHeight) {
        return PanelHeightForItems(metrics, enabledCount);
    }
    return std::max(storedHeight, PanelMinimumHeight(metrics));
}

PanelLayout LayoutPanel(int fontUnit, int clientWidth, int clientHeight) {
    const int f = fontUnit;
    const int buttonWidth = PanelButtonWidth(f);
    const int buttonHeight = PanelButtonHeight(f);
    const int listWidth = std::max(clientWidth - 2 * f, 0);
    const int listHeight = std::max(clientHeight - 4 * f - 2 * buttonHeight, 0);
    PanelLayout layout;
    layout.list = IntRect{f, f, f + listWidth, f + listHeight};
    const int checkTop = layout.list.bottom + f;
    layout.check = IntRect{f, checkTop, f + listWidth, checkTop + buttonHeight};
    const int buttonLeft = (clientWidth - buttonWidth) / 2;
    const int buttonTop = layout.check.bottom + f;
    layout.button =
        IntRect{buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + buttonHeight};
    return layout;
}

int DigitKeyItem(unsigned virtualKey) {
    constexpr unsigned kDigit0 = 0x30;
    constexpr unsigned kNumpad0 = 0x60;
    unsigned digit = 10;
    if (virtualKey >= kDigit0 && virtualKey <= kDigit0 + 9) {
        digit = virtualKey - kDigit0;
    } else if (virtualKey >= kNumpad0 && virtualKey <= kNumpad0 + 9) {
        digit = virtualKey - kNumpad0;
    } else {
        return -1;
    }
    // The keys run 1, 2, ..., 9, 0 along the keyboard, so 0 is the tenth item.
    return digit == 0 ? 9 : static_cast<int>(digit) - 1;
}

int DigitKeySelection(int item, int itemCount, int selectedItem) {
    if (item < 0 || item >= itemCount || item == selectedItem) {
        return -1;
    }
    return item;
}
