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

// Texts stand for lists here: "a,b" is {"a", "b"}.
std::vector<std::string> Ids(std::string_view text) {
    return text.empty() ? std::vector<std::string>{} : ParseEnabledFilterList(text);
}

TEST(KeepMissingTest, FiltersThatDidNotLoadKeepTheirPlacesInTheEnabledList) {
    const struct {
        const char* previous;
        const char* current;
        const char* missing;
        const char* kept;
    } cases[] = {
        // Nothing missing: the program's list as it is, also when the user changed it.
        {"_normal,a,b", "b,_normal", "", "b,_normal"},
        {"_normal,mine,a", "_normal,a", "mine", "_normal,mine,a"},
        {"mine,_normal,a", "_normal,a", "mine", "mine,_normal,a"},
        {"_normal,a,mine", "_normal,a", "mine", "_normal,a,mine"},
        // Consecutive missing ones stay together and in order.
        {"_normal,m1,m2,a", "_normal,a", "m1,m2", "_normal,m1,m2,a"},
        // All filters missing: the program's list has "_normal" alone, put after them.
        {"m1,m2,m3", "_normal", "m1,m2,m3", "m1,m2,m3,_normal"},
        // The entry before it moved: the missing one follows it.
        {"_normal,a,mine,b", "b,a,_normal", "mine", "b,a,mine,_normal"},
        // The entry before it was disabled: after the one before that.
        {"_normal,a,mine,b", "_normal,b", "mine", "_normal,mine,b"},
        // Repeats go back once, in any letter case.
        {"_normal,mine,MINE,a,mine", "_normal,a", "mine", "_normal,mine,a"},
        // Enabled again (its ID is in the list once more): not a second time.
        {"_normal,mine,a", "_normal,a,Mine", "mine", "_normal,a,Mine"},
        // Forgotten (no longer missing): gone, like a filter the user disabled.
        {"_normal,mine,a", "_normal,a", "", "_normal,a"},
        {"", "_normal", "mine", "_normal"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeepMissingIDs(Ids(c.previous), Ids(c.current), Ids(c.missing)), Ids(c.kept))
            << c.previous << " | " << c.current << " | " << c.missing;
    }
}

TEST(KeepMissingTest, StoredFormsStayReadableAndTheProgramsEntriesWin) {
    // The enabled text fits the store's capacity: the last missing ones give way.
    const std::string longId(2000, 'm');
    const auto ids = KeepMissingIDs({"_normal", longId + "1", longId + "2", longId + "3"},
                                    {"_normal"}, {longId + "1", longId + "2", longId + "3"});
    EXPECT_EQ(ids, (std::vector<std::string>{"_normal", longId + "1", longId + "2"}));

    // Twenty quick keys are read back, missing ones counted; keys the program has always stay.
    std::vector<CQuickKeyItem> previous;
    std::vector<CQuickKeyItem> current;
    std::vector<std::string> missing;
    for (std::uint32_t i = 1; i <= 20; ++i) {
        const std::string id = (i % 2 ? "m" : "f") + std::to_string(i);
        previous.emplace_back(id, i);
        if (i % 2) {
            missing.push_back(id);
        } else {
            current.emplace_back(id, i);
        }
    }
    EXPECT_EQ(Flatten(KeepMissingQuickKeys(previous, current, missing)), Flatten(previous));
    current.emplace_back("new", 99);
    const auto kept = KeepMissingQuickKeys(previous, current, missing);
    ASSERT_EQ(kept.size(), 20u);
    EXPECT_EQ(kept.back().GetID(), "new");
    EXPECT_EQ(kept[18].GetID(), "f20") << "the last missing key, m19, gave way";
    EXPECT_EQ(Flatten(ParseQuickHotKeys(FormatQuickHotKeys(kept))), Flatten(kept));
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

TEST(LookAlikeDistanceTest, ReadsPlainDecimalsInRangeAndWritesOneDecimal) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"3", 3.0},       {"2.5", 2.5},
        {"0.1", 0.1},     {"100", 100.0},
        {"100.0", 100.0}, {"007.26", 7.3}, // in tenths, as it is stored
        {"12.34", 12.3},  {"12.", 12.0},
        {".5", 0.5},      {"0.09", 3.0},
        {"100.01", 3.0},  {"-1", 3.0},
        {"+1", 3.0},      {"1e1", 3.0},
        {"1.2.3", 3.0},   {".", 3.0},
        {"", 3.0},        {"3 ", 3.0},
        {"0x10", 3.0},    {"999999999999999", 3.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ParseLookAlikeDistance(c.text), c.value) << c.text;
    }
    for (const double d : {0.1, 3.0, 12.5, 100.0}) {
        EXPECT_DOUBLE_EQ(ParseLookAlikeDistance(FormatLookAlikeDistance(d)), d) << d;
    }
    // A distance typed with more decimals is the one the next start reads back.
    for (const char* typed : {"2.55", "0.3", "99.99", "0.14"}) {
        const double inUse = ParseLookAlikeDistance(typed);
        EXPECT_EQ(ParseLookAlikeDistance(FormatLookAlikeDistance(inUse)), inUse) << typed;
    }
    EXPECT_EQ(FormatLookAlikeDistance(-4), "3.0");
}
