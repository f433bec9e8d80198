// Resource identifiers shared by the resource script and the program. Kept to plain #defines
// so that the resource compiler can read it.
#pragma once

// Icons and bitmaps (always taken from the executable).
#define IDI_ZEZIRIV 100
#define IDI_TRAY 550
#define IDB_SPLASH 500

// Dialog templates.
#define IDD_ABOUT 200
#define IDC_ABOUT_ICON 1100
#define IDC_ABOUT_PRODUCT 1101
#define IDC_ABOUT_VERSION 1102

// The general setting dialog.
#define IDD_GENERAL_SETTING 201
#define IDC_DESKTOP_HOTKEY 1000
#define IDC_ADJUST_PANEL_HEIGHT 1001
#define IDC_QUICK_WAITING_TIME 1002
#define IDC_UPDATE_INTERVAL 1003
#define IDC_COLOR_FORMAT 1004
#define IDC_NOT_IN_TASKBAR 1005
#define IDC_SIMPLE_STATUSBAR 1006
#define IDC_SHOW_ORIGINAL_COLOR 1007
#define IDC_IMAGE_QUALITY 1008
#define IDC_NO_SPLASH 1009
#define IDC_BLUR_RADIUS 1010
#define IDC_VIEW_ALL_MONITORS 1030

// The filter setting dialog.
#define IDD_FILTER_SETTING 203
#define IDC_ENABLED_FILTERS 1100
#define IDC_DISABLED_FILTERS 1101
#define IDC_FILTER_UP 1102
#define IDC_FILTER_DOWN 1103
#define IDC_FILTER_ENABLE 1104
#define IDC_FILTER_DISABLE 1105
#define IDC_FILTER_ID 1106
#define IDC_FILTER_NAME 1107
#define IDC_FILTER_HOTKEY 1108

// The desktop view's filter panel (its controls are made in code).
#define IDC_PANEL_FILTERS 1050
#define IDC_PANEL_CLOSE 1051

// Menus.
#define IDR_TRAY_MENU 400
#define IDR_FILTER_WND_MENU 401

// Tray menu commands.
#define ID_APP_ABOUT 33000
#define ID_GENERAL_SETTING 33001
#define ID_FILTER_SETTING 33002
#define ID_APP_EXIT 33003
#define ID_DESKTOP_VIEW 33004
#define ID_OPEN_NEW_WINDOW 33006
#define ID_SAVE_ALL_WINDOW_STATUS 33007
#define ID_RESTORE_ALL_WINDOW_STATUS 33008
#define ID_CLOSE_ALL_WINDOW 33009

// Filter window context menu commands.
#define ID_ZOOM_BASE 33100
#define ID_MARK_CENTER 33140
#define ID_VIEW_TOPMOST 33141
#define ID_FIX_POSITION 33142
#define ID_VIEW_STATUSBAR 33143
#define ID_NEW_WINDOW 33144
#define ID_CLOSE_WINDOW 33145
#define ID_HIGHLIGHT_LOOK_ALIKES 33146

// One command per enabled filter: base + position in the enabled list.
#define ID_FILTER_BASE 33500
#define ID_FILTER_LAST 33999

// Strings.
#define IDS_PRODUCT_NAME 100
#define IDS_CLOSE 40000
#define IDS_FORMAT_RGB_DECIMAL 40020
#define IDS_FORMAT_RGB_HEX 40021
#define IDS_FORMAT_HSV 40022
#define IDS_FORMAT_HSV_CUSTOM 40023
#define IDS_FORMAT_HSV_SIMPLE 40024
#define IDS_QUALITY_LOW 40040
#define IDS_QUALITY_NORMAL 40041
#define IDS_QUALITY_HIGH 40042
#define IDS_REGISTER_HOTKEY_FAILED 41000
#define IDS_CREATE_WINDOW_FAILED 41001
#define IDS_COLOR_WORD_FIRST 41100
#define IDS_COLOR_WORD_LAST 41132

// Settings kept through faults: the checks' messages, a save that failed, the stored filters
// that did not load.
#define IDC_FORGET_MISSING 1110
#define IDS_HOTKEY_LIMIT_EXCEEDED 41010
#define IDS_HOTKEY_CONFLICT 41011
#define IDS_TOO_MANY_FILTERS 41012
#define IDS_SAVE_FAILED 41013
#define IDS_FORGET_MISSING_FILTERS 41014

// Look-alikes: the filter window's status word, the general setting's distance, the desktop
// view panel's check box.
#define IDC_LOOK_ALIKE_DISTANCE 1020
#define IDC_PANEL_HIGHLIGHT 1052
#define IDS_LOOK_ALIKES 41200
#define IDS_PANEL_HIGHLIGHT 41201
#define IDS_LOOK_ALIKE_DISTANCE_RANGE 41202
