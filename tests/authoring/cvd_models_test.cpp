#include "authoring/ciede2000.h"
#include "authoring/cvd_models.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <string>
#include <vector>

namespace {

struct ReferencePoint {
    std::string name;
    CvdModel model;
    double in[3];
    double out[3];
};

// Published reference outputs (linear-light pipeline, unrounded codes).
TEST(CvdModels, ReproduceThePublishedReferencePoints) {
    using D = CvdDeficiency;
    const std::vector<ReferencePoint> points = {
        {"Machado protan red", MachadoAnomaly(D::kProtan, 1.0), {255, 0, 0}, {108.79, 95.03, 0}},
        {"Machado deutan red", MachadoAnomaly(D::kDeutan, 1.0), {255, 0, 0}, {163.22, 144.28, 0}},
        {"Machado protan blue", MachadoAnomaly(D::kProtan, 1.0), {0, 0, 255}, {0, 88.71, 255}},
        {"Machado deutan blue", MachadoAnomaly(D::kDeutan, 1.0), {0, 0, 255}, {0, 61.50, 251.48}},
        {"Vienot protan red", VienotDichromacy(D::kProtan), {255, 0, 0}, {94.18, 94.18, 12.95}},
        {"Vienot deutan red", VienotDichromacy(D::kDeutan), {255, 0, 0}, {147.22, 147.22, 0}},
        {"Vienot protan blue", VienotDichromacy(D::kProtan), {0, 0, 255}, {0, 0, 255}},
        {"Vienot deutan blue", VienotDichromacy(D::kDeutan), {0, 0, 255}, {0, 0, 255}},
        {"achromatopsia red", Achromatopsia(), {255, 0, 0}, {127.10, 127.10, 127.10}},
        {"achromatopsia green", Achromatopsia(), {0, 255, 0}, {219.93, 219.93, 219.93}},
        {"achromatopsia blue", Achromatopsia(), {0, 0, 255}, {75.96, 75.96, 75.96}},
        {"hue gbr red", ChannelRotation(1, 2, 0), {255, 0, 0}, {0, 0, 255}},
        {"hue gbr green", ChannelRotation(1, 2, 0), {0, 255, 0}, {255, 0, 0}},
        {"hue brg red", ChannelRotation(2, 0, 1), {255, 0, 0}, {0, 255, 0}},
        {"hue brg blue", ChannelRotation(2, 0, 1), {0, 0, 255}, {255, 0, 0}},
    };
    for (const ReferencePoint& p : points) {
        const auto out = SimulateCodes(p.model, p.in[0], p.in[1], p.in[2]);
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(out[static_cast<std::size_t>(c)], p.out[c], 0.5)
                << p.name << ", channel " << c;
        }
    }
}

std::vector<std::pair<std::string, CvdModel>> Dichromacies() {
    using D = CvdDeficiency;
    return {
        {"Vienot protan", VienotDichromacy(D::kProtan)},
        {"Vienot deutan", VienotDichromacy(D::kDeutan)},
        {"Brettel protan", BrettelDichromacy(D::kProtan)},
        {"Brettel deutan", BrettelDichromacy(D::kDeutan)},
        {"Brettel tritan", BrettelDichromacy(D::kTritan)},
    };
}

// Every deficiency model keeps neutral greys neutral (their matrices map white to white); a
// mistyped constant shows up here as a tinted grey.
TEST(CvdModels, KeepGreysGrey) {
    using D = CvdDeficiency;
    std::vector<std::pair<std::string, CvdModel>> models = Dichromacies();
    models.insert(models.end(), {
                                    {"Machado protan 0.6", MachadoAnomaly(D::kProtan, 0.6)},
                                    {"Machado deutan 0.6", MachadoAnomaly(D::kDeutan, 0.6)},
                                    {"Machado tritan 0.6", MachadoAnomaly(D::kTritan, 0.6)},
                                    {"Machado protan 1.0", MachadoAnomaly(D::kProtan, 1.0)},
                                    {"Machado deutan 1.0", MachadoAnomaly(D::kDeutan, 1.0)},
                                    {"Machado tritan 1.0", MachadoAnomaly(D::kTritan, 1.0)},
                                    {"achromatopsia", Achromatopsia()},
                                });
    for (const auto& [name, model] : models) {
        for (const double grey : {0.0, 17.0, 51.0, 128.0, 200.0, 255.0}) {
            const auto out = SimulateCodes(model, grey, grey, grey);
            for (const double c : out) {
                EXPECT_NEAR(c, grey, 0.5) << name << " at grey " << grey;
            }
        }
    }
}

