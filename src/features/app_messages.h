#pragma once

// The program's private window messages. Every subsystem that posts or receives one includes
// this header, so no subsystem needs another's window header to learn a number. Unless a line
// says otherwise, wParam carries the value and lParam is 0.

#include <windows.h>

// Tray icon -> main frame; lParam is the mouse message.
constexpr UINT WM_APP_TRAY_NOTIFY = 0x8001;
// Filter panel -> itself: end the desktop view.
constexpr UINT WM_APP_CLOSE_PANEL = 0x8002;
// Filter panel -> preview window: show the enabled filter at wParam.
constexpr UINT WM_APP_SELECT_FILTER = 0x8003;
// Tray menu -> main frame, lParam the delay in milliseconds before opening.
constexpr UINT WM_APP_OPEN_DESKTOP = 0x8004;
// Tray menu -> main frame: wParam the enabled position, lParam the delay.
constexpr UINT WM_APP_OPEN_QUICK = 0x8005;
// Window commands -> one or all filter windows.
constexpr UINT WM_APP_SET_ZOOM = 0x8006; // wParam a signed zoom
constexpr UINT WM_APP_SET_MARK = 0x8007;
constexpr UINT WM_APP_SET_TOPMOST = 0x8008;
constexpr UINT WM_APP_SET_FIX = 0x8009;
constexpr UINT WM_APP_SET_STATUSBAR = 0x800A;
// Main frame -> every filter window after the general settings changed.
constexpr UINT WM_APP_SETTINGS_CHANGED = 0x800B;
// Look-alike highlighting on (1) or off (0): window command -> one or all filter windows, and
// filter panel -> preview window.
constexpr UINT WM_APP_SET_HIGHLIGHT = 0x800C;
