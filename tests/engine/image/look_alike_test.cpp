// Look-alike decisions and the highlight pass against the rule computed afresh per pixel.
#include "engine/filter/filter.h"
#include "engine/filter/image_quality.h"
#include "engine/image/look_alike.h"
#include "engine/image/pixel_pipeline.h"
#include "engine/image/pixel_workers.h"
#include "platform/cpu_features.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

std::size_t StrideOf(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

ColorValue PixelAt(const std::vector<unsigned char>& frame, std::size_t stride, int x, int y) {
    const unsigned char* p = frame.data() + static_cast<std::size_t>(y) * stride + x * 3;
    return MakeColor(p[2], p[1], p[0]);
}

// Every pixel of `pixels` against the rule for the filtered colour `filtered(x, y)`; the number
// of look-alikes the rule finds.
template <class Filtered>
std::size_t ExpectHighlighted(const std::vector<unsigned char>& pixels, std::size_t stride,
                              int width, int height, ColorValue reference, double distance,
                              Filtered filtered) {
    std::size_t alike = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const ColorValue c = filtered(x, y);
            const bool isAlike = IsLookAlike(reference, c, distance);
            alike += isAlike;
            if (PixelAt(pixels, stride, x, y) != (isAlike ? c : DimColor(c))) {
                ADD_FAILURE() << "pixel " << x << "," << y; // one place is enough to read
                return alike;
            }
        }
    }
    return alike;
}

bool SameRows(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b,
              std::size_t stride, int width, int height) {
    for (int y = 0; y < height; ++y) {
        if (std::memcmp(a.data() + y * stride, b.data() + y * stride,
                        static_cast<std::size_t>(width) * 3) != 0) {
            return false;
        }
    }
    return true;
}

// Every lattice colour to the grey of its luma: a filter under which many colours collapse.
ColorMap GreyMap() {
    ColorMap map{};
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) {
                const unsigned grey = (77u * 51 * r + 150u * 51 * g + 29u * 51 * b) >> 8;
                map[ColorMapPosition(r, g, b)] = MakeColor(grey, grey, grey);
            }
    return map;
}

TEST(LookAlike, DimmingRuleExactly) {
    const struct {
        ColorValue in;
        ColorValue out;
    } cases[] = {
        {MakeColor(0, 0, 0), MakeColor(72, 72, 72)},
        {MakeColor(255, 255, 255), MakeColor(231, 231, 231)},
        {MakeColor(128, 128, 128), MakeColor(152, 152, 152)},
        {MakeColor(255, 0, 0), MakeColor(164, 101, 101)},
        {MakeColor(0, 255, 0), MakeColor(128, 191, 128)},
        {MakeColor(0, 0, 255), MakeColor(83, 83, 146)},
        {MakeColor(1, 2, 3), MakeColor(73, 73, 74)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DimColor(c.in), c.out) << std::hex << c.in;
    }
    // Lightness order survives among greys, so shapes of different lightness stay apart.
    for (unsigned v = 1; v < 256; ++v) {
        EXPECT_GE(DimColor(MakeColor(v, v, v)) & 0xFF,
                  DimColor(MakeColor(v - 1, v - 1, v - 1)) & 0xFF);
    }
}

