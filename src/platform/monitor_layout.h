#pragma once

#include "platform/geometry.h"

#include <vector>

// The monitors as windows are laid out on them: each monitor's rectangle, its work area (the
// rectangle less the task bar and other desk bands) and its DPI, all in the physical pixels of
// the virtual screen, where a monitor left of or above the primary has negative coordinates.
// The program reads it from the system (GetSystemMonitorLayout); tests make their own.
struct MonitorInfo {
    IntRect rect;
    IntRect work;
    int dpi = 96;
    friend bool operator==(const MonitorInfo&, const MonitorInfo&) = default;
};

// The primary monitor first. Never empty when it comes from the system: without an answer the
// layout is one monitor of the primary screen's size.
struct MonitorLayout {
    std::vector<MonitorInfo> monitors;
};

// The DPI the system meant: 0, negative or absurd values (beyond 16 times the standard) are
// taken as the standard 96.
int UsableDpi(int dpi);

// A layout of one monitor whose work area is the whole screen, as the program was built for.
MonitorLayout SingleMonitorLayout(int width, int height);

// The monitor with most of the rectangle on it, or, when it lies on none, the one nearest to
// it; the first monitor wins ties. A rectangle without area counts as its top-left point. Null
// for an empty layout.
const MonitorInfo* NearestMonitor(const MonitorLayout& layout, const IntRect& rect);
// The monitor holding the point, or the one nearest to it; null for an empty layout.
const MonitorInfo* MonitorAtPoint(const MonitorLayout& layout, const IntPoint& point);
// The bounding rectangle of every monitor; empty for an empty layout.
IntRect VirtualScreen(const MonitorLayout& layout);

#if defined(_WIN32)
struct HWND__;
struct HFONT__;
// The layout of the monitors attached now (EnumDisplayMonitors, GetMonitorInfo and, where the
// system has it, GetDpiForMonitor).
MonitorLayout GetSystemMonitorLayout();
// The same with the rectangles only (each work area the rectangle, each DPI 96): what a screen
// copy needs, without a DPI query per monitor.
MonitorLayout GetSystemMonitorRects();
// The DPI of the monitor a window is on (GetDpiForWindow where the system has it), usable.
int GetWindowDpi(HWND__* window);
// The DPI the system scales the stock fonts for (the primary monitor's at sign-in), usable.
int GetSystemDpi();
// The default GUI font made for the DPI (the stock font's height scaled from the system DPI);
// the caller owns it. Null when it is the stock font's own DPI, or the font cannot be made:
// the stock font is then the one to use.
HFONT__* CreateGuiFontForDpi(int dpi);
// The status bar font the system's own metrics give for the DPI (the bar's default font, at
// the system DPI); the caller owns it. Null at the system DPI, where the bar keeps its own.
HFONT__* CreateStatusFontForDpi(int dpi);
// A system metric (SM_CXEDGE and the like) at the DPI: GetSystemMetricsForDpi where the
// system has it, else the system DPI's value scaled.
int SystemMetricForDpi(int index, int dpi);
// The height a window's frame and caption take at the DPI (AdjustWindowRectExForDpi), or -1
// where the system cannot tell.
int FrameHeightForDpi(HWND__* window, int dpi);
#endif
