// Screen copies through GDI that reach past the screen's edges. (A window's colours copied at
// its place, and painted from the surface's bits, are compared pixel by pixel in the filter
// window and preview window tests.)
#include "engine/image/capture_image.h"
#include "engine/image/gdi_screen_source.h"
#include "support/win_screen.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(GdiCaptureTest, RectanglePartlyOffScreenReadsBlackThere) {
    const ColorValue colour = MakeColor(200, 30, 40);
    const win_test::CPatternWindow window(120, 90, 1, 1, 32, {colour});
    ASSERT_TRUE(window.WaitShown());
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    CCaptureImage image(GetGdiScreenSource());
    ASSERT_TRUE(image.Capture(screenWidth - 4, 0, 12, 2));
    for (int x = 4; x < 12; ++x) {
        const unsigned char* p = image.GetOriginalPixels() + x * 3;
        EXPECT_EQ(MakeColor(p[2], p[1], p[0]), 0u) << x;
    }
    // Off the top and left edges of the screen; the part on the screen is still copied.
    ASSERT_TRUE(image.Capture(-6, -3, 128, 96));
    EXPECT_EQ(image.GetTopLeftColor(true), 0u);
    const unsigned char* inside = image.GetOriginalPixels() + 94 * image.GetStride() + 127 * 3;
    EXPECT_EQ(MakeColor(inside[2], inside[1], inside[0]), colour);
}

} // namespace
