// Feeds arbitrary bytes to the filter file reader through a real file, the way the manager
// hands it every *.xml it finds.

#include "engine/filter/filter_reader.h"
#include "engine/filter/filter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// One scratch file for the run, removed at its end.
struct Scratch {
    const std::string path = [] {
        char name[] = "/tmp/zeziriv_fuzz_filter_XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) {
            std::abort();
        }
        close(fd);
        return std::string(name);
    }();
    ~Scratch() { unlink(path.c_str()); }
} g_scratch;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = g_scratch.path;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::abort();
    }
    if (size > 0 && std::fwrite(data, 1, size, file) != size) {
        std::abort();
    }
    std::fclose(file);

    CFilter filter;
    std::string message;
    const bool loaded = LoadFilterFile(filter, path, &message);
    // Either a whole filter or a reason; never both, never neither.
    if (loaded != message.empty()) {
        std::abort();
    }
    if (loaded) {
        if (filter.GetID().empty() || filter.GetID().size() > 40 ||
            filter.GetDisplayName().empty() || filter.GetDisplayName().size() > 40) {
            std::abort();
        }
        if (filter.IsColorMapFilter() && filter.GetRefCount() != 0) {
            std::abort();
        }
    }
    return 0;
}
