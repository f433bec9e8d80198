#include "commands.h"
#include "tool_filters.h"

#include "authoring/palette_audit.h"
#include "authoring/picture.h"
#include "authoring/picture_file.h"
#include "authoring/picture_palette.h"
#include "engine/filter/filter.h"
#include "engine/filter/image_quality.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

const char kUsage[] = "palette [--filter ID|FILE]... [--filter-dir DIR]... [--min-delta D] "
                      "[--quality Q] [--json] [--from-picture FILE [--min-share PERCENT]] "
                      "COLOUR...";

// The three dichromacies of the shipped set.
const char* const kDefaultFilters[] = {"protanopia", "deutanopia", "tritanoptia"};

struct PaletteOptions {
    std::vector<std::string> filters;
    std::vector<std::string> filterDirs;
    double minDelta = 10;
    int quality = 0;
    bool json = false;
    std::vector<ColorValue> colors;
    std::string picture;                     // --from-picture
    double minShare = kDefaultMinColorShare; // of the picture's visible pixels
    std::vector<PictureColor> pictureColors; // the picture's, first in `colors`
    std::uint64_t pictureVisible = 0;
};

// A percentage from 0.1 to 100, plain decimal.
bool ParseShare(const std::string& text, double& share) {
    double percent = 0;
    if (!ParsePlainDecimal(text, kMinColorShare * 100, 100, percent)) {
        return false;
    }
    share = percent / 100;
    return true;
}

bool ParseDelta(const std::string& text, double& value) {
    if (text.empty() || text.size() > 16) {
        return false;
    }
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && value > 0 && value <= 1000;
}

int ParseOptions(const std::vector<std::string>& args, PaletteOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--filter" || arg == "--filter-dir") {
            if (!hasValue) {
                return UsageError(arg + " takes a value", kUsage);
            }
            (arg == "--filter" ? options.filters : options.filterDirs).push_back(args[++i]);
        } else if (arg == "--min-delta") {
            if (!hasValue || !ParseDelta(args[++i], options.minDelta)) {
                return UsageError("--min-delta takes a CIEDE2000 difference above 0", kUsage);
            }
        } else if (arg == "--quality") {
            if (!hasValue || !ParseBounded(args[++i], 0, 18, options.quality)) {
                return UsageError("--quality takes a level from 0 to 18", kUsage);
            }
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--from-picture") {
            if (!hasValue || !options.picture.empty()) {
                return UsageError("--from-picture takes one picture file", kUsage);
            }
            options.picture = args[++i];
        } else if (arg == "--min-share") {
            if (!hasValue || !ParseShare(args[++i], options.minShare)) {
                return UsageError("--min-share takes a percentage from 0.1 to 100", kUsage);
            }
        } else {
            ColorValue color = 0;
            if (!ParseHexColor(arg, color)) {
                return UsageError("not an option or a colour #RRGGBB: " + arg, kUsage);
            }
            options.colors.push_back(color);
        }
    }
    if (options.colors.empty() && options.picture.empty()) {
        return UsageError("palette needs at least one colour or --from-picture", kUsage);
    }
    if (options.filters.empty()) {
        options.filters.assign(std::begin(kDefaultFilters), std::end(kDefaultFilters));
    }
    return kExitOk;
}

// Display names are in the system code page on Windows and UTF-8 elsewhere; JSON wants UTF-8.
std::string ToUtf8(const std::string& text) {
#ifdef _WIN32
    const int wide =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0) {
        return {};
    }
    std::wstring w(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), w.data(), wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
    return out;
#else
    return text;
#endif
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char ch : ToUtf8(text)) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

double SharePercent(const PaletteOptions& options, const PictureColor& c) {
    return options.pictureVisible == 0 ? 0
                                       : 100.0 * static_cast<double>(c.pixels) /
                                             static_cast<double>(options.pictureVisible);
}

// The picture's colours go first in the palette, then the colours named, each once. False
// (after saying why, as simulate does) when the picture cannot be read.
bool AddPictureColors(PaletteOptions& options) {
    CPicture picture;
    std::string error;
    if (!ReadPictureFile(options.picture, picture, error)) {
        std::fprintf(stderr, "zeziriv-filter: %s\n", error.c_str());
        return false;
    }
    if (!FindPictureColors(picture, options.minShare, options.pictureColors,
                           options.pictureVisible)) {
        std::fprintf(stderr, "zeziriv-filter: out of memory for the picture's colours\n");
        return false;
    }
    std::vector<ColorValue> palette;
    for (const PictureColor& c : options.pictureColors) {
        palette.push_back(c.color);
    }
    for (const ColorValue c : options.colors) {
        if (std::find(palette.begin(), palette.end(), c) == palette.end()) {
            palette.push_back(c);
        }
    }
    options.colors = palette;
    return true;
}

struct FilterAudit {
    const CFilter* filter;
    PaletteAudit audit;
};

void PrintPictureColors(const PaletteOptions& options) {
    std::printf("%s: %zu colours cover at least %g%% of the picture each\n",
                options.picture.c_str(), options.pictureColors.size(), options.minShare * 100);
    for (const PictureColor& c : options.pictureColors) {
        std::printf("  %s %6.2f%%\n", FormatHexColor(c.color).c_str(), SharePercent(options, c));
    }
    std::printf("\n");
}

