#pragma once

// Text forms of the profile values that are more than one number. Each parser takes any text
// and gives the value or the caller's default; none can overrun anything.

#include "engine/hotkeys/quick_key_item.h"
#include "platform/geometry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr const char* DefaultEnabledFilterText =
    "_normal,protanopia,deutanopia,tritanoptia,hue_gbr,hue_brg";

// "left,top,width,height" -> (left, top, left + width, top + height); false unless all four
// numbers are there.
bool ParsePanelPosition(std::string_view text, IntRect& rect);
std::string FormatPanelPosition(const IntRect& rect);

// "id,hotkey,id,hotkey,..." with hot keys in C notation; reading stops at the first incomplete
// pair, empty part or zero hot key, and after 20 items.
std::vector<CQuickKeyItem> ParseQuickHotKeys(std::string_view text);
// Hot keys are written back as signed decimal.
std::string FormatQuickHotKeys(const std::vector<CQuickKeyItem>& items);

// Comma-separated IDs, trimmed, empty pieces dropped; an empty text stands for the default list.
std::vector<std::string> ParseEnabledFilterList(std::string_view text);
std::string FormatEnabledFilterList(const std::vector<std::string>& ids);
