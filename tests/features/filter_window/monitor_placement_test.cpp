#include "features/filter_window/filter_window_geometry.h"
#include "features/filter_window/window_placement.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <vector>

// Printed by failing comparisons of placements.
inline std::ostream& operator<<(std::ostream& out, const IntRect& r) {
    return out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace {

// A 1920 x 1080 primary at 96 dpi with a task bar along its bottom, a 1280 x 1024 monitor at
// 144 dpi to its left (negative x, tops aligned, so a gap lies below it) and a 2560 x 1440
// monitor at 192 dpi above (negative y).
const MonitorInfo kPrimary{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96};
const MonitorInfo kLeft{{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, 144};
const MonitorInfo kAbove{{0, -1440, 2560, 0}, {0, -1440, 2560, -40}, 192};
const MonitorLayout kThree{{kPrimary, kLeft, kAbove}};
const MonitorLayout kPrimaryOnly{{kPrimary}};

TEST(MonitorLayoutTest, NearestMonitorIsTheOneWithMostOfTheRectangleOrTheClosest) {
    const struct {
        IntRect rect;
        const MonitorInfo* expected;
    } cases[] = {
        {{100, 100, 300, 300}, &kThree.monitors[0]},
        {{-500, 100, -300, 300}, &kThree.monitors[1]},
        {{100, -500, 300, -300}, &kThree.monitors[2]},
        {{-150, 100, 50, 300}, &kThree.monitors[1]},      // more on the left one
        {{-100, 100, 100, 300}, &kThree.monitors[0]},     // half and half: the first
        {{-1000, 1050, -800, 1250}, &kThree.monitors[1]}, // in the gap, nearer the left one
        {{-60, 1100, -40, 1200}, &kThree.monitors[0]},    // in the gap, nearer the primary
        {{5000, 200, 5100, 300}, &kThree.monitors[2]},    // far right: the wider one above
        {{-9000, -9000, -8000, -8000}, &kThree.monitors[2]},
        {{-10, 10, -10, 10}, &kThree.monitors[1]}, // a point
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NearestMonitor(kThree, c.rect), c.expected) << c.rect;
    }
    EXPECT_EQ(NearestMonitor(MonitorLayout{}, {0, 0, 10, 10}), nullptr);
    EXPECT_EQ(MonitorAtPoint(kThree, {-1, 0}), &kThree.monitors[1]);
    EXPECT_EQ(MonitorAtPoint(kThree, {0, -1}), &kThree.monitors[2]);
    EXPECT_EQ(MonitorAtPoint(kThree, {0, 0}), &kThree.monitors[0]);
    EXPECT_EQ(VirtualScreen(kThree), (IntRect{-1280, -1440, 2560, 1080}));
}

TEST(MonitorLayoutTest, DpiOfNothingOrBeyondReasonIsTheStandard) {
    const std::pair<int, int> cases[] = {{96, 96}, {144, 144},   {192, 192}, {0, 96},      {-1, 96},
                                         {72, 72}, {1536, 1536}, {1537, 96}, {INT_MAX, 96}};
    for (const auto& [given, usable] : cases) {
        EXPECT_EQ(UsableDpi(given), usable) << given;
    }
}

TEST(MonitorPlacementTest, RecordsComeWholeOntoTheWorkAreaOfTheNearestMonitor) {
    const struct {
        const char* what;
        const MonitorLayout& layout;
        IntRect record;
        IntRect placed;
    } cases[] = {
        {"on the left monitor, negative x kept",
         kThree,
         {-900, 300, -700, 500},
         {-900, 300, -700, 500}},
        {"on the monitor above", kThree, {200, -1000, 400, -800}, {200, -1000, 400, -800}},
        {"past the left monitor's left edge",
         kThree,
         {-1300, 300, -1100, 500},
         {-1280, 300, -1080, 500}},
        {"past the left monitor's bottom, into the gap",
         kThree,
         {-900, 900, -700, 1100},
         {-900, 0, -700, 200}},
        {"in the task bar", kThree, {100, 900, 300, 1060}, {100, 0, 300, 160}},
        {"above the top monitor's task bar",
         kThree,
         {100, -200, 300, -30},
         {100, -1440, 300, -1270}},
        {"across the primary's right edge", kThree, {1800, 100, 2000, 300}, {0, 100, 200, 300}},
        {"straddling left and primary evenly: the first",
         kThree,
         {-100, 100, 100, 300},
         {0, 100, 200, 300}},
        {"mostly on the left monitor", kThree, {-150, 100, 50, 300}, {-1280, 100, -1080, 300}},
        {"larger than the left monitor", kThree, {-1280, 0, 0, 1100}, {-1280, 0, 0, 1024}},
        {"the left monitor is gone", kPrimaryOnly, {-900, 300, -700, 500}, {0, 300, 200, 500}},
        {"the monitor above is gone", kPrimaryOnly, {200, -1000, 400, -800}, {200, 0, 400, 200}},
        {"far off every monitor", kPrimaryOnly, {-70000, -70000, -69500, -69700}, {0, 0, 500, 300}},
        {"a maximised-sized window on the gone monitor: the only one's whole screen",
         kPrimaryOnly,
         {-1280, -1440, 1280, 0},
         {0, 0, 1920, 1080}},
        {"no layout leaves it", MonitorLayout{}, {-5, -5, 5, 5}, {-5, -5, 5, 5}},
    };
    for (const auto& c : cases) {
        CWindowCascade cascade;
        EXPECT_EQ(cascade.Place(c.record, true, 23, c.layout), c.placed) << c.what;
        if (!c.layout.monitors.empty()) {
            // Whole on a monitor: its work area (the only monitor's screen) holds every side.
            const MonitorInfo* on = NearestMonitor(c.layout, c.placed);
            ASSERT_NE(on, nullptr);
            const IntRect& area = c.layout.monitors.size() == 1 ? on->rect : on->work;
            EXPECT_GE(c.placed.left, area.left) << c.what;
            EXPECT_GE(c.placed.top, area.top) << c.what;
            EXPECT_LE(c.placed.right, area.right) << c.what;
            EXPECT_LE(c.placed.bottom, area.bottom) << c.what;
        }
    }
}

// One monitor places as the old rule of one 1280 x 1024 screen did, against its whole
// rectangle even when a task bar makes its work area smaller. The expected rectangles are that
// rule's, worked out by hand.
TEST(MonitorPlacementTest, OneMonitorPlacesAsTheScreenDid) {
    const MonitorLayout whole = SingleMonitorLayout(1280, 1024);
    const MonitorLayout withTaskBar{{{{0, 0, 1280, 1024}, {0, 0, 1280, 984}, 96}}};
    const struct {
        IntRect record;
        IntRect placed;
    } given[] = {
        {{}, {0, 0, 200, 200}},
        {{1200, 100, 1400, 300}, {0, 100, 200, 300}},
        {{-50, -10, 150, 190}, {0, 0, 200, 200}},
        {{1080, 824, 1280, 1024}, {0, 0, 200, 200}},
        {{1079, 823, 1279, 1023}, {1079, 823, 1279, 1023}},
        {{100, 850, 300, 1010}, {100, 850, 300, 1010}}, // over the task bar: stays
        {{100, 0, 300, 1000}, {100, 0, 300, 1000}},     // taller than the work area
        {{500, 500, 400, 400}, {500, 500, 700, 700}},
        {{0, 0, 5000, 4000}, {0, 0, 1280, 1024}},
        {{INT_MAX - 10, 0, INT_MIN, 100}, {0, 0, 200, 100}},
    };
    // New windows one after another from a window left near the bottom right.
    const IntRect cascaded[] = {
        {1023, 803, 1223, 1003}, {1046, 0, 1246, 200}, {1069, 23, 1269, 223}, {0, 46, 200, 246}};
    for (const MonitorLayout* layout : {&whole, &withTaskBar}) {
        for (const auto& c : given) {
            CWindowCascade cascade;
            EXPECT_EQ(cascade.Place(c.record, true, 23, *layout), c.placed) << c.record;
            CWindowCascade byScreen;
            EXPECT_EQ(byScreen.Place(c.record, true, 23, 1280, 1024), c.placed) << c.record;
        }
        CWindowCascade cascade;
        cascade.SetOrigin({1000, 780, 1200, 980}, true);
        for (const IntRect& next : cascaded) {
            EXPECT_EQ(cascade.Place({}, false, 23, *layout), next);
        }
    }
}

TEST(MonitorPlacementTest, CascadeStaysOnTheOriginsMonitorAndWrapsToItsTopLeft) {
    CWindowCascade cascade;
    cascade.SetOrigin({-1000, 700, -800, 900}, true);
    EXPECT_EQ(cascade.Place({}, false, 30, kThree), (IntRect{-970, 730, -770, 930}));
    EXPECT_EQ(cascade.Place({}, false, 30, kThree), (IntRect{-940, 760, -740, 960}));
    EXPECT_EQ(cascade.Place({}, false, 30, kThree), (IntRect{-910, 790, -710, 990}));
    EXPECT_EQ(cascade.Place({}, false, 30, kThree), (IntRect{-880, 820, -680, 1020}));
    // The next step would reach the left monitor's bottom: back to its top.
    EXPECT_EQ(cascade.Place({}, false, 30, kThree), (IntRect{-850, 0, -650, 200}));

    // A window on the monitor above cascades there.
    cascade.SetOrigin({2300, -300, 2500, -100}, true);
    EXPECT_EQ(cascade.Place({}, false, 30, kThree), (IntRect{2330, -270, 2530, -70}));
    // The next would touch its right edge and its task bar: its top-left corner.
    EXPECT_EQ(cascade.Place({}, false, 30, kThree), (IntRect{0, -1440, 200, -1240}));
}

// Restore all: records saved over three monitors, restored after the left one was unplugged.
TEST(MonitorPlacementTest, RestoreAfterAMonitorWentKeepsEveryWindowWhole) {
    const IntRect saved[] = {{-1200, 50, -900, 350},
                             {100, -1300, 500, -1000},
                             {300, 300, 700, 600},
                             {-300, 900, 200, 1060}};
    const MonitorLayout twoLeft{{kPrimary, kAbove}};
    const IntRect restored[] = {
        {0, 50, 300, 350}, {100, -1300, 500, -1000}, {300, 300, 700, 600}, {0, 0, 500, 160}};
    CWindowCascade cascade;
    for (std::size_t i = 0; i < std::size(saved); ++i) {
        EXPECT_EQ(cascade.Place(saved[i], true, 23, twoLeft), restored[i]) << saved[i];
        // The same records over the layout they were saved on stay where they were, except
        // the one in the task bar.
        CWindowCascade before;
        const IntRect again = before.Place(saved[i], true, 23, kThree);
        EXPECT_EQ(again == saved[i], i != 3) << saved[i];
    }
}

// A window moved to a monitor of another scale gets parts that hold the same text there; a dpi
// the system got wrong counts as 96.
TEST(StatusbarDpiTest, PartsScaleWithTheMonitorsDpi) {
    const struct {
        int format;
        bool simple;
        int dpi;
        std::vector<int> edges;
    } cases[] = {
        {0, false, 96, {90, 180, 220, -1}},
        {0, false, 144, {135, 270, 330, -1}},
        {0, false, 192, {180, 360, 440, -1}},
        {3, true, 144, {165, -1}},
        {2, false, 120, {125, 238, 288, -1}},
        {0, false, 0, {90, 180, 220, -1}},
        {1, true, -96, {80, -1}},
        {0, false, 100000, {90, 180, 220, -1}},
        {4, false, INT_MIN, {90, 180, 220, -1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ComputeStatusbarEdges(c.format, c.simple, c.dpi), c.edges)
            << c.format << " " << c.simple << " " << c.dpi;
    }
}

} // namespace
