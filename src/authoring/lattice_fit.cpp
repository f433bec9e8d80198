#include "authoring/lattice_fit.h"

#include "authoring/ciede2000.h"
#include "engine/filter/image_quality.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace {

constexpr int kLevels = kLatticeLevels;

ColorMap RoundedLattice(const std::array<std::vector<double>, 3>& values) {
    ColorMap map{};
    for (int i = 0; i < kColorMapSize; ++i) {
        const auto u = static_cast<std::size_t>(i);
        map[u] = MakeColor(static_cast<unsigned>(std::lround(values[0][u])),
                           static_cast<unsigned>(std::lround(values[1][u])),
                           static_cast<unsigned>(std::lround(values[2][u])));
    }
    return map;
}

// One axis of the table at step k: for each table coordinate, how many channel values index
// it, their mean, the two lattice levels it blends and the weight of the upper one.
struct AxisCell {
    int count = 0;
    double mean = 0;
    double linear = 0; // of the mean
    int lower = 0;
    int upper = 0;
    double weight = 0; // of the upper level
    double truncation = 0;
};

std::vector<AxisCell> MakeAxis(int k) {
    const int n = 5 * k + 1;
    std::vector<AxisCell> axis(static_cast<std::size_t>(n));
    for (unsigned c = 0; c < 256; ++c) {
        AxisCell& cell = axis[static_cast<std::size_t>(ChannelCoordinate(c, k))];
        cell.mean += c;
        ++cell.count;
    }
    for (int p = 0; p < n; ++p) {
        AxisCell& cell = axis[static_cast<std::size_t>(p)];
        if (cell.count > 0) {
            cell.mean /= cell.count;
        }
        cell.linear = SrgbCodeToLinear(cell.mean);
        const int t = p % k;
        cell.lower = std::min(p / k, kLevels - 1);
        cell.upper = t == 0 ? cell.lower : cell.lower + 1;
        cell.weight = static_cast<double>(t) / k;
        // A blend t/k of the way discards a fraction that is a multiple of gcd(t, k)/k, evenly
        // spread over its k/gcd values: (k - gcd)/(2k) on average. Later passes blend the
        // loss along, so the losses of the three axes add up.
        cell.truncation = t == 0 ? 0.0 : static_cast<double>(k - std::gcd(t, k)) / (2.0 * k);
    }
    return axis;
}

// Normal equations of one channel: minimise 1/2 x'Hx - g'x.
struct NormalEquations {
    std::vector<double> h = std::vector<double>(kColorMapSize * kColorMapSize, 0.0);
    std::vector<double> g = std::vector<double>(kColorMapSize, 0.0);
};

using Solution = std::array<std::vector<double>, 3>;

void AddQuality(const CvdModel& model, int k, bool compensate, const Solution* previous,
                double robustScale, std::array<NormalEquations, 3>& eq) {
    const std::vector<AxisCell> axis = MakeAxis(k);
    const double total = 256.0 * 256.0 * 256.0;
    for (const AxisCell& r : axis) {
        for (const AxisCell& g : axis) {
            for (const AxisCell& b : axis) {
                const LinearRgb out = ApplyCvdModel(model, {r.linear, g.linear, b.linear});
                const std::array<double, 3> target{LinearToSrgbCode(out.r), LinearToSrgbCode(out.g),
                                                   LinearToSrgbCode(out.b)};
                const std::array<double, 3> sensitivity =
                    CodeSensitivity(target[0], target[1], target[2]);
                const double share = static_cast<double>(r.count) * g.count * b.count / total;
                const double truncation =
                    compensate ? r.truncation + g.truncation + b.truncation : 0.0;

                // The eight lattice corners and their trilinear weights (duplicates on a
                // lattice plane carry weight zero).
                std::array<int, 8> corner{};
                std::array<double, 8> weight{};
                int next = 0;
                for (int i = 0; i < 2; ++i) {
                    for (int j = 0; j < 2; ++j) {
                        for (int l = 0; l < 2; ++l) {
                            const auto cu = static_cast<std::size_t>(next);
                            corner[cu] =
                                ColorMapPosition(i ? r.upper : r.lower, j ? g.upper : g.lower,
                                                 l ? b.upper : b.lower);
                            weight[cu] = (i ? r.weight : 1.0 - r.weight) *
                                         (j ? g.weight : 1.0 - g.weight) *
                                         (l ? b.weight : 1.0 - b.weight);
                            ++next;
                        }
                    }
                }
                for (std::size_t ch = 0; ch < 3; ++ch) {
                    double w = share * sensitivity[ch] * sensitivity[ch];
                    const double y = target[ch] + truncation;
                    if (previous) {
                        double fitted = 0;
                        for (std::size_t p = 0; p < 8; ++p) {
                            fitted +=
                                weight[p] * (*previous)[ch][static_cast<std::size_t>(corner[p])];
                        }
                        const double e = (fitted - y) * sensitivity[ch] / robustScale;
                        w *= 1.0 + e * e;
                    }
                    NormalEquations& e = eq[ch];
                    for (std::size_t p = 0; p < 8; ++p) {
                        if (weight[p] == 0) {
                            continue;
                        }
                        const auto cp = static_cast<std::size_t>(corner[p]);
                        e.g[cp] += w * weight[p] * y;
                        for (std::size_t q = 0; q < 8; ++q) {
                            const auto cq = static_cast<std::size_t>(corner[q]);
                            e.h[cp * kColorMapSize + cq] += w * weight[p] * weight[q];
                        }
                    }
                }
            }
        }
    }
}

