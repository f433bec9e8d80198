#include "features/dialogs/general_setting_values.h"

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
