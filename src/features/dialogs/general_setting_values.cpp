#include "features/dialogs/general_setting_values.h"

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
