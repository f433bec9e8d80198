#include "app/general_setting_profile.h"

#include "app/app_profile.h"
#include "engine/hotkeys/hot_key_manager.h"

#include <gtest/gtest.h>

// The general dialog opened over the profile and stored back. The desktop key, the panel
// height fit, the waiting and update times, the colour format, the task bar, the image
// quality, the splash and the blur radius are opened, stored and opened again end to end.
TEST(GeneralSettingProfile, ControlsOpenFromTheProfile) {
    CAppProfile profile;
    profile.SetQuickWaitingTime(2000);
    profile.SetWindowColorDisplayFormat(3);
    profile.SetWindowSimpleStatusbarInfo(true);
    profile.SetBlurRadius(6); // beyond the list: no item
    const GeneralSettingControls c = LoadGeneralSettingControls(profile, CHotKeyManager());
    EXPECT_EQ(c.waitingTime, (ComboText{4, "2000"}));
    EXPECT_EQ(c.colorFormatItem, 3);
    EXPECT_TRUE(c.simpleStatusbarInfo);
    EXPECT_EQ(c.blurRadiusItem, -1);
}

TEST(GeneralSettingProfile, OkStoresTheBoxesAndTheRadius) {
    CAppProfile profile;
    profile.SetWindowSimpleStatusbarInfo(true);
    CHotKeyManager hotKeys;
    GeneralSettingControls c = LoadGeneralSettingControls(profile, hotKeys);
    c.simpleStatusbarInfo = false;
    c.showOriginalColorInfo = true;
    c.noSplash = true;
    c.blurRadiusItem = 3;
    StoreGeneralSettingControls(c, profile, hotKeys);
    EXPECT_FALSE(profile.IsWindowSimpleStatusbarInfo());
    EXPECT_TRUE(profile.IsWindowShowOriginalColorInfo());
    EXPECT_TRUE(profile.IsNoSplash());
    EXPECT_EQ(profile.GetBlurRadius(), 3u);
}

TEST(GeneralSettingProfile, UnselectedListsStoreTheirFallbacks) {
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
