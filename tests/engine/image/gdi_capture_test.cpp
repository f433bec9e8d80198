// Screen copies through GDI of a window painted with known colours.
#include "engine/filter/filter.h"
#include "engine/image/capture_image.h"
#include "engine/image/gdi_screen_source.h"
#include "support/win_screen.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

constexpr int kLeft = 120;
constexpr int kTop = 90;
constexpr int kWidth = 64;
constexpr int kHeight = 32;
constexpr ColorValue kLeftColour = MakeColor(200, 30, 40);
constexpr ColorValue kRightColour = MakeColor(30, 60, 90);

// A window whose left half is kLeftColour and right half kRightColour, on the screen.
class GdiCaptureTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(window.WaitShown()); }

    win_test::CPatternWindow window{kLeft, kTop, 2, 1, kWidth / 2, {kLeftColour, kRightColour}};
};

TEST_F(GdiCaptureTest, CapturesWindowColoursAtItsScreenPosition) {
    CCaptureImage image(GetGdiScreenSource());
    ASSERT_TRUE(image.Capture(kLeft, kTop, kWidth, kHeight));
    ASSERT_NE(image.GetSurface(), nullptr);
    EXPECT_EQ(image.GetTopLeftColor(true), kLeftColour);
    EXPECT_EQ(image.GetCenterColor(true), kLeftColour); // column 31 of 0..63
    const unsigned char* p =
        image.GetOriginalPixels() + (kHeight - 1) * image.GetStride() + (kWidth - 1) * 3;
    EXPECT_EQ(MakeColor(p[2], p[1], p[0]), kRightColour);

    // The display pixels are a DIB section selected into the surface: GDI sees the same bits.
    auto normal = CreateNormalFilter();
    image.ApplyFilter(normal.get());
    EXPECT_EQ(GetPixel(image.GetSurface(), kWidth - 1, 0), kRightColour);
}

TEST_F(GdiCaptureTest, RectanglePartlyOffScreenReadsBlackThere) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    CCaptureImage image(GetGdiScreenSource());
    ASSERT_TRUE(image.Capture(screenWidth - 4, 0, 12, 2));
    for (int x = 4; x < 12; ++x) {
        const unsigned char* p = image.GetOriginalPixels() + x * 3;
        EXPECT_EQ(MakeColor(p[2], p[1], p[0]), 0u) << x;
    }
    // Off the top and left edges of the screen; the part on the screen is still copied.
    ASSERT_TRUE(image.Capture(-6, -3, kLeft + 8, kTop + 6));
    EXPECT_EQ(image.GetTopLeftColor(true), 0u);
    const unsigned char* inside =
        image.GetOriginalPixels() + (kTop + 4) * image.GetStride() + (kLeft + 7) * 3;
    EXPECT_EQ(MakeColor(inside[2], inside[1], inside[0]), kLeftColour);
}

} // namespace
