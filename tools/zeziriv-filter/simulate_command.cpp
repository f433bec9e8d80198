#include "commands.h"
#include "tool_filters.h"

#include "authoring/contact_sheet.h"
#include "authoring/palette_audit.h"
#include "authoring/picture.h"
#include "authoring/picture_file.h"
#include "authoring/picture_simulation.h"
#include "engine/filter/filter.h"
#include "engine/filter/image_quality.h"
#include "engine/image/look_alike.h"

#include <cstdio>
#include <cstdlib>

namespace {

const char kUsage[] =
    "simulate [--quality Q] [--blur R] [--filter ID|FILE]... [--filter-dir DIR]... "
    "[--all] [--sheet] [--highlight COLOUR [--distance D]] INPUT OUTPUT";

struct SimulateOptions {
    int quality = 0;
    int blur = 0;
    std::vector<std::string> filters;
    std::vector<std::string> filterDirs;
    bool all = false;
    bool sheet = false;
    bool highlight = false;
    ColorValue highlightColor = 0;
    double distance = kDefaultLookAlikeDistance;
    std::string input;
    std::string output;
};

// Returns kExitOk or the usage status after reporting.
int ParseOptions(const std::vector<std::string>& args, SimulateOptions& options) {
    std::vector<std::string> positional;
    bool distanceGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--quality") {
            if (!hasValue || !ParseBounded(args[++i], 0, 18, options.quality)) {
                return UsageError("--quality takes a level from 0 to 18", kUsage);
            }
        } else if (arg == "--blur") {
            if (!hasValue || !ParseBounded(args[++i], 0, 5, options.blur)) {
                return UsageError("--blur takes a radius from 0 to 5", kUsage);
            }
        } else if (arg == "--filter") {
            if (!hasValue) {
                return UsageError("--filter takes a filter ID or a filter file", kUsage);
            }
            options.filters.push_back(args[++i]);
        } else if (arg == "--filter-dir") {
            if (!hasValue) {
                return UsageError("--filter-dir takes a folder", kUsage);
            }
            options.filterDirs.push_back(args[++i]);
        } else if (arg == "--all") {
            options.all = true;
        } else if (arg == "--sheet") {
            options.sheet = true;
        } else if (arg == "--highlight") {
            if (!hasValue || !ParseHexColor(args[++i], options.highlightColor)) {
                return UsageError("--highlight takes a colour #RRGGBB", kUsage);
            }
            options.highlight = true;
        } else if (arg == "--distance") {
            if (!hasValue || !ParsePlainDecimal(args[++i], kMinLookAlikeDistance,
                                                kMaxLookAlikeDistance, options.distance)) {
                return UsageError("--distance takes a CIEDE2000 difference from 0.1 to 100",
                                  kUsage);
            }
            distanceGiven = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option " + arg, kUsage);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) {
        return UsageError("simulate needs an input and an output picture", kUsage);
    }
    if (distanceGiven && !options.highlight) {
        return UsageError("--distance needs --highlight", kUsage);
    }
    if (options.filters.empty() && !options.all && !options.sheet) {
        return UsageError("name a filter with --filter, or ask for --all or --sheet", kUsage);
    }
    options.input = positional[0];
    options.output = positional[1];
    return kExitOk;
}

// OUTPUT without a ".png" ending, then "-ID.png": the pictures of --all sit beside OUTPUT.
std::string SiblingPath(const std::string& output, const std::string& id) {
    std::string stem = output;
    if (stem.size() > 4) {
        std::string ending = stem.substr(stem.size() - 4);
        for (char& c : ending) {
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        if (ending == ".png") {
            stem.resize(stem.size() - 4);
        }
    }
    return stem + "-" + id + ".png";
}

bool AddUnique(std::vector<CFilter*>& filters, CFilter* filter) {
    for (const CFilter* f : filters) {
        if (f == filter) {
            return false;
        }
    }
    filters.push_back(filter);
    return true;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "zeziriv-filter: %s\n", message.c_str());
    return kExitFailed;
}

} // namespace

int RunSimulateCommand(const std::vector<std::string>& args) {
    SimulateOptions options;
    if (const int status = ParseOptions(args, options); status != kExitOk) {
        return status;
    }
    // The quality fixes the index of every pixel and the size of every table.
    const CImageQuality quality(options.quality);

    CToolFilters filters;
    std::string error;
    if (!filters.Load(options.filterDirs, error)) {
        return Fail(error);
    }
    std::vector<CFilter*> selected;
    for (const std::string& name : options.filters) {
        CFilter* filter = filters.Resolve(name, error);
        if (filter == nullptr) {
            return Fail(error);
        }
        AddUnique(selected, filter);
    }
    if (options.all || (options.sheet && options.filters.empty())) {
        const std::vector<CFilter*> defaults = filters.GetDefaultFilters();
        if (defaults.empty()) {
            return Fail("none of the filters enabled by default was found");
        }
        for (CFilter* filter : defaults) {
            AddUnique(selected, filter);
        }
    }
    for (CFilter* filter : selected) {
        if (!filter->BuildTable(quality)) {
            return Fail("out of memory for the colour table of " + filter->GetID());
        }
    }

    CPicture original;
    if (!ReadPictureFile(options.input, original, error)) {
        return Fail(error);
    }
    const CPictureSimulation simulation(original, quality);
    if (!simulation.IsReady()) {
        return Fail("out of memory for the picture's colour indices");
    }
    CContactSheet sheet;
    if (options.sheet) {
        if (!sheet.Create(original.GetWidth(), original.GetHeight(),
                          static_cast<int>(selected.size()) + 1)) {
            return Fail("the contact sheet would be too large");
        }
        sheet.DrawPanel(0, "original", original);
    }
    // One file per filter beside OUTPUT unless a single filter's picture is OUTPUT itself.
    const bool siblings = options.all || (!options.sheet && selected.size() > 1);
    const bool single = !options.sheet && !siblings;
    CPicture simulated;
    for (std::size_t i = 0; i < selected.size(); ++i) {
        const CFilter& filter = *selected[i];
        if (!simulation.Apply(filter, options.blur, simulated)) {
            return Fail("out of memory for the simulated picture");
        }
        if (options.highlight) {
            simulation.HighlightLookAlikes(filter, options.highlightColor, options.distance,
                                           simulated);
        }
        if (options.sheet) {
            sheet.DrawPanel(static_cast<int>(i) + 1, filter.GetDisplayName(), simulated);
        }
        if (single || siblings) {
            const std::string path =
                single ? options.output : SiblingPath(options.output, filter.GetID());
            if (!WritePictureFile(path, simulated, error)) {
                return Fail(error);
            }
            if (siblings) {
                std::printf("%s\n", path.c_str());
            }
        }
    }
    if (options.sheet && !WritePictureFile(options.output, sheet.GetPicture(), error)) {
        return Fail(error);
    }
    return kExitOk;
}
