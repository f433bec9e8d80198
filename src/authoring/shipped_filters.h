#pragma once

#include "authoring/cvd_models.h"
#include "authoring/filter_writer.h"
#include "authoring/lattice_fit.h"
#include "filter/filter.h"

#include <string>
#include <vector>

// The filter set that ships in filter\system, generated from the published models.

struct ShippedFilterSpec {
    std::string id;
    std::string displayName;
    std::string simulates; // one line for the file's comment
    std::string model;     // likewise
    CvdModel cvd;
    // Ships the fitted lattice: set only where the full accuracy report shows it beating the
    // baseline on both the mean and the maximum at qualities 7 and 12 (zeziriv-filtergen
    // report --full checks these choices).
    bool shipFitted = false;
    LatticeFitOptions fit{};
};

struct ShippedReferenceSpec {
    std::string id;
    std::string displayName;
    int repeat = 0;
    std::vector<FilterMember> members;
};

const std::vector<ShippedFilterSpec>& ShippedColorMapFilters();
const ShippedReferenceSpec& ShippedReferenceFilter();

struct GeneratedLattices {
    ColorMap baseline{};
    ColorMap fitted{};
    bool shipsFitted = false;
    const ColorMap& Shipped() const { return shipsFitted ? fitted : baseline; }
};

// One entry per ShippedColorMapFilters(), same order.
std::vector<GeneratedLattices> GenerateLattices();

struct GeneratedFile {
    std::string name; // "<id>.xml"
    std::string text;
};

std::vector<GeneratedFile> GenerateShippedFiles(const std::vector<GeneratedLattices>& lattices);
