#pragma once

// Geometry and keys of the desktop view's filter panel, apart from the window that uses
// them: where the panel opens, how tall it is, where its list and button sit, and which list
// item a digit key picks. All sizes are pixels; f is the font unit, the absolute height of the
// default GUI font.

#include "platform/geometry.h"
#include "platform/monitor_layout.h"

// The panel's rectangle when the profile holds none.
constexpr IntRect kDefaultPanelRect{0, 0, 200, 200};
// The height fit sizes the list for at most this many items; the list scrolls beyond.
constexpr int kMaxFittedPanelItems = 30;

// Where the stored rectangle opens on a screen of that size: no rectangle (all zero), one
// without area or a screen without size give the default; a rectangle larger than the screen
// is cut to its size, one partly off the screen is moved back onto it, the top-left corner
// winning over the bottom-right. Never overflows, whatever the stored numbers.
IntRect FitPanelRect(const IntRect& stored, int screenWidth, int screenHeight);
// The same on a monitor anywhere on the virtual screen: the default opens at its top-left
// corner, and a stored rectangle is moved and cut to lie on it.
IntRect FitPanelRect(const IntRect& stored, const IntRect& monitor);

// The screen rectangle a quick or desktop view covers: the monitor under the pointer, or the
// rectangle bounding every monitor. Empty for an empty layout.
IntRect ComputeViewRect(const MonitorLayout& layout, IntPoint pointer, bool allMonitors);
// The monitor the desktop view's panel opens on: the one the view covers (nearest its
// rectangle); a view of every monitor keeps the panel on the monitor it was left on, or opens
// it on the primary the first time.
IntRect ComputePanelMonitor(const MonitorLayout& layout, const IntRect& viewRect, bool allMonitors,
                            const IntRect& storedPanel);

// What the panel's height depends on, measured from the real window and its controls.
struct PanelMetrics {
    int fontUnit = 0;        // f
    int itemHeight = 0;      // height of one list item
    int edge = 0;            // width of the list's sunken 3-D edge, on each side
    int nonClientHeight = 0; // the panel's frame and caption: window height - client height
};

int PanelButtonWidth(int fontUnit);  // 7 f
int PanelButtonHeight(int fontUnit); // 14 f / 8, truncated

// Window height at which the list shows exactly `itemCount` whole items (taken as 1 to
// kMaxFittedPanelItems) above the check box and the button, each a button high: f above the
// list, f between list and check box, f between check box and button and f below the button.
int PanelHeightForItems(const PanelMetrics& metrics, int itemCount);
// The smallest height the user may size the panel to: one item and the button.
int PanelMinimumHeight(const PanelMetrics& metrics);
// The height the panel opens with: fitted to the enabled filters when the fit is on, otherwise
// the stored height, but never below the minimum.
int PanelInitialHeight(const PanelMetrics& metrics, int enabledCount, int storedHeight,
                       bool fitHeight);

// Client-area positions of the controls, as (left, top, right, bottom). Widths and heights
// never go negative on a panel too small for them.
struct PanelLayout {
    IntRect list;
    IntRect check; // "Highlight look-alikes", as wide as the list
    IntRect button;
};
PanelLayout LayoutPanel(int fontUnit, int clientWidth, int clientHeight);

// The list item a key-down of that virtual key picks: digits 1-9 on the main keys or the
// keypad pick items 0-8 and 0 picks item 9; -1 for any other key.
int DigitKeyItem(unsigned virtualKey);

// What a digit key does to a list of `itemCount` items with `selectedItem` selected (-1 none):
// the item to select and announce, or -1 when the item does not exist or is already selected.
// The key counts as handled either way.
int DigitKeySelection(int item, int itemCount, int selectedItem);
