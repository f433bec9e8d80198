#pragma once

#include "authoring/cvd_models.h"

#include <array>

// CIELAB (D65 white) and the CIEDE2000 colour difference (Sharma, Wu & Dalal 2005), with the
// parametric factors kL = kC = kH = 1.

struct Lab {
    double l = 0;
    double a = 0;
    double b = 0;
};

// Linear sRGB (clamped to [0, 1]) to CIELAB through CIE XYZ.
Lab LabFromLinear(const LinearRgb& rgb);
Lab LabFromCodes(unsigned r, unsigned g, unsigned b);

double Ciede2000(const Lab& x, const Lab& y);

// How visible a change of one code in each channel is at the colour of the given (unrounded)
// sRGB codes, in CIEDE2000 units: the Lab derivative, weighted for lightness, chroma and hue as
// CIEDE2000 weights them (its blue rotation term left out).
std::array<double, 3> CodeSensitivity(double r, double g, double b);