// Grey, black and white references, and coloured ones, against neighbours near and far: a
// distance of exactly the difference takes the colour in, the next smaller double leaves it
// out, whichever way the mask decides (table entry or colour).
TEST(LookAlike, DistanceEdgesForGreyBlackWhiteAndColours) {
    const ColorValue references[] = {MakeColor(0, 0, 0), MakeColor(255, 255, 255),
                                     MakeColor(128, 128, 128), MakeColor(200, 40, 40),
                                     MakeColor(30, 90, 200)};
    std::mt19937 rng(22);
    for (const ColorValue reference : references) {
        SCOPED_TRACE(testing::Message() << std::hex << reference);
        std::vector<ColorValue> others;
        for (int i = 0; i < 40; ++i) {
            // Mostly neighbours within a few codes; some anywhere.
            auto near = [&](unsigned c) {
                const int moved = static_cast<int>(c) + static_cast<int>(rng() % 9) - 4;
                return static_cast<unsigned>(std::clamp(moved, 0, 255));
            };
            others.push_back(i % 4 == 0
                                 ? rng() & 0xFFFFFFu
                                 : MakeColor(near(RedOf(reference)), near(GreenOf(reference)),
                                             near(BlueOf(reference))));
        }
        for (const ColorValue other : others) {
            const double d = Ciede2000(LabFromColor(reference), LabFromColor(other));
            if (other == reference || d == 0) {
                continue;
            }
            const double below = std::nextafter(d, 0.0);
            EXPECT_TRUE(IsLookAlike(reference, other, d)) << std::hex << other;
            EXPECT_FALSE(IsLookAlike(reference, other, below)) << std::hex << other;
            for (const double distance : {d, below}) {
                const ColorValue table[2] = {reference, other};
                CLookAlikeMask mask;
                mask.Prepare(reference, distance, table, 2);
                EXPECT_TRUE(mask.IsEntryLookAlike(0));
                EXPECT_EQ(mask.IsEntryLookAlike(1), distance == d) << std::hex << other;
                EXPECT_EQ(mask.IsColorLookAlike(other), distance == d) << std::hex << other;
            }
        }
        // The reference is its own look-alike at any distance.
        EXPECT_TRUE(IsLookAlike(reference, reference, 1e-9));
    }
    EXPECT_FALSE(IsLookAlike(0, 0xFFFFFF, kMaxLookAlikeDistance / 2));
}

// The mask's lightness shortcut and its colour cache (colliding slots included) never change
// a decision.
TEST(LookAlike, MaskDecidesAsTheRuleOverManyColours) {
    std::mt19937 rng(2026);
    for (const double distance : {0.5, 3.0, 10.0, 40.0}) {
        const ColorValue reference = rng() & 0xFFFFFFu;
        std::vector<ColorValue> table(20000);
        for (auto& c : table) {
            c = rng() & 0xFFFFFFu;
        }
        CLookAlikeMask mask;
        mask.Prepare(reference, distance, table.data(), table.size());
        int alike = 0;
        for (std::uint32_t i = 0; i < table.size(); ++i) {
            const bool expected = IsLookAlike(reference, table[i], distance);
            alike += expected;
            ASSERT_EQ(mask.IsEntryLookAlike(i), expected) << distance << " " << i;
            ASSERT_EQ(mask.IsColorLookAlike(table[i]), expected) << distance << " " << i;
        }
        if (distance >= 40) {
            EXPECT_GT(alike, 0);
        }
        // Another reference forgets what was decided, however many came before.
        for (std::uint32_t round = 0; round < 300; ++round) {
            const std::uint32_t at = round % 64;
            mask.Prepare(table[at], distance, table.data(), table.size());
            ASSERT_TRUE(mask.IsEntryLookAlike(at)) << round;
            ASSERT_EQ(mask.IsEntryLookAlike(at + 64),
                      IsLookAlike(table[at], table[at + 64], distance))
                << round;
            ASSERT_TRUE(mask.IsColorLookAlike(table[at])) << round;
        }
    }
}

// A table built again in the same memory keeps its address: only Forget tells the mask.
TEST(LookAlike, ATableBuiltAgainInPlaceIsDecidedAfresh) {
    std::vector<ColorValue> table = {0x808080, 0x808080};
    CLookAlikeMask mask;
    mask.Prepare(0x808080, kDefaultLookAlikeDistance, table.data(), table.size());
    ASSERT_TRUE(mask.IsEntryLookAlike(1));
    table[1] = 0x000000;
    mask.Forget();
    mask.Prepare(0x808080, kDefaultLookAlikeDistance, table.data(), table.size());
    EXPECT_FALSE(mask.IsEntryLookAlike(1));
    EXPECT_EQ(mask.ShownEntry(1) & 0xFFFFFFu, DimColor(0x000000));
}

