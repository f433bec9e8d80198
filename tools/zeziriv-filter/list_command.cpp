#include "commands.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"

#include <cstdio>

int RunListCommand(const std::vector<std::string>& args) {
    if (args.empty()) {
        return UsageError("list needs at least one directory", "list DIR...");
    }
    CFilterManager manager;
    for (const std::string& dir : args) {
        if (!manager.LoadFilterDirectory(dir)) {
            std::fprintf(stderr, "zeziriv-filter: %s: no directory or no *.xml file\n",
                         dir.c_str());
        }
    }
    // One line per filter, tab-separated: ID, display name, kind, visibility, members.
    for (const CFilter* filter : manager.GetAllFilters()) {
        std::printf("%s\t%s\t%s\t%s", filter->GetID().c_str(), filter->GetDisplayName().c_str(),
                    DescribeKind(*filter).c_str(), filter->IsVisible() ? "visible" : "hidden");
        CFilterRef ref;
        for (int i = 0; filter->GetRef(i, ref); ++i) {
            std::printf("%s%s %d ms", i == 0 ? "\t" : ", ", ref.GetID().c_str(), ref.GetTimeout());
        }
        if (filter->IsReferenceFilter()) {
            std::printf("%s repeat %d", filter->GetRefCount() ? "," : "\t", filter->GetRepeat());
        }
        std::printf("\n");
    }
    return kExitOk;
}
