#include "authoring/cvd_models.h"

#include <algorithm>
#include <cmath>

double LinearToSrgbCode(double linear) {
    const double v = std::clamp(linear, 0.0, 1.0);
    const double encoded = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
    return 255.0 * encoded;
}

int LinearToRoundedSrgbCode(double linear) {
    // Nearest code: truncation would turn white into 254.
    return static_cast<int>(std::lround(LinearToSrgbCode(linear)));
}

LinearRgb LinearFromCodes(double r, double g, double b) {
    return {SrgbCodeToLinear(r), SrgbCodeToLinear(g), SrgbCodeToLinear(b)};
}

CvdModel SingleMatrixModel(const Matrix3& m) {
    CvdModel model;
    model.m1 = m;
    model.m2 = m;
    return model;
}

namespace {

LinearRgb Multiply(const Matrix3& m, const LinearRgb& v) {
    return {m[0][0] * v.r + m[0][1] * v.g + m[0][2] * v.b,
            m[1][0] * v.r + m[1][1] * v.g + m[1][2] * v.b,
            m[2][0] * v.r + m[2][1] * v.g + m[2][2] * v.b};
}

} // namespace

LinearRgb ApplyCvdModel(const CvdModel& model, const LinearRgb& in) {
    if (!model.halfPlanes) {
        return Multiply(model.m1, in);
    }
    const double side = model.n[0] * in.r + model.n[1] * in.g + model.n[2] * in.b;
    return Multiply(side >= 0 ? model.m1 : model.m2, in);
}

std::array<double, 3> SimulateCodes(const CvdModel& model, double r, double g, double b) {
    const LinearRgb out = ApplyCvdModel(model, LinearFromCodes(r, g, b));
    return {LinearToSrgbCode(out.r), LinearToSrgbCode(out.g), LinearToSrgbCode(out.b)};
}

// Constants from Vienot, Brettel & Mollon 1999; Brettel, Vienot & Mollon 1997 (anchors 475/575
// nm for protan and deutan, 485/660 nm for tritan, neutral axis at the LMS of RGB white, on
// Smith & Pokorny cones); Machado, Oliveira & Fernandes 2009.
CvdModel VienotDichromacy(CvdDeficiency deficiency) {
    if (deficiency == CvdDeficiency::kProtan) {
        return SingleMatrixModel(
            {{{0.112383, 0.887617, 0.0}, {0.112383, 0.887617, 0.0}, {0.004006, -0.004006, 1.0}}});
    }
    if (deficiency == CvdDeficiency::kDeutan) {
        return SingleMatrixModel(
            {{{0.292750, 0.707250, 0.0}, {0.292750, 0.707250, 0.0}, {-0.022337, 0.022337, 1.0}}});
    }
    // The single-plane projection does not hold for tritanopia.
    return BrettelDichromacy(deficiency);
}

CvdModel BrettelDichromacy(CvdDeficiency deficiency) {
    CvdModel model;
    model.halfPlanes = true;
    switch (deficiency) {
    case CvdDeficiency::kProtan:
        model.m1 = {{{0.149803, 1.195478, -0.345281},
                     {0.107645, 0.848638, 0.043717},
                     {0.003837, -0.005395, 1.001558}}};
        model.m2 = {{{0.145700, 1.161718, -0.307418},
                     {0.108164, 0.852913, 0.038923},
                     {0.003855, -0.005243, 1.001387}}};
        model.n = {0.00047773, 0.00393031, -0.00440804};
        break;
    case CvdDeficiency::kDeutan:
        model.m1 = {{{0.364774, 0.863811, -0.228585},
                     {0.262937, 0.642445, 0.094617},
                     {-0.020062, 0.027281, 0.992781}}};
        model.m2 = {{{0.372985, 0.881658, -0.254643},
                     {0.259539, 0.635058, 0.105404},
                     {-0.019803, 0.027845, 0.991958}}};
        model.n = {-0.00281039, -0.00610903, 0.00891942};
        break;
    case CvdDeficiency::kTritan:
        model.m1 = {{{1.012773, 0.135485, -0.148257},
                     {-0.012433, 0.868121, 0.144312},
                     {0.075891, 0.805002, 0.119107}}};
        model.m2 = {{{0.936781, 0.189790, -0.126571},
                     {0.061537, 0.815260, 0.123203},
                     {-0.375624, 1.127665, 0.247958}}};
        model.n = {0.03901461, -0.02788076, -0.01113385};
        break;
    }
    return model;
}

CvdModel MachadoAnomaly(CvdDeficiency deficiency, double severity) {
    const bool full = std::abs(severity - 1.0) < 1e-9;
    if (!full && std::abs(severity - 0.6) >= 1e-9) {
        return IdentityModel();
    }
    switch (deficiency) {
    case CvdDeficiency::kProtan:
        return SingleMatrixModel(full ? Matrix3{{{0.152286, 1.052583, -0.204868},
                                                 {0.114503, 0.786281, 0.099216},
                                                 {-0.003882, -0.048116, 1.051998}}}
                                      : Matrix3{{{0.385450, 0.769005, -0.154455},
                                                 {0.100526, 0.829802, 0.069673},
                                                 {-0.007442, -0.022190, 1.029632}}});
    case CvdDeficiency::kDeutan:
        return SingleMatrixModel(full ? Matrix3{{{0.367322, 0.860646, -0.227968},
                                                 {0.280085, 0.672501, 0.047413},
                                                 {-0.011820, 0.042940, 0.968881}}}
                                      : Matrix3{{{0.498864, 0.674741, -0.173604},
                                                 {0.205199, 0.754872, 0.039929},
                                                 {-0.011131, 0.030969, 0.980162}}});
    case CvdDeficiency::kTritan:
        return SingleMatrixModel(full ? Matrix3{{{1.255528, -0.076749, -0.178779},
                                                 {-0.078411, 0.930809, 0.147602},
                                                 {0.004733, 0.691367, 0.303900}}}
                                      : Matrix3{{{1.104996, -0.046633, -0.058363},
                                                 {-0.032137, 0.971635, 0.060503},
                                                 {0.001336, 0.317922, 0.680742}}});
    }
    return IdentityModel();
}

CvdModel Achromatopsia() {
    constexpr std::array<double, 3> y{0.2126, 0.7152, 0.0722};
    return SingleMatrixModel({{y, y, y}});
}

CvdModel ChannelRotation(int redSource, int greenSource, int blueSource) {
    Matrix3 m{};
    m[0][static_cast<std::size_t>(redSource)] = 1.0;
    m[1][static_cast<std::size_t>(greenSource)] = 1.0;
    m[2][static_cast<std::size_t>(blueSource)] = 1.0;
    return SingleMatrixModel(m);
}

CvdModel IdentityModel() {
    return SingleMatrixModel({{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}});
}
