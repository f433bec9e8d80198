#include "authoring/picture_simulation.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/filter/image_quality.h"
#include "engine/image/capture_image.h"
#include "engine/image/synthetic_screen_source.h"
#include "picture_test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class PictureSimulationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_manager.LoadFilterDirectory(ZEZIRIV_FILTER_DATA_DIR)); }

    CFilter& Filter(const char* id) {
        CFilter* filter = m_manager.FindFilter(id);
        if (filter == nullptr) {
            // GoogleTest reports the exception as the test's failure.
            throw std::runtime_error(std::string("no shipped filter ") + id);
        }
        return *filter;
    }

    CFilterManager m_manager;
};

// The same frame as the screen of a capture image and as a picture.
std::vector<ColorValue> FrameOf(const CPicture& picture) {
    std::vector<ColorValue> frame;
    for (int y = 0; y < picture.GetHeight(); ++y) {
        for (int x = 0; x < picture.GetWidth(); ++x) {
            frame.push_back(picture.GetColor(x, y));
        }
    }
    return frame;
}

// What a view of the program shows for that frame: capture, filter, blur.
bool MatchesCaptureImage(const CPicture& original, const CPicture& simulated, const CFilter& filter,
                         int blur) {
    CSyntheticScreenSource screen;
    screen.SetFrame(original.GetWidth(), original.GetHeight(), FrameOf(original));
    CCaptureImage image(screen, filter.GetTableQuality());
    if (!image.Capture(0, 0, original.GetWidth(), original.GetHeight())) {
        return false;
    }
    image.ApplyFilter(&filter);
    image.Blur(blur);
    for (int y = 0; y < original.GetHeight(); ++y) {
        const unsigned char* shown = image.GetDisplayPixels() + y * image.GetStride();
        const unsigned char* ours = simulated.GetRow(y);
        for (int i = 0; i < original.GetWidth() * 3; ++i) {
            if (shown[i] != ours[i]) {
                ADD_FAILURE() << "row " << y << " byte " << i << ": view " << int(shown[i])
                              << ", picture " << int(ours[i]);
                return false;
            }
        }
    }
    return true;
}

TEST_F(PictureSimulationTest, PixelsEqualWhatTheCaptureImageShows) {
    struct Size {
        int width;
        int height;
    };
    // 16-bit and 32-bit indices (quality 8 and up), the lattice itself (1), odd widths, and
    // sizes narrower than the blur's reach.
    const int qualities[] = {0, 1, 8, 18};
    const char* filters[] = {"protanopia", "tritanoptia", "hue_gbr", "_normal"};
    const int blurs[] = {0, 1, 3, 5};
    const Size sizes[] = {{1, 1}, {7, 5}, {3, 12}, {129, 65}};
    std::uint32_t seed = 11;
    for (const int quality : qualities) {
        for (const char* id : filters) {
            CFilter& filter = Filter(id);
            ASSERT_TRUE(filter.BuildTable(CImageQuality(quality)));
            for (const Size size : sizes) {
                CPicture original;
                ASSERT_TRUE(original.Allocate(size.width, size.height, false));
                FillRandom(original, seed++);
                const CPictureSimulation simulation(original, CImageQuality(quality));
                ASSERT_TRUE(simulation.IsReady());
                for (const int blur : blurs) {
                    SCOPED_TRACE(testing::Message()
                                 << "quality " << quality << ", " << id << ", " << size.width << "x"
                                 << size.height << ", blur " << blur);
                    CPicture simulated;
                    ASSERT_TRUE(simulation.Apply(filter, blur, simulated));
                    EXPECT_TRUE(MatchesCaptureImage(original, simulated, filter, blur));
                }
            }
        }
    }
}

TEST_F(PictureSimulationTest, AlphaPassesUntouchedAndDoesNotChangeTheColours) {
    CFilter& filter = Filter("deutanopia");
    ASSERT_TRUE(filter.BuildTable(CImageQuality()));
    CPicture withAlpha;
    CPicture opaque;
    ASSERT_TRUE(withAlpha.Allocate(31, 9, true));
    ASSERT_TRUE(opaque.Allocate(31, 9, false));
    FillRandom(withAlpha, 5);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 31; ++x) {
            opaque.SetColor(x, y, withAlpha.GetColor(x, y));
        }
    }
    CPicture a;
    CPicture b;
    ASSERT_TRUE(CPictureSimulation(withAlpha, CImageQuality()).Apply(filter, 2, a));
    ASSERT_TRUE(CPictureSimulation(opaque, CImageQuality()).Apply(filter, 2, b));
    ASSERT_TRUE(a.HasAlpha());
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 31; ++x) {
            EXPECT_EQ(a.GetAlphaRow(y)[x], withAlpha.GetAlphaRow(y)[x]);
            EXPECT_EQ(a.GetColor(x, y), b.GetColor(x, y));
        }
    }
}

TEST_F(PictureSimulationTest, TablesOfAnotherQualityShowTheOriginal) {
    // Indices of quality 1 (216 entries) read from a table of quality 12 would be wrong colours;
    // indices of quality 12 read from a table of quality 1 would read far past it.
    CPicture original;
    ASSERT_TRUE(original.Allocate(40, 20, false));
    FillRandom(original, 3);
    CFilter& filter = Filter("protanopia");
    const int pairs[][2] = {{1, 12}, {12, 1}};
    for (const auto& pair : pairs) {
        const CPictureSimulation simulation(original, CImageQuality(pair[0]));
        ASSERT_TRUE(filter.BuildTable(CImageQuality(pair[1])));
        CPicture simulated;
        ASSERT_TRUE(simulation.Apply(filter, 0, simulated));
        EXPECT_TRUE(SamePixels(simulated, original));
    }
}

} // namespace
