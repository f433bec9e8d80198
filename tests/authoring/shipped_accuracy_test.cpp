#include "authoring/filter_accuracy.h"
#include "authoring/lattice_fit.h"
#include "authoring/shipped_filters.h"
#include "engine/filter/image_quality.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The lattice of a shipped file, read back from its Color lines.
ColorMap ShippedLattice(const std::string& id) {
    std::ifstream in(std::string(ZEZIRIV_FILTER_DATA_DIR) + "/" + id + ".xml", std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    ColorMap map{};
    std::size_t next = 0;
    for (std::size_t at = text.find("RGB=\"#"); at != std::string::npos && next < map.size();
         at = text.find("RGB=\"#", at + 1)) {
        unsigned r = 0;
        unsigned g = 0;
        unsigned b = 0;
        if (std::sscanf(text.c_str() + at + 6, "%2x%2x%2x", &r, &g, &b) == 3) {
            map[next++] = MakeColor(r, g, b);
        }
    }
    EXPECT_EQ(next, map.size()) << id;
    return map;
}

struct Recorded {
    const char* id;
    AccuracyFigures q7;
    AccuracyFigures q12;
};

// CIEDE2000 of the shipped files against their models over the quick sample (2^20 colours),
// as `zeziriv-filtergen report` prints them. A change here means the shipped data or the
// measurement moved: regenerate, re-measure and update docs/filters.md with these.
const Recorded kRecorded[] = {
    // clang-format off
    // quality 7: mean, p95, max;  quality 12: mean, p95, max. "_identity" is the floor: the
    // identity map read through the table.
    {"protanopia",    {0.7721, 1.801, 5.717}, {0.4891, 1.137, 3.980}},
    {"deutanopia",    {0.7581, 1.761, 6.249}, {0.4956, 1.178, 4.564}},
    {"tritanoptia",   {1.1378, 2.837, 9.201}, {0.9611, 2.652, 7.974}},
    {"hue_gbr",       {0.8902, 1.954, 6.675}, {0.5182, 1.128, 4.265}},
    {"hue_brg",       {0.8907, 1.956, 6.994}, {0.5182, 1.128, 4.265}},
    {"protanomaly",   {0.8846, 1.859, 5.662}, {0.6377, 1.363, 4.229}},
    {"deuteranomaly", {0.8392, 1.790, 5.456}, {0.5921, 1.313, 4.424}},
    {"tritanomaly",   {0.9767, 2.071, 7.191}, {0.7006, 1.583, 4.578}},
    {"achromatopsia", {0.4200, 0.948, 1.845}, {0.2779, 0.660, 1.604}},
    {"_identity",     {0.8903, 1.954, 7.179}, {0.5185, 1.129, 4.402}},
    // clang-format on
};

TEST(ShippedAccuracy, MatchesTheRecordedFigures) {
    const std::vector<ShippedFilterSpec>& specs = ShippedColorMapFilters();
    std::vector<AccuracyCase> cases;
    for (const ShippedFilterSpec& s : specs) {
        cases.push_back({s.cvd, {ShippedLattice(s.id)}});
    }
    cases.push_back({IdentityModel(), {BaselineLattice(IdentityModel())}});
    ASSERT_EQ(cases.size(), std::size(kRecorded));

    const std::vector<ColorValue> sample = SampleColors(kQuickSampleSize, kQuickSampleSeed);
    for (const int q : {7, 12}) {
        const auto figures = MeasureAccuracy(cases, &sample, CImageQuality(q));
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const AccuracyFigures& got = figures[i][0];
            const AccuracyFigures& want = q == 7 ? kRecorded[i].q7 : kRecorded[i].q12;
            EXPECT_NEAR(got.mean, want.mean, 0.002) << kRecorded[i].id << " q" << q;
            EXPECT_NEAR(got.p95, want.p95, 0.01) << kRecorded[i].id << " q" << q;
            EXPECT_NEAR(got.max, want.max, 0.02) << kRecorded[i].id << " q" << q;
        }
    }
}

} // namespace
