// The desktop panel position comes from the registry; what parses writes back to the same
// text form and reads back to the same rectangle.
#include "app/profile_values.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IntRect rect;
    if (!ParsePanelPosition(text, rect)) {
        return 0;
    }
    IntRect again;
    if (!ParsePanelPosition(FormatPanelPosition(rect), again) || !(again == rect)) {
        std::abort();
    }
    return 0;
}
