#pragma once

// What the general setting dialog shows and stores, without its window: the controls' states
// as plain values and how typed numbers and list items read. The application fills the values
// from its settings and takes them back on OK.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The fixed items of the three number combos, in list order.
inline constexpr std::array<const char*, 6> kWaitingTimeItems = {"0",    "200",  "500",
                                                                 "1000", "2000", "5000"};
inline constexpr std::array<const char*, 6> kUpdateIntervalItems = {"50",  "100", "200",
                                                                    "300", "500", "1000"};
inline constexpr std::array<const char*, 6> kBlurRadiusItems = {"0", "1", "2", "3", "4", "5"};

// The image quality list: low, normal, high.
inline constexpr std::array<std::uint32_t, 3> kImageQualityValues = {3, 7, 12};
constexpr int kImageQualityNormalItem = 1;

// Only this much of a combo's text is read, as the dialog reads it through a fixed buffer.
constexpr std::size_t kComboTextLimit = 511;

// Leading white space is skipped and decimal digits are read up to the first other character;
// text without a leading digit gives 0. A number beyond 32 bits stays at the largest value
// rather than wrapping into a small one.
std::uint32_t ReadUnsignedText(std::string_view text);

// The list item a stored image quality opens as: 12 is high, 1 to 6 low, anything else normal.
int ImageQualityItemFromValue(std::uint32_t quality);
// The value an item stores; no selection (or anything unknown) stores normal.
std::uint32_t ImageQualityValueFromItem(int item);

// An editable combo: a selected item, or (item -1) a text in its edit field.
struct ComboText {
    int item = -1;
    std::string text;

    bool operator==(const ComboText&) const = default;
};

// The value as "%u": the item that reads exactly so when there is one, else the text alone.
template <std::size_t N>
ComboText ComboTextForNumber(std::uint32_t value, const std::array<const char*, N>& items) {
    ComboText combo;
    combo.text = std::to_string(value);
    for (std::size_t i = 0; i < N; ++i) {
        if (combo.text == items[i]) {
            combo.item = static_cast<int>(i);
            break;
        }
    }
    return combo;
}

// The hot key manager hands a key out as key (bits 0-15) and control flags (bits 16-31); the
// hot key control takes the key's low byte and the flags as one word.
constexpr unsigned HotKeyControlWord(std::uint32_t keyAndFlags) {
    return (keyAndFlags & 0xFFu) | (((keyAndFlags >> 16) & 0xFFu) << 8);
}

// Every control of the dialog, as the user sees it. Lists hold an item index (-1: none).
struct GeneralSettingControls {
    unsigned desktopHotKeyWord = 0;
    bool adjustInitialPanelHeight = false;
    ComboText waitingTime;
    ComboText updateInterval;
    int colorFormatItem = -1;
    bool notInTaskBar = false;
    bool simpleStatusbarInfo = false;
    bool showOriginalColorInfo = false;
    int imageQualityItem = -1;
    bool noSplash = false;
    int blurRadiusItem = -1;
    std::string lookAlikeDistance; // as typed
    bool viewAllMonitors = false;

    bool operator==(const GeneralSettingControls&) const = default;
};
