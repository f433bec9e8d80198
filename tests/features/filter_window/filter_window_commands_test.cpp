#include "features/filter_window/copy_color_format.h"
#include "features/filter_window/filter_window_commands.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CopyColorFormatTest, TemplatesExpandAsTheUserWrote) {
    const struct {
        const char* format;
        ColorValue colour;
        const char* text;
    } cases[] = {
        {"#%02XR%02XG%02XB", MakeColor(255, 128, 0), "#FF8000"},
        {"%r,%g,%b", MakeColor(1, 2, 3), "1,2,3"},
        {"%R,%G,%B", MakeColor(1, 2, 3), "1,2,3"},
        {"%3dr", MakeColor(7, 0, 0), "  7"},
        {"%03xr", MakeColor(171, 0, 0), "0ab"},
        {"%03Xr", MakeColor(171, 0, 0), "0AB"},
        {"%0r|%9r|%09xb", MakeColor(5, 0, 255), "5|        5|0000000ff"},
        {"%1r", MakeColor(200, 0, 0), "200"}, // a width below the digits never cuts
        {"100%%", 0, "100%"},
        {"50%", 0, "50%"},
        {"%", 0, "%"},
        {"%%%r", MakeColor(9, 0, 0), "%9"},
        {"%q", 0, "%q"},
        {"%02q", 0, "%02q"},
        {"%02", 0, "%02"},
        {"%10r", MakeColor(4, 0, 0), "%10r"}, // one width digit only: "0" is no component
        {"%00r", MakeColor(4, 0, 0), "%00r"},
        {"%xdr", MakeColor(4, 0, 0), "%xdr"},
        {"%dX", 0, "%dX"},
        {"", MakeColor(1, 2, 3), ""},
        {"rgb(%r, %g, %b)", MakeColor(12, 34, 56), "rgb(12, 34, 56)"},
        {"0x%02x%02x%02xB", MakeColor(0x12, 0x34, 0x56), "0x%02x%02x56"},
        {"0x%02xb%02xg%02xr", MakeColor(0x12, 0x34, 0x56), "0x563412"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatCopyColor(c.format, c.colour), c.text) << c.format;
    }
}

TEST(CopyColorFormatTest, AnyTextIsSafe) {
    // Multibyte text passes through byte for byte; printf conversions mean nothing here.
    EXPECT_EQ(FormatCopyColor("\x83\x65\x25r\x81\x40", MakeColor(3, 0, 0)), "\x83\x65"
                                                                            "3\x81\x40");
    EXPECT_EQ(FormatCopyColor("%s%n%p%*d%.999f", 0), "%s%n%p%*d%.999f");
    const std::string longest(4095, '%');
    EXPECT_EQ(FormatCopyColor(longest, 0).size(), 4095u / 2 + 1);
    std::string every;
    for (int i = 0; i < 4000; ++i) {
        every += "%09Xb";
    }
    EXPECT_EQ(FormatCopyColor(every, MakeColor(0, 0, 255)).size(), 4000u * 9);
    const std::string nul("a\0%r", 4);
    EXPECT_EQ(FormatCopyColor(nul, MakeColor(8, 0, 0)), std::string("a\0"
                                                                    "8",
                                                                    3));
}

using filter_keys::kAdd;
using filter_keys::kApps;
using filter_keys::kDown;
using filter_keys::kLeft;
using filter_keys::kNumpad0;
using filter_keys::kPageDown;
using filter_keys::kPageUp;
using filter_keys::kRight;
using filter_keys::kSubtract;
using filter_keys::kUp;
using A = FilterWindowAction;

