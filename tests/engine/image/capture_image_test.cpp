#include "engine/filter/filter.h"
#include "engine/filter/image_quality.h"
#include "engine/image/capture_image.h"
#include "engine/image/synthetic_screen_source.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

ColorValue PixelAt(const unsigned char* pixels, std::uint32_t stride, int x, int y) {
    const unsigned char* p = pixels + y * stride + x * 3;
    return MakeColor(p[2], p[1], p[0]);
}

class CaptureImageTest : public ::testing::Test {
protected:
    void SetUp() override { screen.SetFrame(200, 100, CoordinateFrame(200, 100)); }

    CSyntheticScreenSource screen;
};

TEST_F(CaptureImageTest, CentreAndLayoutBySize) {
    struct Case {
        int width, height;
        int centreX, centreY;
        std::uint32_t stride;
    };
    for (const Case& c : {Case{1, 1, 0, 0, 4}, Case{4, 4, 1, 1, 12}, Case{5, 3, 2, 1, 16},
                          Case{6, 2, 2, 0, 20}, Case{7, 1, 3, 0, 24}}) {
        CCaptureImage image(screen, CImageQuality());
        ASSERT_TRUE(image.Capture(10, 20, c.width, c.height));
        EXPECT_EQ(image.GetStride(), c.stride);
        EXPECT_EQ(image.GetImageSize(), c.stride * c.height);
        EXPECT_EQ(image.GetCenterColor(true), MakeColor(10 + c.centreX, 20 + c.centreY, 7));
        EXPECT_EQ(image.GetTopLeftColor(false), MakeColor(10, 20, 7));
        EXPECT_NE(image.GetSurface(), nullptr);
    }
}

TEST_F(CaptureImageTest, SameSizeReusesBuffersAndClearsBeforeCopy) {
    CCaptureImage image(screen, CImageQuality());
    ASSERT_TRUE(image.Capture(0, 0, 8, 8));
    const unsigned char* display = image.GetDisplayPixels();
    const unsigned char* original = image.GetOriginalPixels();
    // Half off the right edge: the old content must not show through there.
    ASSERT_TRUE(image.Capture(196, 50, 8, 8));
    EXPECT_EQ(screen.GetSurfacesCreated(), 1);
    EXPECT_EQ(image.GetDisplayPixels(), display);
    EXPECT_EQ(image.GetOriginalPixels(), original);
    for (int x = 0; x < 8; ++x) {
        const ColorValue expected = x < 4 ? MakeColor(196 + x, 53, 7) : 0;
        EXPECT_EQ(PixelAt(original, image.GetStride(), x, 3), expected) << x;
        EXPECT_EQ(PixelAt(display, image.GetStride(), x, 3), expected) << x;
    }
    ASSERT_TRUE(image.Capture(0, 0, 9, 8));
    EXPECT_EQ(screen.GetSurfacesCreated(), 2);
}

TEST_F(CaptureImageTest, OffScreenPartsReadBlackOnEverySide) {
    CCaptureImage image(screen, CImageQuality());
    ASSERT_TRUE(image.Capture(-3, -2, 4, 4));
    EXPECT_EQ(image.GetTopLeftColor(true), 0u);
    EXPECT_EQ(PixelAt(image.GetOriginalPixels(), image.GetStride(), 3, 2), MakeColor(0, 0, 7));
    ASSERT_TRUE(image.Capture(2147483000, 2147483000, 4, 4));
    EXPECT_EQ(image.GetCenterColor(true), 0u);
}

TEST_F(CaptureImageTest, FailedOrInvalidCaptureLeavesImageEmpty) {
    CCaptureImage image(screen, CImageQuality());
    ASSERT_TRUE(image.Capture(0, 0, 4, 4));
    screen.SetFailSurfaces(true);
    EXPECT_FALSE(image.Capture(0, 0, 5, 5));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(image.GetSurface(), nullptr);
    screen.SetFailSurfaces(false);
    for (auto [w, h] :
         {std::pair{0, 5}, std::pair{5, 0}, std::pair{-1, 5}, std::pair{100000, 100000}}) {
        EXPECT_FALSE(image.Capture(0, 0, w, h));
        EXPECT_TRUE(image.IsEmpty());
    }
}

