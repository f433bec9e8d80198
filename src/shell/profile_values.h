#pragma once

// Text forms of the profile values that are more than one number. Each parser takes any text
// and gives the value or the caller's default; none can overrun anything.

#include "window/window_setting.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One quick-mode hot key as it is kept in the profile.
class CQuickKeyItem {
public:
    CQuickKeyItem() = default;
    CQuickKeyItem(std::string id, std::uint32_t hotKey) : m_id(std::move(id)), m_hotKey(hotKey) {}
    CQuickKeyItem(const CQuickKeyItem&) = default;
    CQuickKeyItem& operator=(const CQuickKeyItem&) = default;
    virtual ~CQuickKeyItem() = default;

    const std::string& GetID() const { return m_id; }
    std::uint32_t GetHotKey() const { return m_hotKey; }
    void SetID(std::string id) { m_id = std::move(id); }
    void SetHotKey(std::uint32_t hotKey) { m_hotKey = hotKey; }

private:
    std::string m_id;
    std::uint32_t m_hotKey = 0;
};

constexpr std::size_t MaxQuickKeyItems = 20;
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