// At every image quality, with one band and several: every pixel is its table colour when that
// is a look-alike of the reference and the dimming of it otherwise, and the count is right.
TEST(LookAlike, HighlightPassAtEveryQuality) {
    std::mt19937 rng(18);
    const int width = 61;
    const int height = 37;
    const std::size_t stride = StrideOf(width);
    std::vector<unsigned char> frame(stride * height);
    for (auto& b : frame) {
        b = static_cast<unsigned char>(rng());
    }
    for (int level = 0; level <= 18; ++level) {
        SCOPED_TRACE(level);
        const CImageQuality quality(level);
        CFilter filter("grey", "grey", GreyMap());
        ASSERT_TRUE(filter.BuildTable(quality));
        const ColorValue* table = filter.GetTable();
        std::vector<std::uint16_t> index16(width * height);
        std::vector<std::uint32_t> index32(width * height);
        if (quality.IsIndex16Bit()) {
            BuildIndexBuffer(frame.data(), width, height, stride, quality, index16.data());
            index32.assign(index16.begin(), index16.end());
        } else {
            BuildIndexBuffer(frame.data(), width, height, stride, quality, index32.data());
        }
        for (const int run : {0, 1, 2, 3}) {
            const int workers = run < 2 ? 1 : 3;
            const bool avx2 = run % 2 == 0;
            SetPixelWorkersForTesting(workers, 64);
            std::vector<unsigned char> pixels(frame.size());
            ApplyColorTable(index32.data(), table, width, height, stride, pixels.data());
            const ColorValue reference = PixelAt(pixels, stride, width / 2, height / 2);
            CLookAlikeMask mask;
            mask.Prepare(reference, kDefaultLookAlikeDistance, table, quality.GetTableSize());
            const std::size_t alike = quality.IsIndex16Bit()
                                          ? HighlightLookAlikes(index16.data(), mask, width, height,
                                                                stride, pixels.data())
                                          : HighlightLookAlikes(index32.data(), mask, width, height,
                                                                stride, pixels.data());
            // The table pass and the highlight in one pass make the same picture, with the
            // vector loops and without.
            SetAvx2AllowedForTesting(avx2);
            std::vector<unsigned char> fused(frame.size());
            CLookAlikeMask again;
            again.Prepare(reference, kDefaultLookAlikeDistance, table, quality.GetTableSize());
            const std::size_t fusedAlike =
                quality.IsIndex16Bit() ? ApplyHighlightedTable(index16.data(), again, width, height,
                                                               stride, fused.data())
                                       : ApplyHighlightedTable(index32.data(), again, width, height,
                                                               stride, fused.data());
            // Again with every entry decided: the one pass that writes and counts.
            std::vector<unsigned char> decided(frame.size());
            const std::size_t decidedAlike =
                quality.IsIndex16Bit() ? ApplyHighlightedTable(index16.data(), again, width, height,
                                                               stride, decided.data())
                                       : ApplyHighlightedTable(index32.data(), again, width, height,
                                                               stride, decided.data());
            SetPixelWorkersForTesting(0, 0);
            SetAvx2AllowedForTesting(true);
            SCOPED_TRACE(run);
            EXPECT_EQ(decidedAlike, alike);
            EXPECT_TRUE(SameRows(decided, pixels, stride, width, height));
            EXPECT_EQ(fusedAlike, alike);
            EXPECT_TRUE(SameRows(fused, pixels, stride, width, height));
            EXPECT_EQ(alike, ExpectHighlighted(pixels, stride, width, height, reference,
                                               kDefaultLookAlikeDistance, [&](int x, int y) {
                                                   return table[index32[y * width + x]];
                                               }));
            EXPECT_GT(alike, 0u);
            EXPECT_LT(alike, static_cast<std::size_t>(width) * height);
        }
    }
}

