#pragma once

#include "authoring/cvd_models.h"
#include "engine/filter/filter.h"

#include <vector>

// Lattices for a model: the model sampled at the 216 lattice colours (the baseline), and a
// lattice fitted so that the colour table, read the program's way, follows the model over the
// whole cube rather than only at the lattice points.

ColorMap BaselineLattice(const CvdModel& model);

struct LatticeFitOptions {
    // Image-quality levels whose tables the fit serves, weighted equally.
    std::vector<int> qualities{7, 12};
    // Every fitted entry stays within this many codes of the model's own lattice colour, so a
    // colour on the lattice still shows (nearly) its own value.
    int tolerance = 2;
    // Aim above the model by the blends' expected truncation loss.
    bool compensateTruncation = true;
    // Reweighted solves after the first: each cell's weight grows with the square of its
    // residual in the previous solution (in CIEDE2000 units, over robustScale). Trades a
    // little of the mean for a lower maximum where the model bends sharply (Brettel's crease).
    int robustPasses = 0;
    double robustScale = 0.5;
};

// Weighted least squares per channel over every table cell, each cell weighted by the number
// of 24-bit colours that index it and by how visible (CIEDE2000) a one-code change of that
// channel is there. The table's integer blends discard fractions three times; their expected
// loss is added to the target so that the fitted lattice comes out unbiased. Black and white
// keep their baseline values.
ColorMap FitLattice(const CvdModel& model, const LatticeFitOptions& options = {});
