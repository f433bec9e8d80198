// The colours of pictures of user interfaces: shapes drawn with smooth edges, as a renderer
// draws them, give their colours and none of their edges', and the audit pairs only those.
#include "authoring/palette_audit.h"
#include "authoring/picture_palette.h"
#include "authoring/picture_simulation.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/filter/image_quality.h"
#include "engine/image/look_alike.h"
#include "picture_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace {

ColorValue Blend(ColorValue under, ColorValue over, double coverage) {
    auto mix = [&](unsigned a, unsigned b) {
        return static_cast<unsigned>(std::lround(a + (static_cast<double>(b) - a) * coverage));
    };
    return MakeColor(mix(RedOf(under), RedOf(over)), mix(GreenOf(under), GreenOf(over)),
                     mix(BlueOf(under), BlueOf(over)));
}

// A disc with an edge one pixel wide: each pixel blends by the share of its 4 x 4 samples
// inside, so the edge passes through dozens of colours between the two.
void DrawDisc(CPicture& picture, double cx, double cy, double r, ColorValue color) {
    for (int y = 0; y < picture.GetHeight(); ++y) {
        for (int x = 0; x < picture.GetWidth(); ++x) {
            int inside = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    const double dx = x + (sx + 0.5) / 4 - cx;
                    const double dy = y + (sy + 0.5) / 4 - cy;
                    inside += dx * dx + dy * dy <= r * r;
                }
            }
            if (inside > 0) {
                picture.SetColor(x, y, Blend(picture.GetColor(x, y), color, inside / 16.0));
            }
        }
    }
}

void Fill(CPicture& picture, ColorValue color) {
    for (int y = 0; y < picture.GetHeight(); ++y) {
        for (int x = 0; x < picture.GetWidth(); ++x) {
            picture.SetColor(x, y, color);
        }
    }
}

std::set<ColorValue> ColorsOf(const std::vector<PictureColor>& colors) {
    std::set<ColorValue> set;
    for (const PictureColor& c : colors) {
        set.insert(c.color);
    }
    return set;
}

class PicturePaletteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(manager.LoadFilterDirectory(ZEZIRIV_FILTER_DATA_DIR));
        for (const char* id : {"protanopia", "deutanopia", "tritanoptia"}) {
            CFilter* filter = manager.FindFilter(id);
            ASSERT_NE(filter, nullptr) << id;
            ASSERT_TRUE(filter->BuildTable(CImageQuality()));
            dichromacies.push_back(filter);
        }
    }
    // Whether any dichromacy collapses a pair of the picture's colours.
    bool AnyCollapse(const std::vector<PictureColor>& colors) const {
        std::vector<ColorValue> palette;
        for (const PictureColor& c : colors) {
            palette.push_back(c.color);
        }
        return std::any_of(dichromacies.begin(), dichromacies.end(), [&](const CFilter* f) {
            return !AuditPalette(*f, palette, 10).collapsed.empty();
        });
    }

    CFilterManager manager;
    std::vector<const CFilter*> dichromacies;
};

TEST_F(PicturePaletteTest, SmoothEdgesGiveNoColoursAndNoPairs) {
    const ColorValue white = 0xFFFFFF;
    const ColorValue blue = MakeColor(0x1F, 0x77, 0xB4);
    const ColorValue black = 0;
    CPicture picture;
    ASSERT_TRUE(picture.Allocate(240, 160, false));
    Fill(picture, white);
    DrawDisc(picture, 70, 80, 50, blue);
    DrawDisc(picture, 180, 60, 35, black);
    DrawDisc(picture, 190, 120, 30, blue); // overlapping nothing: its edge is white-blue too

    std::vector<PictureColor> colors;
    std::uint64_t visible = 0;
    ASSERT_TRUE(FindPictureColors(picture, kDefaultMinColorShare, colors, visible));
    EXPECT_EQ(visible, 240u * 160u);
    EXPECT_EQ(ColorsOf(colors), (std::set<ColorValue>{white, blue, black}));
    EXPECT_EQ(colors.front().color, white) << "the most covering first";
    EXPECT_FALSE(AnyCollapse(colors));

    // However small the share, a curved edge's colours fill no block.
    ASSERT_TRUE(FindPictureColors(picture, kMinColorShare, colors, visible));
    EXPECT_EQ(ColorsOf(colors), (std::set<ColorValue>{white, blue, black}));
}