TEST_F(CaptureImageTest, UnreadableScreenKeepsTheLastCaptureAtTheSameSize) {
    CCaptureImage image(screen, CImageQuality());
    ASSERT_TRUE(image.Capture(10, 20, 5, 5));
    CFilter swap("swap", "swap", SwapRedBlueMap());
    ASSERT_TRUE(swap.BuildTable(CImageQuality()));
    image.ApplyFilter(&swap);
    const ColorValue filtered = image.GetCenterColor(false);

    screen.SetFailCopies(true);
    EXPECT_FALSE(image.Capture(30, 40, 5, 5));
    ASSERT_FALSE(image.IsEmpty());
    EXPECT_EQ(image.GetCenterColor(true), MakeColor(12, 22, 7));
    EXPECT_EQ(image.GetCenterColor(false), MakeColor(12, 22, 7));
    image.ApplyFilter(&swap); // the indices are still those of the last copy
    EXPECT_EQ(image.GetCenterColor(false), filtered);

    // A new size has no last capture to keep.
    EXPECT_FALSE(image.Capture(30, 40, 6, 6));
    EXPECT_TRUE(image.IsEmpty());
    screen.SetFailCopies(false);
    ASSERT_TRUE(image.Capture(30, 40, 5, 5));
    EXPECT_EQ(image.GetCenterColor(true), MakeColor(32, 42, 7));
}

// An empty image filtered and blurred is the window model's minimised test, whose picture area
// of nothing leaves the image empty while every tick filters it, under the sanitizers.

TEST_F(CaptureImageTest, FiltersStartAfreshAndIdentityRestoresOriginal) {
    for (int level : {7, 18}) {
        const CImageQuality quality(level);
        CFilter swap("swap", "swap", SwapRedBlueMap());
        ASSERT_TRUE(swap.BuildTable(quality));
        auto normal = CreateNormalFilter();
        CFilter noTable("broken", "broken", SwapRedBlueMap());

        CCaptureImage image(screen, quality);
        ASSERT_TRUE(image.Capture(0, 0, 5, 3));
        std::vector<unsigned char> original(image.GetOriginalPixels(),
                                            image.GetOriginalPixels() + image.GetImageSize());
        const ColorValue centre = image.GetCenterColor(true);

        image.ApplyFilter(&swap);
        image.Blur(1);
        image.ApplyFilter(&swap);
        EXPECT_EQ(image.GetCenterColor(false), swap.Transform(centre));
        EXPECT_EQ(image.GetCenterColor(true), centre);
        // The padding byte of each 16-byte row stays as captured.
        for (int y = 0; y < 3; ++y) {
            EXPECT_EQ(image.GetDisplayPixels()[y * 16 + 15], 0);
        }

        const CFilter* const shownFilters[] = {normal.get(), &noTable, nullptr};
        for (const CFilter* shown : shownFilters) {
            image.ApplyFilter(&swap);
            image.ApplyFilter(shown);
            EXPECT_EQ(0, std::memcmp(image.GetDisplayPixels(), original.data(), original.size()));
        }
    }
}

TEST_F(CaptureImageTest, TableOfAnotherQualityShowsOriginalInsteadOfReadingPastIt) {
    CCaptureImage image(screen, CImageQuality(7));
    ASSERT_TRUE(image.Capture(0, 0, 4, 4));
    CFilter swap("swap", "swap", SwapRedBlueMap());
    ASSERT_TRUE(swap.BuildTable(CImageQuality(18)));
    image.ApplyFilter(&swap);
    EXPECT_EQ(image.GetCenterColor(false), image.GetCenterColor(true));
    // At the table's quality the indices are 32-bit and the filter shows.
    CCaptureImage fine(screen, CImageQuality(18));
    ASSERT_TRUE(fine.Capture(0, 0, 4, 4));
    EXPECT_NE(fine.GetIndex32(), nullptr);
    fine.ApplyFilter(&swap);
    EXPECT_EQ(fine.GetCenterColor(false), swap.Transform(fine.GetCenterColor(true)));
}

// The blur of the shown pixels is compared with a picture blurred by the pixel loops at every
// radius in the picture simulation test, and the loops with the arithmetic in the pixel tests.

} // namespace
