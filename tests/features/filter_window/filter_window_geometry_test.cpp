#include "features/filter_window/filter_window_geometry.h"
#include "features/filter_window/window_placement.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

TEST(CaptureRectTest, FillsThePictureAreaAroundTheReferencePoint) {
    const IntPoint cursor{500, 400};
    const struct {
        PixelSize area;
        int zoom;
        bool leftTop;
        CaptureRect expected;
    } cases[] = {
        // Enlarging rounds the capture up so the blocks cover the area; the cursor is the
        // centre pixel ((w - 1) / 2, (h - 1) / 2). (Zoom 4 is painted and read back from a real
        // window.)
        {{200, 150}, 1, false, {500 - 99, 400 - 74, 200, 150}},
        {{200, 150}, 20, false, {500 - 4, 400 - 3, 10, 8}},
        {{201, 151}, 2, false, {500 - 50, 400 - 37, 101, 76}},
        // Reducing captures k times the area.
        {{200, 150}, 0, false, {500 - 199, 400 - 149, 400, 300}},
        {{200, 150}, -3, false, {500 - 499, 400 - 374, 1000, 750}},
        // The left-top origin puts the reference point at the capture's first pixel.
        {{200, 150}, 4, true, {500, 400, 50, 38}},
        {{200, 150}, -1, true, {500, 400, 600, 450}},
        // Degenerate areas: a 1 x 1 picture area still captures one pixel; nothing divides by
        // zero and nothing is negative.
        {{1, 1}, 20, false, {500, 400, 1, 1}},
        {{1, 1}, -3, false, {498, 398, 5, 5}},
        {{0, 0}, 4, false, {500, 400, 0, 0}},
        {{-5, -5}, 1, false, {500, 400, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ComputeCaptureRect(cursor, c.area, c.zoom, c.leftTop), c.expected)
            << c.area.width << "x" << c.area.height << " zoom " << c.zoom;
    }
}

TEST(CaptureRectTest, ExtremeReferencePointsAndAreasDoNotOverflow) {
    const CaptureRect low = ComputeCaptureRect({INT_MIN, INT_MIN}, {400, 300}, 1, false);
    EXPECT_EQ(low.x, INT_MIN);
    EXPECT_EQ(low.width, 400);
    const CaptureRect huge = ComputeCaptureRect({0, 0}, {INT_MAX, INT_MAX}, -3, false);
    EXPECT_EQ(huge.width, INT_MAX);
    EXPECT_EQ(huge.height, INT_MAX);
}

// The outline at zoom 6 is read pixel by pixel from the window.
TEST(CenterMarkTest, OutlineOnePixelOutsideTheReferencePixelOnlyWhenMagnified) {
    // At zoom 1 the outline hugs the single pixel.
    const auto one = ComputeCenterMark(3, 3, 1, true, false);
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(one->outline, (IntRect{0, 0, 3, 3}));
    EXPECT_EQ(one->corners[0], (IntPoint{0, 0}));
    EXPECT_EQ(one->corners[3], (IntPoint{2, 2}));

    EXPECT_FALSE(ComputeCenterMark(50, 38, 4, false, false).has_value());
    EXPECT_FALSE(ComputeCenterMark(50, 38, 4, true, true).has_value());
    EXPECT_FALSE(ComputeCenterMark(400, 300, 0, true, false).has_value());
    EXPECT_FALSE(ComputeCenterMark(0, 0, 4, true, false).has_value());
}

TEST(StatusTextTest, ZoomAndPointTexts) {
    const struct {
        int zoom;
        const char* text;
    } zooms[] = {{-3, "x1/5"}, {-2, "x1/4"}, {-1, "x1/3"}, {0, "x1/2"},
                 {1, "x1"},    {4, "x4"},    {13, "x13"},  {20, "x20"}};
    for (const auto& z : zooms) {
        EXPECT_EQ(ZoomText(z.zoom), z.text);
    }
    EXPECT_EQ(PointText({640, -12}), "640, -12");
    EXPECT_EQ(PointText({INT_MIN, INT_MAX}), "-2147483648, 2147483647");
}

TEST(StatusbarEdgesTest, PartsByFormatLayoutAndSystemGeneration) {
    // The parts of formats 0 and 3 are read from the window's status bar control. The simple
    // layout has only the value and the name; stored numbers of 5 and more read as 0.
    EXPECT_EQ(ComputeStatusbarEdges(3, true), (std::vector<int>{110, -1}));
    EXPECT_EQ(ComputeStatusbarEdges(7, false), (std::vector<int>{90, 180, 220, -1}));
    // On a 144 dpi screen the parts grow with the text.
    EXPECT_EQ(ComputeStatusbarEdges(0, false, 144), (std::vector<int>{135, 270, 330, -1}));
    EXPECT_EQ(ColorNamePart(false), 3);
    EXPECT_EQ(ColorNamePart(true), 1);
}

// The first step from the top-left corner and a closed window's rectangle taken without a step
// are seen with real windows (the tray's windows end to end, the window after Close all).
TEST(CascadeTest, DefaultRecordsCascadeByTheCaptionHeight) {
    CWindowCascade cascade;
    for (int step : {0, 23, 46}) {
        EXPECT_EQ(cascade.Place({}, false, 23, 1280, 1024),
                  (IntRect{step, step, step + 200, step + 200}));
    }
    EXPECT_TRUE(cascade.IsCascading());
    // A given record keeps its rectangle and does not cascade, but becomes the origin.
    const IntRect stored{300, 200, 540, 380};
    EXPECT_EQ(cascade.Place(stored, true, 23, 1280, 1024), stored);
    EXPECT_EQ(cascade.Place({}, false, 23, 1280, 1024), (IntRect{323, 223, 563, 403}));
    cascade.SetOrigin({10, 20, 110, 220}, true);
    EXPECT_EQ(cascade.Place(stored, false, 23, 1280, 1024), (IntRect{33, 43, 133, 243}));
}

TEST(CascadeTest, WindowsLeavingTheScreenMoveToTheLeftOrTopEdge) {
    const struct {
        IntRect record;
        IntRect placed;
    } cases[] = {
        {{1200, 100, 1400, 300}, {0, 100, 200, 300}}, // past the right edge
        {{100, 900, 300, 1100}, {100, 0, 300, 200}},  // past the bottom
        {{-50, -10, 150, 190}, {0, 0, 200, 200}},
        {{1080, 824, 1280, 1024}, {0, 0, 200, 200}}, // touching the edge counts as leaving
        {{1079, 823, 1279, 1023}, {1079, 823, 1279, 1023}},
        // Damaged records still give a window the user can reach.
        {{500, 500, 400, 400}, {500, 500, 700, 700}},        // negative size
        {{0, 0, 5000, 4000}, {0, 0, 1280, 1024}},            // larger than the screen
        {{INT_MAX - 10, 0, INT_MIN, 100}, {0, 0, 200, 100}}, // wrapped
    };
    for (const auto& c : cases) {
        CWindowCascade cascade;
        EXPECT_EQ(cascade.Place(c.record, true, 23, 1280, 1024), c.placed)
            << c.record.left << "," << c.record.top << "," << c.record.right << ","
            << c.record.bottom;
        EXPECT_EQ(cascade.GetOrigin(), c.placed);
    }
}

} // namespace
