#include "engine/filter/filter.h"
#include "engine/filter/image_quality.h"
#include "platform/cpu_features.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

ColorMap RandomColorMap(std::mt19937& rng) {
    std::uniform_int_distribution<std::uint32_t> dist(0, 0xFFFFFF);
    ColorMap map{};
    for (auto& c : map) {
        c = dist(rng);
    }
    return map;
}

// The table as the plain triple loops of the described algorithm compute it: samples at the
// lattice, then blue, green, red passes with a true division per channel (each channel of a
// blend truncated on its own).
std::vector<ColorValue> StraightforwardTable(const ColorMap& map, int k) {
    const int n = 5 * k + 1;
    const int nn = n * n;
    std::vector<ColorValue> t(static_cast<std::size_t>(nn) * n);
    auto blend = [k](ColorValue a, ColorValue b, int s) {
        unsigned out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const unsigned ca = (a >> shift) & 0xFF;
            const unsigned cb = (b >> shift) & 0xFF;
            out |= ((ca * (k - s) + cb * s) / k) << shift;
        }
        return out;
    };
    int next = 0;
    for (int r = 0; r < n; r += k)
        for (int g = 0; g < n; g += k)
            for (int b = 0; b < n; b += k)
                t[r * nn + g * n + b] = map[next++];
    for (int r = 0; r < n; r += k)
        for (int g = 0; g < n; g += k)
            for (int b = 0; b < n - 1; b += k)
                for (int s = 1; s < k; ++s) {
                    const int base = r * nn + g * n + b;
                    t[base + s] = blend(t[base], t[base + k], s);
                }
    for (int r = 0; r < n; r += k)
        for (int g = 0; g < n - 1; g += k)
            for (int b = 0; b < n; ++b)
                for (int s = 1; s < k; ++s) {
                    const int base = r * nn + g * n + b;
                    t[base + s * n] = blend(t[base], t[base + k * n], s);
                }
    for (int r = 0; r < n - 1; r += k)
        for (int g = 0; g < n; ++g)
            for (int b = 0; b < n; ++b)
                for (int s = 1; s < k; ++s) {
                    const int base = r * nn + g * n + b;
                    t[base + s * nn] = blend(t[base], t[base + k * nn], s);
                }
    return t;
}

// The size at every level in range is the straightforward table's below; whether an index
// needs 32 bits shows in the pixel tests, which fill an index buffer of that width.
TEST(ImageQuality, LevelsOutsideTheRangeTakeTheStepOfSeven) {
    for (int level : {0, -1, 19}) {
        const CImageQuality q(level);
        EXPECT_EQ(q.GetLevel(), 0) << level;
        EXPECT_EQ(q.GetLatticeStep(), 7) << level;
        EXPECT_EQ(q.GetTableSize(), 46656u) << level;
    }
}

TEST(ColorIndex, WorkedExamplesCornersAndTheRemainderOf26GoingUp) {
    EXPECT_EQ(CImageQuality(7).ColorIndex(MakeColor(255, 128, 0)), 46008u);
    for (int level = 1; level <= 18; ++level) {
        const CImageQuality q(level);
        EXPECT_EQ(q.ColorIndex(MakeColor(0, 0, 0)), 0u);
        EXPECT_EQ(q.ColorIndex(MakeColor(255, 255, 255)), q.GetTableSize() - 1) << level;
    }
    // Quality 1: every channel snaps to its nearest lattice level.
    const std::pair<ColorValue, std::uint32_t> one[] = {
        {MakeColor(25, 0, 0), 0},   {MakeColor(26, 0, 0), 36}, {MakeColor(0, 26, 0), 6},
        {MakeColor(0, 0, 26), 1},   {MakeColor(0, 0, 76), 1},  {MakeColor(0, 0, 77), 2},
        {MakeColor(26, 25, 77), 38}};
    for (const auto& [colour, index] : one) {
        EXPECT_EQ(CImageQuality(1).ColorIndex(colour), index) << std::hex << colour;
    }
}

