#include "commands.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_reader.h"

#include <cstdio>

std::string DescribeKind(const CFilter& filter) {
    if (!filter.IsReferenceFilter()) {
        return "colour map";
    }
    const int count = filter.GetRefCount();
    return "reference, " + std::to_string(count) + (count == 1 ? " member" : " members");
}

int RunCheckCommand(const std::vector<std::string>& args) {
    if (args.empty()) {
        return UsageError("check needs at least one file", "check FILE...");
    }
    int status = kExitOk;
    for (const std::string& path : args) {
        CFilter filter;
        std::string message;
        if (LoadFilterFile(filter, path, &message)) {
            std::printf("%s: ok %s (%s) \"%s\"\n", path.c_str(), filter.GetID().c_str(),
                        DescribeKind(filter).c_str(), filter.GetDisplayName().c_str());
        } else {
            std::printf("%s: %s\n", path.c_str(), message.c_str());
            status = kExitFailed;
        }
    }
    return status;
}
