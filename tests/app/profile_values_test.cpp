#include "app/profile_values.h"

#include <gtest/gtest.h>

namespace {

using Items = std::vector<std::pair<std::string, std::uint32_t>>;

Items Flatten(const std::vector<CQuickKeyItem>& items) {
    Items out;
    for (const auto& item : items) {
        out.emplace_back(item.GetID(), item.GetHotKey());
    }
    return out;
}

TEST(QuickHotKeysTest, ParsesPairsUntilTheFirstBadOne) {
    const struct {
        const char* text;
        Items items;
    } cases[] = {
        {"", {}},
        {"protanopia", {}},
        {"protanopia,0x2007A,hue_gbr,131195", {{"protanopia", 0x2007A}, {"hue_gbr", 131195}}},
        {" protanopia , 0x10 ,", {{"protanopia", 16}}},
        {"a,0,b,5", {}},
        {"a,5,b,0,c,6", {{"a", 5}}},
        {"a,5,,6", {{"a", 5}}},
        {"a,5,b,", {{"a", 5}}},
        {"a,5,b", {{"a", 5}}},
        {"a,010,b,-1", {{"a", 8}, {"b", 0xFFFFFFFF}}},
        {"a,12junk,b,7", {{"a", 12}, {"b", 7}}},
        {",5", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Flatten(ParseQuickHotKeys(c.text)), c.items) << c.text;
    }
}

TEST(QuickHotKeysTest, ReadsAtMostTwentyItems) {
    std::string text;
    for (int i = 1; i <= 25; ++i) {
        text += "f" + std::to_string(i) + "," + std::to_string(i) + ",";
    }
    const auto items = ParseQuickHotKeys(text);
    ASSERT_EQ(items.size(), 20u);
    EXPECT_EQ(items.back().GetID(), "f20");
}

TEST(QuickHotKeysTest, WritesSignedDecimalThatReadsBack) {
    const std::vector<CQuickKeyItem> items = {{"protanopia", 0x2007A}, {"x", 0x80000001}};
    const std::string text = FormatQuickHotKeys(items);
    EXPECT_EQ(text, "protanopia,131194,x,-2147483647");
    EXPECT_EQ(Flatten(ParseQuickHotKeys(text)), Flatten(items));
    EXPECT_EQ(FormatQuickHotKeys({}), "");
}

TEST(EnabledFilterListTest, SplitsTrimsAndDropsEmptyPieces) {
    using Ids = std::vector<std::string>;
    const struct {
        const char* text;
        Ids ids;
    } cases[] = {
        {"", {"_normal", "protanopia", "deutanopia", "tritanoptia", "hue_gbr", "hue_brg"}},
        {"  protanopia  ,,hue_gbr", {"protanopia", "hue_gbr"}},
        {" , ,", {}},
        {"a", {"a"}},
        {"a,a", {"a", "a"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseEnabledFilterList(c.text), c.ids) << c.text;
    }
    EXPECT_EQ(FormatEnabledFilterList({"_normal", "hue_brg"}), "_normal,hue_brg");
}

TEST(PanelPositionTest, ReadsLeftTopWidthHeight) {
    const struct {
        const char* text;
        bool ok;
        IntRect rect;
    } cases[] = {
        {"0,0,200,200", true, {0, 0, 200, 200}},
        {"-10, 20,300,40 trailing", true, {-10, 20, 290, 60}},
        {"1,2,3", false, {}},
        {"1,2,3,", false, {}},
        {"1 ,2,3,4", false, {}},
        {"a,2,3,4", false, {}},
        {"2147483647,0,1,0", true, {2147483647, 0, INT32_MIN, 0}},
    };
    for (const auto& c : cases) {
        IntRect rect{7, 7, 7, 7};
        EXPECT_EQ(ParsePanelPosition(c.text, rect), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(rect, c.rect) << c.text;
        }
    }
    EXPECT_EQ(FormatPanelPosition({-10, 20, 290, 60}), "-10,20,300,40");
}

} // namespace
