#include "features/views/panel_geometry.h"

#include "support/test_data.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(PanelRect, StoredRectangleLandsOnTheScreen) {
    struct Case {
        const char* what;
        IntRect stored;
        int width;
        int height;
        IntRect expected;
    };
    const Case cases[] = {
        {"inside stays", {10, 20, 310, 420}, 1280, 1024, {10, 20, 310, 420}},
        {"past bottom right", {1500, 800, 1800, 1200}, 1280, 1024, {980, 624, 1280, 1024}},
        {"nothing stored", {0, 0, 0, 0}, 1280, 1024, {0, 0, 200, 200}},
        {"off the top-left", {-50, -20, 150, 180}, 1280, 1024, {0, 0, 200, 200}},
        {"larger than the screen", {-100, -50, 3000, 2000}, 1280, 1024, {0, 0, 1280, 1024}},
        {"exactly the screen's width", {5, 5, 1285, 100}, 1280, 1024, {0, 5, 1280, 100}},
        {"wider, moved left then kept", {100, 100, 2000, 300}, 1280, 1024, {0, 100, 1280, 300}},
        {"right edge on the screen's edge", {1080, 0, 1280, 200}, 1280, 1024, {1080, 0, 1280, 200}},
        // The profile adds width to left with wrapping: a huge width reads as a negative one.
        {"negative width", {500, 500, 400, 700}, 1280, 1024, {0, 0, 200, 200}},
        {"no height", {10, 10, 100, 10}, 1280, 1024, {0, 0, 200, 200}},
        {"whole int range", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 1280, 1024, {0, 0, 1280, 1024}},
        {"far beyond the right", {INT_MAX - 10, 0, INT_MAX, 100}, 1280, 1024, {1270, 0, 1280, 100}},
        // clang-format off
        {"far left", {INT_MIN, INT_MIN, INT_MIN + 300, INT_MIN + 400}, 1280, 1024,
         {0, 0, 300, 400}},
        // clang-format on
        {"no screen size", {10, 20, 310, 420}, 0, 0, {0, 0, 200, 200}},
        {"screen smaller than the default", {0, 0, 200, 200}, 150, 100, {0, 0, 150, 100}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitPanelRect(c.stored, c.width, c.height), c.expected) << c.what;
    }
}

// Font unit 11 (the usual 8-point default GUI font), 13-pixel items, 2-pixel edges, frame
// and caption 27 pixels.
constexpr PanelMetrics kMetrics{11, 13, 2, 27};

TEST(PanelHeight, FitsTheEnabledFiltersUpToThirtyWhenTheFitIsOn) {
    // 13 n + 2*2 + 4*11 + 2 * 14*11/8 (19) + 27
    const struct {
        int count;
        int height;
    } cases[] = {{1, 126}, {3, 152}, {30, 503}, {40, 503}, {0, 126}, {-5, 126}};
    for (const auto& c : cases) {
        EXPECT_EQ(PanelHeightForItems(kMetrics, c.count), c.height) << c.count;
    }
    EXPECT_EQ(PanelMinimumHeight(kMetrics), 126);

    EXPECT_EQ(PanelInitialHeight(kMetrics, 40, 300, true), 503);
    EXPECT_EQ(PanelInitialHeight(kMetrics, 4, 300, true), 165);
    EXPECT_EQ(PanelInitialHeight(kMetrics, 4, 300, false), 300);
    // A stored height too small for one item would leave a panel without a usable list.
    EXPECT_EQ(PanelInitialHeight(kMetrics, 4, 30, false), 126);
}

TEST(PanelLayout, ControlsInFontUnits) {
    struct Case {
        int f;
        int width;
        int height;
        IntRect list;
        IntRect check;
        IntRect button;
    };
    const Case cases[] = {
        // bh = 19, bw = 77
        {11, 200, 300, {11, 11, 189, 229}, {11, 240, 189, 259}, {61, 270, 138, 289}},
        // Odd spare width: the button's left edge is truncated.
        {11, 101, 300, {11, 11, 90, 229}, {11, 240, 90, 259}, {12, 270, 89, 289}},
        // bh = 14, bw = 56
        {8, 120, 100, {8, 8, 112, 48}, {8, 56, 112, 70}, {32, 78, 88, 92}},
        // Smaller than the controls: the list has no area, check box and button keep their
        // heights.
        {11, 10, 20, {11, 11, 11, 11}, {11, 22, 11, 41}, {-33, 52, 44, 71}},
    };
    for (const Case& c : cases) {
        const PanelLayout layout = LayoutPanel(c.f, c.width, c.height);
        SCOPED_TRACE(testing::Message() << c.f << " " << c.width << "x" << c.height);
        EXPECT_EQ(layout.list, c.list);
        EXPECT_EQ(layout.check, c.check);
        EXPECT_EQ(layout.button, c.button);
    }
}

TEST(PanelLayout, MinimumSizeShowsOneWholeItemTheCheckBoxAndTheButton) {
    for (int f : {6, 8, 11, 13, 16, 20, 27}) {
        for (int item : {f, f + 2, 2 * f}) {
            for (int edge : {0, 1, 2}) {
                const PanelMetrics m{f, item, edge, 31};
                const int clientHeight = PanelMinimumHeight(m) - m.nonClientHeight;
                const PanelLayout layout = LayoutPanel(f, 200, clientHeight);
                const int listInside = layout.list.bottom - layout.list.top - 2 * edge;
                EXPECT_EQ(listInside, item) << f << " " << item << " " << edge;
                EXPECT_EQ(layout.button.bottom, clientHeight - f) << f;
                EXPECT_EQ(layout.check.top, layout.list.bottom + f) << f;
                EXPECT_EQ(layout.button.top, layout.check.bottom + f) << f;

                // The fitted height shows exactly the items asked for.
                const int fitted = PanelHeightForItems(m, 7) - m.nonClientHeight;
                const PanelLayout full = LayoutPanel(f, 200, fitted);
                EXPECT_EQ(full.list.bottom - full.list.top - 2 * edge, 7 * item) << f;
            }
        }
    }
}

TEST(PanelKeys, DigitsPickOnlyAnotherExistingItem) {
    const struct {
        unsigned key;
        int item;
    } cases[] = {
        {0x31, 0},  {0x33, 2},  {0x39, 8},  {0x30, 9},  // main keys 1, 3, 9, 0
        {0x61, 0},  {0x65, 4},  {0x69, 8},  {0x60, 9},  // keypad
        {0x2F, -1}, {0x3A, -1}, {0x5F, -1}, {0x6A, -1}, // neighbours of both ranges
        {0x41, -1}, {0x0D, -1}, {0x1B, -1}, {0x131, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DigitKeyItem(c.key), c.item) << std::hex << c.key;
    }

    const struct {
        int item;
        int count;
        int selected;
        int pick;
    } selections[] = {
        {2, 5, 0, 2},   // "3" picks the third filter
        {9, 9, 0, -1},  // "0" with nine filters: no tenth
        {9, 10, 0, 9},  // "0" with ten
        {2, 5, 2, -1},  // already shown
        {0, 1, -1, 0},  // nothing selected yet
        {4, 3, 0, -1},  // beyond the list
        {-1, 5, 0, -1}, // not a digit
    };
    for (const auto& c : selections) {
        EXPECT_EQ(DigitKeySelection(c.item, c.count, c.selected), c.pick)
            << c.item << " of " << c.count << " with " << c.selected;
    }
}

} // namespace
