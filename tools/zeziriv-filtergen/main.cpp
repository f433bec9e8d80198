// zeziriv-filtergen: writes the shipped filter set and reports its accuracy.
//
//   zeziriv-filtergen write DIR       writes every shipped filter file into DIR, the translated
//                                     ones into DIR/<language ID>
//   zeziriv-filtergen report [--full] CIEDE2000 of every shipped filter against its model, at
//                                     qualities 3, 7, 12 and 18; over a fixed sample of 2^20
//                                     colours, or over all 2^24 with --full (minutes)

#include "authoring/filter_accuracy.h"
#include "authoring/lattice_fit.h"
#include "authoring/shipped_filters.h"
#include "engine/filter/image_quality.h"

#include <cstdint>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kReportQualities[] = {3, 7, 12, 18};

int Usage() {
    std::fprintf(stderr, "usage: zeziriv-filtergen write DIR\n"
                         "       zeziriv-filtergen report [--full]\n");
    return 2;
}

int Write(const std::string& dir) {
    const std::vector<GeneratedLattices> lattices = GenerateLattices();
    for (const GeneratedFile& file : GenerateShippedFiles(lattices)) {
        const std::string path = dir + "/" + file.name;
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << file.text;
        out.close();
        if (!out) {
            std::fprintf(stderr, "zeziriv-filtergen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    const std::vector<ShippedFilterSpec>& specs = ShippedColorMapFilters();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        std::printf("%-14s %s\n", specs[i].id.c_str(),
                    lattices[i].shipsFitted ? "fitted" : "baseline");
    }
    return 0;
}

std::string Cell(const AccuracyFigures& f) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f / %.2f / %.2f", f.mean, f.p95, f.max);
    return text;
}

bool Beats(const AccuracyFigures& fitted, const AccuracyFigures& baseline) {
    return fitted.mean < baseline.mean && fitted.max < baseline.max;
}

int Report(bool full) {
    const std::vector<ShippedFilterSpec>& specs = ShippedColorMapFilters();
    const std::vector<GeneratedLattices> lattices = GenerateLattices();

    // Each filter with its baseline and fitted lattice, then the identity map read through the
    // table: the floor that the table's resolution sets.
    std::vector<AccuracyCase> cases;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        cases.push_back({specs[i].cvd, {lattices[i].baseline, lattices[i].fitted}});
    }
    cases.push_back({IdentityModel(), {BaselineLattice(IdentityModel())}});

    const std::vector<ColorValue> sample = SampleColors(kQuickSampleSize, kQuickSampleSeed);
    std::vector<std::vector<std::vector<AccuracyFigures>>> byQuality;
    for (const int q : kReportQualities) {
        std::fprintf(stderr, "measuring at quality %d...\n", q);
        byQuality.push_back(MeasureAccuracy(cases, full ? nullptr : &sample, CImageQuality(q)));
    }

    std::printf("CIEDE2000 against the exact model over %s; mean / p95 / max\n\n",
                full ? "all 2^24 colours" : "a fixed sample of 2^20 colours");
    std::printf("| Filter | Lattice |");
    for (const int q : kReportQualities) {
        std::printf(" Quality %d |", q);
    }
    std::printf("\n|---|---|");
    for (std::size_t q = 0; q < std::size(kReportQualities); ++q) {
        std::printf("---|");
    }
    std::printf("\n");
    auto row = [&](const std::string& name, const char* lattice, std::size_t c, std::size_t l) {
        std::printf("| %s | %s |", name.c_str(), lattice);
        for (const auto& figures : byQuality) {
            std::printf(" %s |", Cell(figures[c][l]).c_str());
        }
        std::printf("\n");
    };
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const bool fitted = lattices[i].shipsFitted;
        row(specs[i].id, fitted ? "baseline" : "baseline, shipped", i, 0);
        row(specs[i].id, fitted ? "fitted, shipped" : "fitted", i, 1);
    }
    row("identity", "floor", specs.size(), 0);

    // The shipped choice against the rule: fitted only where it beats the baseline on mean
    // and maximum at qualities 7 and 12.
    int disagreements = 0;
    std::printf("\n| Filter | Fitted beats baseline at 7 and 12 | Shipped |\n|---|---|---|\n");
    for (std::size_t i = 0; i < specs.size(); ++i) {
        bool beats = true;
        for (std::size_t q = 0; q < std::size(kReportQualities); ++q) {
            if (kReportQualities[q] == 7 || kReportQualities[q] == 12) {
                beats = beats && Beats(byQuality[q][i][1], byQuality[q][i][0]);
            }
        }
        const bool agrees = beats == lattices[i].shipsFitted;
        disagreements += agrees ? 0 : 1;
        std::printf("| %s | %s | %s%s |\n", specs[i].id.c_str(), beats ? "yes" : "no",
                    lattices[i].shipsFitted ? "fitted" : "baseline", agrees ? "" : " (CHANGE)");
    }
    if (disagreements > 0) {
        std::fprintf(stderr,
                     "zeziriv-filtergen: %d shipped lattice choice(s) disagree with the "
                     "measurement\n",
                     disagreements);
        return full ? 1 : 0;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "write") == 0) {
        return Write(argv[2]);
    }
    if ((argc == 2 || argc == 3) && std::strcmp(argv[1], "report") == 0) {
        if (argc == 3 && std::strcmp(argv[2], "--full") != 0) {
            return Usage();
        }
        return Report(argc == 3);
    }
    return Usage();
}
