#include "features/filter_window/filter_window_commands.h"

#include "features/filter_window/window_setting.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, 13> kZoomMenu = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 16, 20};

FilterWindowCommand Make(FilterWindowAction action, bool allWindows = false) {
    FilterWindowCommand command;
    command.action = action;
    command.allWindows = allWindows;
    return command;
}

FilterWindowCommand Select(int index, int enabledCount) {
    if (index < 0 || index >= enabledCount) {
        return Make(FilterWindowAction::None);
    }
    FilterWindowCommand command = Make(FilterWindowAction::SelectFilter);
    command.filterIndex = index;
    return command;
}

} // namespace

FilterWindowCommand MapFilterWindowKey(unsigned virtualKey, bool ctrl, bool shift, int zoom,
                                       int selectedIndex, int enabledCount) {
    using namespace filter_keys;
    const int step = ctrl ? 8 : 1;
    switch (virtualKey) {
    case kLeft:
    case kUp:
    case kRight:
    case kDown: {
        FilterWindowCommand command = Make(FilterWindowAction::MoveCursor);
        command.dx = virtualKey == kLeft ? -step : (virtualKey == kRight ? step : 0);
        command.dy = virtualKey == kUp ? -step : (virtualKey == kDown ? step : 0);
        return command;
    }
    case 'C': {
        if (!ctrl) {
            return Make(FilterWindowAction::None);
        }
        FilterWindowCommand command = Make(FilterWindowAction::CopyColor);
        command.original = shift;
        return command;
    }
    case 'F':
        return Make(FilterWindowAction::ToggleFix, ctrl);
    case 'M':
        return Make(FilterWindowAction::ToggleMark, ctrl);
    case 'H':
        return Make(FilterWindowAction::ToggleHighlight, ctrl);
    case 'N':
        return Make(ctrl ? FilterWindowAction::NewWindow : FilterWindowAction::None);
    case 'Z':
    case kAdd:
    case 'X':
    case kSubtract: {
        const bool in = virtualKey == 'Z' || virtualKey == kAdd;
        FilterWindowCommand command = Make(FilterWindowAction::SetZoom, ctrl);
        command.zoom = in ? std::min(zoom + 1, CWindowSetting::MaxZoom)
                          : std::max(zoom - 1, CWindowSetting::MinZoom);
        return command;
    }
    case kApps:
        return Make(FilterWindowAction::ContextMenu);
    case kPageUp:
        return selectedIndex >= 1 ? Select(selectedIndex - 1, enabledCount)
                                  : Make(FilterWindowAction::None);
    case kPageDown:
        return selectedIndex < enabledCount - 1 ? Select(selectedIndex + 1, enabledCount)
                                                : Make(FilterWindowAction::None);
    default:
        break;
    }
    if (virtualKey >= '1' && virtualKey <= '9') {
        return Select(static_cast<int>(virtualKey - '1'), enabledCount);
    }
    if (virtualKey >= kNumpad0 + 1 && virtualKey <= kNumpad0 + 9) {
        return Select(static_cast<int>(virtualKey - kNumpad0 - 1), enabledCount);
    }
    if (virtualKey == '0' || virtualKey == kNumpad0) {
        return Select(9, enabledCount);
    }
    return Make(FilterWindowAction::NotHandled);
}

std::string FilterMenuHint(int position) {
    if (position < 0 || position >= 10) {
        return std::string();
    }
    return position == 9 ? "\t0" : "\t" + std::to_string(position + 1);
}

int ZoomMenuPosition(int zoom) {
    const auto found = std::find(kZoomMenu.begin(), kZoomMenu.end(), zoom);
    return found == kZoomMenu.end() ? -1 : static_cast<int>(found - kZoomMenu.begin());
}
