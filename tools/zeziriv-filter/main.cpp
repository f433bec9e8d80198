// zeziriv-filter: a tool for people who write filter files. The program itself skips a bad
// file without a word; this tool says why.

#include "commands.h"

#include "platform/path_util.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#endif

namespace {

struct Subcommand {
    const char* name;
    const char* usage;
    const char* summary;
    int (*run)(const std::vector<std::string>& args);
};

const Subcommand kSubcommands[] = {
    {"check", "check FILE...",
     "read each filter file as the program does; print ok or the reason it is refused",
     RunCheckCommand},
    {"list", "list DIR...",
     "load the directories in the order given, highest priority first, and list the filters",
     RunListCommand},
    {"transform", "transform [--quality Q] FILE R G B",
     "print the colour R G B (0-255) through the filter's colour table at quality Q (0-18)",
     RunTransformCommand},
    {"simulate",
     "simulate [--quality Q] [--blur R] [--filter ID|FILE]... [--filter-dir DIR]... [--all] "
     "[--sheet] [--highlight COLOUR [--distance D]] INPUT OUTPUT",
     "write the PNG or BMP picture INPUT as the filter shows it (as a PNG); --all writes one "
     "picture per filter enabled by default beside OUTPUT, --sheet makes OUTPUT a contact sheet "
     "of the original and each filter; --highlight dims every pixel that does not look like "
     "COLOUR under the filter (CIEDE2000 within D, 3), as a filter window's highlighting does",
     RunSimulateCommand},
    {"palette",
     "palette [--filter ID|FILE]... [--filter-dir DIR]... [--min-delta D] [--quality Q] [--json] "
     "[--from-picture FILE [--min-share PERCENT]] COLOUR...",
     "simulate colours #RRGGBB (the three dichromacies by default) and list the pairs whose "
     "CIEDE2000 difference falls below D (10) only after simulation; exit status 1 when any does. "
     "--from-picture adds the colours that each cover at least PERCENT (1) of the picture",
     RunPaletteCommand},
};

void PrintHelp(FILE* out) {
    std::fprintf(out, "usage: zeziriv-filter COMMAND ARGS...\n\ncommands:\n");
    for (const Subcommand& command : kSubcommands) {
        std::fprintf(out, "  %s\n      %s\n", command.usage, command.summary);
    }
    std::fprintf(
        out, "\nFilter IDs are looked up in the --filter-dir folders, then in filter/private and\n"
             "filter/system beside the tool; anything that is not an ID is a filter file.\n"
             "Exit status: 0 success, 1 a file failed or a palette pair collapsed, 2 usage\n"
             "error or a filter that cannot be used.\n");
}

} // namespace

bool ParseBounded(const std::string& text, int low, int high, int& value) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    value = std::atoi(text.c_str());
    return value >= low && value <= high;
}

bool ParsePlainDecimal(const std::string& text, double low, double high, double& value) {
    if (text.empty() || text.size() > 16 ||
        text.find_first_not_of("0123456789.") != std::string::npos) {
        return false;
    }
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !(parsed >= low) || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

// The arguments as UTF-8: file names in any script reach the commands whole, where the 8-bit
// command line would have replaced what its code page lacks.
std::vector<std::string> Arguments(int argc, char** argv) {
#ifdef _WIN32
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        std::vector<std::string> args;
        for (int i = 0; i < count; ++i) {
            args.push_back(PathFromWide(wide[i]));
        }
        LocalFree(wide);
        if (count == argc) {
            return args;
        }
    }
#endif
    return std::vector<std::string>(argv, argv + argc);
}

int UsageError(const std::string& message, const char* usage) {
    std::fprintf(stderr, "zeziriv-filter: %s\nusage: zeziriv-filter %s\n", message.c_str(), usage);
    return kExitUsage;
}

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = Arguments(argc, argv);
    if (arguments.size() < 2) {
        PrintHelp(stderr);
        return kExitUsage;
    }
    const std::string name = arguments[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(stdout);
        return kExitOk;
    }
    for (const Subcommand& command : kSubcommands) {
        if (name != command.name) {
            continue;
        }
        const std::vector<std::string> args(arguments.begin() + 2, arguments.end());
        for (const std::string& arg : args) {
            if (arg == "--help" || arg == "-h") {
                std::printf("usage: zeziriv-filter %s\n  %s\n", command.usage, command.summary);
                return kExitOk;
            }
        }
#ifdef _WIN32
        // The filter reader uses the platform's XML component through COM.
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const int status = command.run(args);
        if (SUCCEEDED(hr)) {
            CoUninitialize();
        }
        return status;
#else
        return command.run(args);
#endif
    }
    std::fprintf(stderr, "zeziriv-filter: unknown command '%s'\n\n", name.c_str());
    PrintHelp(stderr);
    return kExitUsage;
}
