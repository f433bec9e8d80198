// The look-alike distance comes from the registry: any text reads as a usable distance, one
// written back reads again as the very same distance, and writing that changes nothing.
#include "app/profile_values.h"
#include "engine/image/look_alike.h"

#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double distance = ParseLookAlikeDistance(text);
    if (!IsValidLookAlikeDistance(distance)) {
        std::abort();
    }
    const std::string stored = FormatLookAlikeDistance(distance);
    const double again = ParseLookAlikeDistance(stored);
    if (!IsValidLookAlikeDistance(again) || again != distance ||
        FormatLookAlikeDistance(again) != stored) {
        std::abort();
    }
    return 0;
}