TEST(FilterWindowKeysTest, EveryRowOfTheKeyTable) {
    // A window at zoom 4 with the third of five filters selected.
    const struct {
        unsigned key;
        bool ctrl;
        bool shift;
        A action;
        bool all;
        int value; // dx*100+dy, zoom, filter index, or original
    } rows[] = {
        {kLeft, false, false, A::MoveCursor, false, -100},
        {kUp, false, false, A::MoveCursor, false, -1},
        {kRight, true, false, A::MoveCursor, false, 800},
        {kDown, true, true, A::MoveCursor, false, 8},
        {'C', false, false, A::None, false, 0},
        {'C', false, true, A::None, false, 0},
        {'C', true, false, A::CopyColor, false, 0},
        {'C', true, true, A::CopyColor, false, 1},
        {'F', false, false, A::ToggleFix, false, 0},
        {'F', true, false, A::ToggleFix, true, 0},
        {'M', false, false, A::ToggleMark, false, 0},
        {'M', true, false, A::ToggleMark, true, 0},
        {'N', false, false, A::None, false, 0},
        {'N', true, false, A::NewWindow, false, 0},
        {'Z', false, false, A::SetZoom, false, 5},
        {kAdd, true, false, A::SetZoom, true, 5},
        {'X', false, false, A::SetZoom, false, 3},
        {kSubtract, true, false, A::SetZoom, true, 3},
        {kApps, false, false, A::ContextMenu, false, 0},
        {'1', false, false, A::SelectFilter, false, 0},
        {'5', true, false, A::SelectFilter, false, 4},
        {'6', false, false, A::None, false, 0},
        {kNumpad0 + 2, false, false, A::SelectFilter, false, 1},
        {'0', false, false, A::None, false, 0},
        {kNumpad0, false, false, A::None, false, 0},
        {kPageUp, false, false, A::SelectFilter, false, 1},
        {kPageDown, false, false, A::SelectFilter, false, 3},
        {0x73 /* F4 */, false, false, A::NotHandled, false, 0},
        {'A', true, false, A::NotHandled, false, 0},
        {0x1B /* Escape */, false, false, A::NotHandled, false, 0},
    };
    for (const auto& r : rows) {
        const FilterWindowCommand c = MapFilterWindowKey(r.key, r.ctrl, r.shift, 4, 2, 5);
        SCOPED_TRACE(testing::Message()
                     << "key " << r.key << (r.ctrl ? " ctrl" : "") << (r.shift ? " shift" : ""));
        EXPECT_EQ(c.action, r.action);
        EXPECT_EQ(c.allWindows, r.all);
        switch (r.action) {
        case A::MoveCursor:
            EXPECT_EQ(c.dx * 100 + c.dy, r.value);
            break;
        case A::SetZoom:
            EXPECT_EQ(c.zoom, r.value);
            break;
        case A::SelectFilter:
            EXPECT_EQ(c.filterIndex, r.value);
            break;
        case A::CopyColor:
            EXPECT_EQ(c.original, r.value == 1);
            break;
        default:
            break;
        }
    }
}

TEST(FilterWindowKeysTest, EdgesOfZoomAndTheFilterList) {
    // Zoom stays within -3..20: Z at 20 and X at -3 post the same zoom again.
    EXPECT_EQ(MapFilterWindowKey('Z', false, false, 20, 0, 3).zoom, 20);
    EXPECT_EQ(MapFilterWindowKey(kAdd, true, false, 20, 0, 3).zoom, 20);
    EXPECT_EQ(MapFilterWindowKey('X', false, false, -3, 0, 3).zoom, -3);
    EXPECT_EQ(MapFilterWindowKey('X', false, false, 1, 0, 3).zoom, 0);
    // The tenth filter is 0, with ten or more enabled.
    EXPECT_EQ(MapFilterWindowKey('0', false, false, 1, 0, 10).filterIndex, 9);
    EXPECT_EQ(MapFilterWindowKey(kNumpad0, false, false, 1, 0, 11).action, A::SelectFilter);
    EXPECT_EQ(MapFilterWindowKey('9', false, false, 1, 0, 9).filterIndex, 8);
    EXPECT_EQ(MapFilterWindowKey('0', false, false, 1, 0, 9).action, A::None);
    // Page Up at the first and Page Down at the last filter do nothing.
    EXPECT_EQ(MapFilterWindowKey(kPageUp, false, false, 1, 0, 3).action, A::None);
    EXPECT_EQ(MapFilterWindowKey(kPageDown, false, false, 1, 2, 3).action, A::None);
    EXPECT_EQ(MapFilterWindowKey(kPageDown, false, false, 1, 0, 1).action, A::None);
    EXPECT_EQ(MapFilterWindowKey(kPageUp, false, false, 1, 1, 3).filterIndex, 0);
}

TEST(FilterWindowMenuTest, HintsAndZoomChecks) {
    std::string hints;
    for (int i = 0; i < 11; ++i) {
        hints += "[" + FilterMenuHint(i) + "]";
    }
    EXPECT_EQ(hints, "[\t1][\t2][\t3][\t4][\t5][\t6][\t7][\t8][\t9][\t0][]");
    const struct {
        int zoom;
        int position;
    } zooms[] = {{0, 0},   {1, 1},  {8, 8},   {10, 9},  {12, 10}, {16, 11},
                 {20, 12}, {9, -1}, {-1, -1}, {-3, -1}, {13, -1}};
    for (const auto& z : zooms) {
        EXPECT_EQ(ZoomMenuPosition(z.zoom), z.position) << z.zoom;
    }
}

} // namespace
