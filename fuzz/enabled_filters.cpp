// The enabled filter list comes from the registry; every ID it yields is trimmed and
// non-empty, and the list reads back unchanged from its written form.
#include "app/profile_values.h"
#include "platform/text_util.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto ids = ParseEnabledFilterList(text);
    for (const auto& id : ids) {
        if (id.empty() || IsBlank(id.front()) || IsBlank(id.back()) ||
            id.find(',') != std::string::npos) {
            std::abort();
        }
    }
    if (!ids.empty() && ParseEnabledFilterList(FormatEnabledFilterList(ids)) != ids) {
        std::abort();
    }
    return 0;
}
