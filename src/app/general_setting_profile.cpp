#include "app/general_setting_profile.h"

#include "app/app_profile.h"
#include "app/profile_values.h"
#include "engine/hotkeys/hot_key_manager.h"
#include "engine/image/look_alike.h"

GeneralSettingControls LoadGeneralSettingControls(const CAppProfile& profile,
                                                  const CHotKeyManager& hotKeys) {
    GeneralSettingControls controls;
    controls.desktopHotKeyWord = HotKeyControlWord(hotKeys.GetDesktopHotKeyForControl());
    controls.adjustInitialPanelHeight = profile.IsAdjustInitialPanelHeight();
    controls.waitingTime = ComboTextForNumber(profile.GetQuickWaitingTime(), kWaitingTimeItems);
    controls.updateInterval =
        ComboTextForNumber(profile.GetWindowUpdateInterval(), kUpdateIntervalItems);
    controls.colorFormatItem = static_cast<int>(profile.GetWindowColorDisplayFormat());
    controls.notInTaskBar = profile.IsWindowUnvisibleTaskBar();
    controls.simpleStatusbarInfo = profile.IsWindowSimpleStatusbarInfo();
    controls.showOriginalColorInfo = profile.IsWindowShowOriginalColorInfo();
    controls.imageQualityItem = ImageQualityItemFromValue(profile.GetImageQuality());
    controls.noSplash = profile.IsNoSplash();
    controls.viewAllMonitors = profile.IsViewAllMonitors();
    // The list offers 0 to 5; a larger radius shows no item and is kept by OK.
    const std::uint32_t radius = profile.GetBlurRadius();
    controls.blurRadiusItem = radius < kBlurRadiusItems.size() ? static_cast<int>(radius) : -1;
    controls.lookAlikeDistance = FormatLookAlikeDistance(profile.GetLookAlikeDistance());
    return controls;
}

void StoreGeneralSettingControls(const GeneralSettingControls& controls, CAppProfile& profile,
                                 CHotKeyManager& hotKeys) {
    hotKeys.SetDesktopHotKeyFromControl(controls.desktopHotKeyWord);
    profile.SetAdjustInitialPanelHeight(controls.adjustInitialPanelHeight);
    profile.SetQuickWaitingTime(ReadUnsignedText(controls.waitingTime.text));
    profile.SetWindowUpdateInterval(ReadUnsignedText(controls.updateInterval.text));
    profile.SetWindowColorDisplayFormat(
        controls.colorFormatItem >= 0 ? static_cast<std::uint32_t>(controls.colorFormatItem) : 0);
    profile.SetWindowUnvisibleTaskBar(controls.notInTaskBar);
    profile.SetWindowSimpleStatusbarInfo(controls.simpleStatusbarInfo);
    profile.SetWindowShowOriginalColorInfo(controls.showOriginalColorInfo);
    profile.SetImageQuality(ImageQualityValueFromItem(controls.imageQualityItem));
    profile.SetNoSplash(controls.noSplash);
    profile.SetViewAllMonitors(controls.viewAllMonitors);
    if (controls.blurRadiusItem >= 0) {
        profile.SetBlurRadius(static_cast<std::uint32_t>(controls.blurRadiusItem));
    }
    // A text that is no distance keeps the stored one, as a list without a selection does.
    double distance = 0;
    if (ReadLookAlikeDistance(controls.lookAlikeDistance, distance)) {
        profile.SetLookAlikeDistance(distance);
    }
}
