#pragma once

#include "engine/image/color_difference.h"

#include <array>

// Colour-vision models in linear light (sRGB primaries, D65). The shipped filters are these
// models sampled at the lattice; the accuracy report measures the tables against them.

struct LinearRgb {
    double r = 0;
    double g = 0;
    double b = 0;
};

using Matrix3 = std::array<std::array<double, 3>, 3>;

// sRGB transfer (SrgbCodeToLinear is the engine's). Codes are 0..255 but may carry fractions
// (cell centres, unrounded outputs).
// Clamps to [0, 1] first: a display cannot show what the model puts outside the gamut.
double LinearToSrgbCode(double linear);
int LinearToRoundedSrgbCode(double linear);

LinearRgb LinearFromCodes(double r, double g, double b);

// A model is one matrix, or two matrices on either side of a plane through black (Brettel):
// M1 where dot(n, rgb) >= 0, M2 elsewhere.
struct CvdModel {
    Matrix3 m1{};
    Matrix3 m2{};
    std::array<double, 3> n{};
    bool halfPlanes = false;
};

CvdModel SingleMatrixModel(const Matrix3& m);

// Applies the model; the result may leave [0, 1] and is clamped only when encoded.
LinearRgb ApplyCvdModel(const CvdModel& model, const LinearRgb& in);

// The model's output for 8-bit input codes, as unrounded output codes.
std::array<double, 3> SimulateCodes(const CvdModel& model, double r, double g, double b);

// Published models.
enum class CvdDeficiency { kProtan, kDeutan, kTritan };

CvdModel VienotDichromacy(CvdDeficiency deficiency); // protan and deutan only
CvdModel BrettelDichromacy(CvdDeficiency deficiency);
// Machado et al. 2009 at the two published severities the filters use: 0.6 and 1.0. Other
// severities give the identity.
CvdModel MachadoAnomaly(CvdDeficiency deficiency, double severity);
// Linear-light luminance (Rec. 709 weights) on all three channels.
CvdModel Achromatopsia();
// Channel rotations: output channel i takes input channel source[i] (0 red, 1 green, 2 blue).
CvdModel ChannelRotation(int redSource, int greenSource, int blueSource);
CvdModel IdentityModel();
