#include "authoring/ciede2000.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kEpsilon = 216.0 / 24389.0;
constexpr double kKappa = 24389.0 / 27.0;
// D65 white of sRGB.
constexpr double kWhiteX = 0.95047;
constexpr double kWhiteY = 1.0;
constexpr double kWhiteZ = 1.08883;

double LabCurve(double t) {
    return t > kEpsilon ? std::cbrt(t) : (kKappa * t + 16.0) / 116.0;
}

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

// Hue angle in degrees, 0 <= h < 360; 0 for a neutral colour.
double HueAngle(double b, double a) {
    if (a == 0 && b == 0) {
        return 0;
    }
    const double h = Degrees(std::atan2(b, a));
    return h < 0 ? h + 360.0 : h;
}

constexpr double kRgbToXyz[3][3] = {{0.4124564, 0.3575761, 0.1804375},
                                    {0.2126729, 0.7151522, 0.0721750},
                                    {0.0193339, 0.1191920, 0.9503041}};
constexpr double kWhite[3] = {kWhiteX, kWhiteY, kWhiteZ};

} // namespace

Lab LabFromLinear(const LinearRgb& rgb) {
    const double r = std::clamp(rgb.r, 0.0, 1.0);
    const double g = std::clamp(rgb.g, 0.0, 1.0);
    const double b = std::clamp(rgb.b, 0.0, 1.0);
    const double x = kRgbToXyz[0][0] * r + kRgbToXyz[0][1] * g + kRgbToXyz[0][2] * b;
    const double y = kRgbToXyz[1][0] * r + kRgbToXyz[1][1] * g + kRgbToXyz[1][2] * b;
    const double z = kRgbToXyz[2][0] * r + kRgbToXyz[2][1] * g + kRgbToXyz[2][2] * b;
    const double fx = LabCurve(x / kWhiteX);
    const double fy = LabCurve(y / kWhiteY);
    const double fz = LabCurve(z / kWhiteZ);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

Lab LabFromCodes(unsigned r, unsigned g, unsigned b) {
    return LabFromLinear(LinearFromCodes(r, g, b));
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
    const double hp1 = HueAngle(x.b, a1);
    const double hp2 = HueAngle(y.b, a2);

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
        const double t = (kRgbToXyz[j][0] * linear[0] + kRgbToXyz[j][1] * linear[1] +
                          kRgbToXyz[j][2] * linear[2]) /
                         kWhite[j];
        f[j] = LabCurve(t);
        fSlope[j] = t > kEpsilon ? 1.0 / (3.0 * f[j] * f[j]) : kKappa / 116.0;
    }
    const double l = 116.0 * f[1] - 16.0;
    const double rawA = 500.0 * (f[0] - f[1]);
    const double bb = 200.0 * (f[1] - f[2]);
    // CIEDE2000's stretch of a* near the neutral axis, and its hue weighting T.
    const double chroma7 = Pow7(std::sqrt(rawA * rawA + bb * bb));
    const double stretch = 1.0 + 0.5 * (1.0 - std::sqrt(chroma7 / (chroma7 + kPow25To7)));
    const double a = stretch * rawA;
    const double chroma = std::sqrt(a * a + bb * bb);
    const double h = Radians(HueAngle(bb, a));
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
            df[j] = fSlope[j] * kRgbToXyz[j][i] * slope[i] / kWhite[j];
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
