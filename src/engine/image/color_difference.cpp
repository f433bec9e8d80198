#include "engine/image/color_difference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

const double kLinearRgbToXyz[3][3] = {{0.4124564, 0.3575761, 0.1804375},
                                      {0.2126729, 0.7151522, 0.0721750},
                                      {0.0193339, 0.1191920, 0.9503041}};
const double kD65White[3] = {0.95047, 1.0, 1.08883};

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kPow25To7 = 6103515625.0;
// cos and sin of 30, 6 and 63 degrees.
constexpr double kCos30 = 0.86602540378443864676;
constexpr double kSin30 = 0.5;
constexpr double kCos6 = 0.99452189536827333692;
constexpr double kSin6 = 0.10452846326765347140;
constexpr double kCos63 = 0.45399049973954679156;
constexpr double kSin63 = 0.89100652418836786236;

double Pow7(double x) {
    const double x2 = x * x;
    return x2 * x2 * x2 * x;
}

double Degrees(double radians) {
    return radians * 180.0 / kPi;
}
double Radians(double degrees) {
    return degrees * kPi / 180.0;
}

// Every code's linear value once: a view decides thousands of colours when its reference moves.
const std::array<double, 256>& LinearOfCode() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i) {
            t[static_cast<std::size_t>(i)] = SrgbCodeToLinear(i);
        }
        return t;
    }();
    return table;
}

} // namespace

double SrgbCodeToLinear(double code) {
    const double c = code / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double LabCurve(double t) {
    return t > kLabEpsilon ? std::cbrt(t) : (kLabKappa * t + 16.0) / 116.0;
}

double HueAngleDegrees(double b, double a) {
    if (a == 0 && b == 0) {
        return 0;
    }
    const double h = Degrees(std::atan2(b, a));
    return h < 0 ? h + 360.0 : h;
}

Lab LabFromLinearRgb(double r, double g, double b) {
    r = std::clamp(r, 0.0, 1.0);
    g = std::clamp(g, 0.0, 1.0);
    b = std::clamp(b, 0.0, 1.0);
    const auto& m = kLinearRgbToXyz;
    const double x = m[0][0] * r + m[0][1] * g + m[0][2] * b;
    const double y = m[1][0] * r + m[1][1] * g + m[1][2] * b;
    const double z = m[2][0] * r + m[2][1] * g + m[2][2] * b;
    const double fx = LabCurve(x / kD65White[0]);
    const double fy = LabCurve(y / kD65White[1]);
    const double fz = LabCurve(z / kD65White[2]);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

Lab LabFromCodes(unsigned r, unsigned g, unsigned b) {
    const auto& linear = LinearOfCode();
    return LabFromLinearRgb(linear[r & 0xFFu], linear[g & 0xFFu], linear[b & 0xFFu]);
}

Lab LabFromColor(ColorValue color) {
    return LabFromCodes(RedOf(color), GreenOf(color), BlueOf(color));
}

double LuminanceFromColor(ColorValue color) {
    const auto& linear = LinearOfCode();
    const auto& m = kLinearRgbToXyz;
    return m[1][0] * linear[RedOf(color)] + m[1][1] * linear[GreenOf(color)] +
           m[1][2] * linear[BlueOf(color)];
}

double Ciede2000(const Lab& x, const Lab& y) {
    const double c1 = std::sqrt(x.a * x.a + x.b * x.b);
    const double c2 = std::sqrt(y.a * y.a + y.b * y.b);
    const double cMean = (c1 + c2) / 2.0;
    const double cMean7 = Pow7(cMean);
    const double g = 0.5 * (1.0 - std::sqrt(cMean7 / (cMean7 + kPow25To7)));
    const double a1 = (1.0 + g) * x.a;
    const double a2 = (1.0 + g) * y.a;
    const double cp1 = std::sqrt(a1 * a1 + x.b * x.b);
    const double cp2 = std::sqrt(a2 * a2 + y.b * y.b);
    const double hp1 = HueAngleDegrees(x.b, a1);
    const double hp2 = HueAngleDegrees(y.b, a2);

    const double dL = y.l - x.l;
    const double dC = cp2 - cp1;
    double dh = 0;
    if (cp1 * cp2 != 0) {
        dh = hp2 - hp1;
        if (dh > 180.0) {
            dh -= 360.0;
        } else if (dh < -180.0) {
            dh += 360.0;
        }
    }
    const double dH = 2.0 * std::sqrt(cp1 * cp2) * std::sin(Radians(dh / 2.0));

    const double lMean = (x.l + y.l) / 2.0;
    const double cpMean = (cp1 + cp2) / 2.0;
    double hMean = hp1 + hp2;
    if (cp1 * cp2 != 0) {
        if (std::abs(hp1 - hp2) <= 180.0) {
            hMean /= 2.0;
        } else if (hMean < 360.0) {
            hMean = (hMean + 360.0) / 2.0;
        } else {
            hMean = (hMean - 360.0) / 2.0;
        }
    }
    // T from one sine and cosine of the mean hue: the multiple angles by recurrence.
    const double hm = Radians(hMean);
    const double c1h = std::cos(hm);
    const double s1h = std::sin(hm);
    const double c2h = c1h * c1h - s1h * s1h;
    const double s2h = 2.0 * s1h * c1h;
    const double c3h = c1h * c2h - s1h * s2h;
    const double s3h = s1h * c2h + c1h * s2h;
    const double c4h = c2h * c2h - s2h * s2h;
    const double s4h = 2.0 * s2h * c2h;
    const double t = 1.0 - 0.17 * (c1h * kCos30 + s1h * kSin30) + 0.24 * c2h +
                     0.32 * (c3h * kCos6 - s3h * kSin6) - 0.20 * (c4h * kCos63 + s4h * kSin63);
    const double hDistance = (hMean - 275.0) / 25.0;
    const double dTheta = 30.0 * std::exp(-hDistance * hDistance);
    const double cpMean7 = Pow7(cpMean);
    const double rc = 2.0 * std::sqrt(cpMean7 / (cpMean7 + kPow25To7));
    const double l50 = (lMean - 50.0) * (lMean - 50.0);
    const double sl = 1.0 + 0.015 * l50 / std::sqrt(20.0 + l50);
    const double sc = 1.0 + 0.045 * cpMean;
    const double sh = 1.0 + 0.015 * cpMean * t;
    const double rt = -std::sin(Radians(2.0 * dTheta)) * rc;

    const double tl = dL / sl;
    const double tc = dC / sc;
    const double th = dH / sh;
    return std::sqrt(tl * tl + tc * tc + th * th + rt * tc * th);
}
