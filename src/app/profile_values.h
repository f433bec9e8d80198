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

// What the store keeps of a list when some of its filters did not load at this start (a
// private filter with a typo, a folder that could not be read): the list as the program has it
// now, `current`, with each entry of the list stored before, `previous`, whose ID is `missing`
// put back right after the nearest earlier entry of `previous` that the list still has (first
// when there is none). A missing ID goes back once, and not at all when `current` has it
// again. What does not fit the stored form drops missing entries from the end: the enabled
// text must fit the store's text capacity, the quick keys also the 20 items that are read back.
// IDs are compared without regard to ASCII letter case.
bool ContainsID(const std::vector<std::string>& ids, const std::string& id);
std::vector<std::string> KeepMissingIDs(const std::vector<std::string>& previous,
                                        const std::vector<std::string>& current,
                                        const std::vector<std::string>& missing);
std::vector<CQuickKeyItem> KeepMissingQuickKeys(const std::vector<CQuickKeyItem>& previous,
                                                const std::vector<CQuickKeyItem>& current,
                                                const std::vector<std::string>& missing);

// The look-alike distance, a CIEDE2000 difference: plain decimal digits with at most one point
// ("3", "2.5"), from 0.1 to 100; anything else, blanks included, is the default 3.0.
double ParseLookAlikeDistance(std::string_view text);
// ReadLookAlikeDistance (engine/image/look_alike.h) is the same, false for a text that is not
// a distance.
// One decimal: "3.0", "12.5"; the parser reads it back to the same value rounded to tenths.
std::string FormatLookAlikeDistance(double distance);