// Box-constrained minimum of the quadratic: projected Gauss-Seidel from the centre of the box,
// then integer steps of one code while they lower the objective.
std::vector<double> SolveInBox(const NormalEquations& e, const std::vector<double>& lo,
                               const std::vector<double>& hi, const std::vector<double>& start) {
    constexpr std::size_t n = kColorMapSize;
    std::vector<double> x = start;
    for (int sweep = 0; sweep < 2000; ++sweep) {
        double change = 0;
        for (std::size_t j = 0; j < n; ++j) {
            const double hjj = e.h[j * n + j];
            if (hjj <= 0) {
                continue;
            }
            double s = e.g[j];
            for (std::size_t i = 0; i < n; ++i) {
                if (i != j) {
                    s -= e.h[j * n + i] * x[i];
                }
            }
            const double v = std::clamp(s / hjj, lo[j], hi[j]);
            change = std::max(change, std::abs(v - x[j]));
            x[j] = v;
        }
        if (change < 1e-7) {
            break;
        }
    }
    for (double& v : x) {
        v = std::round(v);
    }
    // Residual gradient Hx - g for the integer steps.
    std::vector<double> grad(n);
    for (std::size_t j = 0; j < n; ++j) {
        double s = -e.g[j];
        for (std::size_t i = 0; i < n; ++i) {
            s += e.h[j * n + i] * x[i];
        }
        grad[j] = s;
    }
    for (bool improved = true; improved;) {
        improved = false;
        for (std::size_t j = 0; j < n; ++j) {
            for (const double step : {-1.0, 1.0}) {
                const double v = x[j] + step;
                if (v < lo[j] || v > hi[j]) {
                    continue;
                }
                const double delta = 0.5 * e.h[j * n + j] + step * grad[j];
                if (delta < -1e-12) {
                    x[j] = v;
                    for (std::size_t i = 0; i < n; ++i) {
                        grad[i] += step * e.h[i * n + j];
                    }
                    improved = true;
                }
            }
        }
    }
    return x;
}

} // namespace

ColorMap BaselineLattice(const CvdModel& model) {
    ColorMap map{};
    for (int r = 0; r < kLevels; ++r) {
        for (int g = 0; g < kLevels; ++g) {
            for (int b = 0; b < kLevels; ++b) {
                const LinearRgb out = ApplyCvdModel(model, LinearFromCodes(51 * r, 51 * g, 51 * b));
                map[static_cast<std::size_t>(ColorMapPosition(r, g, b))] =
                    MakeColor(static_cast<unsigned>(LinearToRoundedSrgbCode(out.r)),
                              static_cast<unsigned>(LinearToRoundedSrgbCode(out.g)),
                              static_cast<unsigned>(LinearToRoundedSrgbCode(out.b)));
            }
        }
    }
    return map;
}

ColorMap FitLattice(const CvdModel& model, const LatticeFitOptions& options) {
    const ColorMap baseline = BaselineLattice(model);
    std::array<std::array<double, 3>, kColorMapSize> exact{};
    for (int r = 0; r < kLevels; ++r) {
        for (int g = 0; g < kLevels; ++g) {
            for (int b = 0; b < kLevels; ++b) {
                exact[static_cast<std::size_t>(ColorMapPosition(r, g, b))] =
                    SimulateCodes(model, 51.0 * r, 51.0 * g, 51.0 * b);
            }
        }
    }
    Solution solved;
    for (int pass = 0; pass <= options.robustPasses; ++pass) {
        std::array<NormalEquations, 3> eq;
        for (const int q : options.qualities) {
            AddQuality(model, q == 0 ? 7 : q, options.compensateTruncation,
                       pass > 0 ? &solved : nullptr, options.robustScale, eq);
        }
        for (int ch = 0; ch < 3; ++ch) {
            std::vector<double> lo(kColorMapSize);
            std::vector<double> hi(kColorMapSize);
            std::vector<double> start(kColorMapSize);
            for (std::size_t i = 0; i < kColorMapSize; ++i) {
                const double value = exact[i][static_cast<std::size_t>(ch)];
                lo[i] = std::max(0.0, std::ceil(value - options.tolerance));
                hi[i] = std::min(255.0, std::floor(value + options.tolerance));
                start[i] = (baseline[i] >> (8 * ch)) & 0xFFu;
            }
            // Black and white keep the model's own value: the two colours every user checks.
            for (const std::size_t i : {std::size_t{0}, std::size_t{kColorMapSize - 1}}) {
                lo[i] = start[i];
                hi[i] = start[i];
            }
            solved[static_cast<std::size_t>(ch)] =
                SolveInBox(eq[static_cast<std::size_t>(ch)], lo, hi, start);
        }
    }
    return RoundedLattice(solved);
}
