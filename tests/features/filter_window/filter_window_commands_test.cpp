#include "features/filter_window/copy_color_format.h"
#include "features/filter_window/filter_window_commands.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Any text at all, against an independent reading of the template: the fuzz target, from seeds
// of every form. Here the grammar's decisions; the default template and one of the user's own
// are copied by the window's Ctrl+C test.
TEST(CopyColorFormatTest, TemplatesExpandAsTheUserWrote) {
    const struct {
        const char* format;
        ColorValue colour;
        const char* text;
    } cases[] = {
        {"%r,%g,%b", MakeColor(1, 2, 3), "1,2,3"},
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
        {"0x%02x%02x%02xB", MakeColor(0x12, 0x34, 0x56), "0x%02x%02x56"},
        {"0x%02xb%02xg%02xr", MakeColor(0x12, 0x34, 0x56), "0x563412"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatCopyColor(c.format, c.colour), c.text) << c.format;
    }
}

using namespace filter_keys;
using A = FilterWindowAction;

// What the real keys cannot show cheaply: Ctrl and Shift on each kind of key, and the ends of
// the zoom range and of the filter list. (The input tests press the common keys for real, and
// Ctrl+Shift+C copies the original colour there.)
TEST(FilterWindowKeysTest, ModifiersAndTheEndsOfZoomAndFilterList) {
    const struct {
        unsigned key;
        bool ctrl, shift;
        int zoom, selected, count;
        A action;
        bool all;
        int value; // dx*100+dy, zoom, filter index, or 1 for the original colour
    } rows[] = {
        {kLeft, false, true, 4, 0, 5, A::MoveCursor, false, -100},
        {kDown, true, true, 4, 0, 5, A::MoveCursor, false, 8},
        {'C', false, true, 4, 0, 5, A::None, false, 0},
        {'F', true, false, 4, 0, 5, A::ToggleFix, true, 0},
        {'M', true, false, 4, 0, 5, A::ToggleMark, true, 0},
        {'H', false, false, 4, 0, 5, A::ToggleHighlight, false, 0},
        {'H', true, true, 4, 0, 5, A::ToggleHighlight, true, 0},
        {'N', false, false, 4, 0, 5, A::None, false, 0},
        {kApps, true, false, 4, 0, 5, A::ContextMenu, false, 0},
        {'Z', false, false, 20, 0, 3, A::SetZoom, false, 20},
        {kAdd, true, false, 20, 0, 3, A::SetZoom, true, 20},
        {'X', false, false, -3, 0, 3, A::SetZoom, false, -3},
        {kSubtract, true, false, 1, 0, 3, A::SetZoom, true, 0},
        {'5', true, false, 1, 0, 5, A::SelectFilter, false, 4},
        {'6', false, false, 1, 0, 5, A::None, false, 0},
        {'0', false, false, 1, 0, 10, A::SelectFilter, false, 9},
        {'0', false, false, 1, 0, 9, A::None, false, 0},
        {kNumpad0, false, false, 1, 0, 11, A::SelectFilter, false, 9},
        {kNumpad0 + 2, false, false, 1, 0, 5, A::SelectFilter, false, 1},
        {kPageUp, false, false, 1, 0, 3, A::None, false, 0},
        {kPageUp, false, false, 1, 1, 3, A::SelectFilter, false, 0},
        {kPageDown, false, false, 1, 2, 3, A::None, false, 0},
        {kPageDown, false, false, 1, 0, 1, A::None, false, 0},
        {'A', true, false, 1, 0, 3, A::NotHandled, false, 0},
    };
    for (const auto& r : rows) {
        const FilterWindowCommand c =
            MapFilterWindowKey(r.key, r.ctrl, r.shift, r.zoom, r.selected, r.count);
        SCOPED_TRACE(testing::Message()
                     << "key " << r.key << (r.ctrl ? " ctrl" : "") << (r.shift ? " shift" : "")
                     << " zoom " << r.zoom << " filter " << r.selected << " of " << r.count);
        EXPECT_EQ(c.action, r.action);
        EXPECT_EQ(c.allWindows, r.all);
        const int value = r.action == A::MoveCursor     ? c.dx * 100 + c.dy
                          : r.action == A::SetZoom      ? c.zoom
                          : r.action == A::SelectFilter ? c.filterIndex
                                                        : (c.original ? 1 : 0);
        EXPECT_EQ(value, r.value);
    }
}

TEST(FilterWindowMenuTest, HintsAndZoomChecks) {
    std::string hints;
    for (int i = 0; i < 11; ++i) {
        hints += "[" + FilterMenuHint(i) + "]";
    }
    EXPECT_EQ(hints, "[\t1][\t2][\t3][\t4][\t5][\t6][\t7][\t8][\t9][\t0][]");
    // Past 8 the list skips zooms; reductions other than x1/2 have no item.
    const struct {
        int zoom;
        int position;
    } zooms[] = {{0, 0}, {8, 8}, {10, 9}, {20, 12}, {9, -1}, {-1, -1}};
    for (const auto& z : zooms) {
        EXPECT_EQ(ZoomMenuPosition(z.zoom), z.position) << z.zoom;
    }
}

} // namespace