void PrintTable(const PaletteOptions& options, const std::vector<FilterAudit>& audits) {
    if (!options.picture.empty()) {
        PrintPictureColors(options);
    }
    for (std::size_t f = 0; f < audits.size(); ++f) {
        const CFilter& filter = *audits[f].filter;
        const PaletteAudit& audit = audits[f].audit;
        std::printf("%s%s \"%s\"\n", f == 0 ? "" : "\n", filter.GetID().c_str(),
                    filter.GetDisplayName().c_str());
        for (std::size_t i = 0; i < options.colors.size(); ++i) {
            std::printf("  %s -> %s\n", FormatHexColor(options.colors[i]).c_str(),
                        FormatHexColor(audit.simulated[i]).c_str());
        }
        if (audit.collapsed.empty()) {
            std::printf("  no pair falls below %.1f\n", options.minDelta);
            continue;
        }
        std::printf("  pairs that fall below %.1f:\n", options.minDelta);
        for (const CollapsedPair& pair : audit.collapsed) {
            std::printf("    %s %s  %.1f -> %.1f\n",
                        FormatHexColor(options.colors[pair.first]).c_str(),
                        FormatHexColor(options.colors[pair.second]).c_str(), pair.deltaBefore,
                        pair.deltaAfter);
        }
    }
}

void PrintJson(const PaletteOptions& options, const std::vector<FilterAudit>& audits,
               bool collapsed) {
    std::printf("{\n  \"minDelta\": %g,\n  \"quality\": %d,\n  \"collapsed\": %s,\n",
                options.minDelta, options.quality, collapsed ? "true" : "false");
    if (!options.picture.empty()) {
        std::printf("  \"picture\": %s,\n  \"minShare\": %g,\n  \"pictureColours\": [",
                    JsonString(options.picture).c_str(), options.minShare * 100);
        for (std::size_t i = 0; i < options.pictureColors.size(); ++i) {
            std::printf("%s\n    {\"colour\": \"%s\", \"share\": %.2f}", i == 0 ? "" : ",",
                        FormatHexColor(options.pictureColors[i].color).c_str(),
                        SharePercent(options, options.pictureColors[i]));
        }
        std::printf("%s],\n", options.pictureColors.empty() ? "" : "\n  ");
    }
    std::printf("  \"filters\": [");
    for (std::size_t f = 0; f < audits.size(); ++f) {
        const CFilter& filter = *audits[f].filter;
        const PaletteAudit& audit = audits[f].audit;
        std::printf(
            "%s\n    {\n      \"id\": %s,\n      \"displayName\": %s,\n      \"colours\": [",
            f == 0 ? "" : ",", JsonString(filter.GetID()).c_str(),
            JsonString(filter.GetDisplayName()).c_str());
        for (std::size_t i = 0; i < options.colors.size(); ++i) {
            std::printf("%s\n        {\"colour\": \"%s\", \"simulated\": \"%s\"}",
                        i == 0 ? "" : ",", FormatHexColor(options.colors[i]).c_str(),
                        FormatHexColor(audit.simulated[i]).c_str());
        }
        std::printf("\n      ],\n      \"collapsedPairs\": [");
        for (std::size_t p = 0; p < audit.collapsed.size(); ++p) {
            const CollapsedPair& pair = audit.collapsed[p];
            std::printf(
                "%s\n        {\"first\": \"%s\", \"second\": \"%s\", \"deltaBefore\": %.2f, "
                "\"deltaAfter\": %.2f}",
                p == 0 ? "" : ",", FormatHexColor(options.colors[pair.first]).c_str(),
                FormatHexColor(options.colors[pair.second]).c_str(), pair.deltaBefore,
                pair.deltaAfter);
        }
        std::printf("%s]\n    }", audit.collapsed.empty() ? "" : "\n      ");
    }
    std::printf("\n  ]\n}\n");
}

} // namespace

int RunPaletteCommand(const std::vector<std::string>& args) {
    PaletteOptions options;
    if (const int status = ParseOptions(args, options); status != kExitOk) {
        return status;
    }
    if (!options.picture.empty() && !AddPictureColors(options)) {
        return kExitUsage;
    }
    const CImageQuality quality(options.quality);
    CToolFilters filters;
    std::string error;
    if (!filters.Load(options.filterDirs, error)) {
        std::fprintf(stderr, "zeziriv-filter: %s\n", error.c_str());
        return kExitUsage;
    }
    std::vector<FilterAudit> audits;
    bool collapsed = false;
    for (const std::string& name : options.filters) {
        CFilter* filter = filters.Resolve(name, error);
        if (filter == nullptr) {
            std::fprintf(stderr, "zeziriv-filter: %s\n", error.c_str());
            return kExitUsage;
        }
        if (!filter->BuildTable(quality)) {
            std::fprintf(stderr, "zeziriv-filter: out of memory for the colour table\n");
            return kExitUsage;
        }
        audits.push_back({filter, AuditPalette(*filter, options.colors, options.minDelta)});
        collapsed = collapsed || !audits.back().audit.collapsed.empty();
    }
    if (options.json) {
        PrintJson(options, audits, collapsed);
    } else {
        PrintTable(options, audits);
    }
    return collapsed ? kExitFailed : kExitOk;
}
