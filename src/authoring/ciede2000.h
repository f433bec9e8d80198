#pragma once

#include "authoring/cvd_models.h"
#include "engine/image/color_difference.h"

#include <array>

// The engine's CIELAB and CIEDE2000 (Lab, LabFromCodes, Ciede2000) for the models' linear
// colours, and how visible one code step is.

// Linear sRGB (clamped to [0, 1]) to CIELAB through CIE XYZ.
Lab LabFromLinear(const LinearRgb& rgb);

// How visible a change of one code in each channel is at the colour of the given (unrounded)
// sRGB codes, in CIEDE2000 units: the Lab derivative, weighted for lightness, chroma and hue as
// CIEDE2000 weights them (its blue rotation term left out).
std::array<double, 3> CodeSensitivity(double r, double g, double b);
