#include "features/dialogs/general_setting_values.h"

#include "app/app_profile.h"
#include "app/general_setting_profile.h"
#include "engine/hotkeys/hot_key_manager.h"

#include <gtest/gtest.h>

#include <string>

TEST(GeneralSettingValues, TypedNumbersAreReadAsUnsignedDecimalWithoutOverflow) {
    const struct {
        std::string text;
        std::uint32_t value;
    } cases[] = {
        {"750", 750},
        {"  \t42 ms", 42},
        {"007", 7},
        {"12abc34", 12},
        {"", 0},
        {"   ", 0},
        {"fast", 0},
        {"-5", 0},
        {"+5", 0},
        {"0x10", 0},
        {"4294967295", 4294967295u},
        {"4294967296", 4294967295u},
        {"99999999999", 4294967295u},
        {std::string(600, '9'), 4294967295u},
        // Only the first 511 characters are read, as through the dialog's buffer.
        {std::string(510, ' ') + "9", 9},
        {std::string(511, ' ') + "9", 0},
        {std::string(509, ' ') + "123", 12},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadUnsignedText(c.text), c.value) << '"' << c.text.substr(0, 20) << '"';
    }
}

TEST(GeneralSettingValues, ImageQualityOpensAsLowNormalOrHighAndStoresThreeSevenOrTwelve) {
    // Low is 1 to 6, high exactly 12; everything else, 0 included, opens as normal.
    const std::uint32_t items[][2] = {{0, 1}, {1, 0}, {6, 0}, {7, 1}, {11, 1}, {12, 2}, {13, 1}};
    for (const auto& [stored, item] : items) {
        EXPECT_EQ(ImageQualityItemFromValue(stored), static_cast<int>(item)) << stored;
    }
    const struct {
        int item;
        std::uint32_t value;
    } stores[] = {{0, 3}, {1, 7}, {2, 12}, {-1, 7}, {3, 7}};
    for (const auto& s : stores) {
        EXPECT_EQ(ImageQualityValueFromItem(s.item), s.value) << s.item;
    }
}

TEST(GeneralSettingValues, ControlsOpenFromTheProfileAndTheDesktopKey) {
    CAppProfile profile;
    profile.SetAdjustInitialPanelHeight(false);
    profile.SetQuickWaitingTime(2000);
    profile.SetWindowUpdateInterval(75);
    profile.SetWindowColorDisplayFormat(3);
    profile.SetWindowSimpleStatusbarInfo(true);
    profile.SetImageQuality(5);
    profile.SetNoSplash(true);
    profile.SetBlurRadius(6); // beyond the list: no item
    CHotKeyManager hotKeys;
    hotKeys.SetDesktopHotKey(0x3007A); // Control + Alt + F11

    const GeneralSettingControls c = LoadGeneralSettingControls(profile, hotKeys);
    EXPECT_EQ(c.desktopHotKeyWord, 0x067Au);
    EXPECT_FALSE(c.adjustInitialPanelHeight);
    EXPECT_EQ(c.waitingTime, (ComboText{4, "2000"}));
    EXPECT_EQ(c.updateInterval, (ComboText{-1, "75"}));
    EXPECT_EQ(c.colorFormatItem, 3);
    EXPECT_FALSE(c.notInTaskBar);
    EXPECT_TRUE(c.simpleStatusbarInfo);
    EXPECT_FALSE(c.showOriginalColorInfo);
    EXPECT_EQ(c.imageQualityItem, 0);
    EXPECT_TRUE(c.noSplash);
    EXPECT_EQ(c.blurRadiusItem, -1);
}

TEST(GeneralSettingValues, OkStoresEveryControlAndReopensWithWhatItStored) {
    CAppProfile profile;
    profile.SetImageQuality(5);
    CHotKeyManager hotKeys;
    hotKeys.SetDesktopHotKey(0x2007A);
    GeneralSettingControls c = LoadGeneralSettingControls(profile, hotKeys);
    c.desktopHotKeyWord = 0x0641; // Control + Alt + A in the control's flags
    c.adjustInitialPanelHeight = false;
    c.waitingTime = {-1, "750"};
    c.updateInterval = {-1, "fast"};
    c.colorFormatItem = 4;
    c.notInTaskBar = true;
    c.showOriginalColorInfo = true;
    c.noSplash = true;
    c.blurRadiusItem = 3;

    // (Saving and loading the profile is the profile test's.)
    StoreGeneralSettingControls(c, profile, hotKeys);
    EXPECT_EQ(hotKeys.GetDesktopHotKey(), 0x30041u);
    EXPECT_FALSE(profile.IsAdjustInitialPanelHeight());
    EXPECT_EQ(profile.GetQuickWaitingTime(), 750u);
    EXPECT_EQ(profile.GetWindowUpdateInterval(), 0u);
    EXPECT_EQ(profile.GetWindowColorDisplayFormat(), 4u);
    EXPECT_TRUE(profile.IsWindowUnvisibleTaskBar());
    EXPECT_FALSE(profile.IsWindowSimpleStatusbarInfo());
    EXPECT_TRUE(profile.IsWindowShowOriginalColorInfo());
    // Opened as "low" from 5 and left alone: stored as low's value.
    EXPECT_EQ(profile.GetImageQuality(), 3u);
    EXPECT_TRUE(profile.IsNoSplash());
    EXPECT_EQ(profile.GetBlurRadius(), 3u);

    // Reopened: the typed waiting time shows as text with no item, the key as typed.
    const GeneralSettingControls again = LoadGeneralSettingControls(profile, hotKeys);
    EXPECT_EQ(again.waitingTime, (ComboText{-1, "750"}));
    EXPECT_EQ(again.updateInterval, (ComboText{-1, "0"}));
    EXPECT_EQ(again.desktopHotKeyWord, 0x0641u);
}

TEST(GeneralSettingValues, UnselectedListsStoreTheirFallbacks) {
    CAppProfile profile;
    profile.SetWindowColorDisplayFormat(2);
    profile.SetImageQuality(0);
    profile.SetBlurRadius(4);
    CHotKeyManager hotKeys;
    GeneralSettingControls c = LoadGeneralSettingControls(profile, hotKeys);
    EXPECT_EQ(c.imageQualityItem, 1) << "0 opens as normal";
    c.colorFormatItem = -1;
    c.imageQualityItem = -1;
    c.blurRadiusItem = -1;
    c.desktopHotKeyWord = 0;
    StoreGeneralSettingControls(c, profile, hotKeys);
    EXPECT_EQ(profile.GetWindowColorDisplayFormat(), 0u);
    EXPECT_EQ(profile.GetImageQuality(), 7u);
    EXPECT_EQ(profile.GetBlurRadius(), 4u) << "no selection leaves the radius";
    EXPECT_EQ(hotKeys.GetDesktopHotKey(), 0u) << "an empty control is no key";
}
