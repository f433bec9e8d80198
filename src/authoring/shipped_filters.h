#pragma once

#include "authoring/cvd_models.h"
#include "authoring/filter_writer.h"
#include "authoring/lattice_fit.h"
#include "engine/filter/filter.h"

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

// The same filters under translated display names, written to filter\system\<language ID>: the
// program loads that folder before filter\system, so its files win. Names are UTF-8 and at
// most 40 bytes, so they fit the reader's limit in UTF-8 as well as in a double-byte code page.
struct ShippedTranslation {
    std::string id;
    std::string displayName;
};
struct ShippedLanguage {
    unsigned languageId = 0;
    std::string language; // the language's English name, for the files' comment
    // Every shipped ID, and "_normal": a "_normal" file names the built-in identity filter.
    std::vector<ShippedTranslation> names;
};
const std::vector<ShippedLanguage>& ShippedLanguages();
constexpr const char* kNormalFilterId = "_normal";

struct GeneratedLattices {
    ColorMap baseline{};
    ColorMap fitted{};
    bool shipsFitted = false;
    const ColorMap& Shipped() const { return shipsFitted ? fitted : baseline; }
};

// One entry per ShippedColorMapFilters(), same order.
std::vector<GeneratedLattices> GenerateLattices();

struct GeneratedFile {
    std::string name; // "<id>.xml", or "<language ID>/<id>.xml" for a translated file
    std::string text;
};

// The files of filter\system first, in ShippedColorMapFilters() order and then the reference
// filter; then each language's files in the same order, followed by its "_normal" file.

std::vector<GeneratedFile> GenerateShippedFiles(const std::vector<GeneratedLattices>& lattices);
