#include "engine/image/capture_image.h"
#include "engine/image/screen_copy.h"
#include "engine/image/synthetic_screen_source.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr IntRect kScreen{0, 0, 1000, 800};

TEST(ScreenCopyPlanTest, JoinsWhatOverlapsOrNeighboursAndCopiesFarApartAreasEachOnce) {
    struct Case {
        const char* what;
        std::vector<ScreenArea> areas;
        std::vector<IntRect> copies;
    };
    const Case cases[] = {
        {"nothing asked", {}, {}},
        {"the same area twice", {{10, 10, 200, 100}, {10, 10, 200, 100}}, {{10, 10, 210, 110}}},
        {"one inside another", {{10, 10, 200, 100}, {50, 40, 20, 20}}, {{10, 10, 210, 110}}},
        {"overlapping", {{0, 0, 200, 200}, {100, 100, 200, 200}}, {{0, 0, 300, 300}}},
        {"side by side", {{0, 0, 200, 200}, {200, 0, 200, 200}}, {{0, 0, 400, 200}}},
        {"far apart corners",
         {{0, 0, 200, 200}, {800, 600, 200, 200}},
         {{0, 0, 200, 200}, {800, 600, 1000, 800}}},
        {"two near, one far",
         {{0, 0, 100, 100}, {700, 0, 100, 100}, {90, 10, 100, 100}},
         {{0, 0, 190, 110}, {700, 0, 800, 100}}},
        {"small areas a little apart cost less as one",
         {{0, 0, 50, 50}, {60, 60, 50, 50}},
         {{0, 0, 110, 110}}},
        {"clipped to the screen",
         {{-50, -20, 100, 100}, {950, 790, 100, 100}},
         {{0, 0, 50, 80}, {950, 790, 1000, 800}}},
        {"wholly off the screen needs no copy",
         {{-500, 10, 100, 100}, {2000000000, 2000000000, 400000000, 400000000}, {5, 5, 0, 9}},
         {}},
        {"one pixel", {{999, 799, 1, 1}}, {{999, 799, 1000, 800}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlanScreenCopies(c.areas, kScreen), c.copies) << c.what;
    }
}

// Taking a part of one shared copy gives exactly what a copy of its own gives, off-screen
// parts black; taken again it is unchanged.
TEST(ScreenCopyTest, PartsOfASharedCopyEqualOwnCopies) {
    CSyntheticScreenSource screen;
    screen.SetFrame(200, 100, CoordinateFrame(200, 100));
    const std::vector<ScreenArea> areas = {{10, 20, 5, 5},  {0, 0, 1, 1},     {-3, -2, 6, 4},
                                           {196, 95, 8, 8}, {-50, 10, 20, 3}, {12, 22, 30, 10}};
    CScreenCopy copy(screen);
    ASSERT_TRUE(copy.TakeAreas(areas));
    EXPECT_EQ(screen.GetCopyCount(), 2) << "the far corner apart, the rest as one";
    for (const ScreenArea& a : areas) {
        CCaptureImage shared(screen, CImageQuality());
        CCaptureImage own(screen, CImageQuality());
        ASSERT_EQ(shared.CaptureFrom(copy, a.x, a.y, a.width, a.height), CaptureResult::Changed);
        shared.BuildIndex();
        ASSERT_TRUE(own.Capture(a.x, a.y, a.width, a.height));
        EXPECT_EQ(
            std::memcmp(shared.GetOriginalPixels(), own.GetOriginalPixels(), own.GetImageSize()), 0)
            << a.x << "," << a.y;
        EXPECT_EQ(std::memcmp(shared.GetIndex16(), own.GetIndex16(),
                              sizeof(std::uint16_t) * a.width * a.height),
                  0);
        EXPECT_EQ(shared.CaptureFrom(copy, a.x, a.y, a.width, a.height), CaptureResult::Unchanged);
    }

    // A new copy that keeps its version needs no comparing; a pixel that changed in another
    // area is compared away, one in this area is taken.
    CCaptureImage image(screen, CImageQuality());
    ASSERT_EQ(image.CaptureFrom(copy, 10, 20, 5, 5), CaptureResult::Changed);
    const std::uint64_t version = copy.GetVersion();
    ASSERT_TRUE(copy.TakeAreas(areas));
    EXPECT_EQ(copy.GetVersion(), version);
    screen.SetPixel(30, 25, 0x010203);
    ASSERT_TRUE(copy.TakeAreas(areas));
    EXPECT_NE(copy.GetVersion(), version);
    EXPECT_EQ(image.CaptureFrom(copy, 10, 20, 5, 5), CaptureResult::Unchanged);
    screen.SetPixel(10, 20, 0x010203);
    ASSERT_TRUE(copy.TakeAreas(areas));
    EXPECT_EQ(image.CaptureFrom(copy, 10, 20, 5, 5), CaptureResult::Changed);
    EXPECT_EQ(image.GetTopLeftColor(true), 0x010203u);
    // A copy that does not hold the area leaves the last capture.
    EXPECT_EQ(image.CaptureFrom(copy, 100, 50, 5, 5), CaptureResult::Failed);
    EXPECT_EQ(image.GetCenterColor(true), MakeColor(12, 22, 7));
}

// A virtual screen reaching left of and above the primary: a part around a pointer on the
// primary's corner takes every monitor's pixels at their negative coordinates, and black where
// the rectangle bounding them has no monitor.
TEST(ScreenCopyTest, PartsAcrossMonitorEdgesReadEveryMonitorAndBlackBetween) {
    const IntRect primary{0, 0, 120, 100};
    const IntRect left{-100, 0, 0, 80};
    const IntRect above{0, -60, 90, 0};
    CSyntheticScreenSource screen;
    screen.SetFrame(220, 160, CoordinateFrame(220, 160));
    screen.SetOrigin({-100, -60});
    screen.SetMonitors({primary, left, above});
    ASSERT_EQ(screen.GetScreenBounds(), (IntRect{-100, -60, 120, 100}));
    const auto onMonitor = [&](int x, int y) {
        for (const IntRect& m : {primary, left, above}) {
            if (x >= m.left && x < m.right && y >= m.top && y < m.bottom) {
                return true;
            }
        }
        return false;
    };
    const ScreenArea areas[] = {
        {-15, -15, 30, 30},   // the corner of all three and the gap above the left monitor
        {-110, 70, 40, 20},   // beyond the virtual screen's left and the gap below the left one
        {80, -70, 50, 90},    // past the monitor above's right edge and the screen's top
        {-100, -60, 220, 160} // the whole virtual screen
    };
    for (const ScreenArea& a : areas) {
        CScreenCopy copy(screen);
        ASSERT_TRUE(copy.TakeAreas({a}));
        CCaptureImage image(screen, CImageQuality());
        ASSERT_EQ(image.CaptureFrom(copy, a.x, a.y, a.width, a.height), CaptureResult::Changed);
        int wrong = 0;
        for (int y = 0; y < a.height; ++y) {
            for (int x = 0; x < a.width; ++x) {
                const int sx = a.x + x;
                const int sy = a.y + y;
                const ColorValue expected =
                    onMonitor(sx, sy) ? MakeColor(sx + 100, sy + 60, 7) : ColorValue{0};
                const unsigned char* p = image.GetOriginalPixels() +
                                         static_cast<std::size_t>(y) * image.GetStride() + x * 3;
                if (MakeColor(p[2], p[1], p[0]) != expected) {
                    ++wrong;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << a.x << "," << a.y;
    }
}

} // namespace