// A straight edge between two fields puts one colour along a whole row: in a small picture,
// such as one button, that row alone can pass the share.
TEST_F(PicturePaletteTest, AStraightSmoothEdgeGivesNoColourHoweverLong) {
    const ColorValue field = MakeColor(0xD0, 0x30, 0x30);
    const ColorValue other = MakeColor(0x30, 0x90, 0x30);
    CPicture picture;
    ASSERT_TRUE(picture.Allocate(160, 20, false));
    const auto rows = [&](int y0, int y1, ColorValue colour) {
        for (int y = y0; y < y1; ++y) {
            for (int x = 0; x < 160; ++x) {
                picture.SetColor(x, y, colour);
            }
        }
    };
    Fill(picture, field);
    rows(10, 20, other);
    rows(10, 11, MakeColor(0x80, 0x60, 0x30)); // the edge, half of each
    // A two-pixel line of its own colour is drawn, not an edge.
    const ColorValue line = MakeColor(0x20, 0x20, 0xF0);
    rows(2, 4, line);
    std::vector<PictureColor> colors;
    std::uint64_t visible = 0;
    ASSERT_TRUE(FindPictureColors(picture, kDefaultMinColorShare, colors, visible));
    EXPECT_EQ(ColorsOf(colors), (std::set<ColorValue>{field, other, line}));
}

TEST_F(PicturePaletteTest, ARedAndAGreenCollapseForRedGreenDeficiencies) {
    const ColorValue red = MakeColor(0xC8, 0x64, 0x32);
    const ColorValue green = MakeColor(0x5A, 0x8A, 0x20);
    CPicture picture;
    ASSERT_TRUE(picture.Allocate(200, 100, true));
    Fill(picture, 0xFFFFFF);
    DrawDisc(picture, 50, 50, 30, red);
    DrawDisc(picture, 150, 50, 30, green);
    // A transparent band counts for nothing, whatever its colour.
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            picture.GetAlphaRow(y)[x] = x < 10 ? 0 : 255;
            if (x < 10) {
                picture.SetColor(x, y, 0x123456);
            }
        }
    }
    std::vector<PictureColor> colors;
    std::uint64_t visible = 0;
    ASSERT_TRUE(FindPictureColors(picture, kDefaultMinColorShare, colors, visible));
    EXPECT_EQ(visible, 190u * 100u);
    EXPECT_EQ(ColorsOf(colors), (std::set<ColorValue>{0xFFFFFF, red, green}));
    EXPECT_TRUE(AnyCollapse(colors));
    const CFilter& tritan = *dichromacies[2];
    EXPECT_TRUE(AuditPalette(tritan, {red, green}, 10).collapsed.empty());
}

// simulate --highlight: the picture through the filter, every pixel whose filtered colour does
// not look like the given colour's dimmed, blur first as in a filter window.
TEST_F(PicturePaletteTest, HighlightingAPictureFollowsTheRule) {
    CPicture picture;
    ASSERT_TRUE(picture.Allocate(37, 23, false));
    FillRandom(picture, 7);
    const ColorValue red = MakeColor(0xC8, 0x64, 0x32);
    for (int x = 0; x < 37; ++x) {
        picture.SetColor(x, 5, red);
        picture.SetColor(x, 6, MakeColor(0x5A, 0x8A, 0x20));
    }
    const CImageQuality quality;
    const CPictureSimulation simulation(picture, quality);
    ASSERT_TRUE(simulation.IsReady());
    CFilter* normal = manager.FindFilter("_normal");
    ASSERT_NE(normal, nullptr);
    for (const CFilter* filter : {dichromacies[0], static_cast<const CFilter*>(normal)}) {
        SCOPED_TRACE(filter->GetID());
        CPicture plain;
        CPicture highlighted;
        ASSERT_TRUE(simulation.Apply(*filter, 0, plain));
        ASSERT_TRUE(simulation.Apply(*filter, 0, highlighted));
        const std::size_t alike = simulation.HighlightLookAlikes(*filter, red, 3.0, highlighted);
        const ColorValue reference = filter->IsIdentity() ? red : filter->Transform(red);
        std::size_t expected = 0;
        for (int y = 0; y < 23; ++y) {
            for (int x = 0; x < 37; ++x) {
                const ColorValue c = plain.GetColor(x, y);
                const bool isAlike = IsLookAlike(reference, c, 3.0);
                expected += isAlike;
                ASSERT_EQ(highlighted.GetColor(x, y), isAlike ? c : DimColor(c)) << x << "," << y;
            }
        }
        EXPECT_EQ(alike, expected);
        EXPECT_GE(alike, 37u) << "the row of the colour itself";
    }
}

} // namespace