TEST(BuildTable, MatchesStraightforwardComputation) {
    std::mt19937 rng(20261206);
    for (int level : {1, 2, 3, 7, 8, 12, 18}) {
        SCOPED_TRACE(level);
        const CImageQuality q(level);
        for (int trial = 0; trial < 4; ++trial) {
            // Half the tables with the vector loops a processor without AVX2 runs.
            SetAvx2AllowedForTesting(trial % 2 == 0);
            const ColorMap map = RandomColorMap(rng);
            CFilter filter("f", "f", map);
            ASSERT_TRUE(filter.BuildTable(q));
            const auto expected = StraightforwardTable(map, q.GetLatticeStep());
            ASSERT_EQ(expected.size(), q.GetTableSize());
            const bool equal = std::equal(expected.begin(), expected.end(), filter.GetTable());
            SetAvx2AllowedForTesting(true);
            ASSERT_TRUE(equal) << "trial " << trial;
        }
    }
}

TEST(BuildTable, LatticeColoursAreReproducedAtEveryQuality) {
    std::mt19937 rng(7);
    const ColorMap map = RandomColorMap(rng);
    for (int level = 0; level <= 18; ++level) {
        CFilter filter("f", "f", map);
        ASSERT_TRUE(filter.BuildTable(CImageQuality(level)));
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    ASSERT_EQ(filter.Transform(MakeColor(51 * r, 51 * g, 51 * b)),
                              map[ColorMapPosition(r, g, b)])
                        << level;
    }
}

TEST(BuildTable, SecondCallKeepsTheTableAndAnotherQualityReplacesIt) {
    auto normal = CreateNormalFilter();
    ASSERT_TRUE(normal->BuildTable(CImageQuality(7)));
    const ColorValue* first = normal->GetTable();
    ASSERT_TRUE(normal->BuildTable(CImageQuality(0)));
    EXPECT_EQ(normal->GetTable(), first);
    ASSERT_TRUE(normal->BuildTable(CImageQuality(18)));
    EXPECT_EQ(normal->GetTableQuality().GetTableSize(), 753571u);
    EXPECT_EQ(normal->Transform(MakeColor(255, 255, 255)), MakeColor(255, 255, 255));
    normal->FreeTable();
    EXPECT_EQ(normal->GetTable(), nullptr);
    normal->FreeTable();
}

TEST(NormalFilter, IdentityMapWithRoundingInItsTable) {
    auto normal = CreateNormalFilter();
    EXPECT_TRUE(normal->IsIdentity());
    EXPECT_EQ(normal->GetColorMap()[ColorMapPosition(5, 2, 1)], MakeColor(255, 102, 51));
    ASSERT_TRUE(normal->BuildTable(CImageQuality()));
    // Channel 100 lands on coordinate 14, lattice level 2.
    EXPECT_EQ(normal->Transform(MakeColor(100, 100, 100)), MakeColor(102, 102, 102));
}

TEST(Filter, CopiesOwnTheirTable) {
    std::mt19937 rng(11);
    CFilter original("orig", "Original", RandomColorMap(rng));
    original.SetInUse(true);
    ASSERT_TRUE(original.BuildTable(CImageQuality(12)));
    CFilter copy(original);
    ASSERT_NE(copy.GetTable(), nullptr);
    EXPECT_NE(copy.GetTable(), original.GetTable());
    EXPECT_TRUE(std::equal(original.GetTable(),
                           original.GetTable() + original.GetTableQuality().GetTableSize(),
                           copy.GetTable()));
    EXPECT_TRUE(copy.IsInUse());
    original.FreeTable();
    EXPECT_EQ(copy.Transform(MakeColor(255, 255, 255)), copy.GetColorMap()[215]);

    CFilter tableless(original);
    EXPECT_EQ(tableless.GetTable(), nullptr);
}

TEST(Filter, ReferenceMembers) {
    CFilter seq;
    CFilterRef out("untouched", 7);
    seq.AppendRef(CFilterRef("a", 1000));
    EXPECT_FALSE(seq.GetRef(0, out)) << "a colour-map filter has no members to give";
    seq.SetType(CFilter::kReference);
    seq.AppendRef(CFilterRef("b", -5));
    const CFilter copy(seq);
    EXPECT_TRUE(copy.IsReferenceFilter());
    EXPECT_FALSE(copy.GetRef(2, out) || copy.GetRef(-1, out));
    EXPECT_EQ(out.GetID(), "untouched");
    ASSERT_TRUE(copy.GetRef(1, out));
    EXPECT_EQ(out.GetID(), "b");
    EXPECT_EQ(out.GetTimeout(), -5);
}

} // namespace
