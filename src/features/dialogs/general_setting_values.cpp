#include "features/dialogs/general_setting_values.h"

#include "app/app_profile.h"
#include "engine/hotkeys/hot_key_manager.h"
#include "platform/text_util.h"

#include <limits>

std::uint32_t ReadUnsignedText(std::string_view text) {
    text = text.substr(0, kComboTextLimit);
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    constexpr std::uint32_t largest = std::numeric_limits<std::uint32_t>::max();
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<std::uint32_t>(text[i] - '0');
        if (value > (largest - digit) / 10) {
            return largest;
        }
        value = value * 10 + digit;
    }
    return value;
}

int ImageQualityItemFromValue(std::uint32_t quality) {
    if (quality == kImageQualityValues[2]) {
        return 2;
    }
    if (quality >= 1 && quality <= 6) {
        return 0;
    }
    return kImageQualityNormalItem;
}

std::uint32_t ImageQualityValueFromItem(int item) {
    if (item < 0 || item >= static_cast<int>(kImageQualityValues.size())) {
        item = kImageQualityNormalItem;
    }
    return kImageQualityValues[static_cast<std::size_t>(item)];
}

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
    // The list offers 0 to 5; a larger radius shows no item and is kept by OK.
    const std::uint32_t radius = profile.GetBlurRadius();
    controls.blurRadiusItem = radius < kBlurRadiusItems.size() ? static_cast<int>(radius) : -1;
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
    if (controls.blurRadiusItem >= 0) {
        profile.SetBlurRadius(static_cast<std::uint32_t>(controls.blurRadiusItem));
    }
}
