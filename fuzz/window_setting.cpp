// Window-setting record texts come from the registry: any text must parse or fail cleanly,
// and whatever parses must format to a text that reads back to the same record.
#include "features/filter_window/window_setting.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CWindowSetting setting;
    if (!ParseSetting(text, setting)) {
        return 0;
    }
    if (setting.Zoom < CWindowSetting::MinZoom || setting.Zoom > CWindowSetting::MaxZoom ||
        setting.FilterID.empty() || (!setting.FixPosition && setting.FixedPoint != IntPoint{})) {
        std::abort();
    }
    const std::string formatted = FormatSetting(setting);
    CWindowSetting again;
    if (!ParseSetting(formatted, again) || FormatSetting(again) != formatted) {
        std::abort();
    }
    return 0;
}
