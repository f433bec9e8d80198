#include "commands.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_reader.h"
#include "engine/filter/image_quality.h"

#include <cstdio>

namespace {

const char kUsage[] = "transform [--quality Q] FILE R G B";

} // namespace

int RunTransformCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    int quality = 0;
    if (!rest.empty() && rest[0] == "--quality") {
        if (rest.size() < 2 || !ParseBounded(rest[1], 0, 18, quality)) {
            return UsageError("--quality takes a level from 0 to 18", kUsage);
        }
        rest.erase(rest.begin(), rest.begin() + 2);
    }
    if (rest.size() != 4) {
        return UsageError("transform needs a file and three channel values", kUsage);
    }
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        if (!ParseBounded(rest[1 + i], 0, 255, channels[i])) {
            return UsageError("channel values are whole numbers from 0 to 255", kUsage);
        }
    }
    CFilter filter;
    std::string message;
    if (!LoadFilterFile(filter, rest[0], &message)) {
        std::fprintf(stderr, "%s: %s\n", rest[0].c_str(), message.c_str());
        return kExitFailed;
    }
    if (!filter.IsColorMapFilter()) {
        std::fprintf(stderr, "%s: %s is a reference filter; it has no colour table\n",
                     rest[0].c_str(), filter.GetID().c_str());
        return kExitFailed;
    }
    if (!filter.BuildTable(CImageQuality(quality))) {
        std::fprintf(stderr, "zeziriv-filter: out of memory for the colour table\n");
        return kExitFailed;
    }
    const ColorValue out = filter.Transform(MakeColor(channels[0], channels[1], channels[2]));
    std::printf("%u %u %u\n", RedOf(out), GreenOf(out), BlueOf(out));
    return kExitOk;
}
