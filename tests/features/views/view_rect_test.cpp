#include "features/views/panel_geometry.h"

#include "support/test_data.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// The primary at 96 dpi, a smaller monitor at 144 dpi to its left whose top is lower (negative
// x, a gap above it) and one at 192 dpi above the primary (negative y).
const MonitorInfo kPrimary{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96};
const MonitorInfo kLeft{{-1280, 56, 0, 1080}, {-1280, 56, 0, 1080}, 144};
const MonitorInfo kAbove{{0, -1440, 2560, 0}, {0, -1440, 2560, -40}, 192};
const MonitorLayout kThree{{kPrimary, kLeft, kAbove}};

TEST(ViewRect, CoversTheMonitorUnderThePointerOrEveryMonitor) {
    const struct {
        IntPoint pointer;
        IntRect one;
    } cases[] = {
        {{500, 500}, kPrimary.rect},
        {{-1, 500}, kLeft.rect},
        {{-1280, 56}, kLeft.rect},
        {{0, -1}, kAbove.rect},
        {{2559, -1440}, kAbove.rect},
        {{-600, 20}, kLeft.rect},          // in the gap above the left monitor: the nearest
        {{2100, 900}, kPrimary.rect},      // beyond every monitor, nearest the primary
        {{3000, 500}, kAbove.rect},        // nearer the corner of the one above
        {{INT_MIN, INT_MIN}, kAbove.rect}, // no monitor's: the one whose corner is nearest
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ComputeViewRect(kThree, c.pointer, false), c.one)
            << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(ComputeViewRect(kThree, c.pointer, true), (IntRect{-1280, -1440, 2560, 1080}));
    }
    // One monitor: the screen, as the view always covered.
    EXPECT_EQ(ComputeViewRect(SingleMonitorLayout(1280, 1024), {700, 300}, false),
              (IntRect{0, 0, 1280, 1024}));
    EXPECT_EQ(ComputeViewRect(SingleMonitorLayout(1280, 1024), {700, 300}, true),
              (IntRect{0, 0, 1280, 1024}));
    EXPECT_EQ(ComputeViewRect(MonitorLayout{}, {0, 0}, false), IntRect{});
}

TEST(ViewRect, PanelOpensWholeOnTheViewsMonitor) {
    const struct {
        const char* what;
        IntPoint pointer;
        bool all;
        IntRect stored;
        IntRect expected;
    } cases[] = {
        {"nothing stored: the monitor's corner", {-10, 300}, false, {}, {-1280, 56, -1080, 256}},
        {"nothing stored above", {10, -300}, false, {}, {0, -1440, 200, -1240}},
        {"stored on the view's monitor stays",
         {-10, 300},
         false,
         {-900, 300, -700, 600},
         {-900, 300, -700, 600}},
        {"stored on another monitor comes to the view's",
         {100, 100},
         false,
         {-900, 300, -700, 600},
         {0, 300, 200, 600}},
        {"stored across the left monitor's top, into the gap",
         {-10, 300},
         false,
         {-900, 0, -700, 300},
         {-900, 56, -700, 356}},
        {"taller than the left monitor",
         {-10, 300},
         false,
         {-900, -100, -700, 1500},
         {-900, 56, -700, 1080}},
        {"every monitor: stays on the one it was left on",
         {100, 100},
         true,
         {100, -700, 400, -400},
         {100, -700, 400, -400}},
        {"every monitor: partly off the one it is on",
         {100, 100},
         true,
         {2400, -300, 2700, -100},
         {2260, -300, 2560, -100}},
        {"every monitor, nothing stored: the primary", {-5, 900}, true, {}, {0, 0, 200, 200}},
        {"far off every monitor",
         {100, 100},
         true,
         {INT_MIN, INT_MIN, INT_MIN + 300, INT_MIN + 200},
         {0, -1440, 300, -1240}},
    };
    for (const auto& c : cases) {
        const IntRect view = ComputeViewRect(kThree, c.pointer, c.all);
        const IntRect monitor = ComputePanelMonitor(kThree, view, c.all, c.stored);
        EXPECT_EQ(FitPanelRect(c.stored, monitor), c.expected) << c.what;
    }
}

// With one monitor the panel fits as it did on the screen of that size, against the monitor's
// whole rectangle even when a task bar makes its work area smaller. The expected rectangles
// are the old screen rule's, worked out by hand.
TEST(ViewRect, PanelOnTheOnlyMonitorFitsAsOnTheScreen) {
    const MonitorLayout withTaskBar{{{{0, 0, 1280, 1024}, {0, 0, 1280, 984}, 96}}};
    const struct {
        IntRect stored;
        IntRect fitted;
    } cases[] = {
        {{10, 20, 310, 420}, {10, 20, 310, 420}},
        {{1500, 800, 1800, 1200}, {980, 624, 1280, 1024}},
        {{900, 700, 1200, 1000}, {900, 700, 1200, 1000}}, // over the task bar: stays
        {{}, {0, 0, 200, 200}},
        {{-50, -20, 150, 180}, {0, 0, 200, 200}},
        {{500, 500, 400, 700}, {0, 0, 200, 200}},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, 1280, 1024}},
        {{INT_MAX - 10, 0, INT_MAX, 100}, {1270, 0, 1280, 100}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitPanelRect(c.stored, 1280, 1024), c.fitted);
        EXPECT_EQ(FitPanelRect(c.stored, ComputePanelMonitor(withTaskBar, {0, 0, 1280, 1024}, false,
                                                             c.stored)),
                  c.fitted);
    }
}

} // namespace
