#pragma once

#include "engine/filter/color.h"

// CIELAB (D65 white) and the CIEDE2000 colour difference (Sharma, Wu & Dalal 2005), with the
// parametric factors kL = kC = kH = 1: how far apart two colours look, which decides what a
// view highlights as alike and what the palette audit calls a collapsed pair.

struct Lab {
    double l = 0;
    double a = 0;
    double b = 0;
};

// sRGB code (0-255) to linear light, exactly as the sRGB curve gives it.
double SrgbCodeToLinear(double code);

// Linear sRGB (each channel clamped to [0, 1]) to CIELAB through CIE XYZ.
Lab LabFromLinearRgb(double r, double g, double b);
Lab LabFromCodes(unsigned r, unsigned g, unsigned b);
Lab LabFromColor(ColorValue color);
// Relative luminance (CIE Y, white 1), for a quick bound before the whole difference.
double LuminanceFromColor(ColorValue color);

double Ciede2000(const Lab& x, const Lab& y);

// The pieces of the conversion that authoring's sensitivity measure differentiates.
extern const double kLinearRgbToXyz[3][3];
extern const double kD65White[3];
constexpr double kLabEpsilon = 216.0 / 24389.0;
constexpr double kLabKappa = 24389.0 / 27.0;
double LabCurve(double t);
// Hue angle in degrees, 0 <= h < 360; 0 for a neutral colour.
double HueAngleDegrees(double b, double a);
