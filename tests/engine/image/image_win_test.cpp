// The Windows side of the image engine: screen copies through GDI that reach past the screen's
// edges, and the colour words taken from string resources. (A window's colours copied at its
// place, and painted from the surface's bits, are compared pixel by pixel in the filter window
// and preview window tests.)
#include "engine/image/capture_image.h"
#include "engine/image/color_info.h"
#include "engine/image/color_name_resources.h"
#include "engine/image/gdi_screen_source.h"
#include "engine/image/screen_copy.h"
#include "platform/utilities.h"
#include "support/win_screen.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(GdiCaptureTest, RectanglePartlyOffScreenReadsBlackThere) {
    const ColorValue colour = MakeColor(200, 30, 40);
    const win_test::CPatternWindow window(120, 90, 1, 1, 32, {colour});
    ASSERT_TRUE(window.WaitShown());
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    CCaptureImage image(GetGdiScreenSource(), CImageQuality());
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

    // Taken from a copy shared with another area, the same pixels.
    CScreenCopy copy(GetGdiScreenSource());
    ASSERT_TRUE(copy.TakeAreas({{screenWidth - 4, 0, 12, 2}, {-6, -3, 128, 96}}));
    CCaptureImage shared(GetGdiScreenSource(), CImageQuality());
    ASSERT_EQ(shared.CaptureFrom(copy, -6, -3, 128, 96), CaptureResult::Changed);
    EXPECT_EQ(
        std::memcmp(shared.GetOriginalPixels(), image.GetOriginalPixels(), image.GetImageSize()),
        0);
}

// The test executable carries no string resources: every word is reported missing once and
// left empty, and the names are still built.
TEST(ColorNameResources, MissingStringsLeaveWordsEmptyAndAreReported) {
    std::vector<std::string> messages;
    SetMessageBoxHookForTesting([&](const char* text, const char*, UINT) {
        messages.emplace_back(text);
        return IDOK;
    });
    LoadColorNameWordsFromResources();
    SetMessageBoxHookForTesting({});

    ASSERT_EQ(messages.size(), kLastColorNameWord - kFirstColorNameWord + 1);
    EXPECT_NE(messages.front().find("ID=41100"), std::string::npos) << messages.front();
    EXPECT_NE(messages.back().find("ID=41132"), std::string::npos) << messages.back();
    for (unsigned id = kFirstColorNameWord; id <= kLastColorNameWord; ++id) {
        EXPECT_EQ(GetColorNameWord(id), "") << id;
    }
    EXPECT_EQ(ColorNameText(CHSV(MakeColor(255, 0, 0)), false), "[ R ] ");
    ResetColorNameWords();
}

} // namespace