// One mask over references that come and go, with part of the picture's entries decided
// already: the pass that finds an entry still to decide halfway, on any band, finishes the
// picture as the rule makes it.
TEST(LookAlike, HighlightPassWithEntriesPartlyDecided) {
    std::mt19937 rng(7);
    const int width = 53;
    const int height = 41;
    const std::size_t stride = StrideOf(width);
    std::vector<unsigned char> frame(stride * height);
    for (auto& b : frame) {
        b = static_cast<unsigned char>(rng() % 96 + 64);
    }
    const CImageQuality quality(7);
    CFilter filter("grey", "grey", GreyMap());
    ASSERT_TRUE(filter.BuildTable(quality));
    const ColorValue* table = filter.GetTable();
    std::vector<std::uint32_t> index(width * height);
    BuildIndexBuffer(frame.data(), width, height, stride, quality, index.data());
    const double distance = 6.0;
    for (const int workers : {1, 3}) {
        for (const bool avx2 : {true, false}) {
            SetPixelWorkersForTesting(workers, 64);
            SetAvx2AllowedForTesting(avx2);
            CLookAlikeMask mask;
            for (int round = 0; round < 12; ++round) {
                const std::size_t at = rng() % index.size();
                const ColorValue reference = table[index[at]];
                mask.Prepare(reference, distance, table, quality.GetTableSize());
                // Rows from a random one on decided first.
                for (std::size_t i = static_cast<std::size_t>(rng() % height) * width;
                     i < index.size(); i += 2) {
                    mask.ShownEntry(index[i]);
                }
                std::vector<unsigned char> pixels(frame.size());
                const std::size_t alike =
                    ApplyHighlightedTable(index.data(), mask, width, height, stride, pixels.data());
                SCOPED_TRACE(::testing::Message()
                             << "round " << round << " workers " << workers << " avx2 " << avx2);
                EXPECT_EQ(alike, ExpectHighlighted(
                                     pixels, stride, width, height, reference, distance,
                                     [&](int x, int y) { return table[index[y * width + x]]; }));
            }
        }
    }
    SetPixelWorkersForTesting(0, 0);
    SetAvx2AllowedForTesting(true);
}

// The identity's pixels are not table entries: decided by colour, from a picture that may be
// the one being dimmed.
TEST(LookAlike, HighlightByColourInPlace) {
    std::mt19937 rng(5);
    const int width = 40;
    const int height = 30;
    const std::size_t stride = StrideOf(width);
    std::vector<unsigned char> frame(stride * height);
    const ColorValue reference = MakeColor(120, 130, 140);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Half near the reference, half anywhere.
            const ColorValue c =
                (x + y) % 2 == 0 ? reference + (rng() % 3) * 0x010101u : rng() & 0xFFFFFFu;
            unsigned char* p = frame.data() + y * stride + x * 3;
            p[0] = static_cast<unsigned char>(BlueOf(c));
            p[1] = static_cast<unsigned char>(GreenOf(c));
            p[2] = static_cast<unsigned char>(RedOf(c));
        }
    }
    std::vector<unsigned char> pixels = frame;
    CLookAlikeMask mask;
    mask.Prepare(reference, kDefaultLookAlikeDistance, nullptr, 0);
    const std::size_t alike =
        HighlightLookAlikesByColor(pixels.data(), mask, width, height, stride, pixels.data());
    EXPECT_EQ(alike,
              ExpectHighlighted(pixels, stride, width, height, reference, kDefaultLookAlikeDistance,
                                [&](int x, int y) { return PixelAt(frame, stride, x, y); }));
    EXPECT_GE(alike, static_cast<std::size_t>(width * height / 2));
}

TEST(LookAlike, StoredDistancesAndShares) {
    for (const double bad : {0.0, 0.09, -1.0, 100.5, 1e300, std::nan(""), HUGE_VAL}) {
        EXPECT_FALSE(IsValidLookAlikeDistance(bad)) << bad;
    }
    for (const double good : {0.1, 3.0, 100.0}) {
        EXPECT_TRUE(IsValidLookAlikeDistance(good)) << good;
    }
    const struct {
        std::size_t alike, pixels;
        int percent;
    } shares[] = {{0, 100, 0},       {1, 1000000, 1}, {50, 100, 50},  {999, 1000, 99},
                  {1000, 1000, 100}, {0, 0, 0},       {129, 1000, 12}};
    for (const auto& s : shares) {
        EXPECT_EQ(LookAlikePercent(s.alike, s.pixels), s.percent) << s.alike << "/" << s.pixels;
    }
}

} // namespace
