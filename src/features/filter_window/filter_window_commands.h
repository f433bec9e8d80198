#pragma once

// What the filter window's keys and menu commands mean, decided without a window so that every
// row can be tested: the window only carries the answer out.

#include <string>

enum class FilterWindowAction {
    NotHandled,      // default processing (Alt+F4 still closes the window)
    None,            // handled, nothing to do
    MoveCursor,      // by (dx, dy)
    CopyColor,       // original: the colour before filtering
    ToggleFix,       // allWindows: this window's negation for every window
    ToggleMark,      //
    ToggleHighlight, // look-alikes
    NewWindow,       //
    SetZoom,         // `zoom`, for this window or (allWindows) every window
    ContextMenu,     // at the client origin
    SelectFilter,    // by key: always re-selects `filterIndex`
};

struct FilterWindowCommand {
    FilterWindowAction action = FilterWindowAction::NotHandled;
    bool allWindows = false;
    bool original = false;
    int dx = 0;
    int dy = 0;
    int zoom = 0;
    int filterIndex = 0;
};

// Virtual-key codes the table knows, as the platform numbers them.
namespace filter_keys {
constexpr unsigned kPageUp = 0x21;
constexpr unsigned kPageDown = 0x22;
constexpr unsigned kLeft = 0x25;
constexpr unsigned kUp = 0x26;
constexpr unsigned kRight = 0x27;
constexpr unsigned kDown = 0x28;
constexpr unsigned kApps = 0x5D;
constexpr unsigned kNumpad0 = 0x60;
constexpr unsigned kAdd = 0x6B;
constexpr unsigned kSubtract = 0x6D;
} // namespace filter_keys

// A key pressed in a filter window showing `zoom` with the enabled filter `selectedIndex` of
// `enabledCount` selected; ctrl and shift as they were when the key was pressed.
FilterWindowCommand MapFilterWindowKey(unsigned virtualKey, bool ctrl, bool shift, int zoom,
                                       int selectedIndex, int enabledCount);

// The hint after a filter's name in the context menu: its digit key, "\t1" ... "\t9", "\t0"
// for the tenth, nothing from the eleventh on.
std::string FilterMenuHint(int position);
// The position of the zoom in the context menu's zoom list, or -1 when the list lacks it.
int ZoomMenuPosition(int zoom);
