#include "features/filter_window/window_setting.h"

#include <gtest/gtest.h>

namespace {

// Every field is written by the window model's record test and read by the strict reading
// below; any text that parses reads back from its written form (the fuzz target), and records
// are stored and restored end to end.
TEST(WindowSettingTest, FailuresLeaveDefaults) {
    // (An overlong record is the length limit's test below.)
    const std::string cases[] = {
        "",
        "4,1,0,0,0,0,1,100,120,240,180",  // 11 fields
        "4,1,0,0,0,0,1,100,120,240,180,", // no ID
        "4,1,0,0,0,0,1,100,120,240,180,   ",
        "4,1,0,0,0,0,1,100,120,240 ,180,p", // "%d," allows no blank before the comma
        "4;1,0,0,0,0,1,100,120,240,180,p",
        "4,1,0,0,0,0,1,100,120,x,180,p",
        "4,1,0,0,0,0,1,100,120,99999999999,180,p", // beyond 32 bits
    };
    for (const auto& text : cases) {
        CWindowSetting s;
        s.Zoom = 9;
        s.FilterID = "old";
        s.ShowStatusbar = false;
        EXPECT_FALSE(ParseSetting(text, s)) << text;
        // Every field is written: the record is the default one again.
        EXPECT_EQ(FormatSetting(s), FormatSetting(CWindowSetting{})) << text;
    }
}

TEST(WindowSettingTest, LengthLimitIs512) {
    const std::string head = "1,0,0,0,0,0,1,0,0,0,0,";
    CWindowSetting s;
    EXPECT_TRUE(ParseSetting(head + std::string(511 - head.size(), 'a'), s));
    EXPECT_EQ(s.FilterID.size(), 511 - head.size());
    EXPECT_FALSE(ParseSetting(head + std::string(512 - head.size(), 'a'), s));
}

// Each field as the record reads it, written back in its own form.
TEST(WindowSettingTest, FieldsAreReadStrictly) {
    const std::pair<const char*, const char*> cases[] = {
        {"25,2,2,1,5,5,2,0,0,0,0,a", "1,0,0,1,5,5,0,0,0,0,0,a"},
        {"-4,1,1,0,5,5,1,0,0,0,0,a", "1,1,1,0,0,0,1,0,0,0,0,a"},
        {"20,-1,0,2,5,5,0,0,0,0,0,a", "20,0,0,0,0,0,0,0,0,0,0,a"},
        {" 3, 1, 1, 1, -2, 3, 1, 0, 0, 0, 0, id rest", "3,1,1,1,-2,3,1,0,0,0,0,id"},
        {"0,0,0,0,0,0,1,0,0,0,0,tab\tafter", "0,0,0,0,0,0,1,0,0,0,0,tab"},
    };
    for (const auto& [text, read] : cases) {
        CWindowSetting s;
        ASSERT_TRUE(ParseSetting(text, s)) << text;
        EXPECT_EQ(FormatSetting(s), read) << text;
    }
}

TEST(WindowSettingTest, ExtremeRectanglesDoNotOverflow) {
    CWindowSetting s;
    ASSERT_TRUE(ParseSetting("1,0,0,0,0,0,1,2147483647,-2147483648,1,-1,a", s));
    EXPECT_EQ(s.WindowRect.right, INT32_MIN);
    EXPECT_EQ(s.WindowRect.bottom, INT32_MAX);
    EXPECT_EQ(FormatSetting(s), "1,0,0,0,0,0,1,2147483647,-2147483648,1,-1,a");
}

TEST(WindowSettingTest, PointIsKeptOnlyWhileFixed) {
    CWindowSetting s;
    s.SetFixedPoint(false, {5, 5});
    EXPECT_EQ(s.FixedPoint, IntPoint{});

    s.SetFixedPoint(true, {5, 6});
    CWindowSetting copy(s);
    EXPECT_EQ(copy.FixedPoint, (IntPoint{5, 6}));

    // A record with the flag cleared by hand still copies with the point zeroed.
    s.FixPosition = false;
    CWindowSetting cleared(s);
    EXPECT_EQ(cleared.FixedPoint, IntPoint{});
    CWindowSetting assigned;
    assigned = s;
    EXPECT_EQ(assigned.FixedPoint, IntPoint{});
    EXPECT_EQ(assigned.FilterID, s.FilterID);
}

TEST(WindowSettingTest, OverlongIdIsCutSoTheRecordReadsBack) {
    CWindowSetting s;
    s.FilterID = std::string(700, 'z');
    s.WindowRect = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    const std::string text = FormatSetting(s);
    EXPECT_EQ(text.size(), 511u);
    CWindowSetting back;
    EXPECT_TRUE(ParseSetting(text, back));
}

} // namespace