// A dichromat sees only a plane (or two half-planes) of colours: simulating what the
// simulation shows changes nothing more. A mistyped constant or a wrong sign of the half-plane
// normal breaks this.
TEST(CvdModels, DichromacyIsAProjection) {
    const std::vector<std::pair<std::string, CvdModel>> models = Dichromacies();
    for (const auto& [name, model] : models) {
        double worst = 0;
        for (int r = 0; r <= 255; r += 17) {
            for (int g = 0; g <= 255; g += 17) {
                for (int b = 0; b <= 255; b += 17) {
                    const LinearRgb once = ApplyCvdModel(model, LinearFromCodes(r, g, b));
                    const LinearRgb twice = ApplyCvdModel(model, once);
                    worst = std::max({worst, std::abs(twice.r - once.r), std::abs(twice.g - once.g),
                                      std::abs(twice.b - once.b)});
                }
            }
        }
        EXPECT_LT(worst, 2e-3) << name;
    }
}

TEST(SrgbTransfer, RoundTripsEveryCodeAndClampsOutOfGamut) {
    for (int c = 0; c <= 255; ++c) {
        EXPECT_EQ(LinearToRoundedSrgbCode(SrgbCodeToLinear(c)), c);
    }
    EXPECT_EQ(LinearToRoundedSrgbCode(1.0), 255); // not 254: rounds, does not truncate
    EXPECT_EQ(LinearToRoundedSrgbCode(1.7), 255);
    EXPECT_EQ(LinearToRoundedSrgbCode(-0.2), 0);
    EXPECT_NEAR(SrgbCodeToLinear(10), 10.0 / 255.0 / 12.92, 1e-12); // the linear toe
}

struct LabPair {
    Lab x;
    Lab y;
    double expected;
};

TEST(Ciede2000, MatchesThePublishedTestPairs) {
    const std::vector<LabPair> pairs = {
        {{50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},
        {{50, 0, 0}, {50, -1, 2}, 2.3669},
        {{50, 2.5, 0}, {73, 25, -18}, 27.1492},
    };
    for (const LabPair& p : pairs) {
        EXPECT_NEAR(Ciede2000(p.x, p.y), p.expected, 5e-5);
        EXPECT_NEAR(Ciede2000(p.y, p.x), p.expected, 5e-5); // symmetric
    }
    EXPECT_EQ(Ciede2000({40, 20, -30}, {40, 20, -30}), 0.0);
}

// The colours' CIELAB is measured through the shipped set's recorded accuracy figures.

// The fit's perceptual weights: the local derivative agrees with a one-code CIEDE2000 step.
TEST(Ciede2000, CodeSensitivityFollowsOneCodeSteps) {
    const double colours[][3] = {{128, 128, 128}, {200, 30, 40}, {20, 180, 60}, {30, 40, 220},
                                 {250, 250, 10},  {5, 5, 5},     {90, 60, 150}};
    for (const auto& c : colours) {
        const auto s = CodeSensitivity(c[0], c[1], c[2]);
        const Lab base = LabFromLinear(LinearFromCodes(c[0], c[1], c[2]));
        for (int ch = 0; ch < 3; ++ch) {
            double moved[3] = {c[0], c[1], c[2]};
            moved[ch] += 0.25;
            const double step =
                Ciede2000(base, LabFromLinear(LinearFromCodes(moved[0], moved[1], moved[2]))) /
                0.25;
            EXPECT_NEAR(s[static_cast<std::size_t>(ch)], step, 0.15 * step + 2e-3)
                << c[0] << "," << c[1] << "," << c[2] << " channel " << ch;
        }
    }
}

} // namespace
