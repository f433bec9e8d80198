#include "authoring/ciede2000.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kPow25To7 = 6103515625.0;

double Pow7(double x) {
    const double x2 = x * x;
    return x2 * x2 * x2 * x;
}

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

Lab LabFromLinear(const LinearRgb& rgb) {
    return LabFromLinearRgb(rgb.r, rgb.g, rgb.b);
}

std::array<double, 3> CodeSensitivity(double r, double g, double b) {
    const double codes[3] = {r, g, b};
    double linear[3];
    double slope[3]; // d linear / d code
    for (int i = 0; i < 3; ++i) {
        const double c = std::clamp(codes[i], 0.0, 255.0) / 255.0;
        linear[i] = SrgbCodeToLinear(255.0 * c);
        slope[i] = c <= 0.04045 ? 1.0 / (12.92 * 255.0)
                                : 2.4 / (1.055 * 255.0) * std::pow((c + 0.055) / 1.055, 1.4);
    }
    double f[3];
    double fSlope[3]; // d f / d (X/Xn) and so on
    for (int j = 0; j < 3; ++j) {
        const double t = (kLinearRgbToXyz[j][0] * linear[0] + kLinearRgbToXyz[j][1] * linear[1] +
                          kLinearRgbToXyz[j][2] * linear[2]) /
                         kD65White[j];
        f[j] = LabCurve(t);
        fSlope[j] = t > kLabEpsilon ? 1.0 / (3.0 * f[j] * f[j]) : kLabKappa / 116.0;
    }
    const double l = 116.0 * f[1] - 16.0;
    const double rawA = 500.0 * (f[0] - f[1]);
    const double bb = 200.0 * (f[1] - f[2]);
    // CIEDE2000's stretch of a* near the neutral axis, and its hue weighting T.
    const double chroma7 = Pow7(std::sqrt(rawA * rawA + bb * bb));
    const double stretch = 1.0 + 0.5 * (1.0 - std::sqrt(chroma7 / (chroma7 + kPow25To7)));
    const double a = stretch * rawA;
    const double chroma = std::sqrt(a * a + bb * bb);
    const double h = Radians(HueAngleDegrees(bb, a));
    const double t = 1.0 - 0.17 * std::cos(h - Radians(30.0)) + 0.24 * std::cos(2.0 * h) +
                     0.32 * std::cos(3.0 * h + Radians(6.0)) -
                     0.20 * std::cos(4.0 * h - Radians(63.0));
    const double l50 = (l - 50.0) * (l - 50.0);
    const double sl = 1.0 + 0.015 * l50 / std::sqrt(20.0 + l50);
    const double sc = 1.0 + 0.045 * chroma;
    const double sh = 1.0 + 0.015 * chroma * t;

    std::array<double, 3> out{};
    for (int i = 0; i < 3; ++i) {
        double df[3];
        for (int j = 0; j < 3; ++j) {
            df[j] = fSlope[j] * kLinearRgbToXyz[j][i] * slope[i] / kD65White[j];
        }
        const double dl = 116.0 * df[1];
        const double da = stretch * 500.0 * (df[0] - df[1]);
        const double db = 200.0 * (df[1] - df[2]);
        double dc = std::sqrt(da * da + db * db);
        double dh = 0;
        if (chroma > 1e-9) {
            dc = (a * da + bb * db) / chroma;
            dh = (a * db - bb * da) / chroma;
        }
        const double tl = dl / sl;
        const double tc = dc / sc;
        const double th = dh / sh;
        out[static_cast<std::size_t>(i)] = std::sqrt(tl * tl + tc * tc + th * th);
    }
    return out;
}
