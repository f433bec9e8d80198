#pragma once

#include "authoring/cvd_models.h"
#include "engine/filter/filter.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// How far a colour table, read the program's way (ColorIndex, then the table entry), is from
// the exact model it stands for: CIEDE2000 between the table's output and the model's output
// (linear light, clamped to the gamut) for every measured input colour.

struct AccuracyFigures {
    double mean = 0;
    double p95 = 0;
    double max = 0;
};

// One model and the lattices measured against it; the model's output is computed once per
// colour and shared by them.
struct AccuracyCase {
    CvdModel model;
    std::vector<ColorMap> lattices;
};

// The same colours every time: a fixed-seed pseudo-random sample of 24-bit colours.
std::vector<ColorValue> SampleColors(std::size_t count, std::uint64_t seed);

// The sample of the quick accuracy report; the tests record their figures over it.
constexpr std::size_t kQuickSampleSize = std::size_t{1} << 20;
constexpr std::uint64_t kQuickSampleSeed = 20261206;

// Figures[case][lattice] at the image quality, over the given colours, or over all 2^24
// colours when colours is null. The 95th percentile is resolved to 0.001.
std::vector<std::vector<AccuracyFigures>> MeasureAccuracy(const std::vector<AccuracyCase>& cases,
                                                          const std::vector<ColorValue>* colours,
                                                          const CImageQuality& quality);
