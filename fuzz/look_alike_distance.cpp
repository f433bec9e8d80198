// The look-alike distance comes from the registry: any text reads as a usable distance, and
// one written back reads again as the same distance.
#include "app/profile_values.h"
#include "engine/image/look_alike.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double distance = ParseLookAlikeDistance(text);
    if (!IsValidLookAlikeDistance(distance)) {
        std::abort();
    }
    const double again = ParseLookAlikeDistance(FormatLookAlikeDistance(distance));
    if (!IsValidLookAlikeDistance(again) || again - distance > 0.05 || distance - again > 0.05) {
        std::abort();
    }
    return 0;
}
